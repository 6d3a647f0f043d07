// LinuxOsServices' registry: the stand-in file, and the file-manager entries behind the
// folder command key.
#include "codepage.h"
#include "dropins.h"
#include "files.h"
#include "locations.h"
#include "os_linux.h"
#include "platform/folder_entry_registry.h"
#include "platform/product.h"

namespace kv::lnx {
namespace {

// The name the file managers show: the menu text without its access key, or the default.
std::string MenuName(const std::wstring& menuText) {
  const std::wstring name = WithoutAccessKey(menuText);
  return EncodeLossy(name.empty() ? WithoutAccessKey(kFolderMenuText) : name);
}

}  // namespace

std::optional<std::wstring> LinuxOsServices::RegQueryString(RegRoot, const std::wstring& subkey,
                                                            const std::wstring& name) {
  return registry_.Query(subkey, name);
}

bool LinuxOsServices::RegSetString(RegRoot, const std::wstring& subkey, const std::wstring& name,
                                   const std::wstring& value) {
  return registry_.Set(subkey, name, value);
}

bool LinuxOsServices::RegDeleteKey(RegRoot, const std::wstring& subkey) {
  return registry_.DeleteKey(subkey);
}

DropInFiles LinuxOsServices::DropIns(const std::wstring& verb, const std::wstring& menuText) const {
  // configDir is the program's folder in the user's configuration home.
  return FilesFor(places_.dataHome, DirName(places_.configDir), ConfigDirs(), EncodeLossy(verb),
                  MenuName(menuText));
}

DropInFiles LinuxOsServices::InstalledDropIns(const std::wstring& verb) {
  // The drop-ins' names come from the menu text they were installed with.
  return DropIns(verb, registry_.Query(folder_entry::Key(verb), L"").value_or(L""));
}

bool LinuxOsServices::InstallFolderEntry(const std::wstring& verb, const std::wstring& menuText,
                                         const std::wstring& command) {
  // The text and the command stay in the stand-in too: the drop-ins' names and the command
  // that FolderEntryCommand compares are read back from there.
  const bool text = registry_.Set(folder_entry::Key(verb), L"", menuText);
  if (!registry_.Set(folder_entry::CommandKey(verb), L"", command)) return false;
  const auto program = ProgramOfCommand(EncodeLossy(command));
  if (!program) return false;
  return InstallDropIns(DropIns(verb, menuText), MenuName(menuText), *program) && text;
}

bool LinuxOsServices::RemoveFolderEntry(const std::wstring& verb) {
  bool ok = RemoveDropIns(InstalledDropIns(verb));
  ok = registry_.DeleteKey(folder_entry::CommandKey(verb)) && ok;
  return registry_.DeleteKey(folder_entry::Key(verb)) && ok;
}

std::optional<std::wstring> LinuxOsServices::FolderEntryCommand(const std::wstring& verb) {
  auto command = registry_.Query(folder_entry::CommandKey(verb), L"");
  // Drop-ins deleted by hand: the entry is gone for the user, so it is gone here too.
  if (command && !DropInsPresent(InstalledDropIns(verb))) return std::nullopt;
  return command;
}

}  // namespace kv::lnx
