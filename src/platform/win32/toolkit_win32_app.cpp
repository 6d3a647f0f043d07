// The application object on Win32: the program's path and name, its arguments, the event loop.
#include "toolkit_win32.h"

namespace kv::win32 {
namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

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

std::wstring Win32Toolkit::Title() { return kProgramTitle; }

void Win32Toolkit::End() { ::ExitProcess(0); }

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
