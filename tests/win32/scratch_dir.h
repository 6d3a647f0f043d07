// A fresh directory under the temp folder for one test, removed afterwards; file helpers.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "windows_api.h"

namespace kv::test {

class ScratchDir {
 public:
  ScratchDir() {
    wchar_t name[32];
    static int counter = 0;
    swprintf(name, 32, L"kvtest-%lu-%d", GetCurrentProcessId(), counter++);
    path_ = std::filesystem::temp_directory_path() / name;
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~ScratchDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  // With a final backslash, as AppDir holds it.
  std::wstring dir() const { return path_.wstring() + L"\\"; }
  std::wstring file(const std::wstring& name) const { return (path_ / name).wstring(); }

 private:
  std::filesystem::path path_;
};

inline std::optional<std::string> ReadBytes(const std::wstring& file) {
  std::ifstream in(std::filesystem::path(file), std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteBytes(const std::wstring& file, const std::string& bytes) {
  std::ofstream out(std::filesystem::path(file), std::ios::binary | std::ios::trunc);
  out << bytes;
}

// The real profile function's answer, read with room to spare: Wine garbles a multibyte value
// that does not fit and cuts one character too many from a quoted value at an exact fit.
inline std::string RealProfileString(const std::string& section, const std::string& key,
                                     const std::string& def, const std::string& file) {
  for (DWORD size = 16384;; size *= 4) {
    std::string buffer(size, '\0');
    const DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(),
                                             buffer.data(), size, file.c_str());
    if (n + 8 < size) return buffer.substr(0, n);
  }
}

// Wine's own behaviour differs from Windows in a few places the tests know about.
inline bool UnderWine() {
  return GetProcAddress(GetModuleHandleA("ntdll"), "wine_get_version") != nullptr;
}

}  // namespace kv::test
