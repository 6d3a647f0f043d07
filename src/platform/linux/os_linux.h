// OsServices on Linux: whole files, mounts as drives, the file managers' drop-ins, the desktop's
// opener.
#pragma once

#include <string>
#include <vector>

#include "dropins.h"
#include "mounts.h"
#include "platform/os_services.h"

namespace kv::lnx {

class LinuxOsServices final : public OsServices {
 public:
  struct Places {
    std::string configDir;  // the program's folder in the user's configuration home
    std::string dataHome;   // the file-manager drop-ins go below it
  };
  // The user's own places (XDG) and the machine's real mounts.
  LinuxOsServices();
  LinuxOsServices(Places places, lnx::MachineFacts facts, std::string mountInfoPath);

  FileRead ReadWholeFile(const std::wstring& path) override;
  bool ReplaceWholeFile(const std::wstring& path, std::string_view bytes) override;
  std::wstring DecodeFileText(std::string_view bytes) override;
  std::string EncodeFileText(std::wstring_view text) override;
  // The per-user settings folder, made on the first save into it (only that one folder).
  void SetCreatableDirectory(const std::wstring& dir) { creatableDir_ = dir; }

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

 private:
  const lnx::Mount* FindMount(const std::wstring& root);
  // The drop-in files of the entry `verb` showing `menuText` (the default text when empty).
  DropInFiles DropIns(const std::wstring& verb, const std::wstring& menuText) const;

  Places places_;
  lnx::MachineFacts facts_;
  std::string mountInfoPath_;
  std::vector<lnx::Mount> mounts_;
  std::wstring creatableDir_;
};

}  // namespace kv::lnx
