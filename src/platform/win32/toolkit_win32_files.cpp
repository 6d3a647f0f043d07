// The directory test on Win32 (the ANSI file API, as the settings file uses).
#include "codepage.h"
#include "toolkit_win32.h"

namespace kv::win32 {

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

}  // namespace kv::win32
