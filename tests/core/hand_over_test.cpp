// Shift and Ctrl held while choosing a drive or folder in the launcher popup.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "fakes/harness.h"

namespace kv::test {
namespace {

constexpr NativeHandle kDialog = 0x7001;  // the file dialog the user came from
constexpr NativeHandle kOther = 0x7002;   // some window that cannot be taken anywhere

struct Case {
  const char* what = "";
  MenuRef chosen{MenuKind::Line};
  unsigned modifiers = 0;
  NativeHandle cameFrom = 0;
  bool clipboardFails = false;
  // Outcomes.
  std::vector<std::wstring> opened = {};
  std::vector<std::pair<NativeHandle, std::wstring>> navigated = {};
  std::vector<std::wstring> copied = {};
  int messages = 0;
  bool showSettings = false;
};

class HandOverTest : public ::testing::TestWithParam<Case> {};

TEST_P(HandOverTest, ChoiceWithModifiers) {
  const Case& c = GetParam();
  Harness h;
  h.os.drives = {{L"C:\\", L"", kDriveFixed}, {L"D:\\", L"DATA", kDriveFixed}};
  h.AddFolders({{L"A", L"C:\\A\\"}, {L"資料", L"D:\\資料 2\\"}});
  h.os.foreground = c.cameFrom;
  h.os.navigable = {kDialog};
  h.os.failClipboard = c.clipboardFails;
  h.tk.popupChoice = c.chosen;
  h.tk.popupModifiers = c.modifiers;
  Form1 form(h.ctx);
  form.Show();
  EXPECT_EQ(h.os.opened, c.opened);
  EXPECT_EQ(h.os.navigated, c.navigated);
  EXPECT_EQ(h.os.clipboard, c.copied);
  ASSERT_EQ(h.tk.boxes.size(), static_cast<std::size_t>(c.messages));
  if (c.messages != 0) {
    EXPECT_EQ(h.tk.boxes[0].text, L"パスをクリップボードにコピーできませんでした。");
    EXPECT_EQ(h.tk.boxes[0].style, vbExclamation);
  }
  EXPECT_EQ(form.ShowSettings, c.showSettings);
  // The window the user came from is read before the program takes the foreground.
  EXPECT_EQ(h.os.foregrounded, std::vector<NativeHandle>{h.tk.hWnd(nullptr)});
  if (c.modifiers == 0) {
    EXPECT_EQ(h.os.navigateCalls, 0) << "a plain choice only opens";
  }
}

constexpr MenuRef kFolder2{MenuKind::Folder, 2}, kDrive1{MenuKind::Drive, 1},
    kName{MenuKind::ProgramName, 0};
constexpr unsigned kShift = kPopupShift, kCtrl = kPopupCtrl;

INSTANTIATE_TEST_SUITE_P(
    Launcher, HandOverTest,
    ::testing::Values(Case{.what = "plain folder opens",
                           .chosen = kFolder2,
                           .modifiers = 0,
                           .cameFrom = kDialog,
                           .opened = {L"D:\\資料 2\\"}},
                      Case{.what = "plain drive opens",
                           .chosen = kDrive1,
                           .modifiers = 0,
                           .cameFrom = kDialog,
                           .opened = {L"D:\\"}},
                      Case{.what = "Shift takes the dialog to the folder",
                           .chosen = kFolder2,
                           .modifiers = kShift,
                           .cameFrom = kDialog,
                           .navigated = {{kDialog, L"D:\\資料 2\\"}}},
                      Case{.what = "Shift takes the dialog to the drive",
                           .chosen = kDrive1,
                           .modifiers = kShift,
                           .cameFrom = kDialog,
                           .navigated = {{kDialog, L"D:\\"}}},
                      Case{.what = "Shift with no window opens",
                           .chosen = kFolder2,
                           .modifiers = kShift,
                           .cameFrom = 0,
                           .opened = {L"D:\\資料 2\\"}},
                      Case{.what = "Shift with a window that refuses opens",
                           .chosen = kFolder2,
                           .modifiers = kShift,
                           .cameFrom = kOther,
                           .opened = {L"D:\\資料 2\\"}},
                      Case{.what = "Ctrl copies the path and opens nothing",
                           .chosen = kFolder2,
                           .modifiers = kCtrl,
                           .cameFrom = kDialog,
                           .copied = {L"D:\\資料 2\\"}},
                      Case{.what = "Ctrl on a drive copies its root",
                           .chosen = kDrive1,
                           .modifiers = kCtrl,
                           .cameFrom = 0,
                           .copied = {L"D:\\"}},
                      Case{.what = "Ctrl and Shift together copy",
                           .chosen = kFolder2,
                           .modifiers = kCtrl | kShift,
                           .cameFrom = kDialog,
                           .copied = {L"D:\\資料 2\\"}},
                      Case{.what = "a copy that fails says so and opens nothing",
                           .chosen = kFolder2,
                           .modifiers = kCtrl,
                           .cameFrom = kDialog,
                           .clipboardFails = true,
                           .messages = 1},
                      Case{.what = "the program name ignores Shift",
                           .chosen = kName,
                           .modifiers = kShift,
                           .cameFrom = kDialog,
                           .showSettings = true},
                      Case{.what = "the program name ignores Ctrl",
                           .chosen = kName,
                           .modifiers = kCtrl,
                           .cameFrom = kDialog,
                           .showSettings = true}),
    [](const auto& info) {
      std::string name;
      for (const char* p = info.param.what; *p; ++p)
        name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
      return name;
    });

}  // namespace
}  // namespace kv::test
