// A real Open dialog, as another program shows it, and the clipboard's text: for the hand-over
// tests and filedialog.exe.
#pragma once

// clang-format off
#include <windows.h>
#include <commdlg.h>
// clang-format on

#include <optional>
#include <string>

namespace kv::test {

// GetOpenFileNameW in `dir` with `typed` in its file-name box, until the dialog closes.
inline bool ShowOpenDialog(const std::wstring& dir, const std::wstring& typed,
                           const wchar_t* title) {
  wchar_t file[1024] = {};
  typed.copy(file, 1023);
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof(ofn);
  ofn.lpstrFilter = L"All\0*.*\0";
  ofn.lpstrFile = file;
  ofn.nMaxFile = 1024;
  ofn.lpstrInitialDir = dir.c_str();
  ofn.lpstrTitle = title;
  ofn.Flags = OFN_EXPLORER | OFN_HIDEREADONLY;
  return ::GetOpenFileNameW(&ofn);
}

inline std::optional<std::wstring> ClipboardText() {
  bool open = false;  // Wine's clipboard manager holds it open for a moment after a change
  for (int i = 0; i < 100 && !(open = ::OpenClipboard(nullptr)); ++i) ::Sleep(20);
  if (!open) return std::nullopt;
  std::wstring text;
  if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* p = static_cast<const wchar_t*>(::GlobalLock(data))) text = p;
    ::GlobalUnlock(data);
  }
  ::CloseClipboard();
  return text;
}

}  // namespace kv::test
