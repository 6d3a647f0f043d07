// Locale conversion with mbrtowc/wcrtomb, escaping undecodable bytes as lone low surrogates.
#include "codepage.h"

#include <climits>
#include <cstring>
#include <cwchar>

namespace kv::lnx {
namespace {

constexpr wchar_t kEscapeBase = 0xDC80;

bool IsEscapedByte(wchar_t c) { return c >= kEscapeBase && c <= kEscapeBase + 0x7F; }

}  // namespace

std::wstring Decode(std::string_view bytes) {
  std::wstring out;
  out.reserve(bytes.size());
  std::mbstate_t state{};
  std::size_t i = 0;
  while (i < bytes.size()) {
    // Every locale charset the C library offers keeps ASCII as it is: no call for it.
    if (static_cast<unsigned char>(bytes[i]) < 0x80 && std::mbsinit(&state)) {
      out.push_back(static_cast<wchar_t>(bytes[i]));
      ++i;
      continue;
    }
    wchar_t wc = 0;
    const std::size_t n = std::mbrtowc(&wc, bytes.data() + i, bytes.size() - i, &state);
    // A decoded lone surrogate would be mistaken for an escaped byte on the way back.
    if (n == static_cast<std::size_t>(-1) || n == static_cast<std::size_t>(-2) || n == 0 ||
        (wc >= 0xD800 && wc <= 0xDFFF)) {
      const auto b = static_cast<unsigned char>(bytes[i]);
      out.push_back(b < 0x80 ? static_cast<wchar_t>(b)
                             : static_cast<wchar_t>(kEscapeBase + (b - 0x80)));
      state = std::mbstate_t{};
      ++i;
      continue;
    }
    out.push_back(wc);
    i += n;
  }
  return out;
}

bool Encode(std::wstring_view text, std::string& out) {
  out.clear();
  out.reserve(text.size());
  bool ok = true;
  std::mbstate_t state{};
  char buf[MB_LEN_MAX];
  for (wchar_t c : text) {
    if (c >= 0 && c < 0x80 && std::mbsinit(&state)) {
      out.push_back(static_cast<char>(c));
      continue;
    }
    if (IsEscapedByte(c)) {
      out.push_back(static_cast<char>(0x80 + (c - kEscapeBase)));
      continue;
    }
    const std::size_t n = std::wcrtomb(buf, c, &state);
    // glibc's converters drop some characters (tag characters, in ASCII) and count no bytes.
    if (n == static_cast<std::size_t>(-1) || n == 0) {
      out.push_back('?');
      state = std::mbstate_t{};
      ok = false;
      continue;
    }
    out.append(buf, n);
  }
  return ok;
}

std::string EncodeLossy(std::wstring_view text) {
  std::string out;
  Encode(text, out);
  return out;
}

}  // namespace kv::lnx
