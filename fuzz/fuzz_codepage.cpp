// The locale conversion on arbitrary bytes and arbitrary wide text, in the UTF-8 and the
// ASCII ("C") locales; the first byte picks the locale.
//
// Invariants:
//  - any byte string survives Decode then Encode unchanged, and Encode reports success;
//  - Decode yields no lone surrogate other than the escapes U+DC80..U+DCFF, and an escape only
//    for a byte of 0x80 or above;
//  - wide text that Encode takes without loss and that holds no escape decodes back to itself;
//  - EncodeLossy gives the same bytes as Encode.
#include <clocale>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "check.h"
#include "codepage.h"

namespace {

locale_t utf8, ascii;

bool IsEscape(wchar_t c) { return c >= 0xDC80 && c <= 0xDCFF; }

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  utf8 = newlocale(LC_ALL_MASK, "C.UTF-8", nullptr);
  ascii = newlocale(LC_ALL_MASK, "C", nullptr);
  if (utf8 == nullptr || ascii == nullptr) std::abort();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  uselocale(data[0] & 1 ? ascii : utf8);
  const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);

  const std::wstring text = kv::lnx::Decode(bytes);
  for (wchar_t c : text) {
    Check(!(c >= 0xD800 && c <= 0xDFFF) || IsEscape(c), "only escapes as surrogates");
  }
  std::string back;
  Check(kv::lnx::Encode(text, back), "decoded text encodes");
  Check(back == bytes, "bytes round-trip");
  std::size_t escapes = 0;
  for (wchar_t c : text) escapes += IsEscape(c);
  std::size_t high = 0;
  for (char c : bytes) high += static_cast<unsigned char>(c) >= 0x80;
  Check(escapes <= high, "an escape stands for a high byte");

  // The same bytes as wide characters.
  std::wstring wide(bytes.size() / sizeof(wchar_t), L'\0');
  std::memcpy(wide.data(), bytes.data(), wide.size() * sizeof(wchar_t));
  std::string encoded;
  const bool exact = kv::lnx::Encode(wide, encoded);
  Check(encoded == kv::lnx::EncodeLossy(wide), "lossy agrees");
  bool hasEscape = false;
  for (wchar_t c : wide) hasEscape = hasEscape || IsEscape(c);
  if (exact && !hasEscape) Check(kv::lnx::Decode(encoded) == wide, "wide text round-trips");
  uselocale(LC_GLOBAL_LOCALE);
  return 0;
}
