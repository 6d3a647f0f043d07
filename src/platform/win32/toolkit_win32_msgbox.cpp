// Message boxes on Win32.
#include "toolkit_win32.h"

namespace kv::win32 {

MsgAnswer Win32Toolkit::MsgBox(const std::wstring& text, MsgStyle style) {
  // The style values are Win32's own: 48 is MB_ICONEXCLAMATION, 52 adds MB_YESNO.
  const UINT type = static_cast<UINT>(style) & (MB_TYPEMASK | MB_ICONMASK | MB_DEFMASK);
  HWND owner = form_ && ::IsWindowVisible(form_) ? form_ : nullptr;
  switch (::MessageBoxW(owner, text.c_str(), Title().c_str(), type)) {
    case IDYES:
      return MsgAnswer::Yes;
    case IDNO:
      return MsgAnswer::No;
    default:
      return MsgAnswer::Ok;
  }
}

}  // namespace kv::win32
