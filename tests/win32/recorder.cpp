// Stand-in for the shell's folder window: appends the text of its command line to a log.
// The log is %KV_RECORDER_LOG%, else recorder.log beside this program.
#include <windows.h>

#include <string>

int wmain() {
  std::wstring line = GetCommandLineW();
  // Drop the program's own name: the recorder logs what it was asked to open.
  std::size_t i = 0;
  if (!line.empty() && line[0] == L'"') {
    i = line.find(L'"', 1);
    i = i == std::wstring::npos ? line.size() : i + 1;
  }
  while (i < line.size() && line[i] != L' ' && line[i] != L'\t') ++i;
  while (i < line.size() && (line[i] == L' ' || line[i] == L'\t')) ++i;
  line = line.substr(i) + L"\n";

  wchar_t log[MAX_PATH * 2] = {};
  if (!GetEnvironmentVariableW(L"KV_RECORDER_LOG", log, MAX_PATH * 2)) {
    GetModuleFileNameW(nullptr, log, MAX_PATH);
    std::wstring p = log;
    p = p.substr(0, p.find_last_of(L'\\') + 1) + L"recorder.log";
    lstrcpynW(log, p.c_str(), MAX_PATH * 2);
  }
  const int n = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()),
                                    nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), utf8.data(), n,
                      nullptr, nullptr);
  HANDLE f = CreateFileW(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  WriteFile(f, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
  CloseHandle(f);
  return 0;
}
