// In-memory OS services: files, drives, the folder entry and the shell, with recorded outcomes.
#pragma once

#include <chrono>
#include <codecvt>
#include <locale>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "platform/os_services.h"

// The converter is deprecated but does what the fake's code page needs.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"

namespace kv::test {

struct FakeDrive {
  std::wstring root, label;
  unsigned type = kDriveFixed;
  bool folder = true;
  // A slow drive answers after these; a hung one after an hour (its thread is detached).
  std::chrono::milliseconds typeDelay{0}, labelDelay{0};
};
constexpr std::chrono::hours kHung{1};

class FakeOs : public OsServices {
 public:
  std::map<std::wstring, std::string> files;  // by path; UTF-8 stands for the code page
  std::set<std::wstring> unreadable;
  bool failWrites = false;
  std::vector<FakeDrive> drives;
  std::vector<std::wstring> opened, clipboard;
  bool failClipboard = false;
  int itemUnderCursor = -1;
  std::wstring browseResult, browseTitle;
  NativeHandle foreground = 0;       // the user's window; SetForegroundWindow replaces it
  std::set<NativeHandle> navigable;  // windows NavigateWindow can take somewhere
  std::vector<std::pair<NativeHandle, std::wstring>> navigated;
  std::map<std::wstring, std::pair<std::wstring, std::wstring>> entries;  // verb: text, command
  bool failEntries = false;
  int entryWrites = 0;
  std::wstring_convert<std::codecvt_utf8<wchar_t>> utf8;

  std::wstring FileText(const std::wstring& path) { return DecodeFileText(files.at(path)); }
  FileRead ReadWholeFile(const std::wstring& path) override {
    if (unreadable.contains(path)) return {FileState::Unreadable, {}};
    return files.contains(path) ? FileRead{FileState::Ok, files[path]}
                                : FileRead{FileState::Missing, {}};
  }
  bool ReplaceWholeFile(const std::wstring& path, std::string_view bytes) override {
    files.erase(path + L".new");  // as the real ones clear a stale scratch file
    return !failWrites && (files[path] = bytes, true);
  }
  std::wstring DecodeFileText(std::string_view b) override {
    return utf8.from_bytes(b.begin(), b.end());
  }
  std::string EncodeFileText(std::wstring_view t) override {
    return utf8.to_bytes(t.begin(), t.end());
  }
  std::wstring GetLogicalDriveStrings() override {
    std::wstring s;
    for (const auto& d : drives) s += d.root + L'\0';
    return s + L'\0';
  }
  DriveQuery MakeDriveQuery(const std::wstring& root) override {
    FakeDrive drive{root, L"", kDriveNoRootDir};
    for (const auto& d : drives)
      if (d.root == root) drive = d;
    return [drive](DriveReport& report) {  // a copy: it may run on after the fake is gone
      std::this_thread::sleep_for(drive.typeDelay);
      report.Type(drive.type);
      if (!drive.folder) report.NotAFolder();
      std::this_thread::sleep_for(drive.labelDelay);
      report.Label(drive.label);
    };
  }
  void ShellOpen(const std::wstring& path) override { opened.push_back(path); }
  void SetForegroundWindow(NativeHandle window) override { foreground = window; }
  Point GetCursorPos() override { return {}; }
  int LBItemFromPt(NativeHandle, Point, bool) override { return itemUnderCursor; }
  std::wstring BrowseForFolder(NativeHandle, const std::wstring& title) override {
    browseTitle = title;
    return browseResult;
  }
  // Every change is counted; while failEntries is set, each one that would change something fails.
  bool InstallFolderEntry(const std::wstring& verb, const std::wstring& text,
                          const std::wstring& command) override {
    return !failEntries && (entries[verb] = {text, command}, ++entryWrites);
  }
  bool RemoveFolderEntry(const std::wstring& verb) override {
    return !entries.contains(verb) || (!failEntries && entries.erase(verb) && ++entryWrites);
  }
  std::optional<std::wstring> FolderEntryCommand(const std::wstring& verb) override {
    return entries.contains(verb) ? std::optional(entries[verb].second) : std::nullopt;
  }
  NativeHandle GetForegroundWindow() override { return foreground; }
  bool NavigateWindow(NativeHandle window, const std::wstring& path) override {
    return navigable.contains(window) && (navigated.emplace_back(window, path), true);
  }
  bool SetClipboardText(const std::wstring& text) override {
    return !failClipboard && (clipboard.push_back(text), true);
  }
};

}  // namespace kv::test

#pragma GCC diagnostic pop
