// The folder context-menu entry as each common file manager's own drop-in file.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kv::lnx {

struct DropInFiles {
  std::string serviceMenu;     // Dolphin
  std::string nemoAction;      // Nemo
  std::string nautilusScript;  // Nautilus
  std::string cajaScript;      // Caja
  std::string thunarActions;   // Thunar's uca.xml, shared with the user's other actions
  std::string thunarId;        // the <unique-id> of our action in it
  // Where Thunar's own actions come from while the user has no uca.xml, first found wins.
  std::vector<std::string> thunarDefaults;
};

// `verb` names the files; `menuName` (already without its access key) names the scripts.
// `configDirs` are the system's configuration folders ($XDG_CONFIG_DIRS).
DropInFiles FilesFor(const std::string& dataHome, const std::string& configHome,
                     const std::vector<std::string>& configDirs, const std::string& verb,
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

// KIO looks for the program before it turns "%%" back into "%", and Nemo and Thunar find their
// field codes at any "%": a program path holding one runs through the Nautilus script instead
// (when one is named).
std::string ServiceMenuText(const std::string& name, const std::string& program,
                            const std::string& scriptPath = "");
// With neither path free of "%", the action stays inactive.
std::string NemoActionText(const std::string& name, const std::string& program,
                           const std::string& scriptPath);
std::string NautilusScriptText(const std::string& program);
// Runs the program on the first selected path when it is a folder, and does nothing otherwise.
std::string CajaScriptText(const std::string& program);

// Thunar's command line: shell words, "%f" its quoted path.
std::string ThunarCommand(const std::string& program, const std::string& scriptPath);
std::string ThunarActionText(const std::string& id, const std::string& name,
                             const std::string& command);
// uca.xml edits that leave every other byte as it was. Adding replaces an action of ours in
// place or goes before "</actions>"; nullopt when the text has no actions element to add to.
std::optional<std::string> WithThunarAction(const std::string& xml, const std::string& id,
                                            const std::string& action);
std::string WithoutThunarAction(const std::string& xml, const std::string& id);
bool HasThunarAction(const std::string& xml, const std::string& id);

bool InstallDropIns(const DropInFiles& files, const std::string& name, const std::string& program);
// True when none of the files is left.
bool RemoveDropIns(const DropInFiles& files);
// The program our drop-ins start, read back from them: every file is there and holds exactly
// what InstallDropIns writes for that program and `name`. Nullopt otherwise (one deleted or
// edited by hand, or written by another program).
std::optional<std::string> InstalledProgram(const DropInFiles& files, const std::string& name);

}  // namespace kv::lnx
