// The real settings window (under a display): layout, captions, tab order, events, menu.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "toolkit_win32.h"
#include "ui/layout.h"
#include "windows_api.h"

namespace kv::test {
namespace {

struct RecordingEvents : FormEvents {
  std::vector<std::wstring> calls;
  void Form_Load() override { calls.push_back(L"Form_Load"); }
  void Command1_Click(std::int16_t i) override {
    calls.push_back(L"Command1_Click " + std::to_wstring(i));
  }
  void Command2_Click() override { calls.push_back(L"Command2_Click"); }
  void Command3_Click(std::int16_t i) override {
    calls.push_back(L"Command3_Click " + std::to_wstring(i));
  }
  void List1_Click() override { calls.push_back(L"List1_Click"); }
  void List1_MouseMove(int b, int s, float x, float y) override {
    calls.push_back(L"List1_MouseMove " + std::to_wstring(b) + L" " + std::to_wstring(s) + L" " +
                    std::to_wstring(static_cast<int>(x)) + L" " +
                    std::to_wstring(static_cast<int>(y)));
  }
  void Menu_ProgramName_Click() override { calls.push_back(L"Menu_ProgramName_Click"); }
  void Menu_Drive_Click(std::int16_t i) override {
    calls.push_back(L"Menu_Drive_Click " + std::to_wstring(i));
  }
  void Menu_Folder_Click(std::int16_t i) override {
    calls.push_back(L"Menu_Folder_Click " + std::to_wstring(i));
  }
};

std::wstring Text(HWND h) {
  wchar_t buf[512] = {};
  GetWindowTextW(h, buf, 512);
  return buf;
}

std::wstring ClassOf(HWND h) {
  wchar_t buf[64] = {};
  GetClassNameW(h, buf, 64);
  return buf;
}

class FormTest : public testing::Test {
 protected:
  void SetUp() override {
    tk.CreateForm(SettingsFormSpec(), events);
    form = reinterpret_cast<HWND>(tk.hWnd());
    ASSERT_TRUE(IsWindow(form)) << "no window: Wine needs an X display (DISPLAY)";
  }
  HWND Ctl(kv::Ctl name, std::int16_t index = 0) {
    const ControlRef ref{name, index};
    return reinterpret_cast<HWND>(tk.hWnd(&ref));
  }
  int Px(int twips) const { return win32::TwipsToPixels(twips, tk.Dpi()); }
  static void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }

  RecordingEvents events;
  win32::Win32Toolkit tk;
  HWND form = nullptr;
};

TEST_F(FormTest, ClientAreaAndCaptionAreTheTables) {
  RECT rc{};
  GetClientRect(form, &rc);
  EXPECT_EQ(rc.right, Px(6135));
  EXPECT_EQ(rc.bottom, Px(3975));
  if (tk.Dpi() == 96) {
    EXPECT_EQ(rc.right, 409);
    EXPECT_EQ(rc.bottom, 265);
  }
  EXPECT_EQ(Text(form), L"キヴォレット - 設定");
  EXPECT_FALSE(GetWindowLongW(form, GWL_STYLE) & WS_MAXIMIZEBOX);
  EXPECT_FALSE(GetWindowLongW(form, GWL_STYLE) & WS_THICKFRAME);
  EXPECT_FALSE(IsWindowVisible(form)) << "created hidden";
  EXPECT_TRUE(events.calls.empty()) << "Form_Load is the core's to run";
}

TEST_F(FormTest, WindowCarriesTheProgramIcon) {
  EXPECT_NE(SendMessageW(form, WM_GETICON, ICON_BIG, 0), 0);
  EXPECT_NE(SendMessageW(form, WM_GETICON, ICON_SMALL, 0), 0);
  EXPECT_NE(GetClassLongPtrW(form, GCLP_HICON), 0);
  EXPECT_NE(GetClassLongPtrW(form, GCLP_HICONSM), 0);
}

TEST_F(FormTest, EveryControlSitsAtItsPixelsWithItsCaption) {
  for (const ControlSpec& c : SettingsFormSpec().controls) {
    HWND h = Ctl(c.name, c.index);
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.caption)) + " tab " +
                 std::to_string(c.tabIndex));
    ASSERT_TRUE(IsWindow(h));
    EXPECT_EQ(GetParent(h), form);
    RECT r{};
    GetWindowRect(h, &r);
    MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, Px(c.left));
    EXPECT_EQ(r.top, Px(c.top));
    EXPECT_EQ(r.right - r.left, Px(c.width));
    EXPECT_EQ(r.bottom - r.top, Px(c.height));
    EXPECT_EQ(Text(h), c.caption);
    EXPECT_TRUE(IsWindowVisible(h) || !IsWindowVisible(form));
    const int id = GetDlgCtrlID(h);
    EXPECT_NE(id, IDOK);
    EXPECT_NE(id, IDCANCEL);
    EXPECT_NE(SendMessageW(h, WM_GETFONT, 0, 0), 0) << "the message font is set";
  }
}

TEST_F(FormTest, ControlKindsHaveTheirStyles) {
  const LONG list = GetWindowLongW(Ctl(Ctl::List1), GWL_STYLE);
  EXPECT_EQ(ClassOf(Ctl(Ctl::List1)), L"ListBox");
  EXPECT_TRUE(list & LBS_NOTIFY);
  EXPECT_FALSE(list & LBS_SORT);
  EXPECT_FALSE(list & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL));
  for (int i : {0, 1}) {
    EXPECT_EQ(ClassOf(Ctl(Ctl::Text1, i)), L"Edit");
    EXPECT_TRUE(GetWindowLongW(Ctl(Ctl::Text1, i), GWL_STYLE) & ES_AUTOHSCROLL);
    EXPECT_FALSE(GetWindowLongW(Ctl(Ctl::Text1, i), GWL_STYLE) & ES_MULTILINE);
    EXPECT_EQ((GetWindowLongW(Ctl(Ctl::Check1, i), GWL_STYLE) & BS_TYPEMASK), BS_AUTOCHECKBOX);
  }
  for (HWND b : {Ctl(Ctl::Command1, 0), Ctl(Ctl::Command1, 1), Ctl(Ctl::Command1, 2),
                 Ctl(Ctl::Command2), Ctl(Ctl::Command3, 0), Ctl(Ctl::Command3, 1)}) {
    EXPECT_EQ((GetWindowLongW(b, GWL_STYLE) & BS_TYPEMASK), BS_PUSHBUTTON) << "no default button";
  }
  EXPECT_EQ(ClassOf(Ctl(Ctl::Label1, 2)), L"Static");
}

TEST_F(FormTest, TabFollowsTabIndexFromCheck1) {
  std::vector<ControlSpec> stops;
  for (const ControlSpec& c : SettingsFormSpec().controls)
    if (c.kind != CtlKind::Label) stops.push_back(c);
  std::sort(stops.begin(), stops.end(),
            [](const ControlSpec& a, const ControlSpec& b) { return a.tabIndex < b.tabIndex; });
  ASSERT_EQ(stops.size(), 11u);
  tk.ShowForm();
  EXPECT_EQ(GetFocus(), Ctl(Ctl::Check1, 0)) << "focus at open";
  HWND h = GetNextDlgTabItem(form, nullptr, FALSE);
  for (const ControlSpec& c : stops) {
    EXPECT_EQ(h, Ctl(c.name, c.index)) << "tab index " << c.tabIndex;
    h = GetNextDlgTabItem(form, h, FALSE);
  }
  EXPECT_EQ(h, Ctl(Ctl::Check1, 0)) << "wraps round";
  EXPECT_EQ(GetNextDlgTabItem(form, Ctl(Ctl::Check1, 0), TRUE), Ctl(Ctl::Command3, 1));
}

TEST_F(FormTest, ButtonsAndListReachTheirHandlers) {
  SendMessageW(Ctl(Ctl::Command1, 2), BM_CLICK, 0, 0);
  SendMessageW(Ctl(Ctl::Command2), BM_CLICK, 0, 0);
  SendMessageW(Ctl(Ctl::Command3, 1), BM_CLICK, 0, 0);
  HWND list = Ctl(Ctl::List1);
  SendMessageW(form, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_SELCHANGE),
               reinterpret_cast<LPARAM>(list));
  SendMessageW(form, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), LBN_DBLCLK),
               reinterpret_cast<LPARAM>(list));
  SendMessageW(list, WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, MAKELPARAM(10, 20));
  const int twips = 1440 / static_cast<int>(tk.Dpi());
  EXPECT_EQ(events.calls,
            (std::vector<std::wstring>{L"Command1_Click 2", L"Command2_Click", L"Command3_Click 1",
                                       L"List1_Click",
                                       L"List1_MouseMove 1 1 " + std::to_wstring(10 * twips) +
                                           L" " + std::to_wstring(20 * twips)}));
}

TEST_F(FormTest, EnterAndEscapePressNothing) {
  tk.ShowForm();
  for (HWND focus : {Ctl(Ctl::Command1, 0), Ctl(Ctl::Command3, 0), Ctl(Ctl::Text1, 0)}) {
    SetFocus(focus);
    for (WPARAM key : {WPARAM{VK_RETURN}, WPARAM{VK_ESCAPE}}) {
      MSG msg{focus, WM_KEYDOWN, key, 0};
      IsDialogMessageW(form, &msg);
      msg.message = WM_CHAR;
      msg.wParam = key == VK_RETURN ? L'\r' : 27;
      IsDialogMessageW(form, &msg);
    }
  }
  Pump();
  EXPECT_TRUE(events.calls.empty()) << testing::PrintToString(events.calls.size());
  EXPECT_TRUE(IsWindow(form));
}

TEST_F(FormTest, ToolTipsOnePerControlAndListTextUpdatable) {
  HWND tip = nullptr;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND h, LPARAM out) -> BOOL {
        wchar_t cls[64] = {};
        GetClassNameW(h, cls, 64);
        if (std::wstring(cls) == TOOLTIPS_CLASSW) *reinterpret_cast<HWND*>(out) = h;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&tip));
  ASSERT_TRUE(tip);
  EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 11);
  auto tipText = [&](HWND control) {
    wchar_t buf[256] = {};
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.hwnd = form;
    ti.uId = reinterpret_cast<UINT_PTR>(control);
    ti.lpszText = buf;
    SendMessageW(tip, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&ti));
    return std::wstring(buf);
  };
  EXPECT_EQ(tipText(Ctl(Ctl::Command3, 0)), L"登録・設定の変更を保存して設定画面を閉じます。");
  EXPECT_EQ(tipText(Ctl(Ctl::List1)), L"");
  tk.SetToolTipText({Ctl::List1, 0}, L"Docs : D:\\Docs\\");
  EXPECT_EQ(tipText(Ctl(Ctl::List1)), L"Docs : D:\\Docs\\");
}

TEST_F(FormTest, ListBoxCheckBoxAndTextOperations) {
  const ControlRef list{Ctl::List1, 0};
  tk.AddItem(list, L"b");
  tk.AddItem(list, L"a");
  tk.AddItem(list, L"c");
  EXPECT_EQ(tk.ListCount(list), 3);
  EXPECT_EQ(tk.GetListItem(list, 0), L"b") << "not sorted";
  EXPECT_EQ(tk.ListIndex(list), -1);
  SendMessageW(Ctl(Ctl::List1), LB_SETCURSEL, 1, 0);
  tk.SetListItem(list, 1, L"日本語");
  EXPECT_EQ(tk.GetListItem(list, 1), L"日本語");
  EXPECT_EQ(tk.ListIndex(list), 1) << "update keeps the selection";
  tk.RemoveItem(list, 0);
  EXPECT_EQ(tk.ListCount(list), 2);
  EXPECT_EQ(tk.GetListItem(list, 0), L"日本語");
  EXPECT_EQ(tk.GetListItem(list, 5), L"");

  const ControlRef check{Ctl::Check1, 1};
  EXPECT_EQ(tk.GetValue(check), 0);
  tk.SetValue(check, 1);
  EXPECT_EQ(tk.GetValue(check), 1);
  SendMessageW(Ctl(Ctl::Check1, 1), BM_CLICK, 0, 0);
  EXPECT_EQ(tk.GetValue(check), 0) << "the user's click toggles it";

  tk.SetText({Ctl::Text1, 1}, L"C:\\写真\\");
  EXPECT_EQ(tk.GetText({Ctl::Text1, 1}), L"C:\\写真\\");
  EXPECT_EQ(Text(Ctl(Ctl::Text1, 1)), L"C:\\写真\\");
}

TEST_F(FormTest, UnloadDestroysTheWindowAndEndsTheLoop) {
  tk.UnloadForm();
  EXPECT_FALSE(IsWindow(form));
  EXPECT_EQ(tk.hWnd(), NativeHandle{0});
  MSG msg;
  EXPECT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(FormTest, TheCloseBoxSavesNothingAndEnds) {
  tk.ShowForm();
  SendMessageW(form, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(form));
  EXPECT_TRUE(events.calls.empty());
  EXPECT_EQ(tk.RunEventLoop(), 0);
}

// The popup's items as the HMENU holds them.
class MenuTest : public FormTest {
 protected:
  std::vector<std::wstring> Items() {
    std::vector<std::wstring> out;
    HMENU m = tk.ParentMenu();
    for (int i = 0, n = GetMenuItemCount(m); i < n; ++i) {
      MENUITEMINFOW mii{};
      mii.cbSize = sizeof(mii);
      mii.fMask = MIIM_FTYPE;
      GetMenuItemInfoW(m, static_cast<UINT>(i), TRUE, &mii);
      if (mii.fType & MFT_SEPARATOR) {
        out.push_back(L"<separator>");
        continue;
      }
      wchar_t buf[256] = {};
      GetMenuStringW(m, static_cast<UINT>(i), buf, 256, MF_BYPOSITION);
      out.push_back(buf);
    }
    return out;
  }
};

TEST_F(MenuTest, DesignTimeItems) {
  EXPECT_EQ(Items(),
            (std::vector<std::wstring>{L"キヴォレット Ver.1.0", L"<separator>", L"", L""}));
}

TEST_F(MenuTest, LoadedElementsFollowTheLastOfTheirArray) {
  tk.SetMenuCaption({MenuKind::Drive, 0}, L"C:\\ [ローカルディスク]");
  tk.LoadMenuElement({MenuKind::Drive, 1});
  tk.SetMenuCaption({MenuKind::Drive, 1}, L"Z:\\");
  tk.SetMenuCaption({MenuKind::Folder, 1}, L"Docs");
  tk.LoadMenuElement({MenuKind::Folder, 2});
  tk.SetMenuCaption({MenuKind::Folder, 2}, L"R&D");
  tk.LoadMenuElement({MenuKind::Folder, 3});
  tk.SetMenuCaption({MenuKind::Folder, 3}, L"-");
  tk.LoadMenuElement({MenuKind::Drive, 2});
  tk.SetMenuCaption({MenuKind::Drive, 2}, L"Y:\\");
  EXPECT_EQ(Items(), (std::vector<std::wstring>{L"キヴォレット Ver.1.0", L"<separator>",
                                                L"C:\\ [ローカルディスク]", L"Z:\\", L"Y:\\",
                                                L"Docs", L"R&&D", L"-"}));
}

TEST_F(MenuTest, HiddenItemsLeaveTheMenuAndComeBackInPlace) {
  tk.SetMenuCaption({MenuKind::Folder, 1}, L"Docs");
  tk.SetMenuVisible({MenuKind::Drive, 0}, false);
  EXPECT_EQ(Items(), (std::vector<std::wstring>{L"キヴォレット Ver.1.0", L"<separator>", L"Docs"}));
  tk.SetMenuVisible({MenuKind::Folder, 1}, false);
  EXPECT_EQ(Items(), (std::vector<std::wstring>{L"キヴォレット Ver.1.0", L"<separator>"}));
  tk.SetMenuCaption({MenuKind::Drive, 0}, L"C:\\");  // while hidden
  tk.SetMenuVisible({MenuKind::Drive, 0}, true);
  tk.SetMenuVisible({MenuKind::Folder, 1}, true);
  EXPECT_EQ(Items(),
            (std::vector<std::wstring>{L"キヴォレット Ver.1.0", L"<separator>", L"C:\\", L"Docs"}));
}

}  // namespace
}  // namespace kv::test
