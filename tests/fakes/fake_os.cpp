#include "fakes/fake_os.h"

#include <algorithm>
#include <cwctype>

namespace kv::test {
namespace {

std::wstring Lower(std::wstring s) {
  for (auto& c : s) c = static_cast<wchar_t>(std::towlower(c));
  return s;
}

bool SameName(const std::wstring& a, const std::wstring& b) { return Lower(a) == Lower(b); }

const FakeIni::Key* Find(const FakeIni& ini, const std::wstring& section, const std::wstring& key) {
  for (const auto& s : ini.sections)
    if (SameName(s.name, section)) {
      for (const auto& k : s.keys)
        if (SameName(k.name, key)) return &k;
      return nullptr;
    }
  return nullptr;
}

// UTF-8 length, standing in for the system code page's byte count.
std::size_t Bytes(const std::wstring& s) {
  std::size_t n = 0;
  for (wchar_t c : s) {
    const auto u = static_cast<std::uint32_t>(c);
    n += u < 0x80 ? 1 : u < 0x800 ? 2 : u < 0x10000 ? 3 : 4;
  }
  return n;
}

}  // namespace

std::wstring FakeIni::Text() const {
  std::wstring t;
  for (const auto& s : sections) {
    t += L"[" + s.name + L"]\r\n";
    for (const auto& k : s.keys) t += k.name + L"=" + k.value + L"\r\n";
  }
  return t;
}

bool FakeOs::Writable(const std::wstring& path) const {
  return std::none_of(readOnlyDirs.begin(), readOnlyDirs.end(),
                      [&](const std::wstring& d) { return path.starts_with(d); });
}

std::wstring FakeOs::FileText(const std::wstring& path) const {
  auto it = files.find(path);
  return it == files.end() ? L"<missing>" : it->second.Text();
}

std::int32_t FakeOs::GetPrivateProfileInt(const std::wstring& section, const std::wstring& key,
                                          std::int32_t def, const std::wstring& file) {
  auto it = files.find(file);
  const FakeIni::Key* k = it == files.end() ? nullptr : Find(it->second, section, key);
  if (!k) return def;
  const std::wstring& v = k->value;
  std::size_t i = v.find_first_not_of(L" \t");
  if (i == std::wstring::npos) return def;
  bool negative = false;
  if (v[i] == L'-' || v[i] == L'+') negative = v[i++] == L'-';
  std::uint32_t n = 0;
  for (; i < v.size() && v[i] >= L'0' && v[i] <= L'9'; ++i) n = n * 10 + (v[i] - L'0');
  return static_cast<std::int32_t>(negative ? 0u - n : n);
}

std::wstring FakeOs::GetPrivateProfileString(const std::wstring& section, const std::wstring& key,
                                             const std::wstring& def, const std::wstring& file) {
  auto it = files.find(file);
  const FakeIni::Key* k = it == files.end() ? nullptr : Find(it->second, section, key);
  if (!k) return def;
  const std::wstring& v = k->value;
  const auto b = v.find_first_not_of(L" \t");
  if (b == std::wstring::npos) return L"";
  return v.substr(b, v.find_last_not_of(L" \t") - b + 1);
}

bool FakeOs::WritePrivateProfileString(const std::wstring& section, const std::wstring& key,
                                       const std::wstring& value, const std::wstring& file) {
  if (!Writable(file)) return false;
  FakeIni& ini = files[file];
  auto s = std::find_if(ini.sections.begin(), ini.sections.end(),
                        [&](const FakeIni::Section& x) { return SameName(x.name, section); });
  if (s == ini.sections.end()) s = ini.sections.insert(ini.sections.end(), {section, {}});
  auto k = std::find_if(s->keys.begin(), s->keys.end(),
                        [&](const FakeIni::Key& x) { return SameName(x.name, key); });
  if (k == s->keys.end()) {
    s->keys.push_back({key, value});
  } else {
    k->value = value;
  }
  return true;
}

bool FakeOs::ReplaceFile(const std::wstring& source, const std::wstring& target) {
  auto it = files.find(source);
  if (failReplace || it == files.end() || !Writable(target)) return false;
  files[target] = it->second;
  files.erase(source);
  return true;
}

void FakeOs::RemoveFile(const std::wstring& path) { files.erase(path); }

std::wstring FakeOs::GetLogicalDriveStrings() {
  std::wstring s;
  for (const auto& d : drives) s += d.root + L'\0';
  return s + L'\0';
}

std::wstring FakeOs::GetVolumeLabel(const std::wstring& root) {
  for (const auto& d : drives)
    if (d.root == root) return d.label;
  return L"";
}

unsigned FakeOs::GetDriveType(const std::wstring& root) {
  for (const auto& d : drives)
    if (d.root == root) return d.type;
  return kDriveNoRootDir;
}

void FakeOs::ShellOpen(const std::wstring& path) { opened.push_back(path); }
void FakeOs::SetForegroundWindow(NativeHandle window) {
  foregrounded.push_back(window);
  foreground = window;
}
NativeHandle FakeOs::GetForegroundWindow() { return foreground; }
bool FakeOs::NavigateWindow(NativeHandle window, const std::wstring& path) {
  ++navigateCalls;
  if (!navigable.contains(window)) return false;
  navigated.emplace_back(window, path);
  return true;
}
bool FakeOs::SetClipboardText(const std::wstring& text) {
  if (failClipboard) return false;
  clipboard.push_back(text);
  return true;
}
Point FakeOs::GetCursorPos() { return cursor; }
int FakeOs::LBItemFromPt(NativeHandle, Point, bool) { return itemUnderCursor; }

std::wstring FakeOs::BrowseForFolder(NativeHandle owner, const std::wstring& title) {
  browseCalls.emplace_back(owner, title);
  return browseResult;
}

std::optional<std::wstring> FakeOs::RegQueryString(RegRoot root, const std::wstring& subkey,
                                                   const std::wstring& name) {
  auto key = registry.find({root, Lower(subkey)});
  if (key == registry.end()) return std::nullopt;
  auto value = key->second.find(Lower(name));
  if (value == key->second.end() || Bytes(value->second) + 1 > 1024) return std::nullopt;
  return value->second;
}

bool FakeOs::RegSetString(RegRoot root, const std::wstring& subkey, const std::wstring& name,
                          const std::wstring& value) {
  if (readOnlyRoots.count(root)) return false;
  ++registryWrites;
  // Missing keys on the path come into being too.
  std::wstring path = Lower(subkey);
  for (std::size_t p = path.find(L'\\'); p != std::wstring::npos; p = path.find(L'\\', p + 1))
    registry[{root, path.substr(0, p)}];
  registry[{root, path}][Lower(name)] = value;
  return true;
}

bool FakeOs::RegDeleteKey(RegRoot root, const std::wstring& subkey) {
  const std::wstring path = Lower(subkey);
  auto key = registry.find({root, path});
  if (key == registry.end()) return true;
  if (readOnlyRoots.count(root)) return false;
  for (const auto& [k, v] : registry)
    if (k.first == root && k.second.starts_with(path + L"\\")) return false;
  ++registryWrites;
  registry.erase(key);
  return true;
}

}  // namespace kv::test
