// Conversions between the core's wide strings and the system code page (CP_ACP).
#pragma once

#include <string>
#include <string_view>

namespace kv::win32 {

// `lossy` (if given) is set when a character has no form in the code page.
std::string ToAcp(std::wstring_view s, bool* lossy = nullptr);
// Converts `s` whole, embedded NULs included.
std::wstring FromAcp(std::string_view s);
// Text of a NUL-ended buffer.
std::wstring FromAcpBuffer(const char* buffer, std::size_t capacity);

}  // namespace kv::win32
