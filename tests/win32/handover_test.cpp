// Taking another window to a folder, and the clipboard, on the real Win32 functions.
#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "open_dialog.h"
#include "scratch_dir.h"
#include "window_handover.h"

namespace kv::win32 {
namespace {

// A real Open dialog on a thread of its own, as another program would show it.
class OpenDialog {
 public:
  OpenDialog(const std::wstring& dir, const std::wstring& typed) : dir_(dir), typed_(typed) {
    thread_ = std::thread([this] { test::ShowOpenDialog(dir_, typed_, kTitle); });
    for (int i = 0; i < 200 && !(hwnd = ::FindWindowW(L"#32770", kTitle)); ++i) ::Sleep(50);
    ::Sleep(300);  // the view fills in after the window shows
  }
  ~OpenDialog() {
    if (hwnd) ::PostMessageW(hwnd, WM_COMMAND, IDCANCEL, 0);
    thread_.join();
  }
  std::wstring Folder() const {
    wchar_t buf[1024] = {};
    ::SendMessageW(hwnd, CDM_GETFOLDERPATH, 1024, reinterpret_cast<LPARAM>(buf));
    return buf;
  }
  std::wstring Typed() const {
    wchar_t buf[1024] = {};
    ::SendMessageW(hwnd, CDM_GETSPEC, 1024, reinterpret_cast<LPARAM>(buf));
    return buf;
  }
  HWND hwnd = nullptr;

 private:
  static constexpr wchar_t kTitle[] = L"handover test dialog";
  std::wstring dir_, typed_;
  std::thread thread_;
};

std::wstring WithoutSlash(std::wstring p) {
  while (p.size() > 3 && p.back() == L'\\') p.pop_back();
  return p;
}

// Whatever cannot be taken there is left exactly as it was; a folder can, and the typed name
// stays.
TEST(FileDialogTest, RefusesWhatItCannotTakeThereAndTakesTheDialogToAFolder) {
  test::ScratchDir scratch;
  const std::wstring start = scratch.dir() + L"start", target = scratch.dir() + L"資料 2";
  for (const auto& d : {start, target}) ASSERT_TRUE(::CreateDirectoryW(d.c_str(), nullptr));
  OpenDialog dialog(start, L"報告書.txt");
  ASSERT_NE(dialog.hwnd, nullptr);
  // A dialog that is no file dialog, though it has an edit box with the file-name box's id.
  HWND plain = ::CreateWindowExW(0, L"#32770", L"plain", WS_POPUP, 0, 0, 200, 100, nullptr, nullptr,
                                 nullptr, nullptr);
  HWND edit = ::CreateWindowExW(0, L"Edit", L"keep me", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, plain,
                                reinterpret_cast<HMENU>(0x480), nullptr, nullptr);
  ::ShowWindow(plain, SW_SHOWNA);
  HWND gone = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr,
                                nullptr);
  ::DestroyWindow(gone);
  const std::wstring file = scratch.dir() + L"file.txt";
  ::CloseHandle(::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));

  const struct {
    const char* what;
    HWND window;
    std::wstring path;
  } cases[] = {
      {"a folder that does not exist", dialog.hwnd, scratch.dir() + L"missing"},
      {"a file, not a folder", dialog.hwnd, file},
      {"an empty path", dialog.hwnd, L""},
      {"a dialog without a file view", plain, start},
      {"a window that is gone", gone, start},
      {"no window", nullptr, start},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_FALSE(NavigateFileDialog(c.window, c.path));
    EXPECT_EQ(WithoutSlash(dialog.Folder()), start);
    EXPECT_EQ(dialog.Typed(), L"報告書.txt");
    wchar_t kept[16] = {};
    ::GetWindowTextW(edit, kept, 16);
    EXPECT_STREQ(kept, L"keep me");
  }
  ::DestroyWindow(plain);
  EXPECT_TRUE(NavigateFileDialog(dialog.hwnd, target + L"\\"));
  EXPECT_EQ(WithoutSlash(dialog.Folder()), target);
  EXPECT_EQ(dialog.Typed(), L"報告書.txt");
}

TEST(ShellWindowTest, NavigatesTheTabInViewOfThatWindowOnly) {
  HWND a = reinterpret_cast<HWND>(0x1000), b = reinterpret_cast<HWND>(0x2000);
  struct Case {
    const char* what;
    std::vector<std::pair<HWND, bool>> tabs;  // top-level window, in view
    HWND window;
    int navigated;  // index of the tab sent there, -1: none
    bool fails = false;
  };
  const Case cases[] = {
      {"its only tab, in view or not", {{b, false}, {a, false}}, a, 1},
      {"the tab in view among several", {{a, false}, {a, true}, {b, true}}, a, 1},
      {"several tabs, none known in view", {{a, false}, {a, false}}, a, -1},
      {"not in the list", {{b, true}}, a, -1},
      {"an empty list", {}, a, -1},
      {"no window", {{a, true}}, nullptr, -1},
      {"the browser refuses", {{a, true}}, a, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::wstring> calls(c.tabs.size());
    std::vector<ShellBrowserTab> tabs;
    for (std::size_t i = 0; i < c.tabs.size(); ++i)
      tabs.push_back({c.tabs[i].first, c.tabs[i].second, [&calls, i, &c](const std::wstring& p) {
                        calls[i] = p;
                        return !c.fails;
                      }});
    EXPECT_EQ(NavigateShellWindow(tabs, c.window, L"D:\\資料\\"), c.navigated >= 0 && !c.fails);
    for (std::size_t i = 0; i < calls.size(); ++i)
      EXPECT_EQ(calls[i], static_cast<int>(i) == c.navigated ? L"D:\\資料\\" : L"") << i;
  }
}

TEST(ClipboardTest, HoldsExactlyTheText) {
  for (const std::wstring text : {L"C:\\資料 2\\", L"\\\\server\\share\\a&b"}) {
    ASSERT_TRUE(PutClipboardText(text));
    EXPECT_EQ(test::ClipboardText(), text);
  }
}

}  // namespace
}  // namespace kv::win32
