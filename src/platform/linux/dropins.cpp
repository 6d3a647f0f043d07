// Writing, removing and detecting the file-manager drop-ins.
#include "dropins.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "files.h"

namespace kv::linux_shell {
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

}  // namespace

DropInFiles FilesFor(const std::string& dataHome, const std::string& verb,
                     const std::string& menuName) {
  const std::string stem = FileStem(verb);
  std::string script = menuName;
  for (char& c : script) {
    if (c == '/') c = '_';
  }
  if (script.empty() || script == "." || script == "..") script = stem;
  return {dataHome + "/kio/servicemenus/" + stem + ".desktop",
          dataHome + "/nemo/actions/" + stem + ".nemo_action",
          dataHome + "/nautilus/scripts/" + script};
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

std::string ServiceMenuText(const std::string& name, const std::string& program) {
  std::string text =
      "[Desktop Entry]\n"
      "Type=Service\n"
      "MimeType=inode/directory;\n"
      "X-KDE-ServiceTypes=KonqPopupMenu/Plugin\n"
      "Actions=register;\n"
      "\n"
      "[Desktop Action register]\n";
  text += "Name=" + EscapeStringValue(name) + "\n";
  text += "Exec=" + DesktopExecArg(program) + " %f\n";
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

bool Install(const DropInFiles& files, const std::string& name, const std::string& program) {
  using linux_files::DirName;
  using linux_files::MakeDirs;
  using linux_files::WriteFileAtomic;
  bool ok = MakeDirs(DirName(files.serviceMenu), 0755) &&
            WriteFileAtomic(files.serviceMenu, ServiceMenuText(name, program), 0755);
  ok = MakeDirs(DirName(files.nautilusScript), 0755) &&
       WriteFileAtomic(files.nautilusScript, NautilusScriptText(program), 0755) && ok;
  ok = MakeDirs(DirName(files.nemoAction), 0755) &&
       WriteFileAtomic(files.nemoAction, NemoActionText(name, program, files.nautilusScript),
                       0644) &&
       ok;
  return ok;
}

bool Remove(const DropInFiles& files) {
  bool ok = RemoveOne(files.serviceMenu);
  ok = RemoveOne(files.nemoAction) && ok;
  ok = RemoveOne(files.nautilusScript) && ok;
  return ok;
}

bool Present(const DropInFiles& files) {
  return Exists(files.serviceMenu) && Exists(files.nemoAction) && Exists(files.nautilusScript);
}

}  // namespace kv::linux_shell
