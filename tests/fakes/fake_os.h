// In-memory OS services: files, drives, registry and the shell, with recorded outcomes.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/os_services.h"

namespace kv::test {

struct FakeDrive {
  std::wstring root, label;
  unsigned type = kDriveFixed;
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

  // Registry: (root, lower-case key path) -> (lower-case value name -> data).
  std::map<std::pair<RegRoot, std::wstring>, std::map<std::wstring, std::wstring>> registry;
  std::set<RegRoot> readOnlyRoots;
  int registryWrites = 0;

  bool Writable(const std::wstring& path) const;
  // The file decoded, or "<missing>".
  std::wstring FileText(const std::wstring& path) const;

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

}  // namespace kv::test
