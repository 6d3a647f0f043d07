// The folder entry as the Windows registry keeps it: Folder\shell\<verb> holds the menu text and
// its subkey "command" the command line, per user or machine-wide. Win32OsServices implements
// its folder-entry calls with these; the registry exists only on Windows, so only here.
#pragma once

#include <optional>
#include <string>

namespace kv::win32 {

// HKEY_CLASSES_ROOT, and the per-user half of it (HKEY_CURRENT_USER\Software\Classes).
enum class RegRoot { ClassesRoot, CurrentUserClasses };

namespace folder_entry {

inline std::wstring Key(const std::wstring& verb) { return L"Folder\\shell\\" + verb; }
inline std::wstring CommandKey(const std::wstring& verb) { return Key(verb) + L"\\command"; }

// `Registry` offers RegQueryString, RegSetString and RegDeleteKey (Win32OsServices does).
// Per user: a normal user may not write the machine-wide classes.
template <typename Registry>
bool Install(Registry& os, const std::wstring& verb, const std::wstring& menuText,
             const std::wstring& command) {
  const bool text = os.RegSetString(RegRoot::CurrentUserClasses, Key(verb), L"", menuText);
  const bool cmd = os.RegSetString(RegRoot::CurrentUserClasses, CommandKey(verb), L"", command);
  return text && cmd;
}

// Wherever it stands; "command" first, since a key with subkeys cannot be deleted.
template <typename Registry>
bool Remove(Registry& os, const std::wstring& verb) {
  bool ok = true;
  for (RegRoot root : {RegRoot::CurrentUserClasses, RegRoot::ClassesRoot}) {
    ok = os.RegDeleteKey(root, CommandKey(verb)) && ok;
    ok = os.RegDeleteKey(root, Key(verb)) && ok;
  }
  return ok;
}

// The per-user entry hides the machine-wide one.
template <typename Registry>
std::optional<std::wstring> Command(Registry& os, const std::wstring& verb) {
  auto stored = os.RegQueryString(RegRoot::CurrentUserClasses, CommandKey(verb), L"");
  if (!stored) stored = os.RegQueryString(RegRoot::ClassesRoot, CommandKey(verb), L"");
  return stored;
}

}  // namespace folder_entry
}  // namespace kv::win32
