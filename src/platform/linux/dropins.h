// The folder context-menu entry as each common file manager's own drop-in file.
#pragma once

#include <optional>
#include <string>

namespace kv::linux_shell {

struct DropInFiles {
  std::string serviceMenu;     // Dolphin
  std::string nemoAction;      // Nemo
  std::string nautilusScript;  // Nautilus (also Caja-style script folders)
};

// `verb` names the files; `menuName` (already without its access key) names the script.
DropInFiles FilesFor(const std::string& dataHome, const std::string& verb,
                     const std::string& menuName);

// "キヴォレットに登録(&F)" → "キヴォレットに登録"; "&&" stays one "&".
std::wstring WithoutAccessKey(const std::wstring& caption);
// The program path of `"<program>" "%1"`; nullopt when the command has another shape.
std::optional<std::string> ProgramOfCommand(const std::string& command);

// One argument of an Exec line: quoted by the desktop-entry rules, then escaped as a string
// value, "%" doubled.
std::string DesktopExecArg(const std::string& arg);
// Single quotes for bash.
std::string ShellQuote(const std::string& arg);

std::string ServiceMenuText(const std::string& name, const std::string& program);
// Nemo finds its field codes at the first "%": a program path holding one cannot be written,
// so the action then runs the script instead, or stays inactive when that cannot be named either.
std::string NemoActionText(const std::string& name, const std::string& program,
                           const std::string& scriptPath);
std::string NautilusScriptText(const std::string& program);

bool Install(const DropInFiles& files, const std::string& name, const std::string& program);
// True when none of the files is left.
bool Remove(const DropInFiles& files);
bool Present(const DropInFiles& files);

}  // namespace kv::linux_shell
