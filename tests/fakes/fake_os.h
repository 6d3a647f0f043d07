// In-memory OS services: files, drives, the folder entry and the shell, with recorded outcomes.
#pragma once

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
  void Pass();

 private:
  std::mutex mutex_;
  std::condition_variable opened_;
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
  std::map<std::wstring, std::string> files;  // by path; UTF-8 stands for the code page
  std::set<std::wstring> unreadable;          // present but not readable
  std::set<std::wstring> readOnlyDirs;        // path prefixes where writing fails
  std::vector<FakeDrive> drives;
  std::vector<std::wstring> opened;  // ShellOpen calls in order
  std::vector<NativeHandle> foregrounded;
  int itemUnderCursor = -1;
  std::wstring browseResult;
  std::vector<std::pair<NativeHandle, std::wstring>> browseCalls;
  NativeHandle foreground = 0;       // the user's window; SetForegroundWindow replaces it
  std::set<NativeHandle> navigable;  // windows NavigateWindow can take somewhere
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

  std::wstring FileText(const std::wstring& path);  // decoded, or "<missing>"

  FileRead ReadWholeFile(const std::wstring& path) override;
  bool ReplaceWholeFile(const std::wstring& path, std::string_view bytes) override;
  std::wstring DecodeFileText(std::string_view bytes) override;
  std::string EncodeFileText(std::wstring_view text) override;
  std::wstring GetLogicalDriveStrings() override;
  DriveQuery MakeDriveQuery(const std::wstring& root) override;
  void ShellOpen(const std::wstring& path) override { opened.push_back(path); }
  void SetForegroundWindow(NativeHandle window) override {
    foregrounded.push_back(window);
    foreground = window;
  }
  Point GetCursorPos() override { return {}; }
  int LBItemFromPt(NativeHandle, Point, bool) override { return itemUnderCursor; }
  std::wstring BrowseForFolder(NativeHandle owner, const std::wstring& title) override {
    browseCalls.emplace_back(owner, title);
    return browseResult;
  }
  bool InstallFolderEntry(const std::wstring& verb, const std::wstring& menuText,
                          const std::wstring& command) override;
  bool RemoveFolderEntry(const std::wstring& verb) override;
  std::optional<std::wstring> FolderEntryCommand(const std::wstring& verb) override;
  std::optional<std::wstring> FolderEntryText(const std::wstring& verb) const;
  NativeHandle GetForegroundWindow() override { return foreground; }
  bool NavigateWindow(NativeHandle window, const std::wstring& path) override;
  bool SetClipboardText(const std::wstring& text) override;
};

}  // namespace kv::test
