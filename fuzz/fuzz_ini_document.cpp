// The INI document on any text, with up to four writes into it.
// Input: the text (one character a byte, 0xFE a byte-order mark), then after NULs the writes,
// each a section, a key and a value separated by NULs.
// Invariants: an untouched document serializes to its text; after a write of a name the program
// can write, the key reads back as the reader sees the value (blanks and one pair of outer
// quotes removed), in the document and after a re-read, which keeps the text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "check.h"
#include "settings/ini_document.h"

static bool IsBlank(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r') || c == L'\x1A'; }

static std::wstring Trim(std::wstring s) {
  while (!s.empty() && IsBlank(s.back())) s.pop_back();
  while (!s.empty() && IsBlank(s.front())) s.erase(0, 1);
  return s;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::wstring> parts(1);
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0)
      parts.emplace_back();
    else
      parts.back() += data[i] == 0xFE ? L'\uFEFF' : static_cast<wchar_t>(data[i]);
  }
  kv::IniDocument doc = kv::IniDocument::Parse(std::wstring_view(parts[0]));
  Check(doc.Serialize() == parts[0], "an untouched document keeps its text");
  for (std::size_t w = 1; w + 2 < parts.size() && w < 13; w += 3) {
    const std::wstring &section = parts[w], &key = parts[w + 1], &value = parts[w + 2];
    const std::wstring all = section + key + value, k = Trim(key);
    if (all.find_first_of(L"\r\n") != all.npos || section.find(L']') != section.npos ||
        key.find(L'=') != key.npos || (!k.empty() && (k[0] == L'[' || k[0] == L';')))
      continue;  // nothing the program writes
    doc.Set(section, key, value);
    std::wstring expected = Trim(value);
    if (expected.size() >= 2 && (expected[0] == L'"' || expected[0] == L'\'') &&
        expected.back() == expected[0])
      expected = expected.substr(1, expected.size() - 2);
    const std::wstring written = doc.Serialize();
    const kv::IniDocument reread = kv::IniDocument::Parse(std::wstring_view(written));
    Check(doc.Get(section, key) == expected, "the key reads back");
    Check(reread.Get(section, key) == expected, "the key reads back after a re-read");
    Check(reread.Serialize() == written, "a re-read keeps the text");
  }
  return 0;
}
