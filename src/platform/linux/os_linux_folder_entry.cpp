// LinuxOsServices' folder entry: the file managers' drop-ins are all the state it has.
#include "codepage.h"
#include "dropins.h"
#include "files.h"
#include "locations.h"
#include "os_linux.h"
#include "platform/product.h"

namespace kv::lnx {
namespace {

// The name the file managers show: the menu text without its access key, or the default.
std::string MenuName(const std::wstring& menuText) {
  const std::wstring name = WithoutAccessKey(menuText);
  return EncodeLossy(name.empty() ? WithoutAccessKey(kFolderMenuText) : name);
}

}  // namespace

DropInFiles LinuxOsServices::DropIns(const std::wstring& verb, const std::wstring& menuText) const {
  // configDir is the program's folder in the user's configuration home.
  return FilesFor(places_.dataHome, DirName(places_.configDir), ConfigDirs(), EncodeLossy(verb),
                  MenuName(menuText));
}

// The scripts are named by the menu text; the program always installs its entry with its own
// text, so that is where an installed entry is looked for (an empty text stands for it).
bool LinuxOsServices::InstallFolderEntry(const std::wstring& verb, const std::wstring& menuText,
                                         const std::wstring& command) {
  const auto program = ProgramOfCommand(EncodeLossy(command));
  if (!program) return false;
  return InstallDropIns(DropIns(verb, menuText), MenuName(menuText), *program);
}

bool LinuxOsServices::RemoveFolderEntry(const std::wstring& verb) {
  return RemoveDropIns(DropIns(verb, L""));
}

std::optional<std::wstring> LinuxOsServices::FolderEntryCommand(const std::wstring& verb) {
  const auto program = InstalledProgram(DropIns(verb, L""), MenuName(L""));
  if (!program) return std::nullopt;
  return L"\"" + Decode(*program) + L"\" \"%1\"";
}

}  // namespace kv::lnx
