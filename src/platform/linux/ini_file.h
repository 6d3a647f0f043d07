// The private-profile (INI) stand-in: Windows' reading and writing rules on locale-encoded bytes.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kv::linux_ini {

// The parsed form of one file. Offsets index `bytes`.
class Document {
 public:
  explicit Document(std::string bytes = {});

  const std::string& bytes() const { return bytes_; }
  // The value as the reader sees it (blanks and one pair of outer quotes removed).
  std::optional<std::string> Get(std::string_view section, std::string_view key) const;
  // The bytes that the file must hold after the write, and whether they only add to its end.
  struct Edit {
    std::string bytes;
    bool pureAppend = false;
  };
  Edit PlanWrite(std::string_view section, std::string_view key, std::string_view value) const;
  // Takes the edit's bytes as the new content; appends are parsed incrementally.
  void Apply(Edit edit);

 private:
  struct Line {
    std::size_t start, contentEnd, end;  // end: after the line's terminator
  };
  struct Key {
    std::size_t line;
    std::string value;
  };
  struct Section {
    std::size_t lastNonBlankLine;
    std::unordered_map<std::string, Key> keys;  // by folded name; first wins
  };

  void ParseFrom(std::size_t offset);
  void ParseLine(std::size_t lineIndex);
  bool EndsWithTerminator() const;

  std::string bytes_;
  std::vector<Line> lines_;
  std::vector<Section> sections_;
  std::unordered_map<std::string, std::size_t> sectionIndex_;  // first of duplicates
  long current_ = -1;  // section that the next line belongs to; -1: none
};

// Case-insensitive (ASCII) comparison key of a name, blanks around it removed.
std::string FoldName(std::string_view name);
// Windows' integer reading of a profile value: blanks, one sign, digits, wrap modulo 2^32.
std::int32_t ParseProfileInt(std::string_view value, std::int32_t def);

// Files by path, parsed once and kept while the file's identity and timestamps stay the same.
class Store {
 public:
  std::optional<std::string> Get(const std::string& path, std::string_view section,
                                 std::string_view key);
  bool Write(const std::string& path, std::string_view section, std::string_view key,
             std::string_view value);
  // Counts file reads, so that tests can see the cache working.
  std::size_t reads() const { return reads_; }

 private:
  struct Signature {
    dev_t dev = 0;
    ino_t ino = 0;
    off_t size = 0;
    std::int64_t mtimeNs = 0, ctimeNs = 0;
    bool exists = false;
    friend bool operator==(const Signature&, const Signature&) = default;
  };
  struct Entry {
    Signature sig;
    Document doc;
  };
  static std::optional<Signature> Stat(const std::string& path);
  static Signature FromFd(int fd);
  // The entry for the file as it now is; nullptr when it cannot be read.
  Entry* Load(const std::string& path);

  std::map<std::string, Entry> cache_;
  std::size_t reads_ = 0;
};

}  // namespace kv::linux_ini
