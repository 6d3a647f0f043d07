// Taking the window the user came from (a file dialog, an Explorer window) to a folder, and
// the clipboard.
#pragma once

#include <functional>
#include <span>
#include <string>
#include <vector>

#include "windows_api.h"

namespace kv::win32 {

// A standard file dialog (the common item dialog or the classic Open/Save one): the folder path
// goes into its file-name box and its default button is pressed, as a user would; then the name
// typed before is put back. False, with the dialog as it was, when `dialog` is none or does not
// take the path.
bool NavigateFileDialog(HWND dialog, const std::wstring& path);

// One browser of the shell's window list: the top-level window it belongs to, whether it is
// the tab in view, and how to send it elsewhere.
struct ShellBrowserTab {
  HWND topLevel = nullptr;
  bool current = false;
  std::function<bool(const std::wstring& path)> navigate;
};
// The browsers of the shell's window list (IShellWindows); empty when there is none.
std::vector<ShellBrowserTab> ShellBrowserTabs();
// Navigates the tab in view of `window` among `tabs` (its only tab when none says it is in view).
bool NavigateShellWindow(std::span<const ShellBrowserTab> tabs, HWND window,
                         const std::wstring& path);
// Explorer's window classes (ExplorerWClass is Wine's).
bool IsExplorerWindow(HWND window);

// Puts `text` on the clipboard as CF_UNICODETEXT; it stays there after the program ends.
bool PutClipboardText(const std::wstring& text);

}  // namespace kv::win32
