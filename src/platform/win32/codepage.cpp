// CP_ACP conversions for the ANSI calls.
#include "codepage.h"

#include <cstring>

#include "windows_api.h"

namespace kv::win32 {

std::string ToAcp(std::wstring_view s, bool* lossy) {
  if (lossy) *lossy = false;
  if (s.empty()) return {};
  BOOL usedDefault = FALSE;
  // Best-fit mapping would turn an unrepresentable character into another real one
  // (a different path); refuse it and let the caller notice.
  const DWORD flags = lossy ? WC_NO_BEST_FIT_CHARS : 0;
  BOOL* used = lossy ? &usedDefault : nullptr;
  const int n = WideCharToMultiByte(CP_ACP, flags, s.data(), static_cast<int>(s.size()), nullptr, 0,
                                    nullptr, used);
  std::string out(static_cast<std::size_t>(n), '\0');
  WideCharToMultiByte(CP_ACP, flags, s.data(), static_cast<int>(s.size()), out.data(), n, nullptr,
                      used);
  if (lossy) *lossy = usedDefault != FALSE;
  return out;
}

std::wstring FromAcp(std::string_view s) {
  if (s.empty()) return {};
  const int n = MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, s.data(), static_cast<int>(s.size()), out.data(), n);
  return out;
}

std::wstring FromAcpBuffer(const char* buffer, std::size_t capacity) {
  const void* nul = std::memchr(buffer, 0, capacity);
  const std::size_t len = nul ? static_cast<const char*>(nul) - buffer : capacity;
  return FromAcp(std::string_view(buffer, len));
}

}  // namespace kv::win32
