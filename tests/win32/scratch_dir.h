// A fresh directory under the temp folder for one test, removed afterwards; file helpers.
#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "windows_api.h"

namespace kv::test {

struct ScratchDir {
  ScratchDir() { std::filesystem::remove_all(path), std::filesystem::create_directories(path); }
  ~ScratchDir() { std::filesystem::remove_all(path, ec); }
  std::wstring dir() const { return path.wstring() + L"\\"; }  // as AppDir holds it
  std::wstring file(const std::wstring& name) const { return (path / name).wstring(); }

  inline static int counter = 0;
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() /
      ("kvtest-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(counter++));
  std::error_code ec;
};

inline std::optional<std::string> ReadBytes(const std::wstring& file) {
  std::ifstream in(std::filesystem::path(file), std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteBytes(const std::wstring& file, const std::string& bytes) {
  std::ofstream(std::filesystem::path(file), std::ios::binary) << bytes;
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

}  // namespace kv::test
