// One INI file in memory, read and written by the rules of the Windows profile functions.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv {

// Text is the file already decoded (OsServices::DecodeFileText); a parse keeps every line as it
// is, so Serialize() of an untouched document gives the text back unchanged.
class IniDocument {
 public:
  IniDocument() = default;
  static IniDocument Parse(std::wstring_view text);
  static IniDocument Parse(std::wstring&& text);  // the same, keeping the text without a copy

  // The value as the profile functions return it: blanks around it and one pair of outer
  // quotes removed. nullopt when the section or the key is missing.
  std::optional<std::wstring> Get(std::wstring_view section, std::wstring_view key) const;
  // Replaces the key's value in place or adds the key (and its section) as Windows does.
  // The value goes in as given; the caller keeps line breaks out of it.
  void Set(std::wstring_view section, std::wstring_view key, std::wstring_view value);
  std::wstring Serialize() const;

 private:
  static constexpr std::uint32_t kNone = 0xFFFFFFFF;
  // A line of the file, with its terminator: a span of the parsed text or of added_.
  struct Line {
    std::uint32_t begin, size;
    std::uint32_t next;  // the following line in file order
    bool added;
  };
  struct Section {
    std::uint32_t header, lastNonBlank;  // lines; a new key goes after lastNonBlank
  };
  // One entry of the name index: a section (line == kNone) or a key of a section. Names are
  // compared in the lines themselves, so an index entry owns no string.
  struct Slot {
    std::size_t hash;
    std::uint32_t section, line;
  };

  std::wstring_view LineText(std::uint32_t line) const;
  std::uint32_t AddLine(std::wstring_view text, std::uint32_t after);
  void ReplaceLine(std::uint32_t line, std::wstring_view text);
  void EnsureBreak(std::uint32_t line);
  void ParseLine(std::uint32_t line);
  std::uint32_t FindSection(std::wstring_view name, std::size_t hash) const;
  std::uint32_t FindKey(std::uint32_t section, std::wstring_view name, std::size_t hash) const;
  void Index(Slot slot);

  std::wstring text_, added_;
  std::vector<Line> lines_;
  std::uint32_t first_ = kNone, last_ = kNone;
  std::vector<Section> sections_;
  std::vector<Slot> slots_;  // open addressing; hash 0 marks a free slot
  std::size_t used_ = 0;
  bool byteOrderMark_ = false;
};

// Windows' integer reading of a profile value: blanks, one sign, digits, wrap modulo 2^32;
// an empty value gives `def`.
std::int32_t ParseProfileInt(std::wstring_view value, std::int32_t def);

// The comparison key of a section or key name: blanks around it removed, ASCII letters folded.
std::wstring FoldIniName(std::wstring_view name);

}  // namespace kv
