#include "fakes/fake_os.h"

#include <algorithm>

namespace kv::test {
namespace {

// UTF-8 for the fake's code page (its byte counts too): enough for the text the tests use (no
// surrogates).
std::string ToUtf8(std::wstring_view s) {
  std::string out;
  for (wchar_t c : s) {
    const auto u = static_cast<std::uint32_t>(c);
    if (u < 0x80) {
      out += static_cast<char>(u);
    } else if (u < 0x800) {
      out += static_cast<char>(0xC0 | (u >> 6));
      out += static_cast<char>(0x80 | (u & 0x3F));
    } else if (u < 0x10000) {
      out += static_cast<char>(0xE0 | (u >> 12));
      out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (u & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (u >> 18));
      out += static_cast<char>(0x80 | ((u >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (u & 0x3F));
    }
  }
  return out;
}

std::wstring FromUtf8(std::string_view s) {
  std::wstring out;
  for (std::size_t i = 0; i < s.size();) {
    const auto b = static_cast<unsigned char>(s[i]);
    const int extra = b < 0x80 ? 0 : b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
    std::uint32_t u = extra == 0 ? b : b & (0x3F >> extra);
    for (int k = 1; k <= extra && i + k < s.size(); ++k)
      u = (u << 6) | (static_cast<unsigned char>(s[i + k]) & 0x3F);
    out += static_cast<wchar_t>(u);
    i += 1 + extra;
  }
  return out;
}

}  // namespace

bool FakeOs::Writable(const std::wstring& path) const {
  return std::none_of(readOnlyDirs.begin(), readOnlyDirs.end(),
                      [&](const std::wstring& d) { return path.starts_with(d); });
}

std::wstring FakeOs::FileText(const std::wstring& path) const {
  auto it = files.find(path);
  return it == files.end() ? L"<missing>" : FromUtf8(it->second);
}

FileRead FakeOs::ReadWholeFile(const std::wstring& path) {
  if (unreadable.count(path)) return {FileState::Unreadable, {}};
  auto it = files.find(path);
  if (it == files.end()) return {FileState::Missing, {}};
  return {FileState::Ok, it->second};
}

bool FakeOs::ReplaceWholeFile(const std::wstring& path, std::string_view bytes) {
  if (failReplace || !Writable(path)) return false;
  files[path] = std::string(bytes);
  unreadable.erase(path);
  return true;
}

std::wstring FakeOs::DecodeFileText(std::string_view bytes) { return FromUtf8(bytes); }
std::string FakeOs::EncodeFileText(std::wstring_view text) { return ToUtf8(text); }

std::wstring FakeOs::GetLogicalDriveStrings() {
  std::wstring s;
  for (const auto& d : drives) s += d.root + L'\0';
  return s + L'\0';
}

void DriveGate::Open() {
  std::lock_guard lock(mutex_);
  open_ = true;
  opened_.notify_all();
}

void DriveGate::Pass() {
  std::unique_lock lock(mutex_);
  if (delay_) {
    opened_.wait_for(lock, *delay_, [this] { return open_; });
  } else {
    opened_.wait(lock, [this] { return open_; });
  }
}

DriveQuery FakeOs::MakeDriveQuery(const std::wstring& root) {
  FakeDrive drive{root, L"", kDriveNoRootDir};
  for (const auto& d : drives)
    if (d.root == root) drive = d;
  // A copy: the query may still run when the fake is gone.
  return [drive](DriveReport& report) {
    if (drive.beforeType) drive.beforeType->Pass();
    report.Type(drive.type);
    if (!drive.folder) report.NotAFolder();
    if (drive.beforeLabel) drive.beforeLabel->Pass();
    report.Label(drive.label);
  };
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
  if (it == folderEntries.end() || ToUtf8(it->second.command).size() + 1 > 1024)
    return std::nullopt;
  return it->second.command;
}

std::optional<std::wstring> FakeOs::FolderEntryText(const std::wstring& verb) const {
  const auto it = folderEntries.find(verb);
  if (it == folderEntries.end()) return std::nullopt;
  return it->second.text;
}

}  // namespace kv::test
