// Operating-system services the core needs; one implementation per platform, plus fakes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

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

enum class FileState { Ok, Missing, Unreadable };
struct FileRead {
  FileState state = FileState::Missing;
  std::string bytes;
};

class OsServices {
 public:
  virtual ~OsServices() = default;

  // Whole files, for "Setting.ini". Missing: nothing there (a dangling link included);
  // Unreadable: something is there that cannot be read, and so must never be overwritten.
  virtual FileRead ReadWholeFile(const std::wstring& path) = 0;
  // Gives `path` the content `bytes` in one step: a scratch file beside it (beside a link's
  // target, the link stays) is written, flushed and its size checked, then takes its place,
  // keeping the old file's permissions. False leaves the old file as it was.
  virtual bool ReplaceWholeFile(const std::wstring& path, std::string_view bytes) = 0;
  // A settings file's text as the profile functions read it: a UTF-8 byte-order mark is kept
  // as U+FEFF and the rest read as UTF-8; anything else is in the system code page. Encoding
  // is the inverse (characters the code page lacks become its default character).
  virtual std::wstring DecodeFileText(std::string_view bytes) = 0;
  virtual std::string EncodeFileText(std::wstring_view text) = 0;

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
};

}  // namespace kv
