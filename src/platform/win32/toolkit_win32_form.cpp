// The form on Win32: its window and controls from FormSpec, DPI scaling, the window procedures.
#include <algorithm>

#include "platform/button_click.h"
#include "toolkit_win32.h"

namespace kv::win32 {
namespace {

constexpr wchar_t kFormClass[] = L"KivoretForm";
constexpr int kFirstControlId = 100;  // clear of IDOK and IDCANCEL: Enter and Escape press nothing
constexpr int kIconResource = 1;

UINT SystemDpi() {
  HDC dc = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(dc, LOGPIXELSX);
  ::ReleaseDC(nullptr, dc);
  return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

// GetDpiForWindow exists from Windows 10 1607 on; older systems have one DPI for all.
UINT DpiOf(HWND hwnd) {
  using Fn = UINT(WINAPI*)(HWND);
  static const auto fn = reinterpret_cast<Fn>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"user32"), "GetDpiForWindow")));
  if (fn && hwnd) {
    if (const UINT dpi = fn(hwnd)) return dpi;
  }
  return SystemDpi();
}

void AdjustForDpi(RECT* rc, DWORD style, DWORD exStyle, UINT dpi) {
  using Fn = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  static const auto fn = reinterpret_cast<Fn>(reinterpret_cast<void*>(
      ::GetProcAddress(::GetModuleHandleW(L"user32"), "AdjustWindowRectExForDpi")));
  if (fn) {
    fn(rc, style, FALSE, exStyle, dpi);
  } else {
    ::AdjustWindowRectEx(rc, style, FALSE, exStyle);
  }
}

constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kFormExStyle = 0;

}  // namespace

int TwipsToPixels(int twips, UINT dpi) {
  return ::MulDiv(twips, static_cast<int>(dpi), kTwipsPerInch);
}

Win32Toolkit::Win32Toolkit(HINSTANCE instance) : instance_(instance) {}

Win32Toolkit::~Win32Toolkit() {
  if (form_) ::DestroyWindow(form_);
}

void Win32Toolkit::CreateForm(const FormSpec& layout, FormEvents& events) {
  layout_ = &layout;
  events_ = &events;

  WNDCLASSEXW wc{sizeof(wc)};
  if (!::GetClassInfoExW(instance_, kFormClass, &wc)) {
    wc = WNDCLASSEXW{sizeof(wc)};
    wc.lpfnWndProc = FormProc;
    wc.hInstance = instance_;
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = kFormClass;
    ::RegisterClassExW(&wc);
  }

  ::CreateWindowExW(kFormExStyle, kFormClass, layout.caption, kFormStyle, CW_USEDEFAULT,
                    CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance_, this);
}

void Win32Toolkit::LoadControls() {
  if (!form_ || !controls_.empty()) return;
  // Here rather than at start: the launcher's popup needs no common control.
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&icc);
  // Shared icons live as long as the module.
  const int cxIcon = ::GetSystemMetrics(SM_CXICON), cxSmall = ::GetSystemMetrics(SM_CXSMICON);
  HICON iconBig = static_cast<HICON>(::LoadImageW(instance_, MAKEINTRESOURCEW(kIconResource),
                                                  IMAGE_ICON, cxIcon, cxIcon, LR_SHARED));
  HICON iconSmall = static_cast<HICON>(::LoadImageW(instance_, MAKEINTRESOURCEW(kIconResource),
                                                    IMAGE_ICON, cxSmall, cxSmall, LR_SHARED));
  ::SendMessageW(form_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(iconBig));
  ::SendMessageW(form_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(iconSmall));

  const FormSpec& layout = *layout_;
  // Created in TabIndex order: the window order is the order Tab follows.
  std::vector<ControlSpec> ordered(layout.controls.begin(), layout.controls.end());
  std::stable_sort(ordered.begin(), ordered.end(), [](const ControlSpec& a, const ControlSpec& b) {
    return a.tabIndex < b.tabIndex;
  });
  controls_.clear();
  int id = kFirstControlId;
  for (const ControlSpec& c : ordered) {
    const wchar_t* cls = WC_BUTTONW;
    DWORD style = WS_CHILD | WS_VISIBLE;
    DWORD exStyle = 0;
    switch (c.kind) {
      case CtlKind::Button:
        style |= WS_TABSTOP | BS_PUSHBUTTON;
        break;
      case CtlKind::CheckBox:
        style |= WS_TABSTOP | BS_AUTOCHECKBOX;
        break;
      case CtlKind::TextBox:
        cls = WC_EDITW;
        style |= WS_TABSTOP | ES_LEFT | ES_AUTOHSCROLL;
        exStyle = WS_EX_CLIENTEDGE;
        break;
      case CtlKind::ListBox:
        cls = WC_LISTBOXW;
        style |= WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;
        exStyle = WS_EX_CLIENTEDGE;
        break;
      case CtlKind::Label:
        cls = WC_STATICW;
        style |= SS_LEFT | SS_NOPREFIX;
        break;
    }
    HWND h =
        ::CreateWindowExW(exStyle, cls, c.caption, style, 0, 0, 0, 0, form_,
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
    controls_.push_back({c, h, id++});
  }

  tooltip_ =
      ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                        WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT, CW_USEDEFAULT,
                        CW_USEDEFAULT, CW_USEDEFAULT, form_, nullptr, instance_, nullptr);
  for (const Child& c : controls_) {
    if (c.layout.kind == CtlKind::Label) continue;
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = form_;
    ti.uId = reinterpret_cast<UINT_PTR>(c.hwnd);
    ti.lpszText = const_cast<wchar_t*>(c.layout.toolTip);
    ::SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    if (c.layout.role == Control::FolderList)
      ::SetWindowSubclass(c.hwnd, ListProc, 1, reinterpret_cast<DWORD_PTR>(this));
  }

  Layout();
}

void Win32Toolkit::Layout() {
  dpi_ = DpiOf(form_);
  RECT rc{0, 0, TwipsToPixels(layout_->clientWidth, dpi_),
          TwipsToPixels(layout_->clientHeight, dpi_)};
  AdjustForDpi(&rc, kFormStyle, kFormExStyle, dpi_);
  ::SetWindowPos(form_, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

  NONCLIENTMETRICSW ncm{};
  ncm.cbSize = sizeof(ncm);
  ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
  LOGFONTW lf = ncm.lfMessageFont;
  lf.lfHeight = ::MulDiv(lf.lfHeight, static_cast<int>(dpi_), static_cast<int>(SystemDpi()));
  font_.reset(::CreateFontIndirectW(&lf));

  for (const Child& c : controls_) {
    ::SetWindowPos(c.hwnd, nullptr, TwipsToPixels(c.layout.left, dpi_),
                   TwipsToPixels(c.layout.top, dpi_), TwipsToPixels(c.layout.width, dpi_),
                   TwipsToPixels(c.layout.height, dpi_), SWP_NOZORDER | SWP_NOACTIVATE);
    ::SendMessageW(c.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
  }
  if (tooltip_) {
    ::SendMessageW(tooltip_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
    ::SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, TwipsToPixels(6000, dpi_));
  }
}

LRESULT CALLBACK Win32Toolkit::FormProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<Win32Toolkit*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
    self->form_ = hwnd;
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<Win32Toolkit*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return ::DefWindowProcW(hwnd, msg, wp, lp);
  if (msg == WM_NCDESTROY) {
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->form_ = nullptr;
    self->tooltip_ = nullptr;
    self->controls_.clear();
    return ::DefWindowProcW(hwnd, msg, wp, lp);
  }
  return self->HandleMessage(msg, wp, lp);
}

LRESULT Win32Toolkit::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COMMAND:
      if (lp != 0) OnCommand(LOWORD(wp), HIWORD(wp));
      return 0;
    case WM_ACTIVATE:
      // A plain window does not keep its focused control across deactivation; dialogs do.
      if (LOWORD(wp) == WA_INACTIVE) {
        lastFocus_ = ::GetFocus();
      } else if (lastFocus_ && ::IsChild(form_, lastFocus_)) {
        ::SetFocus(lastFocus_);
        return 0;
      }
      break;
    case WM_DPICHANGED: {
      const RECT* suggested = reinterpret_cast<const RECT*>(lp);
      ::SetWindowPos(form_, nullptr, suggested->left, suggested->top, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      Layout();
      return 0;
    }
    case WM_DESTROY:
      // The form is the program's only window: with it gone the program ends.
      ::PostQuitMessage(0);
      return 0;
  }
  return ::DefWindowProcW(form_, msg, wp, lp);
}

void Win32Toolkit::OnCommand(int id, int code) {
  const auto it =
      std::find_if(controls_.begin(), controls_.end(), [id](const Child& c) { return c.id == id; });
  if (it == controls_.end() || !events_) return;
  if (it->layout.kind == CtlKind::Button && code == BN_CLICKED) {
    ClickButton(*events_, it->layout.role);
  } else if (it->layout.role == Control::FolderList && code == LBN_SELCHANGE) {
    events_->OnFolderSelected();
  }
}

LRESULT CALLBACK Win32Toolkit::ListProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                        DWORD_PTR selfData) {
  auto* self = reinterpret_cast<Win32Toolkit*>(selfData);
  if (msg == WM_MOUSEMOVE && self->events_) {
    self->events_->OnFolderHover();
  } else if (msg == WM_NCDESTROY) {
    ::RemoveWindowSubclass(hwnd, ListProc, id);
  }
  return ::DefSubclassProc(hwnd, msg, wp, lp);
}

void Win32Toolkit::ShowForm() {
  if (!form_) return;
  ::ShowWindow(form_, SW_SHOW);
  ::UpdateWindow(form_);
  ::SetForegroundWindow(form_);
  const auto first = std::find_if(controls_.begin(), controls_.end(),
                                  [](const Child& c) { return c.layout.kind != CtlKind::Label; });
  if (first != controls_.end()) ::SetFocus(first->hwnd);
}

void Win32Toolkit::UnloadForm() {
  oneWindow_.reset();  // later starts open a window of their own
  if (form_) ::DestroyWindow(form_);
}

NativeHandle Win32Toolkit::hWnd(std::optional<Control> control) {
  return reinterpret_cast<NativeHandle>(control ? Handle(*control) : form_);
}

}  // namespace kv::win32
