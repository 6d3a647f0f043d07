// Shift and Ctrl held while choosing a drive or folder in the launcher popup.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/harness.h"

namespace kv::test {
namespace {

constexpr NativeHandle kDialog = 0x7001;  // the file dialog the user came from
constexpr NativeHandle kOther = 0x7002;   // some window that cannot be taken anywhere

// What the user chose, the keys held and the window they came from; then what happened.
struct Case {
  const char* what;
  MenuRef chosen;
  unsigned modifiers;
  NativeHandle cameFrom;
  std::vector<std::wstring> opened = {};
  std::vector<std::pair<NativeHandle, std::wstring>> navigated = {};
  std::vector<std::wstring> copied = {};
  bool clipboardFails = false;  // then one message and nothing else
  bool showSettings = false;
};

constexpr MenuRef kFolder2{MenuKind::Folder, 2}, kDrive1{MenuKind::Drive, 1},
    kName{MenuKind::ProgramName, 0};
constexpr unsigned kShift = kPopupShift, kCtrl = kPopupCtrl;

const std::wstring kPath = L"D:\\資料 2\\", kD = L"D:\\";

TEST(HandOverTest, ChoiceWithModifiers) {
  for (const Case& c :
       {Case{"plain folder opens", kFolder2, 0, kDialog, {kPath}},
        Case{"plain drive opens", kDrive1, 0, kDialog, {kD}},
        Case{"Shift moves a dialog to a folder", kFolder2, kShift, kDialog, {}, {{kDialog, kPath}}},
        Case{"Shift moves a dialog to a drive", kDrive1, kShift, kDialog, {}, {{kDialog, kD}}},
        Case{"Shift with no window opens", kFolder2, kShift, 0, {kPath}},
        Case{"Shift with a window that refuses opens", kFolder2, kShift, kOther, {kPath}},
        Case{"Ctrl copies the path and opens nothing", kFolder2, kCtrl, kDialog, {}, {}, {kPath}},
        Case{"Ctrl on a drive copies its root", kDrive1, kCtrl, 0, {}, {}, {kD}},
        Case{"Ctrl and Shift together copy", kFolder2, kCtrl | kShift, kDialog, {}, {}, {kPath}},
        Case{"a failed copy says so and opens nothing", kFolder2, kCtrl, kDialog, {}, {}, {}, true},
        Case{"the program name ignores Shift", kName, kShift, kDialog, {}, {}, {}, false, true},
        Case{"the program name ignores Ctrl", kName, kCtrl, kDialog, {}, {}, {}, false, true}}) {
    SCOPED_TRACE(c.what);
    Harness h;
    h.os.drives = {{L"C:\\", L"", kDriveFixed}, {L"D:\\", L"DATA", kDriveFixed}};
    h.AddFolders({{L"A", L"C:\\A\\"}, {L"資料", L"D:\\資料 2\\"}});
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
    EXPECT_EQ(form.ShowSettings, c.showSettings);
    // The window the user came from is read before the program takes the foreground.
    EXPECT_EQ(h.os.foregrounded, std::vector<NativeHandle>{h.tk.hWnd()});
    if (c.modifiers == 0) {
      EXPECT_EQ(h.os.navigateCalls, 0) << "a plain choice only opens";
    }
  }
}

}  // namespace
}  // namespace kv::test
