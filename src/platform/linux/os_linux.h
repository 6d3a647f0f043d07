// OsServices on Linux: the INI and registry stand-ins, mounts as drives, the desktop's opener.
#pragma once

#include <string>
#include <vector>

#include "ini_file.h"
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

  std::int32_t GetPrivateProfileInt(const std::wstring& section, const std::wstring& key,
                                    std::int32_t def, const std::wstring& file) override;
  std::wstring GetPrivateProfileString(const std::wstring& section, const std::wstring& key,
                                       const std::wstring& def, const std::wstring& file) override;
  bool WritePrivateProfileString(const std::wstring& section, const std::wstring& key,
                                 const std::wstring& value, const std::wstring& file) override;
  bool ReplaceFile(const std::wstring& source, const std::wstring& target) override;
  void RemoveFile(const std::wstring& path) override;

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

  NativeHandle GetForegroundWindow() override;
  bool NavigateWindow(NativeHandle window, const std::wstring& path) override;
  bool SetClipboardText(const std::wstring& text) override;

  linux_ini::Store& ini() { return ini_; }

 private:
  const linux_mounts::Mount* FindMount(const std::wstring& root);
  // The verb of "Folder\shell\<verb>\command", or empty for any other key.
  static std::wstring CommandVerb(const std::wstring& subkey);
  std::wstring MenuName(const std::wstring& verb);

  Places places_;
  linux_mounts::MachineFacts facts_;
  std::string mountInfoPath_;
  std::vector<linux_mounts::Mount> mounts_;
  linux_ini::Store ini_;
  linux_reg::RegistryFile registry_;
};

}  // namespace kv
