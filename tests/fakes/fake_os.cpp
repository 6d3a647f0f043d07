#include "fakes/fake_os.h"

#include <algorithm>
#include <codecvt>
#include <cwctype>
#include <locale>

// The converter is deprecated but does what the fake's code page needs.
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace kv::test {
namespace {

std::wstring_convert<std::codecvt_utf8<wchar_t>> utf8;

std::wstring Lower(std::wstring s) {
  for (auto& c : s) c = static_cast<wchar_t>(std::towlower(c));
  return s;
}

}  // namespace

std::wstring FakeOs::FileText(const std::wstring& path) {
  return files.contains(path) ? DecodeFileText(files[path]) : L"<missing>";
}

FileRead FakeOs::ReadWholeFile(const std::wstring& path) {
  if (unreadable.contains(path)) return {FileState::Unreadable, {}};
  if (!files.contains(path)) return {FileState::Missing, {}};
  return {FileState::Ok, files[path]};
}

bool FakeOs::ReplaceWholeFile(const std::wstring& path, std::string_view bytes) {
  if (std::any_of(readOnlyDirs.begin(), readOnlyDirs.end(),
                  [&](const std::wstring& d) { return path.starts_with(d); }))
    return false;
  files[path] = std::string(bytes);
  files.erase(path + L".new");  // as the real ones clear a stale scratch file
  return true;
}

std::wstring FakeOs::DecodeFileText(std::string_view bytes) {
  return utf8.from_bytes(bytes.data(), bytes.data() + bytes.size());
}
std::string FakeOs::EncodeFileText(std::wstring_view text) {
  return utf8.to_bytes(text.data(), text.data() + text.size());
}

std::wstring FakeOs::GetLogicalDriveStrings() {
  std::wstring s;
  for (const auto& d : drives) s += d.root + L'\0';
  return s + L'\0';
}

void DriveGate::Pass() {
  std::unique_lock lock(mutex_);
  if (delay_)
    opened_.wait_for(lock, *delay_, [] { return false; });
  else
    opened_.wait(lock, [] { return false; });
}

DriveQuery FakeOs::MakeDriveQuery(const std::wstring& root) {
  FakeDrive drive{root, L"", kDriveNoRootDir};
  for (const auto& d : drives)
    if (d.root == root) drive = d;
  return [drive](DriveReport& report) {  // a copy: it may run on after the fake is gone
    if (drive.beforeType) drive.beforeType->Pass();
    report.Type(drive.type);
    if (!drive.folder) report.NotAFolder();
    if (drive.beforeLabel) drive.beforeLabel->Pass();
    report.Label(drive.label);
  };
}

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

std::optional<std::wstring> FakeOs::RegQueryString(RegRoot root, const std::wstring& subkey,
                                                   const std::wstring& name) {
  auto key = registry.find({root, Lower(subkey)});
  if (key == registry.end() || !key->second.contains(Lower(name))) return std::nullopt;
  return key->second[Lower(name)];
}

bool FakeOs::RegSetString(RegRoot root, const std::wstring& subkey, const std::wstring& name,
                          const std::wstring& value) {
  if (readOnlyRoots.contains(root)) return false;
  ++registryWrites;
  const std::wstring path = Lower(subkey);  // missing keys on the path come into being too
  for (std::size_t p = path.find(L'\\'); p != std::wstring::npos; p = path.find(L'\\', p + 1))
    registry[{root, path.substr(0, p)}];
  registry[{root, path}][Lower(name)] = value;
  return true;
}

bool FakeOs::RegDeleteKey(RegRoot root, const std::wstring& subkey) {
  const std::wstring path = Lower(subkey);
  if (!registry.contains({root, path})) return true;
  if (readOnlyRoots.contains(root)) return false;
  for (const auto& [k, v] : registry)
    if (k.first == root && k.second.starts_with(path + L"\\")) return false;
  ++registryWrites;
  registry.erase({root, path});
  return true;
}

}  // namespace kv::test
