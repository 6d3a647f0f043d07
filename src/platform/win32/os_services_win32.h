// OsServices on Win32: the ANSI system functions, strings in the system code page.
#pragma once

#include <functional>

#include "folder_entry_registry.h"
#include "platform/os_services.h"

namespace kv::win32 {

// Before anything else: no system box ("no disk in drive") for a drive query; the query just
// fails. The process's other error-mode bits stay as they are.
void QuietDriveErrors();

// The system's answers for one root, on the calling thread; either may block for as long as the
// volume does.
unsigned DriveTypeOf(const std::wstring& root);
std::wstring VolumeLabelOf(const std::wstring& root);

class Win32OsServices final : public OsServices {
 public:
  // Packages one root's queries; tests hand in one that hangs.
  using DriveQueryMaker = std::function<DriveQuery(const std::wstring& root)>;
  Win32OsServices();
  explicit Win32OsServices(DriveQueryMaker makeQuery) : makeQuery_(std::move(makeQuery)) {}
  // The real queries: the type first, as it rarely waits for the volume, so a drive whose label
  // query hangs still shows its kind; then the label.
  static DriveQuery SystemDriveQuery(const std::wstring& root);

  FileRead ReadWholeFile(const std::wstring& path) override;
  bool ReplaceWholeFile(const std::wstring& path, std::string_view bytes) override;
  std::wstring DecodeFileText(std::string_view bytes) override;
  std::string EncodeFileText(std::wstring_view text) override;

  std::wstring GetLogicalDriveStrings() override;
  DriveQuery MakeDriveQuery(const std::wstring& root) override { return makeQuery_(root); }

  void ShellOpen(const std::wstring& path) override;
  void SetForegroundWindow(NativeHandle window) override;
  Point GetCursorPos() override;
  int LBItemFromPt(NativeHandle list, Point screen, bool autoScroll) override;
  std::wstring BrowseForFolder(NativeHandle owner, const std::wstring& title) override;

  // Registry: a key's named value as text (empty name: the default value); nullopt when the
  // key or value is missing or the data needs more than 1024 bytes.
  std::optional<std::wstring> RegQueryString(RegRoot root, const std::wstring& subkey,
                                             const std::wstring& name);
  // Creates missing keys on the path and writes a REG_SZ value.
  bool RegSetString(RegRoot root, const std::wstring& subkey, const std::wstring& name,
                    const std::wstring& value);
  // Deletes a key without subkeys; true when the key is absent afterwards.
  bool RegDeleteKey(RegRoot root, const std::wstring& subkey);

  bool InstallFolderEntry(const std::wstring& verb, const std::wstring& menuText,
                          const std::wstring& command) override {
    return folder_entry::Install(*this, verb, menuText, command);
  }
  bool RemoveFolderEntry(const std::wstring& verb) override {
    return folder_entry::Remove(*this, verb);
  }
  std::optional<std::wstring> FolderEntryCommand(const std::wstring& verb) override {
    return folder_entry::Command(*this, verb);
  }

  NativeHandle GetForegroundWindow() override;
  bool NavigateWindow(NativeHandle window, const std::wstring& path) override;
  bool SetClipboardText(const std::wstring& text) override;

 private:
  DriveQueryMaker makeQuery_;
};

}  // namespace kv::win32
