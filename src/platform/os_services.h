// Operating-system services the core needs; one implementation per platform, plus fakes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace kv {

// A window or control handle as the platform knows it (HWND on Windows, QWidget* on Linux).
using NativeHandle = std::uintptr_t;

struct Point {
  int x = 0;
  int y = 0;
};

// HKEY_CLASSES_ROOT, and the per-user half of it (HKEY_CURRENT_USER\Software\Classes).
enum class RegRoot { ClassesRoot, CurrentUserClasses };

// Drive types as GetDriveTypeA reports them.
enum DriveTypeValue : unsigned {
  kDriveUnknown = 0,
  kDriveNoRootDir = 1,
  kDriveRemovable = 2,
  kDriveFixed = 3,
  kDriveRemote = 4,
  kDriveCdrom = 5,
  kDriveRamdisk = 6,
};

class OsServices {
 public:
  virtual ~OsServices() = default;

  // Private-profile (INI) file. Strings come back whole, however long.
  virtual std::int32_t GetPrivateProfileInt(const std::wstring& section, const std::wstring& key,
                                            std::int32_t def, const std::wstring& file) = 0;
  virtual std::wstring GetPrivateProfileString(const std::wstring& section, const std::wstring& key,
                                               const std::wstring& def,
                                               const std::wstring& file) = 0;
  virtual bool WritePrivateProfileString(const std::wstring& section, const std::wstring& key,
                                         const std::wstring& value, const std::wstring& file) = 0;
  // Puts `source` in the place of `target` in one step and makes it durable; on failure
  // `target` is untouched.
  virtual bool ReplaceFile(const std::wstring& source, const std::wstring& target) = 0;
  virtual void RemoveFile(const std::wstring& path) = 0;

  // Drives: the roots, each ended by NUL (as GetLogicalDriveStringsA fills its buffer).
  virtual std::wstring GetLogicalDriveStrings() = 0;
  // Volume label only; empty when the volume cannot be queried.
  virtual std::wstring GetVolumeLabel(const std::wstring& root) = 0;
  virtual unsigned GetDriveType(const std::wstring& root) = 0;

  // The shell's "open" verb on a path, shown normally; the result is the shell's business.
  virtual void ShellOpen(const std::wstring& path) = 0;
  virtual void SetForegroundWindow(NativeHandle window) = 0;
  virtual Point GetCursorPos() = 0;
  // Index of the list line under a screen point, or -1.
  virtual int LBItemFromPt(NativeHandle list, Point screen, bool autoScroll) = 0;
  // Modal folder picker; empty when cancelled or no file-system path.
  virtual std::wstring BrowseForFolder(NativeHandle owner, const std::wstring& title) = 0;

  // Registry: a key's named value as text (empty name: the default value); nullopt when the
  // key or value is missing or the data needs more than 1024 bytes.
  virtual std::optional<std::wstring> RegQueryString(RegRoot root, const std::wstring& subkey,
                                                     const std::wstring& name) = 0;
  // Creates missing keys on the path and writes a REG_SZ value.
  virtual bool RegSetString(RegRoot root, const std::wstring& subkey, const std::wstring& name,
                            const std::wstring& value) = 0;
  // Deletes a key without subkeys; true when the key is absent afterwards.
  virtual bool RegDeleteKey(RegRoot root, const std::wstring& subkey) = 0;

  // The window in the foreground now, which is the one the user came from as long as the
  // program has not taken the foreground yet; 0 when there is none or it cannot be known.
  virtual NativeHandle GetForegroundWindow() = 0;
  // Takes `window`, a file dialog or a file-manager window, to the folder `path`, keeping
  // what the user had typed in it. False when it is neither, or cannot be reached or
  // navigated: the window is then left as it was.
  virtual bool NavigateWindow(NativeHandle window, const std::wstring& path) = 0;
  // Puts `text` on the clipboard so that it outlives the program; false when it could not.
  virtual bool SetClipboardText(const std::wstring& text) = 0;
};

}  // namespace kv
