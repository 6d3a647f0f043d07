// The launcher's popup menu on Win32.
#include "toolkit_win32.h"

namespace kv::win32 {
namespace {

constexpr UINT kFirstMenuId = 1;  // 0 is what a dismissed menu returns

}  // namespace

std::wstring MenuText(const std::wstring& caption) {
  std::wstring out;
  out.reserve(caption.size());
  for (wchar_t c : caption) {
    if (c == L'&') out += L'&';
    out += c;
  }
  return out;
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

}  // namespace kv::win32
