// In-memory OS services: files, drives, the folder entry and the shell, with recorded outcomes.
#pragma once

#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/os_services.h"

namespace kv::test {

// Holds a fake drive's query until opened, or until its delay has passed (a slow drive).
class DriveGate {
 public:
  DriveGate() = default;  // shut until opened
  explicit DriveGate(std::chrono::milliseconds delay) : delay_(delay) {}
  void Open();
  void Pass();

 private:
  std::mutex mutex_;
  std::condition_variable opened_;
  bool open_ = false;
  std::optional<std::chrono::milliseconds> delay_;
};

struct FakeDrive {
  std::wstring root, label;
  unsigned type = kDriveFixed;
  bool folder = true;
  // Shared with the query's thread, so a gate left shut may outlive the fake.
  std::shared_ptr<DriveGate> beforeType = nullptr, beforeLabel = nullptr;
};

class FakeOs : public OsServices {
 public:
  // Files that exist, by path: their bytes, UTF-8 standing in for the system code page.
  std::map<std::wstring, std::string> files;
  // Present but not readable (as a file of another user's with mode 0600).
  std::set<std::wstring> unreadable;
  // Writing into these directories (path prefixes) fails, as in a read-only folder.
  std::set<std::wstring> readOnlyDirs;
  bool failReplace = false;

  std::vector<FakeDrive> drives;
  std::vector<std::wstring> opened;  // ShellOpen calls in order
  std::vector<NativeHandle> foregrounded;
  Point cursor{};
  int itemUnderCursor = -1;
  std::wstring browseResult;
  std::vector<std::pair<NativeHandle, std::wstring>> browseCalls;
  // The window the user was in; SetForegroundWindow replaces it, as on a desktop.
  NativeHandle foreground = 0;
  // Windows that NavigateWindow can take somewhere (file dialogs, file-manager windows).
  std::set<NativeHandle> navigable;
  std::vector<std::pair<NativeHandle, std::wstring>> navigated;  // successful calls only
  int navigateCalls = 0;
  std::vector<std::wstring> clipboard;  // SetClipboardText calls that succeeded
  bool failClipboard = false;

  // The folder entries by verb, as installed; every change fails while failFolderEntry is set.
  struct FolderEntryRecord {
    std::wstring text, command;
  };
  std::map<std::wstring, FolderEntryRecord> folderEntries;
  bool failFolderEntry = false;
  int folderEntryWrites = 0;
  std::optional<std::wstring> FolderEntryText(const std::wstring& verb) const;

  bool Writable(const std::wstring& path) const;
  // The file decoded, or "<missing>".
  std::wstring FileText(const std::wstring& path) const;

  FileRead ReadWholeFile(const std::wstring& path) override;
  bool ReplaceWholeFile(const std::wstring& path, std::string_view bytes) override;
  std::wstring DecodeFileText(std::string_view bytes) override;
  std::string EncodeFileText(std::wstring_view text) override;

  std::wstring GetLogicalDriveStrings() override;
  DriveQuery MakeDriveQuery(const std::wstring& root) override;

  void ShellOpen(const std::wstring& path) override;
  void SetForegroundWindow(NativeHandle window) override;
  Point GetCursorPos() override;
  int LBItemFromPt(NativeHandle list, Point screen, bool autoScroll) override;
  std::wstring BrowseForFolder(NativeHandle owner, const std::wstring& title) override;

  bool InstallFolderEntry(const std::wstring& verb, const std::wstring& menuText,
                          const std::wstring& command) override;
  bool RemoveFolderEntry(const std::wstring& verb) override;
  std::optional<std::wstring> FolderEntryCommand(const std::wstring& verb) override;

  NativeHandle GetForegroundWindow() override;
  bool NavigateWindow(NativeHandle window, const std::wstring& path) override;
  bool SetClipboardText(const std::wstring& text) override;
};

}  // namespace kv::test
