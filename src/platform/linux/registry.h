// The registry stand-in: text values under backslash-separated key paths, kept in one file.
#pragma once

#include <map>
#include <optional>
#include <string>

namespace kv::lnx {

// Key and value names compare without regard to case, as on Windows; each keeps the spelling
// it was created with. Every call reads the file afresh and a change rewrites it atomically.
class RegistryFile {
 public:
  explicit RegistryFile(std::string path) : path_(std::move(path)) {}

  // nullopt: key or value missing, or the text needs more than 1024 bytes with its NUL.
  std::optional<std::wstring> Query(const std::wstring& key, const std::wstring& name) const;
  // Creates the key and the missing keys above it.
  bool Set(const std::wstring& key, const std::wstring& name, const std::wstring& value);
  // True when the key is absent afterwards; false while it has subkeys.
  bool DeleteKey(const std::wstring& key);
  bool KeyExists(const std::wstring& key) const;

  const std::string& path() const { return path_; }

 private:
  struct Value {
    std::wstring name, text;
  };
  struct Key {
    std::wstring spelling;
    std::map<std::wstring, Value> values;  // by folded name
  };
  using Tree = std::map<std::wstring, Key>;  // by folded path

  bool Load(Tree& tree) const;
  bool Save(const Tree& tree) const;

  std::string path_;
};

std::wstring FoldKey(const std::wstring& s);
// Without leading and trailing separators.
std::wstring NormalizeKeyPath(const std::wstring& s);

}  // namespace kv::lnx
