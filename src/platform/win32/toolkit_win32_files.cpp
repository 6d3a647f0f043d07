// The directory test on Win32 (the ANSI file API, as the settings file uses).
#include "codepage.h"
#include "toolkit_win32.h"

namespace kv::win32 {

DirectoryState Win32Toolkit::TestDirectory(const std::wstring& path) {
  bool lossy = false;
  const std::string acp = ToAcp(path, &lossy);
  // A pattern would match other folders than the one named.
  if (lossy || path.find_first_of(L"*?") != std::wstring::npos) return DirectoryState::BadName;
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
          return DirectoryState::NotFound;
        return DirectoryState::BadName;
      }
      case ERROR_BAD_PATHNAME:
      case ERROR_FILENAME_EXCED_RANGE:
        return DirectoryState::BadName;
      case ERROR_NOT_READY:
        return DirectoryState::NotReady;
      default:
        return DirectoryState::NotFound;
    }
  }
  const DWORD excluded = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
  do {
    if (!(fd.dwFileAttributes & excluded)) return DirectoryState::Found;
  } while (::FindNextFileA(find.get(), &fd));
  return DirectoryState::NotFound;
}

}  // namespace kv::win32
