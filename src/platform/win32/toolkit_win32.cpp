// The form, its controls, the popup menu and the rest of the toolkit on raw Win32.
#include "toolkit_win32.h"

#include <algorithm>

#include "codepage.h"

namespace kv::win32 {
namespace {

constexpr wchar_t kFormClass[] = L"KivoretForm";
constexpr int kFirstControlId = 100;  // clear of IDOK and IDCANCEL: Enter and Escape press nothing
constexpr UINT kFirstMenuId = 1;  // 0 is what a dismissed menu returns
constexpr int kIconResource = 1;

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

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

std::wstring WindowText(HWND hwnd) {
  const int n = ::GetWindowTextLengthW(hwnd);
  std::wstring s(static_cast<std::size_t>(n) + 1, L'\0');
  s.resize(static_cast<std::size_t>(::GetWindowTextW(hwnd, s.data(), n + 1)));
  return s;
}

std::wstring ModulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

constexpr DWORD kFormStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
constexpr DWORD kFormExStyle = 0;

}  // namespace

std::wstring ArgumentsOf(const std::wstring& commandLine) {
  std::size_t i = 0;
  const std::size_t n = commandLine.size();
  while (i < n && IsBlank(commandLine[i])) ++i;
  if (i < n && commandLine[i] == L'"') {
    const std::size_t close = commandLine.find(L'"', i + 1);
    if (close == std::wstring::npos) return L"";
    i = close + 1;
  }
  while (i < n && !IsBlank(commandLine[i])) ++i;
  while (i < n && IsBlank(commandLine[i])) ++i;
  return commandLine.substr(i);
}

int TwipsToPixels(int twips, UINT dpi) { return ::MulDiv(twips, static_cast<int>(dpi), 1440); }

std::wstring MenuText(const std::wstring& caption) {
  std::wstring out;
  out.reserve(caption.size());
  for (wchar_t c : caption) {
    if (c == L'&') out += L'&';
    out += c;
  }
  return out;
}

Win32Toolkit::Win32Toolkit(HINSTANCE instance) : instance_(instance) {}

Win32Toolkit::~Win32Toolkit() {
  if (form_) ::DestroyWindow(form_);
}

std::wstring Win32Toolkit::AppPath() {
  std::wstring dir = ModulePath();
  const auto last = dir.find_last_of(L'\\');
  dir.resize(last == std::wstring::npos ? 0 : last);
  if (dir.size() == 2 && dir[1] == L':') dir += L'\\';  // a drive root keeps its backslash
  return dir;
}

std::wstring Win32Toolkit::EXEName() {
  std::wstring name = ModulePath();
  if (const auto last = name.find_last_of(L'\\'); last != std::wstring::npos)
    name.erase(0, last + 1);
  if (const auto dot = name.find_last_of(L'.'); dot != std::wstring::npos) name.resize(dot);
  return name;
}

std::wstring Win32Toolkit::CommandLine() { return ArgumentsOf(::GetCommandLineW()); }

std::wstring Win32Toolkit::Title() { return L"キヴォレット"; }

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
  for (const Control& c : controls_) {
    if (c.layout.kind == CtlKind::Label) continue;
    TTTOOLINFOW ti{};
    ti.cbSize = sizeof(ti);
    ti.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    ti.hwnd = form_;
    ti.uId = reinterpret_cast<UINT_PTR>(c.hwnd);
    ti.lpszText = const_cast<wchar_t*>(c.layout.toolTip);
    ::SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti));
    if (c.layout.name == Ctl::List1)
      ::SetWindowSubclass(c.hwnd, ListProc, 1, reinterpret_cast<DWORD_PTR>(this));
  }

  Layout();
}

void Win32Toolkit::Layout() {
  dpi_ = DpiOf(form_);
  RECT rc{0, 0, TwipsToPixels(layout_->clientWidth, dpi_), TwipsToPixels(layout_->clientHeight, dpi_)};
  AdjustForDpi(&rc, kFormStyle, kFormExStyle, dpi_);
  ::SetWindowPos(form_, nullptr, 0, 0, rc.right - rc.left, rc.bottom - rc.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);

  NONCLIENTMETRICSW ncm{};
  ncm.cbSize = sizeof(ncm);
  ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
  LOGFONTW lf = ncm.lfMessageFont;
  lf.lfHeight = ::MulDiv(lf.lfHeight, static_cast<int>(dpi_), static_cast<int>(SystemDpi()));
  font_.reset(::CreateFontIndirectW(&lf));

  for (const Control& c : controls_) {
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
  const auto it = std::find_if(controls_.begin(), controls_.end(),
                               [id](const Control& c) { return c.id == id; });
  if (it == controls_.end() || !events_) return;
  const ControlRef ref{it->layout.name, it->layout.index};
  switch (ref.name) {
    case Ctl::Command1:
      if (code == BN_CLICKED) events_->Command1_Click(ref.index);
      break;
    case Ctl::Command2:
      if (code == BN_CLICKED) events_->Command2_Click();
      break;
    case Ctl::Command3:
      if (code == BN_CLICKED) events_->Command3_Click(ref.index);
      break;
    case Ctl::List1:
      if (code == LBN_SELCHANGE) events_->List1_Click();
      break;
    default:
      break;
  }
}

LRESULT CALLBACK Win32Toolkit::ListProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                        DWORD_PTR selfData) {
  auto* self = reinterpret_cast<Win32Toolkit*>(selfData);
  if (msg == WM_MOUSEMOVE && self->events_) {
    const int button =
        ((wp & MK_LBUTTON) ? 1 : 0) | ((wp & MK_RBUTTON) ? 2 : 0) | ((wp & MK_MBUTTON) ? 4 : 0);
    const int shift = ((wp & MK_SHIFT) ? 1 : 0) | ((wp & MK_CONTROL) ? 2 : 0) |
                      ((::GetKeyState(VK_MENU) < 0) ? 4 : 0);
    const float twipsPerPixel = 1440.0f / static_cast<float>(self->dpi_);
    self->events_->List1_MouseMove(button, shift, GET_X_LPARAM(lp) * twipsPerPixel,
                                   GET_Y_LPARAM(lp) * twipsPerPixel);
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
                                  [](const Control& c) { return c.layout.kind != CtlKind::Label; });
  if (first != controls_.end()) ::SetFocus(first->hwnd);
}

void Win32Toolkit::UnloadForm() {
  if (form_) ::DestroyWindow(form_);
}

void Win32Toolkit::End() { ::ExitProcess(0); }

NativeHandle Win32Toolkit::hWnd(const ControlRef* control) {
  return reinterpret_cast<NativeHandle>(control ? Handle(*control) : form_);
}

const Win32Toolkit::Control* Win32Toolkit::Find(ControlRef c) const {
  for (const Control& ctl : controls_)
    if (ctl.layout.name == c.name && ctl.layout.index == c.index) return &ctl;
  return nullptr;
}

HWND Win32Toolkit::Handle(ControlRef c) const {
  const Control* ctl = Find(c);
  return ctl ? ctl->hwnd : nullptr;
}

std::wstring Win32Toolkit::GetText(ControlRef c) {
  const Control* ctl = Find(c);
  if (!ctl) return L"";
  if (ctl->layout.kind == CtlKind::ListBox) {
    const int sel = ListIndex(c);
    return sel < 0 ? L"" : GetListItem(c, sel);
  }
  return WindowText(ctl->hwnd);
}

void Win32Toolkit::SetText(ControlRef c, const std::wstring& text) {
  if (HWND h = Handle(c)) ::SetWindowTextW(h, text.c_str());
}

int Win32Toolkit::GetValue(ControlRef c) {
  HWND h = Handle(c);
  return h && ::SendMessageW(h, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

void Win32Toolkit::SetValue(ControlRef c, int value) {
  if (HWND h = Handle(c)) ::SendMessageW(h, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Win32Toolkit::AddItem(ControlRef list, const std::wstring& item) {
  if (HWND h = Handle(list))
    ::SendMessageW(h, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

void Win32Toolkit::RemoveItem(ControlRef list, int index) {
  if (HWND h = Handle(list)) ::SendMessageW(h, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

std::wstring Win32Toolkit::GetListItem(ControlRef list, int index) {
  HWND h = Handle(list);
  if (!h) return L"";
  const LRESULT n = ::SendMessageW(h, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (n == LB_ERR) return L"";
  std::wstring s(static_cast<std::size_t>(n) + 1, L'\0');
  const LRESULT got =
      ::SendMessageW(h, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(s.data()));
  s.resize(got == LB_ERR ? 0 : static_cast<std::size_t>(got));
  return s;
}

void Win32Toolkit::SetListItem(ControlRef list, int index, const std::wstring& item) {
  HWND h = Handle(list);
  if (!h || index < 0 || index >= ListCount(list)) return;
  // A list box has no "set text": replace the line and keep the selection where it was.
  const LRESULT sel = ::SendMessageW(h, LB_GETCURSEL, 0, 0);
  ::SendMessageW(h, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
  ::SendMessageW(h, LB_INSERTSTRING, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(item.c_str()));
  if (sel == index) ::SendMessageW(h, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int Win32Toolkit::ListIndex(ControlRef list) {
  HWND h = Handle(list);
  return h ? static_cast<int>(::SendMessageW(h, LB_GETCURSEL, 0, 0)) : -1;
}

int Win32Toolkit::ListCount(ControlRef list) {
  HWND h = Handle(list);
  return h ? static_cast<int>(::SendMessageW(h, LB_GETCOUNT, 0, 0)) : 0;
}

void Win32Toolkit::SetToolTipText(ControlRef c, const std::wstring& text) {
  HWND h = Handle(c);
  if (!h || !tooltip_) return;
  TTTOOLINFOW ti{};
  ti.cbSize = sizeof(ti);
  ti.hwnd = form_;
  ti.uId = reinterpret_cast<UINT_PTR>(h);
  ti.hinst = nullptr;
  ti.lpszText = const_cast<wchar_t*>(text.c_str());
  ::SendMessageW(tooltip_, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
}

PopupChoice Win32Toolkit::PopupItems(std::span<const PopupItem> items) {
  PopupChoice choice;
  if (!form_) return choice;
  UniqueMenu menu{::CreatePopupMenu()};
  std::wstring text;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (items[i].ref.kind == MenuKind::Line) {
      ::AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
      continue;
    }
    // A string item even for "-": only the separator line is drawn as a line.
    text = MenuText(items[i].caption);
    ::AppendMenuW(menu.get(), MF_STRING, kFirstMenuId + i, text.c_str());
  }
  POINT pt{};
  ::GetCursorPos(&pt);
  // Without the foreground the menu would not close on a click elsewhere.
  ::SetForegroundWindow(form_);
  const UINT chosen = static_cast<UINT>(::TrackPopupMenuEx(
      menu.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD | TPM_NONOTIFY,
      pt.x, pt.y, form_, nullptr));
  ::PostMessageW(form_, WM_NULL, 0, 0);
  if (chosen < kFirstMenuId || chosen - kFirstMenuId >= items.size()) return choice;
  choice.item = static_cast<int>(chosen - kFirstMenuId);
  if (::GetKeyState(VK_SHIFT) < 0) choice.modifiers |= kPopupShift;
  if (::GetKeyState(VK_CONTROL) < 0) choice.modifiers |= kPopupCtrl;
  return choice;
}

int Win32Toolkit::MsgBox(const std::wstring& text, int style) {
  // The style values are Win32's own: 48 is MB_ICONEXCLAMATION, 52 adds MB_YESNO.
  const UINT type = static_cast<UINT>(style) & (MB_TYPEMASK | MB_ICONMASK | MB_DEFMASK);
  HWND owner = form_ && ::IsWindowVisible(form_) ? form_ : nullptr;
  return ::MessageBoxW(owner, text.c_str(), Title().c_str(), type);
}

bool Win32Toolkit::TruncateFile(const std::wstring& path) {
  bool lossy = false;
  const std::string acp = ToAcp(path, &lossy);
  if (lossy) return false;
  UniqueFile f{::CreateFileA(acp.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)};
  return static_cast<bool>(f);
}

DirResult Win32Toolkit::Dir(const std::wstring& path, int attributes) {
  constexpr int kBadFileName = 52, kDeviceUnavailable = 68;
  bool lossy = false;
  const std::string acp = ToAcp(path, &lossy);
  // A pattern would match other folders than the one named.
  if (lossy || path.find_first_of(L"*?") != std::wstring::npos) return {kBadFileName, false};
  WIN32_FIND_DATAA fd{};
  UniqueFind find{::FindFirstFileA((acp + "*").c_str(), &fd)};
  if (!find) {
    switch (::GetLastError()) {
      case ERROR_INVALID_NAME: {
        // Wine says "invalid name" for a file followed by "\"; Windows says "not a folder".
        std::string named = acp;
        while (!named.empty() && named.back() == '\\') named.pop_back();
        const DWORD attrs = ::GetFileAttributesA(named.c_str());
        if (attrs != INVALID_FILE_ATTRIBUTES && !(attrs & FILE_ATTRIBUTE_DIRECTORY))
          return {0, false};
        return {kBadFileName, false};
      }
      case ERROR_BAD_PATHNAME:
      case ERROR_FILENAME_EXCED_RANGE:
        return {kBadFileName, false};
      case ERROR_NOT_READY:
        return {kDeviceUnavailable, false};
      default:
        return {0, false};
    }
  }
  const DWORD excluded = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                         ((attributes & vbDirectory) ? 0 : FILE_ATTRIBUTE_DIRECTORY);
  do {
    if (!(fd.dwFileAttributes & excluded)) return {0, true};
  } while (::FindNextFileA(find.get(), &fd));
  return {0, false};
}

int Win32Toolkit::RunEventLoop() {
  MSG msg{};
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (form_ && ::IsDialogMessageW(form_, &msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace kv::win32
