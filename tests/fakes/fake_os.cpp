#include "fakes/fake_os.h"

#include <algorithm>
#include <codecvt>
#include <locale>

// The converter is deprecated but does what the fake's code page needs.
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace kv::test {
namespace {

std::wstring_convert<std::codecvt_utf8<wchar_t>> utf8;

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

bool FakeOs::InstallFolderEntry(const std::wstring& verb, const std::wstring& menuText,
                                const std::wstring& command) {
  if (failFolderEntry) return false;
  ++folderEntryWrites;
  folderEntries[verb] = {menuText, command};
  return true;
}

bool FakeOs::RemoveFolderEntry(const std::wstring& verb) {
  if (!folderEntries.contains(verb)) return true;
  if (failFolderEntry) return false;
  ++folderEntryWrites;
  folderEntries.erase(verb);
  return true;
}

std::optional<std::wstring> FakeOs::FolderEntryCommand(const std::wstring& verb) {
  const auto it = folderEntries.find(verb);
  // As the registry answers: a command that needs more than 1024 bytes is not read.
  if (it == folderEntries.end() || EncodeFileText(it->second.command).size() + 1 > 1024)
    return std::nullopt;
  return it->second.command;
}

std::optional<std::wstring> FakeOs::FolderEntryText(const std::wstring& verb) const {
  const auto it = folderEntries.find(verb);
  if (it == folderEntries.end()) return std::nullopt;
  return it->second.text;
}

}  // namespace kv::test
