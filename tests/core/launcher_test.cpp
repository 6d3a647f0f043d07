// The launcher popup: its items, and what choosing one does.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>

#include "fakes/harness.h"
#include "launcher/drive_list.h"
#include "launcher/launcher_menu.h"
#include "launcher/menu_tree.h"

namespace kv::test {
namespace {

TEST(LauncherMenuTest, LoadedElementsFollowTheirArrayAndHiddenOnesDoNotShow) {
  LauncherMenu menu(L"Name");
  const auto rows = [&] {
    std::vector<std::wstring> out;
    for (const PopupItem& item : menu.VisibleItems())
      out.push_back(std::to_wstring(static_cast<int>(item.ref.kind)) + L":" +
                    std::to_wstring(item.ref.index) + L" " + item.caption);
    return out;
  };
  EXPECT_EQ(rows(), (std::vector<std::wstring>{L"0:0 Name", L"1:0 -", L"2:0 ", L"3:1 "}));
  menu.Element({MenuKind::Drive, 0})->Caption = L"C:\\";
  EXPECT_TRUE(menu.Load(MenuKind::Folder));
  EXPECT_TRUE(menu.Load(MenuKind::Drive));  // after the drives, not after the last folder
  menu.Element({MenuKind::Drive, 1})->Caption = L"D:\\";
  menu.Element({MenuKind::Folder, 2})->Caption = L"R&D";
  menu.Element({MenuKind::Folder, 1})->Visible = false;
  EXPECT_EQ(rows(), (std::vector<std::wstring>{L"0:0 Name", L"1:0 -", L"2:0 C:\\", L"2:1 D:\\",
                                               L"3:2 R&D"}));
  EXPECT_EQ(menu.UBound(MenuKind::Drive), 1);
  EXPECT_EQ(menu.UBound(MenuKind::Folder), 2);
  for (MenuRef absent : {MenuRef{MenuKind::Folder, 0}, MenuRef{MenuKind::Folder, 3},
                         MenuRef{MenuKind::Drive, -1}, MenuRef{MenuKind::Line, 1}})
    EXPECT_EQ(menu.Element(absent), nullptr) << static_cast<int>(absent.kind) << absent.index;
  EXPECT_FALSE(menu.Load(MenuKind::Line));
  EXPECT_FALSE(menu.Load(MenuKind::ProgramName));
}

class LauncherTest : public ::testing::Test {
 protected:
  Harness h;
  void Run() {
    form = std::make_unique<SettingsWindow>(h.ctx);
    form->Show();
  }
  std::unique_ptr<SettingsWindow> form;
};

constexpr const wchar_t* kName = L"キヴォレット Ver.1.0";

// The name, the line, the drives when shown, then the folders, every caption literal; the
// chosen one opens before the form goes, and the popup needs no control of the settings window.
TEST(LauncherItemsTest, ItemsInOrderAndTheChoiceOpens) {
  const FakeDrive c{L"C:\\", L"", kDriveFixed}, d{L"D:\\", L"DATA", kDriveFixed},
      e{L"E:\\", L"", kDriveCdrom};
  const FolderEntry a{L"A", L"C:\\A\\"}, bc{L"B & C", L"C:\\B\\"}, line{L"-", L"C:\\D\\"};
  const std::wstring cTitle = L"C:\\ [ローカルディスク]", eTitle = L"E:\\ [CD-ROMドライブ]";
  const MenuRef f2{MenuKind::Folder, 2}, d1{MenuKind::Drive, 1};
  struct Case {
    std::uint8_t showDrives;  // 2: as a hand-edited file might hold, before loading clamps it
    std::vector<FakeDrive> drives;
    std::vector<FolderEntry> folders;
    std::optional<MenuRef> choice;
    std::vector<std::wstring> captions;
    std::vector<std::wstring> opened = {};
  };
  for (const Case& t :
       {Case{0, {c}, {}, {}, {kName, L"-"}}, Case{1, {}, {a}, {}, {kName, L"-", L"A"}},
        Case{1, {c, d}, {}, {}, {kName, L"-", cTitle, L"D:\\ [DATA]"}},
        Case{1, {c}, {a}, {}, {kName, L"-", cTitle, L"A"}},
        Case{0, {}, {a, bc, line}, f2, {kName, L"-", L"A", L"B & C", L"-"}, {L"C:\\B\\"}},
        Case{2, {c, e}, {a}, d1, {kName, L"-", cTitle, eTitle, L"A"}, {L"E:\\"}}}) {
    Harness h;
    h.ctx.ShowDrives = t.showDrives;
    h.os.drives = t.drives;
    h.ctx.FolderList.insert(h.ctx.FolderList.end(), t.folders.begin(), t.folders.end());
    h.tk.popupChoice = t.choice;
    SettingsWindow form(h.ctx);
    form.Show();
    EXPECT_EQ(h.tk.VisibleCaptions(), t.captions);
    for (std::size_t i = 0; i < h.tk.menuAtPopup.size(); ++i)
      EXPECT_EQ(h.tk.menuAtPopup[i].ref.kind == MenuKind::Line, i == 1)
          << "a caption, not the line";
    EXPECT_TRUE(t.showDrives != 0 || form.DriveList.empty()) << "hidden drives are not listed";
    EXPECT_EQ(h.os.opened, t.opened);
    EXPECT_EQ(h.tk.openedAtUnload, t.opened.size());
    EXPECT_FALSE(form.ShowSettings);
    EXPECT_EQ(h.os.foregrounded, std::vector<NativeHandle>{h.tk.hWnd()});
    EXPECT_EQ(h.tk.log, (std::vector<std::string>{"create", "popup", "unload", "end"}));
    EXPECT_TRUE(h.os.files.empty()) << "nothing written";
  }
}

TEST_F(LauncherTest, ProgramNameOpensNothingAndLeadsIntoSettingsWithEmptyBoxes) {
  h.os.drives = {{L"C:\\", L"", kDriveFixed}};
  h.AddFolders({{L"A", L"C:\\A\\"}});
  h.tk.popupChoice = MenuRef{MenuKind::ProgramName, 0};
  Run();
  EXPECT_TRUE(form->ShowSettings);
  EXPECT_TRUE(h.os.opened.empty());
  EXPECT_EQ(h.tk.log, (std::vector<std::string>{"create", "popup", "controls", "show"}));
  EXPECT_EQ(h.tk.Text(Control::NameBox), L"");
  EXPECT_EQ(h.tk.Text(Control::PathBox), L"");
  EXPECT_EQ(h.tk.listItems, std::vector<std::wstring>{L"A"}) << "the opening block ran";
}

// The first 32767 folders fit the 16-bit index; the rest stay out of the menu. Ten times
// the entries must cost about ten times the time: quadratic growth would cost a hundred.
TEST_F(LauncherTest, LongListsAreCutAtTheIndexBoundAndBuiltInLinearTime) {
  h.ctx.ShowDrives = 0;
  const auto timeFor = [&](int entries) {
    h.ctx.FolderList = EmptyFolderList();
    for (int i = 1; i <= entries; ++i)
      h.ctx.FolderList.push_back({L"Folder " + std::to_wstring(i), L"C:\\F\\"});
    auto best = std::chrono::steady_clock::duration::max();
    for (int run = 0; run < 5; ++run) {
      const auto start = std::chrono::steady_clock::now();
      Run();
      best = std::min(best, std::chrono::steady_clock::now() - start);
    }
    return std::chrono::duration<double>(best).count();
  };
  const double small = timeFor(4'000);
  EXPECT_EQ(h.tk.menuAtPopup.size(), 2u + 4'000);
  const double large = timeFor(40'000);
  ASSERT_EQ(h.tk.menuAtPopup.size(), 2u + 32'767);
  EXPECT_EQ(h.tk.menuAtPopup.back().caption, L"Folder 32767");
  EXPECT_LT(large, 30 * small) << "4,000 entries: " << small << " s, 40,000: " << large << " s";
}

// The launcher's functions fill and pop up a menu the caller owns, with no form.
TEST(LauncherMenuFunctionsTest, BuildAndChooseWithoutTheForm) {
  struct Case {
    std::uint8_t showDrives;
    std::optional<MenuRef> picked;
    unsigned modifiers;
    std::vector<std::wstring> captions;
    std::optional<MenuRef> handler;  // the element whose handler must run
    std::vector<std::wstring> clipboard = {};
  };
  const std::wstring c = L"C:\\ [ローカルディスク]";
  const MenuRef drive{MenuKind::Drive, 0}, folder{MenuKind::Folder, 1}, name{MenuKind::ProgramName};
  for (const Case& t : {
           Case{1, drive, 0, {L"", L"-", c, L"A"}, drive},
           Case{0, folder, 0, {L"", L"-", L"A"}, folder},
           Case{0, folder, kPopupCtrl, {L"", L"-", L"A"}, {}, {L"C:\\A\\"}},
           Case{1, drive, kPopupCtrl, {L"", L"-", c, L"A"}, {}, {L"C:\\"}},
           Case{1, name, kPopupCtrl, {L"", L"-", c, L"A"}, name},
           Case{1, std::nullopt, 0, {L"", L"-", c, L"A"}, std::nullopt},
       }) {
    Harness h;
    h.ctx.ShowDrives = t.showDrives;
    h.os.drives = {{L"C:\\", L"", kDriveFixed}};
    h.AddFolders({{L"A", L"C:\\A\\"}});
    h.tk.popupChoice = t.picked;
    h.tk.popupModifiers = t.modifiers;
    LauncherMenu menu;
    FolderArray drives;
    BuildLauncherMenu(h.ctx, menu, drives);
    EXPECT_EQ(drives.size(), t.showDrives != 0 ? 1u : 0u);
    EXPECT_EQ(ChooseFromLauncherMenu(h.ctx, menu, drives), t.handler);
    EXPECT_EQ(h.tk.VisibleCaptions(), t.captions);
    EXPECT_EQ(h.os.clipboard, t.clipboard);
    EXPECT_TRUE(h.os.opened.empty()) << "choosing opens nothing by itself";
  }
}

TEST(LauncherMenuFunctionsTest, OpenOnlyWhatTheListsHold) {
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
