// LinuxOsServices' registry: the stand-in file, and the file-manager entries behind the
// folder command key.
#include "codepage.h"
#include "dropins.h"
#include "files.h"
#include "locations.h"
#include "os_linux.h"
#include "platform/product.h"

namespace kv::lnx {

using lnx::EncodeLossy;

std::wstring LinuxOsServices::CommandVerb(const std::wstring& subkey) {
  const std::wstring folded = lnx::FoldKey(lnx::NormalizeKeyPath(subkey));
  constexpr std::wstring_view kHead = L"folder\\shell\\", kTail = L"\\command";
  if (!folded.starts_with(kHead) || !folded.ends_with(kTail) ||
      folded.size() <= kHead.size() + kTail.size()) {
    return L"";
  }
  const std::wstring path = lnx::NormalizeKeyPath(subkey);
  const std::wstring verb = path.substr(kHead.size(), path.size() - kHead.size() - kTail.size());
  return verb.find(L'\\') == std::wstring::npos ? verb : L"";
}

lnx::DropInFiles LinuxOsServices::DropIns(const std::string& verb,
                                          const std::string& menuName) const {
  // configDir is the program's folder in the user's configuration home.
  return lnx::FilesFor(places_.dataHome, lnx::DirName(places_.configDir), lnx::ConfigDirs(), verb,
                       menuName);
}

std::wstring LinuxOsServices::MenuName(const std::wstring& verb) {
  const auto text = registry_.Query(L"Folder\\shell\\" + verb, L"");
  const std::wstring name = lnx::WithoutAccessKey(text.value_or(L""));
  return name.empty() ? lnx::WithoutAccessKey(kFolderMenuText) : name;
}

std::optional<std::wstring> LinuxOsServices::RegQueryString(RegRoot, const std::wstring& subkey,
                                                            const std::wstring& name) {
  auto value = registry_.Query(subkey, name);
  const std::wstring verb = CommandVerb(subkey);
  if (value && !verb.empty() && name.empty()) {
    // Drop-ins deleted by hand: the entry is gone for the user, so it is gone here too.
    const auto files = DropIns(EncodeLossy(verb), EncodeLossy(MenuName(verb)));
    if (!lnx::DropInsPresent(files)) return std::nullopt;
  }
  return value;
}

bool LinuxOsServices::RegSetString(RegRoot, const std::wstring& subkey, const std::wstring& name,
                                   const std::wstring& value) {
  if (!registry_.Set(subkey, name, value)) return false;
  const std::wstring verb = CommandVerb(subkey);
  if (verb.empty() || !name.empty()) return true;
  const auto program = lnx::ProgramOfCommand(EncodeLossy(value));
  if (!program) return false;
  const std::string menuName = EncodeLossy(MenuName(verb));
  return lnx::InstallDropIns(DropIns(EncodeLossy(verb), menuName), menuName, *program);
}

bool LinuxOsServices::RegDeleteKey(RegRoot, const std::wstring& subkey) {
  const std::wstring verb = CommandVerb(subkey);
  bool ok = true;
  if (!verb.empty()) {
    ok = lnx::RemoveDropIns(DropIns(EncodeLossy(verb), EncodeLossy(MenuName(verb))));
  }
  return registry_.DeleteKey(subkey) && ok;
}

}  // namespace kv::lnx
