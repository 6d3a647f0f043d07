// The launcher popup: its items, and what choosing one does.
#include <gtest/gtest.h>

#include "fakes/harness.h"
#include "launcher/launcher_menu.h"
#include "launcher/menu_tree.h"

namespace kv::test {
namespace {

// The name, the line, the drives when shown, then the folders, every caption literal; the
// chosen one opens before the form goes, and the popup needs no control of the settings window.
TEST(LauncherTest, ItemsInOrderAndTheChoiceOpens) {
  const FakeDrive c{L"C:\\", L"", kDriveFixed}, d{L"D:\\", L"DATA", kDriveFixed},
      e{L"E:\\", L"", kDriveCdrom};
  const FolderEntry a{L"A", L"C:\\A\\"}, bc{L"B & C", L"C:\\B\\"}, line{L"-", L"C:\\D\\"};
  const std::wstring kName = L"キヴォレット Ver.1.0", cTitle = L"C:\\ [ローカルディスク]";
  struct Case {
    std::uint8_t showDrives;  // 2: as a hand-edited file might hold, before loading clamps it
    std::vector<FakeDrive> drives;
    std::vector<FolderEntry> folders;
    std::optional<MenuRef> choice;
    std::vector<std::wstring> captions, opened = {};
  };
  for (const Case& t : {Case{0, {c}, {a}, {}, {kName, L"-", L"A"}},
                        Case{1, {c, d}, {}, {}, {kName, L"-", cTitle, L"D:\\ [DATA]"}},
                        Case{0,
                             {},
                             {a, bc, line},
                             MenuRef{MenuKind::Folder, 2},
                             {kName, L"-", L"A", L"B & C", L"-"},
                             {L"C:\\B\\"}},
                        Case{2,
                             {c, e},
                             {a},
                             MenuRef{MenuKind::Drive, 1},
                             {kName, L"-", cTitle, L"E:\\ [CD-ROMドライブ]", L"A"},
                             {L"E:\\"}}}) {
    Harness h;
    h.ctx.ShowDrives = t.showDrives;
    h.os.drives = t.drives;
    h.AddFolders(t.folders);
    h.tk.popupChoice = t.choice;
    SettingsWindow form(h.ctx);
    form.Show();
    EXPECT_EQ(h.tk.VisibleCaptions(), t.captions);
    for (std::size_t i = 0; i < h.tk.menuAtPopup.size(); ++i)
      EXPECT_EQ(h.tk.menuAtPopup[i].ref.kind == MenuKind::Line, i == 1) << "only one line";
    EXPECT_EQ(h.os.opened, t.opened);
    EXPECT_EQ(h.tk.openedAtUnload, t.opened.size());
    EXPECT_FALSE(form.ShowSettings);
    EXPECT_EQ(h.os.foregrounded, std::vector<NativeHandle>{h.tk.hWnd(std::nullopt)});
    EXPECT_EQ(h.tk.log, (std::vector<std::string>{"create", "popup", "unload", "end"}));
    EXPECT_TRUE(h.os.files.empty()) << "nothing written";
  }
}

TEST(LauncherTest, ProgramNameLeadsIntoSettingsWithEmptyBoxes) {
  Harness h;
  h.AddFolders({{L"A", L"C:\\A\\"}});
  h.tk.popupChoice = MenuRef{MenuKind::ProgramName, 0};
  SettingsWindow form(h.ctx);
  form.Show();
  EXPECT_TRUE(form.ShowSettings);
  EXPECT_TRUE(h.os.opened.empty());
  EXPECT_EQ(h.tk.log, (std::vector<std::string>{"create", "popup", "controls", "show"}));
  EXPECT_EQ(h.tk.Text(Control::NameBox) + h.tk.Text(Control::PathBox), L"");
  EXPECT_EQ(h.tk.listItems, std::vector<std::wstring>{L"A"}) << "the opening block ran";
}

// The first 32767 folders fit the 16-bit index; the rest stay out of the menu.
TEST(LauncherTest, LongListsAreCutAtTheIndexBound) {
  Harness h;
  h.ctx.ShowDrives = 0;
  for (int i = 1; i <= 32'768; ++i) h.AddFolders({{L"F" + std::to_wstring(i), L"C:\\F\\"}});
  SettingsWindow(h.ctx).Show();
  ASSERT_EQ(h.tk.menuAtPopup.size(), 2u + 32'767);
  EXPECT_EQ(h.tk.menuAtPopup.back().caption, L"F32767");
}

TEST(LauncherTest, MenuElementsOutsideTheirArraysAreNoneAndFixedRowsDoNotGrow) {
  LauncherMenu menu(L"Name");
  for (MenuRef absent : {MenuRef{MenuKind::Folder, 0},
                         {MenuKind::Folder, 2},
                         {MenuKind::Drive, -1},
                         {MenuKind::Drive, 1},
                         {MenuKind::Line, 1}})
    EXPECT_EQ(menu.Element(absent), nullptr) << static_cast<int>(absent.kind) << absent.index;
  EXPECT_FALSE(menu.Load(MenuKind::Line) || menu.Load(MenuKind::ProgramName));
}

TEST(LauncherTest, OpenOnlyWhatTheListsHold) {
  Harness h;
  h.AddFolders({{L"A", L"C:\\A\\"}});
  const FolderArray drives{{L"C:\\", L"C:\\"}};
  for (int i : {-1, 1, 32767}) OpenDrive(h.ctx, drives, i);
  for (int i : {-1, 0, 2}) OpenFolder(h.ctx, i);  // element 0 is no folder
  EXPECT_TRUE(h.os.opened.empty());
  OpenDrive(h.ctx, drives, 0);
  OpenFolder(h.ctx, 1);
  EXPECT_EQ(h.os.opened, (std::vector<std::wstring>{L"C:\\", L"C:\\A\\"}));
}

}  // namespace
}  // namespace kv::test
