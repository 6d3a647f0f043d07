// Shift and Ctrl held while choosing a drive or folder in the launcher popup.
#include <gtest/gtest.h>

#include "fakes/harness.h"

namespace kv::test {
namespace {

constexpr NativeHandle kDialog = 0x7001;  // a file dialog the user came from
constexpr NativeHandle kOther = 0x7002;   // a window that cannot be taken anywhere

TEST(HandOverTest, ChoiceWithModifiers) {
  const MenuRef folder{MenuKind::Folder, 2}, drive{MenuKind::Drive, 1}, name{MenuKind::ProgramName};
  const unsigned shift = kPopupShift, ctrl = kPopupCtrl;
  const std::wstring path = L"D:\\資料 2\\", d = L"D:\\";
  struct Case {
    MenuRef chosen;
    unsigned modifiers;
    NativeHandle cameFrom;
    std::vector<std::wstring> opened = {};
    std::vector<std::pair<NativeHandle, std::wstring>> navigated = {};
    std::vector<std::wstring> copied = {};
    bool clipboardFails = false;  // then one message and nothing else
  };
  for (const Case& c :
       {Case{folder, 0, kDialog, {path}}, Case{drive, 0, kDialog, {d}},
        Case{folder, shift, kDialog, {}, {{kDialog, path}}},
        Case{drive, shift, kDialog, {}, {{kDialog, d}}}, Case{folder, shift, 0, {path}},
        Case{folder, shift, kOther, {path}}, Case{folder, ctrl, kDialog, {}, {}, {path}},
        Case{drive, ctrl, 0, {}, {}, {d}}, Case{folder, ctrl | shift, kDialog, {}, {}, {path}},
        Case{folder, ctrl, kDialog, {}, {}, {}, true}, Case{name, shift, kDialog},
        Case{name, ctrl, kDialog}}) {
    SCOPED_TRACE(::testing::Message() << c.chosen.index << " " << c.modifiers << " " << c.cameFrom);
    Harness h;
    h.os.drives = {{L"C:\\", L"", kDriveFixed}, {L"D:\\", L"DATA", kDriveFixed}};
    h.AddFolders({{L"A", L"C:\\A\\"}, {L"資料", path}});
    h.os.foreground = c.cameFrom;
    h.os.navigable = {kDialog};
    h.os.failClipboard = c.clipboardFails;
    h.tk.popupChoice = c.chosen;
    h.tk.popupModifiers = c.modifiers;
    SettingsWindow form(h.ctx);
    form.Show();
    EXPECT_EQ(h.os.opened, c.opened);
    EXPECT_EQ(h.os.navigated, c.navigated);
    EXPECT_EQ(h.os.clipboard, c.copied);
    ASSERT_EQ(h.tk.boxes.size(), c.clipboardFails ? 1u : 0u);
    if (c.clipboardFails) {
      EXPECT_EQ(h.tk.boxes[0].text, L"パスをクリップボードにコピーできませんでした。");
      EXPECT_EQ(h.tk.boxes[0].style, MsgStyle::Warning);
    }
    EXPECT_EQ(form.ShowSettings, c.chosen.kind == MenuKind::ProgramName);
    // The window the user came from is read before the program takes the foreground.
    EXPECT_EQ(h.os.foregrounded, std::vector<NativeHandle>{h.tk.hWnd(std::nullopt)});
    EXPECT_TRUE(c.modifiers != 0 || h.os.navigateCalls == 0) << "a plain choice only opens";
  }
}

}  // namespace
}  // namespace kv::test
