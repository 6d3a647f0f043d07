// Writing, removing and detecting the file-manager drop-ins.
#include "dropins.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

#include "files.h"
#include "kivoret_version.h"

namespace kv::lnx {
namespace {

// The escapes of a desktop-entry string value.
std::string EscapeStringValue(const std::string& s) {
  std::string out;
  for (char c : s) {
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        out += c;
    }
  }
  if (!out.empty() && out.front() == ' ') out.replace(0, 1, "\\s");
  return out;
}

// Double quotes as a POSIX shell or g_shell_parse_argv reads them.
std::string DoubleQuote(const std::string& s) {
  std::string out = "\"";
  for (char c : s) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

bool Exists(const std::string& path) {
  struct stat st {};
  return ::lstat(path.c_str(), &st) == 0;
}

bool RemoveOne(const std::string& path) { return ::unlink(path.c_str()) == 0 || errno == ENOENT; }

std::string FileStem(const std::string& verb) {
  std::string out;
  for (char c : verb) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
    if (c >= 'A' && c <= 'Z')
      out += static_cast<char>(c - 'A' + 'a');
    else
      out += plain ? c : '_';
  }
  return out.empty() ? "entry" : out;
}

std::string XmlEscape(const std::string& s) {
  std::string out;
  for (char c : s) {
    if (c == '&')
      out += "&amp;";
    else if (c == '<')
      out += "&lt;";
    else if (c == '>')
      out += "&gt;";
    else
      out += c;
  }
  return out;
}

// Half-open byte ranges of the <action> elements outside comments.
struct Span {
  std::size_t begin, end;
};

std::vector<Span> ActionElements(const std::string& xml) {
  std::vector<Span> out;
  for (std::size_t pos = 0; (pos = xml.find('<', pos)) != std::string::npos;) {
    if (xml.compare(pos, 4, "<!--") == 0) {
      const std::size_t close = xml.find("-->", pos + 4);
      if (close == std::string::npos) break;
      pos = close + 3;
      continue;
    }
    const bool open = xml.compare(pos, 7, "<action") == 0 && pos + 7 < xml.size() &&
                      (xml[pos + 7] == '>' || xml[pos + 7] == ' ' || xml[pos + 7] == '\t' ||
                       xml[pos + 7] == '\n' || xml[pos + 7] == '\r');
    if (!open) {
      ++pos;
      continue;
    }
    const std::size_t close = xml.find("</action>", pos);
    if (close == std::string::npos) break;
    out.push_back({pos, close + 9});
    pos = close + 9;
  }
  return out;
}

std::optional<Span> OurAction(const std::string& xml, const std::string& id) {
  const std::string tag = "<unique-id>" + XmlEscape(id) + "</unique-id>";
  for (const Span& a : ActionElements(xml)) {
    const std::size_t hit = xml.find(tag, a.begin);
    if (hit != std::string::npos && hit < a.end) return a;
  }
  return std::nullopt;
}

// The span grown to whole lines when nothing else shares them.
Span WholeLines(const std::string& xml, Span s) {
  std::size_t b = s.begin;
  while (b > 0 && (xml[b - 1] == ' ' || xml[b - 1] == '\t')) --b;
  std::size_t e = s.end;
  while (e < xml.size() && (xml[e] == ' ' || xml[e] == '\t' || xml[e] == '\r')) ++e;
  if ((b == 0 || xml[b - 1] == '\n') && (e == xml.size() || xml[e] == '\n'))
    return {b, e == xml.size() ? e : e + 1};
  return s;
}

// The file a symlinked uca.xml points to, so the link stays a link.
std::string Target(const std::string& path) {
  struct stat st {};
  if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
  char buf[PATH_MAX];
  return ::realpath(path.c_str(), buf) != nullptr ? std::string(buf) : path;
}

mode_t ModeOr(const std::string& path, mode_t fallback) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 07777) : fallback;
}

// The user's uca.xml, or the system's while the user has none; empty when neither exists.
std::optional<std::string> ThunarStartingText(const DropInFiles& files) {
  if (auto own = lnx::ReadFile(files.thunarActions)) return own;
  if (errno != ENOENT) return std::nullopt;
  for (const std::string& path : files.thunarDefaults) {
    if (auto system = lnx::ReadFile(path)) return system;
  }
  return std::string();
}

bool InstallThunar(const DropInFiles& files, const std::string& name, const std::string& program) {
  auto xml = ThunarStartingText(files);
  if (!xml) return false;
  if (xml->empty()) xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<actions>\n</actions>\n";
  const auto updated = WithThunarAction(
      *xml, files.thunarId,
      ThunarActionText(files.thunarId, name, ThunarCommand(program, files.nautilusScript)));
  if (!updated) return false;
  if (*updated == *xml && Exists(files.thunarActions)) return true;
  const std::string target = Target(files.thunarActions);
  return lnx::MakeDirs(lnx::DirName(target), 0755) &&
         lnx::WriteFileAtomic(target, *updated, ModeOr(target, 0644));
}

bool RemoveThunar(const DropInFiles& files) {
  const auto xml = lnx::ReadFile(files.thunarActions);
  if (!xml) return errno == ENOENT || errno == ENOTDIR;
  if (!HasThunarAction(*xml, files.thunarId)) return true;
  const std::string target = Target(files.thunarActions);
  return lnx::WriteFileAtomic(target, WithoutThunarAction(*xml, files.thunarId),
                              ModeOr(target, 0644));
}

bool ThunarPresent(const DropInFiles& files) {
  const auto xml = lnx::ReadFile(files.thunarActions);
  return xml && HasThunarAction(*xml, files.thunarId);
}

}  // namespace

DropInFiles FilesFor(const std::string& dataHome, const std::string& configHome,
                     const std::vector<std::string>& configDirs, const std::string& verb,
                     const std::string& menuName) {
  const std::string stem = FileStem(verb);
  std::string script = menuName;
  for (char& c : script) {
    if (c == '/') c = '_';
  }
  if (script.empty() || script == "." || script == "..") script = stem;
  std::vector<std::string> defaults;
  for (const std::string& dir : configDirs) defaults.push_back(dir + "/Thunar/uca.xml");
  return {dataHome + "/kio/servicemenus/" + stem + ".desktop",
          dataHome + "/nemo/actions/" + stem + ".nemo_action",
          dataHome + "/nautilus/scripts/" + script,
          configHome + "/caja/scripts/" + script,
          configHome + "/Thunar/uca.xml",
          "kivoret-" + stem,
          std::move(defaults)};
}

std::wstring WithoutAccessKey(const std::wstring& caption) {
  std::wstring s = caption;
  // A Japanese caption carries its key letter in brackets after the text.
  if (s.size() >= 4 && s[s.size() - 4] == L'(' && s[s.size() - 3] == L'&' && s.back() == L')') {
    s.resize(s.size() - 4);
  }
  std::wstring out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == L'&') {
      if (i + 1 < s.size() && s[i + 1] == L'&') out += s[++i];
      continue;
    }
    out += s[i];
  }
  return out;
}

std::optional<std::string> ProgramOfCommand(const std::string& command) {
  constexpr std::string_view kTail = "\" \"%1\"";
  if (command.size() > kTail.size() + 1 && command.front() == '"' && command.ends_with(kTail)) {
    return command.substr(1, command.size() - 1 - kTail.size());
  }
  return std::nullopt;
}

std::string DesktopExecArg(const std::string& arg) {
  std::string out;
  for (char c : EscapeStringValue(DoubleQuote(arg))) {
    out += c;
    if (c == '%') out += '%';
  }
  return out;
}

std::string ShellQuote(const std::string& arg) {
  std::string out = "'";
  for (char c : arg) {
    if (c == '\'')
      out += "'\\''";
    else
      out += c;
  }
  return out + "'";
}

std::string ServiceMenuText(const std::string& name, const std::string& program,
                            const std::string& scriptPath) {
  const bool viaScript = program.find('%') != std::string::npos && !scriptPath.empty() &&
                         scriptPath.find('%') == std::string::npos;
  std::string text =
      "[Desktop Entry]\n"
      "Type=Service\n"
      "MimeType=inode/directory;\n"
      "X-KDE-ServiceTypes=KonqPopupMenu/Plugin\n"
      "Actions=register;\n"
      "\n"
      "[Desktop Action register]\n";
  text += "Name=" + EscapeStringValue(name) + "\n";
  text += "Exec=" + DesktopExecArg(viaScript ? scriptPath : program) + " %f\n";
  return text;
}

std::string NemoActionText(const std::string& name, const std::string& program,
                           const std::string& scriptPath) {
  const std::string* target = nullptr;
  if (program.find('%') == std::string::npos) {
    target = &program;
  } else if (scriptPath.find('%') == std::string::npos) {
    target = &scriptPath;
  }
  std::string text = "[Nemo Action]\n";
  text += "Name=" + EscapeStringValue(name) + "\n";
  text +=
      "Exec=" + (target ? EscapeStringValue(DoubleQuote(*target)) : std::string("false")) + " %F\n";
  text += "Quote=double\nSelection=s\nExtensions=dir;\n";
  text += std::string("Active=") + (target ? "true" : "false") + "\n";
  return text;
}

std::string NautilusScriptText(const std::string& program) {
  const std::string p = ShellQuote(program);
  std::string text =
      "#!/bin/bash\n"
      "# Opens Kivoret's settings on the folder chosen in the file manager.\n"
      "if [ -n \"${NAUTILUS_SCRIPT_SELECTED_FILE_PATHS:-}\" ]; then\n"
      "  target=${NAUTILUS_SCRIPT_SELECTED_FILE_PATHS%%$'\\n'*}\n"
      "elif [ -n \"${1:-}\" ]; then\n"
      "  target=$1\n"
      "  case $target in /*) ;; *) target=$PWD/$target ;; esac\n"
      "else\n";
  text += "  exec " + p + "\n";
  text += "fi\n";
  text += "exec " + p + " \"$target\"\n";
  return text;
}

std::string CajaScriptText(const std::string& program) {
  std::string text =
      "#!/bin/bash\n"
      "# Opens Kivoret's settings on the folder chosen in Caja.\n"
      "target=${CAJA_SCRIPT_SELECTED_FILE_PATHS%%$'\\n'*}\n"
      "[ -n \"$target\" ] && [ -d \"$target\" ] || exit 0\n";
  text += "exec " + ShellQuote(program) + " \"$target\"\n";
  return text;
}

std::string ThunarCommand(const std::string& program, const std::string& scriptPath) {
  const std::string* target = &program;
  if (program.find('%') != std::string::npos && scriptPath.find('%') == std::string::npos)
    target = &scriptPath;
  std::string out;
  for (char c : ShellQuote(*target)) {
    out += c;
    if (c == '%') out += '%';
  }
  return out + " %f";
}

std::string ThunarActionText(const std::string& id, const std::string& name,
                             const std::string& command) {
  std::string text = "<action>\n\t<icon>" KV_APP_ID "</icon>\n";
  text += "\t<name>" + XmlEscape(name) + "</name>\n";
  text += "\t<unique-id>" + XmlEscape(id) + "</unique-id>\n";
  text += "\t<command>" + XmlEscape(command) + "</command>\n";
  text +=
      "\t<description></description>\n"
      "\t<patterns>*</patterns>\n"
      "\t<directories/>\n"
      "</action>\n";
  return text;
}

std::optional<std::string> WithThunarAction(const std::string& xml, const std::string& id,
                                            const std::string& action) {
  std::string out = xml;
  if (const auto ours = OurAction(xml, id)) {
    const Span whole = WholeLines(xml, *ours);
    const bool lines = whole.begin != ours->begin || whole.end != ours->end;
    out.replace(whole.begin, whole.end - whole.begin,
                lines ? action : action.substr(0, action.size() - 1));
    return out;
  }
  const std::size_t close = xml.rfind("</actions>");
  if (close != std::string::npos) {
    std::size_t lineStart = close;
    while (lineStart > 0 && (xml[lineStart - 1] == ' ' || xml[lineStart - 1] == '\t')) --lineStart;
    if (lineStart == 0 || xml[lineStart - 1] == '\n') return out.insert(lineStart, action);
    return out.insert(close, "\n" + action);
  }
  const std::size_t empty = xml.rfind("<actions/>");
  if (empty == std::string::npos) return std::nullopt;
  return out.replace(empty, 10, "<actions>\n" + action + "</actions>");
}

std::string WithoutThunarAction(const std::string& xml, const std::string& id) {
  std::string out = xml;
  if (const auto ours = OurAction(xml, id)) {
    const Span whole = WholeLines(xml, *ours);
    out.erase(whole.begin, whole.end - whole.begin);
  }
  return out;
}

bool HasThunarAction(const std::string& xml, const std::string& id) {
  return OurAction(xml, id).has_value();
}

bool InstallDropIns(const DropInFiles& files, const std::string& name, const std::string& program) {
  using lnx::DirName;
  using lnx::MakeDirs;
  using lnx::WriteFileAtomic;
  bool ok = MakeDirs(DirName(files.serviceMenu), 0755) &&
            WriteFileAtomic(files.serviceMenu, ServiceMenuText(name, program, files.nautilusScript),
                            0755);
  ok = MakeDirs(DirName(files.nautilusScript), 0755) &&
       WriteFileAtomic(files.nautilusScript, NautilusScriptText(program), 0755) && ok;
  ok = MakeDirs(DirName(files.nemoAction), 0755) &&
       WriteFileAtomic(files.nemoAction, NemoActionText(name, program, files.nautilusScript),
                       0644) &&
       ok;
  ok = MakeDirs(DirName(files.cajaScript), 0755) &&
       WriteFileAtomic(files.cajaScript, CajaScriptText(program), 0755) && ok;
  ok = InstallThunar(files, name, program) && ok;
  return ok;
}

bool RemoveDropIns(const DropInFiles& files) {
  bool ok = RemoveOne(files.serviceMenu);
  ok = RemoveOne(files.nemoAction) && ok;
  ok = RemoveOne(files.nautilusScript) && ok;
  ok = RemoveOne(files.cajaScript) && ok;
  ok = RemoveThunar(files) && ok;
  return ok;
}

std::optional<std::string> InstalledProgram(const DropInFiles& files, const std::string& name) {
  // The Caja script ends in `exec '<program>' "$target"`: the program comes from there, and the
  // comparisons below prove the reading right.
  const auto caja = lnx::ReadFile(files.cajaScript);
  constexpr std::string_view kHead = "\nexec '", kTail = "' \"$target\"\n";
  const std::size_t at = caja ? caja->rfind(kHead) : std::string::npos;
  if (at == std::string::npos || !caja->ends_with(kTail)) return std::nullopt;
  std::string program = caja->substr(at + kHead.size());
  program.resize(program.size() - kTail.size());
  for (std::size_t q = program.find("'\\''"); q != std::string::npos;
       q = program.find("'\\''", q + 1))
    program.replace(q, 4, "'");
  const auto holds = [](const std::string& path, const std::string& text) {
    const auto found = lnx::ReadFile(path);
    return found && *found == text;
  };
  if (*caja != CajaScriptText(program) ||
      !holds(files.nautilusScript, NautilusScriptText(program)) ||
      !holds(files.serviceMenu, ServiceMenuText(name, program, files.nautilusScript)) ||
      !holds(files.nemoAction, NemoActionText(name, program, files.nautilusScript)) ||
      !ThunarPresent(files))
    return std::nullopt;
  return program;
}

}  // namespace kv::lnx
