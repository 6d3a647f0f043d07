// The INI document: read any text, write keys into it, serialize, read it again.
//
// Input: the file's text (one character a byte, 0xFE a byte order mark), then after NULs up to four
// writes, each a section, a key and a value separated by NULs.
//
// Invariants:
//  - no crash, leak or undefined behaviour on any text;
//  - an untouched document serializes to exactly its text;
//  - after a write of a name the program can write (no line break, no "]" in a section, no "="
//    in a key, a key that is no header or comment), the key reads back as the reader sees the
//    value (blanks and one pair of outer quotes removed), in the document and after a re-read;
//  - every other key reads the same before and after the write, and after the re-read;
//  - the write keeps every other line as it was: a replaced key changes its own line only,
//    a new key or section only adds lines (and a line break to a last line without one).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "check.h"
#include "settings/ini_document.h"

namespace {

// The profile functions' blanks: the C0 spaces and Ctrl-Z.
bool IsBlank(wchar_t c) { return c == L' ' || (c >= L'\t' && c <= L'\r') || c == L'\x1A'; }

std::wstring Trim(std::wstring_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return std::wstring(s);
}

// Lines with their terminators: CR LF, CR or LF.
std::vector<std::wstring> Lines(std::wstring_view t) {
  std::vector<std::wstring> out;
  std::size_t pos = 0;
  while (pos < t.size()) {
    std::size_t end = t.find_first_of(L"\r\n", pos);
    if (end == std::wstring_view::npos) {
      end = t.size();
    } else {
      end += t[end] == L'\r' && end + 1 < t.size() && t[end + 1] == L'\n' ? 2 : 1;
    }
    out.emplace_back(t.substr(pos, end - pos));
    pos = end;
  }
  return out;
}

std::wstring_view Content(std::wstring_view l) {
  while (!l.empty() && (l.back() == L'\r' || l.back() == L'\n')) l.remove_suffix(1);
  return l;
}

// The names that the text's lines could be asking for, with the section they sit in.
std::vector<std::pair<std::wstring, std::wstring>> Names(std::wstring_view text) {
  std::vector<std::pair<std::wstring, std::wstring>> out;
  std::wstring section;
  bool inSection = false;
  for (const auto& l : Lines(text)) {
    const std::wstring t = Trim(Content(l));
    if (t.empty()) continue;
    if (t.front() == L'[') {
      const std::size_t close = t.find(L']');
      section = t.substr(1, close == std::wstring::npos ? close : close - 1);
      inSection = true;
      continue;
    }
    if (inSection && t.front() != L';' && out.size() < 64) {
      out.emplace_back(section, t.substr(0, t.find(L'=')));
    }
  }
  return out;
}

// A leading byte order mark belongs to no line.
std::wstring_view WithoutBom(std::wstring_view t) {
  if (!t.empty() && t.front() == L'\uFEFF') t.remove_prefix(1);
  return t;
}

std::wstring Expected(std::wstring_view v) {
  std::wstring t = Trim(v);
  if (t.size() >= 2 && (t.front() == L'"' || t.front() == L'\'') && t.back() == t.front()) {
    t = t.substr(1, t.size() - 2);
  }
  return t;
}

bool Writable(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
  const auto breaks = [](const std::wstring& s) { return s.find_first_of(L"\r\n") != s.npos; };
  if (breaks(section) || breaks(key) || breaks(value)) return false;
  if (section.find(L']') != section.npos || key.find(L'=') != key.npos) return false;
  const std::wstring k = Trim(key);
  return k.empty() || (k.front() != L'[' && k.front() != L';');
}

// `after` is `before` with one line replaced (as many lines) or with lines added; a line that
// lacked a terminator may have gained one.
bool KeepsOtherLines(const std::vector<std::wstring>& before,
                     const std::vector<std::wstring>& after) {
  const auto same = [](const std::wstring& a, const std::wstring& b) {
    return a == b || (Content(a) == a && Content(b) == a);
  };
  if (before.size() == after.size()) {
    int changed = 0;
    for (std::size_t i = 0; i < before.size(); ++i) changed += !same(before[i], after[i]);
    return changed <= 1;
  }
  std::size_t i = 0;
  for (const auto& l : after) {
    if (i < before.size() && same(before[i], l)) ++i;
  }
  return i == before.size();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::vector<std::wstring> parts(1);
  for (std::size_t i = 0; i < size; ++i) {
    if (data[i] == 0) {
      parts.emplace_back();
    } else {
      // 0xFE stands for a byte order mark.
      parts.back() += data[i] == 0xFE ? L'\uFEFF' : static_cast<wchar_t>(data[i]);
    }
  }
  const std::wstring& text = parts[0];
  kv::IniDocument doc = kv::IniDocument::Parse(text);
  Check(doc.Serialize() == text, "an untouched document keeps its text");

  std::wstring current = text;
  for (std::size_t w = 1; w + 2 < parts.size() && w < 13; w += 3) {
    const std::wstring &section = parts[w], &key = parts[w + 1], &value = parts[w + 2];
    if (!Writable(section, key, value)) continue;
    const auto names = Names(WithoutBom(current));
    std::vector<std::optional<std::wstring>> before;
    for (const auto& [s, k] : names) before.push_back(doc.Get(s, k));

    doc.Set(section, key, value);
    const std::wstring written = doc.Serialize();
    const kv::IniDocument reread = kv::IniDocument::Parse(written);
    Check(doc.Get(section, key) == Expected(value), "the key reads back");
    Check(reread.Get(section, key) == Expected(value), "the key reads back after a re-read");
    Check(reread.Serialize() == written, "a re-read keeps the text");
    const std::wstring fs = kv::FoldIniName(section), fk = kv::FoldIniName(key);
    for (std::size_t i = 0; i < names.size(); ++i) {
      const auto& [s, k] = names[i];
      if (kv::FoldIniName(s) == fs && kv::FoldIniName(k) == fk) continue;
      Check(doc.Get(s, k) == before[i], "other keys unchanged");
      Check(reread.Get(s, k) == before[i], "other keys unchanged after a re-read");
    }
    Check(KeepsOtherLines(Lines(WithoutBom(current)), Lines(WithoutBom(written))),
          "other lines kept");
    current = written;
  }
  return 0;
}
