// The real settings window (under a display): layout, captions, tab order, events, menu.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "toolkit_win32.h"
#include "ui/layout.h"
#include "windows_api.h"

namespace kv::test {
namespace {

using Strings = std::vector<std::wstring>;

struct RecordingEvents : FormEvents {
  Strings calls;
  void Add(const wchar_t* name, int i = -1) {
    calls.push_back(name + (i < 0 ? L"" : L" " + std::to_wstring(i)));
  }
  void Form_Load() override { Add(L"Form_Load"); }
  void Command1_Click(std::int16_t i) override { Add(L"Command1_Click", i); }
  void Command2_Click() override { Add(L"Command2_Click"); }
  void Command3_Click(std::int16_t i) override { Add(L"Command3_Click", i); }
  void List1_Click() override { Add(L"List1_Click"); }
  void List1_MouseMove(int b, int s, float x, float y) override {
    wchar_t buf[64];
    swprintf(buf, 64, L"List1_MouseMove %d %d %g %g", b, s, x, y);
    Add(buf);
  }
  void Menu_ProgramName_Click() override { Add(L"Menu_ProgramName_Click"); }
  void Menu_Drive_Click(std::int16_t i) override { Add(L"Menu_Drive_Click", i); }
  void Menu_Folder_Click(std::int16_t i) override { Add(L"Menu_Folder_Click", i); }
};

std::wstring Text(HWND h) {
  wchar_t buf[512] = {};
  GetWindowTextW(h, buf, 512);
  return buf;
}

class FormTest : public testing::Test {
 protected:
  void SetUp() override {
    tk.CreateForm(SettingsFormSpec(), events);
    form = reinterpret_cast<HWND>(tk.hWnd());
    ASSERT_TRUE(IsWindow(form)) << "no window: Wine needs an X display (DISPLAY)";
  }
  HWND Ctl(const ControlRef& ref) { return reinterpret_cast<HWND>(tk.hWnd(&ref)); }
  HWND Ctl(kv::Ctl name, std::int16_t index = 0) { return Ctl(ControlRef{name, index}); }
  LONG Style(HWND h) { return GetWindowLongW(h, GWL_STYLE); }
  int Px(int twips) const { return win32::TwipsToPixels(twips, tk.Dpi()); }
  // The popup's items as the HMENU holds them.
  Strings MenuItems() {
    Strings out;
    HMENU m = tk.ParentMenu();
    for (UINT i = 0, n = GetMenuItemCount(m); i < n; ++i) {
      wchar_t buf[256] = {};
      GetMenuStringW(m, i, buf, 256, MF_BYPOSITION);
      out.push_back(GetMenuState(m, i, MF_BYPOSITION) & MF_SEPARATOR ? L"<sep>" : buf);
    }
    return out;
  }

  RecordingEvents events;
  win32::Win32Toolkit tk;
  HWND form = nullptr;
};

TEST_F(FormTest, WindowAndEveryControlSitAtTheirPixelsWithCaptionsFontsAndStyles) {
  // The caption and the client area's 409x265 are checked by the e2e flows.
  EXPECT_FALSE(Style(form) & (WS_MAXIMIZEBOX | WS_THICKFRAME));
  EXPECT_FALSE(IsWindowVisible(form));
  EXPECT_NE(SendMessageW(form, WM_GETICON, ICON_BIG, 0), 0);
  EXPECT_NE(SendMessageW(form, WM_GETICON, ICON_SMALL, 0), 0);
  EXPECT_EQ(Style(Ctl(Ctl::List1)) & (LBS_NOTIFY | LBS_MULTIPLESEL | LBS_EXTENDEDSEL), LBS_NOTIFY);
  for (std::int16_t i : {0, 1})
    EXPECT_EQ(Style(Ctl(Ctl::Text1, i)) & (ES_AUTOHSCROLL | ES_MULTILINE), ES_AUTOHSCROLL);
  for (const ControlSpec& c : SettingsFormSpec().controls) {
    HWND h = Ctl(c.name, c.index);
    SCOPED_TRACE("tab " + std::to_string(c.tabIndex));
    ASSERT_TRUE(IsWindow(h));
    RECT r{};
    GetWindowRect(h, &r);
    MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ(r.left, Px(c.left));
    EXPECT_EQ(r.top, Px(c.top));
    EXPECT_EQ(r.right - r.left, Px(c.width));
    EXPECT_EQ(r.bottom - r.top, Px(c.height));
    EXPECT_EQ(Text(h), c.caption);
    EXPECT_NE(SendMessageW(h, WM_GETFONT, 0, 0), 0);
  }
}

TEST_F(FormTest, TabFollowsTabIndexEnterAndEscapePressNothingTheCloseBoxEnds) {
  std::map<int, ControlRef> stops;  // by tab index
  for (const ControlSpec& c : SettingsFormSpec().controls)
    if (c.kind != CtlKind::Label) stops[c.tabIndex] = {c.name, c.index};
  ASSERT_EQ(stops.size(), 11u);
  tk.ShowForm();
  EXPECT_EQ(GetFocus(), Ctl(Ctl::Check1, 0)) << "focus at open";
  HWND h = nullptr;
  for (const auto& [tabIndex, ref] : stops)
    EXPECT_EQ(h = GetNextDlgTabItem(form, h, FALSE), Ctl(ref)) << "tab index " << tabIndex;
  EXPECT_EQ(GetNextDlgTabItem(form, h, FALSE), Ctl(Ctl::Check1, 0)) << "wraps round";
  EXPECT_EQ(GetNextDlgTabItem(form, Ctl(Ctl::Check1, 0), TRUE), Ctl(Ctl::Command3, 1));

  for (HWND focus : {Ctl(Ctl::Command1, 0), Ctl(Ctl::Command3, 0), Ctl(Ctl::Text1, 0)}) {
    SetFocus(focus);
    for (WPARAM key : {VK_RETURN, VK_ESCAPE})  // the same codes as the characters
      for (UINT message : {WM_KEYDOWN, WM_CHAR}) {
        MSG msg{focus, message, key, 0};
        IsDialogMessageW(form, &msg);
      }
  }
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  EXPECT_TRUE(IsWindow(form));
  // Unloading through Cancel and OK is in the e2e flows, the close box is not; no call at all
  // (not even Form_Load, the core's to run) since the form was made.
  SendMessageW(form, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(form));
  EXPECT_EQ(events.calls, Strings{});
  EXPECT_EQ(tk.RunEventLoop(), 0);
}

TEST_F(FormTest, ButtonsAndListReachTheirHandlers) {
  for (HWND b : {Ctl(Ctl::Command1, 2), Ctl(Ctl::Command2), Ctl(Ctl::Command3, 1)})
    SendMessageW(b, BM_CLICK, 0, 0);
  HWND list = Ctl(Ctl::List1);
  for (WORD code : {LBN_SELCHANGE, LBN_DBLCLK})
    SendMessageW(form, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), code),
                 reinterpret_cast<LPARAM>(list));
  SendMessageW(list, WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, MAKELPARAM(10, 20));
  const int twips = 1440 / static_cast<int>(tk.Dpi());
  wchar_t move[64];
  swprintf(move, 64, L"List1_MouseMove 1 1 %d %d", 10 * twips, 20 * twips);
  EXPECT_EQ(events.calls, (Strings{L"Command1_Click 2", L"Command2_Click", L"Command3_Click 1",
                                   L"List1_Click", move}));
}

TEST_F(FormTest, ToolTipsOnePerControlAndListTextUpdatable) {
  HWND tip = nullptr;
  for (HWND h = nullptr; (h = FindWindowExW(nullptr, h, TOOLTIPS_CLASSW, nullptr));)
    if (GetWindow(h, GW_OWNER) == form) tip = h;
  ASSERT_TRUE(tip);
  EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 11);
  auto tipText = [&](HWND control) {
    wchar_t buf[256] = {};
    TTTOOLINFOW ti{sizeof(ti), 0, form, reinterpret_cast<UINT_PTR>(control), {}, nullptr, buf};
    SendMessageW(tip, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&ti));
    return std::wstring(buf);
  };
  EXPECT_EQ(tipText(Ctl(Ctl::Command3, 0)), L"登録・設定の変更を保存して設定画面を閉じます。");
  tk.SetToolTipText({Ctl::List1, 0}, L"Docs : D:\\Docs\\");
  EXPECT_EQ(tipText(Ctl(Ctl::List1)), L"Docs : D:\\Docs\\");
}

// Adding, text, check boxes and no sorting are in the e2e flows; these are not.
TEST_F(FormTest, ListUpdateKeepsTheSelectionAndRemoveShifts) {
  const ControlRef list{Ctl::List1, 0};
  for (const wchar_t* item : {L"b", L"a", L"c"}) tk.AddItem(list, item);
  EXPECT_EQ(tk.ListIndex(list), -1);
  SendMessageW(Ctl(Ctl::List1), LB_SETCURSEL, 1, 0);
  tk.SetListItem(list, 1, L"日本語");
  EXPECT_EQ(tk.ListIndex(list), 1);
  tk.RemoveItem(list, 0);
  EXPECT_EQ(tk.ListCount(list), 2);
  EXPECT_EQ(tk.GetListItem(list, 0), L"日本語");
}

TEST_F(FormTest, MenuElementsFollowTheLastOfTheirArrayAndHideInPlace) {
  const std::wstring name = L"キヴォレット Ver.1.0", sep = L"<sep>";
  tk.SetMenuCaption({MenuKind::Drive, 0}, L"C:\\");
  tk.SetMenuCaption({MenuKind::Folder, 1}, L"Docs");
  tk.LoadMenuElement({MenuKind::Folder, 2});
  tk.SetMenuCaption({MenuKind::Folder, 2}, L"R&D");
  tk.LoadMenuElement({MenuKind::Drive, 1});
  tk.SetMenuCaption({MenuKind::Drive, 1}, L"Z:\\");
  EXPECT_EQ(MenuItems(), (Strings{name, sep, L"C:\\", L"Z:\\", L"Docs", L"R&&D"}));
  tk.SetMenuVisible({MenuKind::Drive, 0}, false);
  tk.SetMenuVisible({MenuKind::Folder, 2}, false);
  EXPECT_EQ(MenuItems(), (Strings{name, sep, L"Z:\\", L"Docs"}));
  tk.SetMenuCaption({MenuKind::Drive, 0}, L"Y:\\");  // while hidden
  tk.SetMenuVisible({MenuKind::Drive, 0}, true);
  tk.SetMenuVisible({MenuKind::Folder, 2}, true);
  EXPECT_EQ(MenuItems(), (Strings{name, sep, L"Y:\\", L"Z:\\", L"Docs", L"R&&D"}));
}

}  // namespace
}  // namespace kv::test
