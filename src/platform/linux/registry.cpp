// Registry stand-in storage: an INI-like text file with quoted, backslash-escaped strings.
#include "registry.h"

#include <algorithm>
#include <cerrno>
#include <cwctype>
#include <iterator>
#include <utility>

#include "codepage.h"
#include "files.h"

namespace kv::lnx {
namespace {

constexpr std::size_t kMaxDataBytes = 1024;

// The characters written escaped, each with the letter that follows its backslash.
constexpr std::pair<wchar_t, wchar_t> kEscapes[] = {
    {L'\\', L'\\'}, {L'"', L'"'}, {L'\n', L'n'}, {L'\r', L'r'}, {L'\0', L'0'}};

std::wstring Escape(const std::wstring& s) {
  std::wstring out;
  for (wchar_t c : s) {
    const auto* e = std::find_if(std::begin(kEscapes), std::end(kEscapes),
                                 [c](const auto& p) { return p.first == c; });
    if (e == std::end(kEscapes)) {
      out += c;
    } else {
      out += L'\\';
      out += e->second;
    }
  }
  return out;
}

// Reads one quoted string starting at s[pos] == '"'; pos ends after the closing quote.
std::optional<std::wstring> Unescape(const std::wstring& s, std::size_t& pos) {
  if (pos >= s.size() || s[pos] != L'"') return std::nullopt;
  std::wstring out;
  for (++pos; pos < s.size(); ++pos) {
    wchar_t c = s[pos];
    if (c == L'"') {
      ++pos;
      return out;
    }
    if (c == L'\\' && pos + 1 < s.size()) {
      const auto* e = std::find_if(std::begin(kEscapes), std::end(kEscapes),
                                   [&](const auto& p) { return p.second == s[pos + 1]; });
      // A backslash we never write stays, so that a rewrite keeps the text as it was read.
      if (e != std::end(kEscapes)) {
        c = e->first;
        ++pos;
      }
    }
    out += c;
  }
  return std::nullopt;
}

bool IsUnder(const std::wstring& folded, const std::wstring& parentFolded) {
  return folded.size() > parentFolded.size() + 1 && folded.starts_with(parentFolded) &&
         folded[parentFolded.size()] == L'\\';
}

}  // namespace

std::wstring FoldKey(const std::wstring& s) {
  std::wstring out = s;
  for (wchar_t& c : out) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
  return out;
}

std::wstring NormalizeKeyPath(const std::wstring& s) {
  const auto first = s.find_first_not_of(L'\\');
  if (first == std::wstring::npos) return L"";
  return s.substr(first, s.find_last_not_of(L'\\') - first + 1);
}

RegistryTree RegistryTree::Parse(const std::wstring& text) {
  RegistryTree tree;
  Key* current = nullptr;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t nl = text.find(L'\n', pos);
    if (nl == std::wstring::npos) nl = text.size();
    std::wstring line = text.substr(pos, nl - pos);
    pos = nl + 1;
    if (!line.empty() && line.back() == L'\r') line.pop_back();
    if (line.size() >= 2 && line.front() == L'[' && line.back() == L']') {
      const std::wstring path = line.substr(1, line.size() - 2);
      Key& k = tree.keys_[FoldKey(path)];
      if (k.spelling.empty()) k.spelling = path;
      current = &k;
      continue;
    }
    if (current == nullptr || line.empty() || line.front() != L'"') continue;
    std::size_t p = 0;
    auto name = Unescape(line, p);
    if (!name || p >= line.size() || line[p] != L'=') continue;
    ++p;
    auto value = Unescape(line, p);
    if (!value) continue;
    current->values.try_emplace(FoldKey(*name), Value{*name, *value});
  }
  return tree;
}

std::wstring RegistryTree::Serialize() const {
  std::wstring text = L"; Kivoret's stand-in for its registry keys\r\n";
  for (const auto& [folded, key] : keys_) {
    text += L"[" + key.spelling + L"]\r\n";
    for (const auto& [n, v] : key.values)
      text += L"\"" + Escape(v.name) + L"\"=\"" + Escape(v.text) + L"\"\r\n";
  }
  return text;
}

std::optional<std::wstring> RegistryTree::Query(const std::wstring& key,
                                                const std::wstring& name) const {
  const auto k = keys_.find(FoldKey(NormalizeKeyPath(key)));
  if (k == keys_.end()) return std::nullopt;
  const auto v = k->second.values.find(FoldKey(name));
  if (v == k->second.values.end()) return std::nullopt;
  if (lnx::EncodeLossy(v->second.text).size() + 1 > kMaxDataBytes) return std::nullopt;
  return v->second.text;
}

bool RegistryTree::KeyExists(const std::wstring& key) const {
  return keys_.contains(FoldKey(NormalizeKeyPath(key)));
}

bool RegistryTree::Set(const std::wstring& key, const std::wstring& name,
                       const std::wstring& value) {
  const std::wstring path = NormalizeKeyPath(key);
  if (path.empty() || path.find_first_of(L"\r\n") != std::wstring::npos) return false;
  // Every key on the path exists afterwards, as RegCreateKey leaves them.
  const std::wstring folded = FoldKey(path);
  for (std::size_t sep = path.find(L'\\');; sep = path.find(L'\\', sep + 1)) {
    Key& k = keys_[folded.substr(0, sep)];
    if (k.spelling.empty()) k.spelling = path.substr(0, sep);
    if (sep == std::wstring::npos) break;
  }
  Key& k = keys_[folded];
  auto [it, inserted] = k.values.try_emplace(FoldKey(name), Value{name, value});
  if (!inserted) it->second.text = value;
  return true;
}

RegistryTree::Deletion RegistryTree::DeleteKey(const std::wstring& key) {
  const std::wstring folded = FoldKey(NormalizeKeyPath(key));
  if (folded.empty()) return Deletion::Invalid;
  const auto it = keys_.find(folded);
  if (it == keys_.end()) return Deletion::Absent;
  // Every path that starts with this one sorts right after it: subkeys and siblings like "k!".
  for (auto other = std::next(it); other != keys_.end() && other->first.starts_with(folded);
       ++other) {
    if (IsUnder(other->first, folded)) return Deletion::HasSubkeys;
  }
  keys_.erase(it);
  return Deletion::Removed;
}

bool RegistryFile::Load(RegistryTree& tree) const {
  const std::optional<std::string> bytes = lnx::ReadFile(path_);
  if (!bytes) {
    tree = {};
    return errno == ENOENT || errno == ENOTDIR;
  }
  tree = RegistryTree::Parse(lnx::Decode(*bytes));
  return true;
}

bool RegistryFile::Save(const RegistryTree& tree) const {
  return lnx::MakeDirs(lnx::DirName(path_)) &&
         lnx::WriteFileAtomic(path_, lnx::EncodeLossy(tree.Serialize()), 0600);
}

std::optional<std::wstring> RegistryFile::Query(const std::wstring& key,
                                                const std::wstring& name) const {
  RegistryTree tree;
  return Load(tree) ? tree.Query(key, name) : std::nullopt;
}

bool RegistryFile::KeyExists(const std::wstring& key) const {
  RegistryTree tree;
  return Load(tree) && tree.KeyExists(key);
}

bool RegistryFile::Set(const std::wstring& key, const std::wstring& name,
                       const std::wstring& value) {
  RegistryTree tree;
  return Load(tree) && tree.Set(key, name, value) && Save(tree);
}

bool RegistryFile::DeleteKey(const std::wstring& key) {
  RegistryTree tree;
  if (!Load(tree)) return false;
  const auto result = tree.DeleteKey(key);
  if (result == RegistryTree::Deletion::Removed) return Save(tree);
  return result == RegistryTree::Deletion::Absent;
}

}  // namespace kv::lnx
