// Operating-system services the core needs; one implementation per platform, plus fakes.
#pragma once

#include <cstdint>
#include <functional>
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

// Where one drive's volume queries report their answers, each as soon as it comes. Called on the
// query's own thread; it stays valid for as long as the query runs, even after nobody waits.
class DriveReport {
 public:
  virtual void Type(unsigned type) = 0;
  // Empty: the volume has no label, or the query failed.
  virtual void Label(std::wstring label) = 0;
  // The root is no folder to open (a file bind-mounted on Linux).
  virtual void NotAFolder() = 0;

 protected:
  ~DriveReport() = default;
};

// One drive's volume queries, run on a thread of its own. A query that hangs is abandoned and
// may outlive its OsServices and the caller, so it holds copies of everything it uses.
using DriveQuery = std::function<void(DriveReport&)>;

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
  // Packages the type and label queries of one root; touches no volume itself.
  virtual DriveQuery MakeDriveQuery(const std::wstring& root) = 0;

  // The shell's "open" verb on a path, shown normally; the result is the shell's business.
  virtual void ShellOpen(const std::wstring& path) = 0;
  virtual void SetForegroundWindow(NativeHandle window) = 0;
  virtual Point GetCursorPos() = 0;
  // Index of the list line under a screen point, or -1.
  virtual int LBItemFromPt(NativeHandle list, Point screen, bool autoScroll) = 0;
  // Modal folder picker; empty when cancelled or no file-system path.
  virtual std::wstring BrowseForFolder(NativeHandle owner, const std::wstring& title) = 0;

  // The file manager's right-click entry on folders, named by `verb`: it shows `menuText` ("&"
  // marks the access key) and runs `command` ("%1" stands for the folder). Windows keeps it in
  // the registry (Folder\shell\<verb> and its subkey command, per user); Linux writes one
  // drop-in file per file manager, which are all the state the entry has there. False when
  // some part could not be written.
  virtual bool InstallFolderEntry(const std::wstring& verb, const std::wstring& menuText,
                                  const std::wstring& command) = 0;
  // Removes the entry wherever it stands; true when it is gone afterwards.
  virtual bool RemoveFolderEntry(const std::wstring& verb) = 0;
  // The command of the installed entry; nullopt when there is none (on Linux also when one of
  // our drop-ins is missing or was changed by hand) or, on Windows, it needs more than 1024
  // bytes.
  virtual std::optional<std::wstring> FolderEntryCommand(const std::wstring& verb) = 0;

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
