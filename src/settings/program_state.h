// The program's state (where it lives, its settings) and the two services every free function
// of the core reaches through. It stays here, below every subsystem, rather than in app/: it
// holds only the two platform interfaces and plain data, so settings, shell, launcher and ui
// take it without seeing the window, and app/ (the window, StartUp) is the one folder that sees
// them all.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/os_services.h"
#include "platform/toolkit.h"
#include "settings/folder_entry.h"

namespace kv {

class DriveStep;

struct ProgramState {
  ProgramState(OsServices& o, Toolkit& t) : os(o), tk(t) {}
  OsServices& os;
  Toolkit& tk;
  std::wstring AppDir;          // always ends in the path separator
  std::uint8_t ShowDrives = 1;  // any non-zero value shows the drives
  FolderArray FolderList = EmptyFolderList();
  // Where "Setting.ini" lives; empty means AppDir. Linux points it elsewhere when the
  // program's directory holds no settings file of its own.
  std::wstring SettingsDir;
  // The settings file as LoadSettings found it; OK saves over it unasked only if it still is.
  FileRead SettingsAsLoaded;
  // The launcher's drive step, when the program began it before starting its toolkit.
  std::shared_ptr<DriveStep> EarlyDriveStep;
};

}  // namespace kv
