// In-memory OS services: files, drives, registry and the shell, with recorded outcomes.
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/os_services.h"

namespace kv::test {

// One INI file as the fake keeps it: sections and keys in file order.
struct FakeIni {
  struct Key {
    std::wstring name, value;
  };
  struct Section {
    std::wstring name;
    std::vector<Key> keys;
  };
  std::vector<Section> sections;
  // Rendered as Windows writes a new file.
  std::wstring Text() const;
};

struct FakeDrive {
  std::wstring root, label;
  unsigned type = kDriveFixed;
};

class FakeOs : public OsServices {
 public:
  // Files that exist, by path.
  std::map<std::wstring, FakeIni> files;
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

  // Registry: (root, lower-case key path) -> (lower-case value name -> data).
  std::map<std::pair<RegRoot, std::wstring>, std::map<std::wstring, std::wstring>> registry;
  std::set<RegRoot> readOnlyRoots;
  int registryWrites = 0;

  bool Writable(const std::wstring& path) const;
  std::wstring FileText(const std::wstring& path) const;

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

}  // namespace kv::test
