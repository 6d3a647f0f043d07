// The folder entry as the Windows registry keeps it: Folder\shell\<verb> holds the menu text and
// its subkey "command" the command line, per user or machine-wide. Win32OsServices and the fake
// OS implement their folder-entry calls with these.
#pragma once

#include <optional>
#include <string>

#include "platform/os_services.h"

namespace kv::folder_entry {

inline std::wstring Key(const std::wstring& verb) { return L"Folder\\shell\\" + verb; }
inline std::wstring CommandKey(const std::wstring& verb) { return Key(verb) + L"\\command"; }

// Per user: a normal user may not write the machine-wide classes.
inline bool Install(OsServices& os, const std::wstring& verb, const std::wstring& menuText,
                    const std::wstring& command) {
  const bool text = os.RegSetString(RegRoot::CurrentUserClasses, Key(verb), L"", menuText);
  const bool cmd = os.RegSetString(RegRoot::CurrentUserClasses, CommandKey(verb), L"", command);
  return text && cmd;
}

// Wherever it stands; "command" first, since a key with subkeys cannot be deleted.
inline bool Remove(OsServices& os, const std::wstring& verb) {
  bool ok = true;
  for (RegRoot root : {RegRoot::CurrentUserClasses, RegRoot::ClassesRoot}) {
    ok = os.RegDeleteKey(root, CommandKey(verb)) && ok;
    ok = os.RegDeleteKey(root, Key(verb)) && ok;
  }
  return ok;
}

// The per-user entry hides the machine-wide one.
inline std::optional<std::wstring> Command(OsServices& os, const std::wstring& verb) {
  auto stored = os.RegQueryString(RegRoot::CurrentUserClasses, CommandKey(verb), L"");
  if (!stored) stored = os.RegQueryString(RegRoot::ClassesRoot, CommandKey(verb), L"");
  return stored;
}

}  // namespace kv::folder_entry
