// Started without a folder, the launcher popup: its items, and what choosing one does with
// Shift and Ctrl held. Started on one, the settings window.
#include <gtest/gtest.h>

#include "fakes/harness.h"

namespace kv::test {
namespace {

// The name, the line, the drives when shown, then the folders, every caption literal.
TEST(LauncherTest, ItemsInOrder) {
  const FakeDrive c{L"C:\\", L"", kDriveFixed}, d{L"D:\\", L"DATA", kDriveFixed};
  const std::wstring kName = L"キヴォレット Ver.1.0";
  const std::tuple<std::uint8_t, std::vector<FakeDrive>, std::vector<FolderEntry>,
                   std::vector<std::wstring>>
      cases[] = {{0, {c}, {{L"A", L"C:\\A\\"}}, {kName, L"-", L"A"}},
                 {1, {c, d}, {}, {kName, L"-", L"C:\\ [ローカルディスク]", L"D:\\ [DATA]"}}};
  for (const auto& [showDrives, drives, folders, captions] : cases) {
    Harness h;
    h.ctx.ShowDrives = showDrives;
    h.os.drives = drives;
    h.AddFolders(folders);
    SettingsWindow(h.ctx).Show();
    EXPECT_EQ(h.tk.captions, captions);
    EXPECT_EQ(h.tk.log, (std::vector<std::string>{"create", "popup", "unload", "end"}));
  }
}

// A plain choice opens; Shift takes the window the user came from there when it can be taken
// anywhere; Ctrl copies the path, with or without Shift. The name leads into the settings.
TEST(LauncherTest, ChoiceWithModifiers) {
  constexpr NativeHandle kDialog = 0x7001, kOther = 0x7002;  // a file dialog; a window that is not
  const MenuRef folder{MenuKind::Folder, 1}, drive{MenuKind::Drive, 0}, name{MenuKind::ProgramName};
  const unsigned shift = kPopupShift, ctrl = kPopupCtrl;
  const std::wstring f = L"D:\\資料 2\\", c = L"C:\\";
  struct Case {
    MenuRef chosen;
    unsigned modifiers;
    NativeHandle cameFrom;
    std::vector<std::wstring> opened = {};
    std::vector<std::pair<NativeHandle, std::wstring>> navigated = {};
    std::vector<std::wstring> copied = {};
    bool clipboardFails = false;  // then one message and nothing else
  };
  for (const Case& t :
       {Case{folder, 0, kDialog, {f}}, Case{drive, 0, kDialog, {c}},
        Case{folder, shift, kDialog, {}, {{kDialog, f}}},
        Case{drive, shift, kDialog, {}, {{kDialog, c}}}, Case{folder, shift, kOther, {f}},
        Case{folder, ctrl | shift, kDialog, {}, {}, {f}}, Case{drive, ctrl, 0, {}, {}, {c}},
        Case{folder, ctrl, kDialog, {}, {}, {}, true}, Case{name, shift, kDialog},
        Case{name, ctrl, kDialog}}) {
    SCOPED_TRACE(::testing::Message() << t.chosen.index << " " << t.modifiers << " " << t.cameFrom);
    Harness h;
    h.os.drives = {{L"C:\\", L"", kDriveFixed}};
    h.AddFolders({{L"資料", f}});
    h.os.foreground = t.cameFrom;
    h.os.navigable = {kDialog};
    h.os.failClipboard = t.clipboardFails;
    h.tk.popupChoice = t.chosen;
    h.tk.popupModifiers = t.modifiers;
    SettingsWindow form(h.ctx);
    form.Show();
    EXPECT_EQ(h.os.opened, t.opened);
    EXPECT_EQ(h.os.navigated, t.navigated);
    EXPECT_EQ(h.os.clipboard, t.copied);
    EXPECT_EQ(h.tk.boxes, std::vector<ShownBox>(t.clipboardFails,
                                                {L"パスをクリップボードにコピーできませんでした。",
                                                 MsgStyle::Warning}));
    EXPECT_EQ(form.ShowSettings, t.chosen.kind == MenuKind::ProgramName);
    EXPECT_EQ(h.tk.listItems.size(), form.ShowSettings ? 1u : 0u) << "the opening block ran";
  }
}

// The first 32767 folders fit the 16-bit index; the rest stay out of the menu.
TEST(LauncherTest, LongListsAreCutAtTheIndexBound) {
  Harness h;
  h.ctx.ShowDrives = 0;
  for (int i = 1; i <= 32'768; ++i) h.AddFolders({{L"F" + std::to_wstring(i), L"C:\\F\\"}});
  SettingsWindow(h.ctx).Show();
  ASSERT_EQ(h.tk.captions.size(), 2u + 32'767);
  EXPECT_EQ(h.tk.captions.back(), L"F32767");
}

// A folder on the command line fills both boxes and opens the window. On Linux the folder is
// one argument, where a quote belongs to the name unless it wraps the whole argument.
TEST(LauncherTest, AFolderOnTheCommandLineOpensTheWindowInstead) {
  const std::tuple<const wchar_t*, const wchar_t*, wchar_t> cases[] = {
      {L"\"C:\\Data\\Photos\"", L"Photos|C:\\Data\\Photos", L'\\'},
      {L"\"C:\\My \"Old\" Files\"", L"My Old Files|C:\\My Old Files", L'\\'},
      {L"\"/home/u/\"q\"\"", L"\"q\"|/home/u/\"q\"", L'/'}};
  for (const auto& [line, boxes, separator] : cases) {
    Harness h;
    h.tk.commandLine = line;
    h.tk.separator = separator;
    SettingsWindow form(h.ctx);
    form.Show();
    EXPECT_EQ(h.tk.Boxes(), boxes);
    EXPECT_TRUE(form.ShowSettings);
  }
}

}  // namespace
}  // namespace kv::test
