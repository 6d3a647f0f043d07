// The real settings window (under a display): layout, captions, tab order, events, menu.
#include <gtest/gtest.h>

#include <map>

#include "toolkit_win32.h"
#include "ui/layout.h"
#include "windows_api.h"

namespace kv::win32 {
namespace {

using Strings = std::vector<std::wstring>;

struct RecordingEvents : FormEvents {
  Strings calls;
  void Add(const wchar_t* name, int i = -1) {
    calls.push_back(name + (i < 0 ? L"" : L" " + std::to_wstring(i)));
  }
  void OnLoad() override { Add(L"OnLoad"); }
  void OnRegister() override { Add(L"OnRegister"); }
  void OnUpdate() override { Add(L"OnUpdate"); }
  void OnRemove() override { Add(L"OnRemove"); }
  void OnBrowse() override { Add(L"OnBrowse"); }
  void OnOk() override { Add(L"OnOk"); }
  void OnCancel() override { Add(L"OnCancel"); }
  void OnFolderSelected() override { Add(L"OnFolderSelected"); }
  void OnFolderHover() override { Add(L"OnFolderHover"); }
};

class FormTest : public testing::Test {
 protected:
  // Launcher mode makes only the hidden window; the controls and tips come once, on demand.
  void SetUp() override {
    tk.CreateForm(SettingsFormSpec(), events);
    form = reinterpret_cast<HWND>(tk.hWnd(std::nullopt));
    ASSERT_TRUE(IsWindow(form)) << "no window: Wine needs an X display (DISPLAY)";
    EXPECT_FALSE(IsWindowVisible(form));
    EXPECT_EQ(GetWindow(form, GW_CHILD), nullptr) << "no control in launcher mode";
    EXPECT_EQ(Tips().size(), 0u);
    tk.LoadControls();
    tk.LoadControls();
    int children = 0;
    for (HWND h = GetWindow(form, GW_CHILD); h; h = GetWindow(h, GW_HWNDNEXT)) ++children;
    EXPECT_EQ(children, static_cast<int>(SettingsFormSpec().controls.size()));
    ASSERT_EQ(Tips().size(), 1u);
  }
  std::vector<HWND> Tips() const {  // the form's tool tip windows
    std::vector<HWND> tips;
    for (HWND h = nullptr; (h = FindWindowExW(nullptr, h, TOOLTIPS_CLASSW, nullptr));)
      if (GetWindow(h, GW_OWNER) == form) tips.push_back(h);
    return tips;
  }
  HWND Hwnd(Control c) { return reinterpret_cast<HWND>(tk.hWnd(c)); }
  LONG Style(HWND h) { return GetWindowLongW(h, GWL_STYLE); }
  int Px(int twips) const { return win32::TwipsToPixels(twips, tk.Dpi()); }

  RecordingEvents events;
  win32::Win32Toolkit tk;
  HWND form = nullptr;
};

TEST_F(FormTest, LayoutTipsTabOrderHandlersAndListThenEnterEscapeDoNothingCloseBoxEnds) {
  // The caption and the client area's 409x265 are checked by the e2e flows.
  EXPECT_FALSE(Style(form) & (WS_MAXIMIZEBOX | WS_THICKFRAME));
  for (WPARAM icon : {ICON_BIG, ICON_SMALL}) EXPECT_NE(SendMessageW(form, WM_GETICON, icon, 0), 0);
  EXPECT_EQ(Style(Hwnd(Control::FolderList)) & (LBS_NOTIFY | LBS_MULTIPLESEL | LBS_EXTENDEDSEL),
            LBS_NOTIFY);
  for (Control box : {Control::NameBox, Control::PathBox})
    EXPECT_EQ(Style(Hwnd(box)) & (ES_AUTOHSCROLL | ES_MULTILINE), ES_AUTOHSCROLL);
  HWND tip = Tips().front();
  EXPECT_EQ(SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 11);
  auto tipText = [&](HWND control) {
    wchar_t buf[256] = {};
    TTTOOLINFOW ti{sizeof(ti), 0, form, reinterpret_cast<UINT_PTR>(control), {}, nullptr, buf};
    SendMessageW(tip, TTM_GETTEXTW, 256, reinterpret_cast<LPARAM>(&ti));
    return std::wstring(buf);
  };
  std::map<int, HWND> stops;  // by tab index
  for (const ControlSpec& c : SettingsFormSpec().controls) {
    HWND h = Hwnd(c.role);
    SCOPED_TRACE("tab " + std::to_string(c.tabIndex));
    RECT r{};
    GetWindowRect(h, &r);
    MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_EQ((std::vector<LONG>{r.left, r.top, r.right - r.left, r.bottom - r.top}),
              (std::vector<LONG>{Px(c.left), Px(c.top), Px(c.width), Px(c.height)}));
    EXPECT_EQ(tk.GetText(c.role), c.caption);
    EXPECT_NE(SendMessageW(h, WM_GETFONT, 0, 0), 0);
    if (c.kind == CtlKind::Label) continue;
    EXPECT_EQ(tipText(stops[c.tabIndex] = h), c.toolTip);
  }
  tk.SetToolTipText(Control::FolderList, L"Docs : D:\\Docs\\");
  EXPECT_EQ(tipText(Hwnd(Control::FolderList)), L"Docs : D:\\Docs\\");

  tk.ShowForm();
  EXPECT_EQ(GetFocus(), Hwnd(Control::ShowDrivesBox)) << "focus at open";
  HWND h = nullptr;
  for (const auto& [tabIndex, stop] : stops)
    EXPECT_EQ(h = GetNextDlgTabItem(form, h, FALSE), stop) << "tab index " << tabIndex;
  EXPECT_EQ(GetNextDlgTabItem(form, h, FALSE), Hwnd(Control::ShowDrivesBox)) << "wraps round";
  // Handlers; adding, text, check boxes and no sorting of the list are in the e2e flows.
  for (HWND b :
       {Hwnd(Control::RemoveButton), Hwnd(Control::BrowseButton), Hwnd(Control::CancelButton)})
    SendMessageW(b, BM_CLICK, 0, 0);
  HWND list = Hwnd(Control::FolderList);
  for (WORD code : {LBN_SELCHANGE, LBN_DBLCLK})
    SendMessageW(form, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), code),
                 reinterpret_cast<LPARAM>(list));
  SendMessageW(list, WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, MAKELPARAM(10, 20));
  const Control ref = Control::FolderList;
  for (const wchar_t* item : {L"b", L"a", L"c"}) tk.AddItem(ref, item);
  EXPECT_EQ(tk.ListIndex(ref), -1);
  SendMessageW(list, LB_SETCURSEL, 1, 0);
  tk.SetListItem(ref, 1, L"日本語");
  EXPECT_EQ(tk.ListIndex(ref), 1);
  tk.RemoveItem(ref, 0);
  EXPECT_EQ(tk.ListCount(ref), 2);
  EXPECT_EQ(tk.GetListItem(ref, 0), L"日本語");
  for (HWND focus :
       {Hwnd(Control::RegisterButton), Hwnd(Control::OkButton), Hwnd(Control::NameBox)}) {
    SetFocus(focus);
    for (WPARAM key : {VK_RETURN, VK_ESCAPE})  // the same codes as the characters
      for (MSG msg : {MSG{focus, WM_KEYDOWN, key, 0}, MSG{focus, WM_CHAR, key, 0}})
        IsDialogMessageW(form, &msg);
  }
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  EXPECT_TRUE(IsWindow(form));
  // Unloading through Cancel and OK is in the e2e flows, the close box is not; no other call
  // (not even OnLoad, the core's to run) since the form was made.
  SendMessageW(form, WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(form));
  EXPECT_EQ(events.calls, (Strings{L"OnRemove", L"OnBrowse", L"OnCancel", L"OnFolderSelected",
                                   L"OnFolderHover"}));
  EXPECT_EQ(tk.RunEventLoop(), 0);
}

// What the test does inside the popup's modal loop: read its items, then press keys.
struct PopupScript {
  int downs = 0;             // Down presses (the first one reaches the top item); -1: Escape
  BYTE shift = 0, ctrl = 0;  // key states while Enter is pressed
  Strings shown;
  bool ran = false;
};
PopupScript* g_script = nullptr;

void CALLBACK DrivePopup(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  PopupScript& s = *g_script;
  s.ran = true;
  HWND popup = FindWindowW(L"#32768", nullptr);
  HMENU m = reinterpret_cast<HMENU>(SendMessageW(popup, MN_GETHMENU, 0, 0));
  for (int i = 0, n = GetMenuItemCount(m); i < n; ++i) {
    wchar_t buf[256] = {};
    GetMenuStringW(m, static_cast<UINT>(i), buf, 256, MF_BYPOSITION);
    s.shown.push_back(GetMenuState(m, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR ? L"<sep>"
                                                                                          : buf);
  }
  const auto post = [](UINT msg, WPARAM key) {
    PostThreadMessageW(GetCurrentThreadId(), msg, key, 0);
  };
  const auto press = [&](WPARAM key) { post(WM_KEYDOWN, key); };
  BYTE keys[256] = {};
  GetKeyboardState(keys);
  keys[VK_SHIFT] = s.shift;
  keys[VK_CONTROL] = s.ctrl;
  SetKeyboardState(keys);
  if (s.downs < 0) {
    press(VK_ESCAPE);
    return;
  }
  for (int i = 0; i < s.downs; ++i) press(VK_DOWN);
  press(VK_RETURN);
  // Wine's menu chooses on the character, which Ctrl would turn into a line feed.
  post(WM_CHAR, L'\r');
}

// One menu item per row in order, "&" literal, "-" a text; the index and the keys held come
// back; a dismissal gives -1 and no handler runs in the toolkit.
TEST_F(FormTest, PopupItemsReturnsTheChosenIndexAndTheKeysHeld) {
  const std::vector<PopupItem> items = {{{MenuKind::ProgramName, 0}, L"キヴォレット Ver.1.0"},
                                        {{MenuKind::Line, 0}, L"-"},
                                        {{MenuKind::Drive, 0}, L"C:\\ [ローカルディスク]"},
                                        {{MenuKind::Folder, 1}, L"-"},
                                        {{MenuKind::Folder, 2}, L"R&D"}};
  struct Case {
    PopupScript script;
    int item;
    unsigned modifiers;
  };
  const Case cases[] = {{{3}, 3, 0},
                        {{1, 0x80, 0}, 0, kPopupShift},
                        {{4, 0x80, 0x80}, 4, kPopupShift | kPopupCtrl},
                        {{4, 0, 0x80}, 4, kPopupCtrl},
                        {{-1}, -1, 0}};
  for (const Case& c : cases) {
    PopupScript script = c.script;
    g_script = &script;
    SCOPED_TRACE(c.item);
    SetTimer(nullptr, 0, 50, DrivePopup);
    const PopupChoice choice = tk.PopupItems(items);
    EXPECT_TRUE(script.ran) << "the popup ran no modal loop";
    EXPECT_EQ(script.shown, (Strings{L"キヴォレット Ver.1.0", L"<sep>", L"C:\\ [ローカルディスク]",
                                     L"-", L"R&&D"}));
    EXPECT_EQ(choice.item, c.item);
    EXPECT_EQ(choice.modifiers, c.modifiers);
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_SHIFT] = keys[VK_CONTROL] = 0;
    SetKeyboardState(keys);
    MSG left;  // a key the menu did not take would close the next one
    while (PeekMessageW(&left, nullptr, 0, 0, PM_REMOVE)) {
    }
  }
  g_script = nullptr;
  EXPECT_TRUE(events.calls.empty()) << "the toolkit runs no handler";
}

}  // namespace
}  // namespace kv::win32
