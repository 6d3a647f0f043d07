// One INI file in memory, read and written by the rules of the Windows profile functions.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kv {

// Text is the file already decoded (OsServices::DecodeFileText); a parse keeps every line as it
// is, so Serialize() of an untouched document gives the text back unchanged.
class IniDocument {
 public:
  IniDocument() = default;
  static IniDocument Parse(std::wstring_view text);

  // The value as the profile functions return it: blanks around it and one pair of outer
  // quotes removed. nullopt when the section or the key is missing.
  std::optional<std::wstring> Get(std::wstring_view section, std::wstring_view key) const;
  // Replaces the key's value in place or adds the key (and its section) as Windows does.
  // The value goes in as given; the caller keeps line breaks out of it.
  void Set(std::wstring_view section, std::wstring_view key, std::wstring_view value);
  std::wstring Serialize() const;

 private:
  struct Section {
    std::vector<std::wstring> lines;  // the header first; each line with its terminator
    std::unordered_map<std::wstring, std::size_t> keys;  // folded name -> line; first wins
    std::size_t lastNonBlank = 0;                         // where a new key goes after
  };
  void AddLine(std::wstring line);

  std::vector<std::wstring> prelude_;  // lines before the first header: no section's
  std::vector<Section> sections_;
  std::unordered_map<std::wstring, std::size_t> index_;  // folded name -> section; first wins
  bool byteOrderMark_ = false;  // a leading U+FEFF, kept but no part of the first line
};

// Windows' integer reading of a profile value: blanks, one sign, digits, wrap modulo 2^32;
// an empty value gives `def`.
std::int32_t ParseProfileInt(std::wstring_view value, std::int32_t def);

// The comparison key of a section or key name: blanks around it removed, ASCII letters folded.
std::wstring FoldIniName(std::wstring_view name);

}  // namespace kv
