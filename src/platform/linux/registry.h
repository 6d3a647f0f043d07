// The registry stand-in: text values under backslash-separated key paths, kept in one file.
#pragma once

#include <map>
#include <optional>
#include <string>

namespace kv::lnx {

// The keys and values in memory, with the file's text format. Key and value names compare
// without regard to case, as on Windows; each keeps the spelling it was created with.
class RegistryTree {
 public:
  // Lines that are not a key or a "name"="text" pair under one are skipped.
  static RegistryTree Parse(const std::wstring& text);
  std::wstring Serialize() const;

  // nullopt: key or value missing, or the text needs more than 1024 bytes with its NUL.
  std::optional<std::wstring> Query(const std::wstring& key, const std::wstring& name) const;
  bool KeyExists(const std::wstring& key) const;
  // Creates the key and the missing keys above it; false for a key path it cannot store.
  bool Set(const std::wstring& key, const std::wstring& name, const std::wstring& value);
  // Absent: nothing to do. Removed: the caller must store the change. HasSubkeys: kept.
  enum class Deletion { Absent, Removed, HasSubkeys, Invalid };
  Deletion DeleteKey(const std::wstring& key);

 private:
  struct Value {
    std::wstring name, text;
  };
  struct Key {
    std::wstring spelling;
    std::map<std::wstring, Value> values;  // by folded name
  };
  std::map<std::wstring, Key> keys_;  // by folded path
};

// Every call reads the file afresh and a change rewrites it atomically, so two processes (the
// launcher and the settings window) never work from a stale copy.
class RegistryFile {
 public:
  explicit RegistryFile(std::string path) : path_(std::move(path)) {}

  std::optional<std::wstring> Query(const std::wstring& key, const std::wstring& name) const;
  bool Set(const std::wstring& key, const std::wstring& name, const std::wstring& value);
  // True when the key is absent afterwards; false while it has subkeys.
  bool DeleteKey(const std::wstring& key);
  bool KeyExists(const std::wstring& key) const;

  const std::string& path() const { return path_; }

 private:
  bool Load(RegistryTree& tree) const;
  bool Save(const RegistryTree& tree) const;

  std::string path_;
};

std::wstring FoldKey(const std::wstring& s);
// Without leading and trailing separators.
std::wstring NormalizeKeyPath(const std::wstring& s);

}  // namespace kv::lnx
