// Control operations on Win32: text, check state, list lines and tool tips by Control.
#include "toolkit_win32.h"

namespace kv::win32 {
namespace {

std::wstring WindowText(HWND hwnd) {
  const int n = ::GetWindowTextLengthW(hwnd);
  std::wstring s(static_cast<std::size_t>(n) + 1, L'\0');
  s.resize(static_cast<std::size_t>(::GetWindowTextW(hwnd, s.data(), n + 1)));
  return s;
}

}  // namespace

const Win32Toolkit::Child* Win32Toolkit::Find(Control c) const {
  for (const Child& ctl : controls_)
    if (ctl.layout.role == c) return &ctl;
  return nullptr;
}

HWND Win32Toolkit::Handle(Control c) const {
  const Child* ctl = Find(c);
  return ctl ? ctl->hwnd : nullptr;
}

std::wstring Win32Toolkit::GetText(Control c) {
  const Child* ctl = Find(c);
  if (!ctl) return L"";
  if (ctl->layout.kind == CtlKind::ListBox) {
    const int sel = ListIndex(c);
    return sel < 0 ? L"" : GetListItem(c, sel);
  }
  return WindowText(ctl->hwnd);
}

void Win32Toolkit::SetText(Control c, const std::wstring& text) {
  if (HWND h = Handle(c)) ::SetWindowTextW(h, text.c_str());
}

int Win32Toolkit::GetValue(Control c) {
  HWND h = Handle(c);
  return h && ::SendMessageW(h, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

void Win32Toolkit::SetValue(Control c, int value) {
  if (HWND h = Handle(c)) ::SendMessageW(h, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Win32Toolkit::AddItem(Control list, const std::wstring& item) {
  if (HWND h = Handle(list))
    ::SendMessageW(h, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
}

void Win32Toolkit::RemoveItem(Control list, int index) {
  if (HWND h = Handle(list)) ::SendMessageW(h, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

std::wstring Win32Toolkit::GetListItem(Control list, int index) {
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

void Win32Toolkit::SetListItem(Control list, int index, const std::wstring& item) {
  HWND h = Handle(list);
  if (!h || index < 0 || index >= ListCount(list)) return;
  // A list box has no "set text": replace the line and keep the selection where it was.
  const LRESULT sel = ::SendMessageW(h, LB_GETCURSEL, 0, 0);
  ::SendMessageW(h, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
  ::SendMessageW(h, LB_INSERTSTRING, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(item.c_str()));
  if (sel == index) ::SendMessageW(h, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

int Win32Toolkit::ListIndex(Control list) {
  HWND h = Handle(list);
  return h ? static_cast<int>(::SendMessageW(h, LB_GETCURSEL, 0, 0)) : -1;
}

int Win32Toolkit::ListCount(Control list) {
  HWND h = Handle(list);
  return h ? static_cast<int>(::SendMessageW(h, LB_GETCOUNT, 0, 0)) : 0;
}

void Win32Toolkit::SetToolTipText(Control c, const std::wstring& text) {
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

}  // namespace kv::win32
