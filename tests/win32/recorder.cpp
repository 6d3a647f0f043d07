// Stand-in for the shell's folder window: appends its arguments (what it was asked to open),
// in UTF-8, to the file %KV_RECORDER_LOG%.
#include <windows.h>

#include <string>

int wmain() {
  std::wstring line = GetCommandLineW();
  std::size_t i = 0;  // past the program's own name
  if (!line.empty() && line[0] == L'"') {
    i = line.find(L'"', 1);
    i = i == std::wstring::npos ? line.size() : i + 1;
  }
  while (i < line.size() && line[i] != L' ' && line[i] != L'\t') ++i;
  while (i < line.size() && (line[i] == L' ' || line[i] == L'\t')) ++i;
  line = line.substr(i) + L"\n";

  wchar_t log[MAX_PATH * 2] = {};
  if (!GetEnvironmentVariableW(L"KV_RECORDER_LOG", log, MAX_PATH * 2)) return 1;
  std::string utf8(line.size() * 4, '\0');
  utf8.resize(WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()),
                                  utf8.data(), static_cast<int>(utf8.size()), nullptr, nullptr));
  HANDLE f = CreateFileW(log, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (f == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  WriteFile(f, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
  CloseHandle(f);
  return 0;
}
