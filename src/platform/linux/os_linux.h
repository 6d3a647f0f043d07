// OsServices on Linux: whole files, the registry stand-in, mounts as drives, the desktop's opener.
#pragma once

#include <string>
#include <vector>

#include "mounts.h"
#include "platform/os_services.h"
#include "registry.h"

namespace kv {

class LinuxOsServices final : public OsServices {
 public:
  struct Places {
    std::string configDir;  // the registry stand-in lives here
    std::string dataHome;   // the file-manager drop-ins go below it
  };
  // The user's own places (XDG) and the machine's real mounts.
  LinuxOsServices();
  LinuxOsServices(Places places, linux_mounts::MachineFacts facts, std::string mountInfoPath);

  FileRead ReadWholeFile(const std::wstring& path) override;
  bool ReplaceWholeFile(const std::wstring& path, std::string_view bytes) override;
  std::wstring DecodeFileText(std::string_view bytes) override;
  std::string EncodeFileText(std::wstring_view text) override;
  // The per-user settings folder, made on the first save into it (only that one folder).
  void SetCreatableDirectory(const std::wstring& dir) { creatableDir_ = dir; }

  std::wstring GetLogicalDriveStrings() override;
  std::wstring GetVolumeLabel(const std::wstring& root) override;
  unsigned GetDriveType(const std::wstring& root) override;

  void ShellOpen(const std::wstring& path) override;
  void SetForegroundWindow(NativeHandle window) override;
  Point GetCursorPos() override;
  int LBItemFromPt(NativeHandle list, Point screen, bool autoScroll) override;
  std::wstring BrowseForFolder(NativeHandle owner, const std::wstring& title) override;

  std::optional<std::wstring> RegQueryString(RegRoot root, const std::wstring& subkey,
                                             const std::wstring& name) override;
  bool RegSetString(RegRoot root, const std::wstring& subkey, const std::wstring& name,
                    const std::wstring& value) override;
  bool RegDeleteKey(RegRoot root, const std::wstring& subkey) override;

 private:
  const linux_mounts::Mount* FindMount(const std::wstring& root);
  // The verb of "Folder\shell\<verb>\command", or empty for any other key.
  static std::wstring CommandVerb(const std::wstring& subkey);
  std::wstring MenuName(const std::wstring& verb);

  Places places_;
  linux_mounts::MachineFacts facts_;
  std::string mountInfoPath_;
  std::vector<linux_mounts::Mount> mounts_;
  std::wstring creatableDir_;
  linux_reg::RegistryFile registry_;
};

}  // namespace kv
