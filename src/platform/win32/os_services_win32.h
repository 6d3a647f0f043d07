// OsServices on Win32: the ANSI system functions, strings in the system code page.
#pragma once

#include "platform/os_services.h"

namespace kv::win32 {

class Win32OsServices final : public OsServices {
 public:
  FileRead ReadWholeFile(const std::wstring& path) override;
  bool ReplaceWholeFile(const std::wstring& path, std::string_view bytes) override;
  std::wstring DecodeFileText(std::string_view bytes) override;
  std::string EncodeFileText(std::wstring_view text) override;

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
};

}  // namespace kv::win32
