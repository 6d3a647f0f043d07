// OsServices on Win32: the ANSI system functions, strings in the system code page.
#pragma once

#include "platform/os_services.h"

namespace kv::win32 {

class Win32OsServices final : public OsServices {
 public:
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
};

}  // namespace kv::win32
