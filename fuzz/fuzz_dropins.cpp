// The file-manager drop-ins for any program path and menu name, read back by parsers written
// here from the Desktop Entry rules (string escapes, then Exec quoting and field codes) and
// from the POSIX shell's quoting rules, independently of the writer.
//
// Input: the program path, a NUL, the menu name.
//
// Invariants:
//  - the service menu has exactly its nine lines: no name or path can add a line or a key;
//  - its Name reads back as the name, and its Exec line splits into exactly two arguments,
//    the program path and the %f field code: the entry starts that program with that folder;
//  - the Nemo action's Exec is the quoted program (as the shell reads it) and the %F code, the
//    only "%" in the line; a program with a "%" falls back to the script, or the action is
//    inactive when the script path has one too;
//  - the script's single-quoted program reads back as the program.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "check.h"
#include "dropins.h"

namespace {

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t nl = text.find('\n', pos);
    out.push_back(text.substr(pos, nl - pos));
    if (nl == std::string::npos) break;
    pos = nl + 1;
  }
  return out;
}

// The escapes of a string value: \s \n \t \r \\; any other backslash is an error.
std::optional<std::string> UnescapeString(std::string_view v) {
  std::string out;
  for (std::size_t i = 0; i < v.size(); ++i) {
    if (v[i] != '\\') {
      out += v[i];
      continue;
    }
    if (++i == v.size()) return std::nullopt;
    switch (v[i]) {
      case 's':
        out += ' ';
        break;
      case 'n':
        out += '\n';
        break;
      case 't':
        out += '\t';
        break;
      case 'r':
        out += '\r';
        break;
      case '\\':
        out += '\\';
        break;
      default:
        return std::nullopt;
    }
  }
  return out;
}

// An argument of an Exec line, with field codes marked: "%f" alone becomes this.
constexpr std::string_view kFieldF = "\x01%f\x01";

// The Exec rules: arguments separated by spaces; a quoted argument is enclosed in double
// quotes, inside which only ", `, $ and \ are escaped with a backslash; reserved characters
// never stand unquoted; then "%%" is a literal "%" and "%f" a field code.
std::optional<std::vector<std::string>> ParseExec(std::string_view exec) {
  constexpr std::string_view kReserved = " \t\n\"'\\><~|&;$*?#()`";
  std::vector<std::string> raw;
  std::vector<bool> quoted;
  std::size_t i = 0;
  while (i < exec.size()) {
    if (exec[i] == ' ') {
      ++i;
      continue;
    }
    std::string arg;
    if (exec[i] == '"') {
      for (++i;; ++i) {
        if (i == exec.size()) return std::nullopt;  // unterminated
        const char c = exec[i];
        if (c == '"') break;
        if (c == '\\') {
          if (++i == exec.size()) return std::nullopt;
          if (std::string_view("\"`$\\").find(exec[i]) == std::string_view::npos) {
            return std::nullopt;
          }
          arg += exec[i];
          continue;
        }
        if (c == '`' || c == '$') return std::nullopt;  // must be escaped inside quotes
        arg += c;
      }
      ++i;
      if (i < exec.size() && exec[i] != ' ') return std::nullopt;  // "a"b is not one argument
      raw.push_back(arg);
      quoted.push_back(true);
      continue;
    }
    while (i < exec.size() && exec[i] != ' ') {
      if (kReserved.find(exec[i]) != std::string_view::npos) return std::nullopt;
      arg += exec[i++];
    }
    raw.push_back(arg);
    quoted.push_back(false);
  }
  std::vector<std::string> out;
  for (std::size_t a = 0; a < raw.size(); ++a) {
    if (!quoted[a] && raw[a] == "%f") {
      out.emplace_back(kFieldF);
      continue;
    }
    std::string arg;
    for (std::size_t k = 0; k < raw[a].size(); ++k) {
      if (raw[a][k] != '%') {
        arg += raw[a][k];
        continue;
      }
      if (k + 1 == raw[a].size() || raw[a][k + 1] != '%') return std::nullopt;
      arg += '%';
      ++k;
    }
    out.push_back(arg);
  }
  return out;
}

// The first word of a POSIX shell line when it is one double-quoted string: inside, a
// backslash escapes only $ ` " \ and a line break (which it removes).
std::optional<std::string> ShellDoubleQuoted(std::string_view s, std::size_t& i) {
  if (i >= s.size() || s[i] != '"') return std::nullopt;
  std::string out;
  for (++i; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '"') {
      ++i;
      return out;
    }
    if (c == '$' || c == '`') return std::nullopt;  // would expand
    if (c == '\\' && i + 1 < s.size()) {
      const char n = s[i + 1];
      if (n == '\n') {
        ++i;
        continue;
      }
      if (n == '$' || n == '`' || n == '"' || n == '\\') {
        out += n;
        ++i;
        continue;
      }
    }
    out += c;
  }
  return std::nullopt;
}

// Single-quoted words and escaped quotes ('\''), glued together, up to the end.
std::optional<std::string> ShellSingleQuoted(std::string_view s) {
  std::string out;
  std::size_t i = 0;
  while (i < s.size()) {
    if (s[i] == '\'') {
      const std::size_t close = s.find('\'', i + 1);
      if (close == std::string_view::npos) return std::nullopt;
      out.append(s.substr(i + 1, close - i - 1));
      i = close + 1;
    } else if (s.substr(i, 2) == "\\'") {
      out += '\'';
      i += 2;
    } else {
      return std::nullopt;
    }
  }
  return out;
}

std::string ValueOf(const std::vector<std::string>& lines, std::string_view key) {
  for (const auto& l : lines) {
    if (l.starts_with(key) && l.size() > key.size() && l[key.size()] == '=') {
      return l.substr(key.size() + 1);
    }
  }
  Check(false, "the key is there");
  return {};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view in(reinterpret_cast<const char*>(data), size);
  const std::size_t nul = in.find('\0');
  const std::string program(in.substr(0, nul));
  const std::string name(nul == std::string_view::npos ? "" : in.substr(nul + 1));
  if (program.empty() || name.find('\0') != std::string::npos) return 0;

  const std::vector<std::string> menu = Lines(kv::lnx::ServiceMenuText(name, program));
  Check(menu.size() == 9, "nine lines");
  Check(menu[6] == "[Desktop Action register]", "the action's group");
  Check(menu[7].starts_with("Name=") && menu[8].starts_with("Exec="), "Name and Exec");
  const auto shownName = UnescapeString(menu[7].substr(5));
  Check(shownName && *shownName == name, "Name reads back");
  // Blanks after "=" are not part of a value.
  Check(menu[7].size() == 5 || (menu[7][5] != ' ' && menu[7][5] != '\t'), "no leading blank");
  const auto execValue = UnescapeString(menu[8].substr(5));
  Check(execValue.has_value(), "Exec is a valid string");
  const auto args = ParseExec(*execValue);
  Check(args.has_value(), "Exec follows the quoting rules");
  Check(args->size() == 2, "exactly the program and the folder");
  Check((*args)[0] == program, "the program is the program");
  Check((*args)[1] == kFieldF, "the folder is the %f field");

  const std::string script = "/s/" + name;
  const std::vector<std::string> nemo = Lines(kv::lnx::NemoActionText(name, program, script));
  Check(nemo.size() == 7 && nemo[0] == "[Nemo Action]", "the action's seven lines");
  const auto nemoName = UnescapeString(ValueOf(nemo, "Name"));
  Check(nemoName && *nemoName == name, "Nemo's Name reads back");
  const std::string active = ValueOf(nemo, "Active");
  const bool scriptUsable = script.find('%') == std::string::npos;
  const bool programUsable = program.find('%') == std::string::npos;
  Check(active == (programUsable || scriptUsable ? "true" : "false"), "active when it can be");
  const auto nemoExec = UnescapeString(ValueOf(nemo, "Exec"));
  Check(nemoExec.has_value(), "Nemo's Exec is a valid string");
  Check(nemoExec->ends_with(" %F") && nemoExec->find('%') == nemoExec->size() - 2,
        "one field code, at the end");
  if (active == "true") {
    std::size_t pos = 0;
    const auto target = ShellDoubleQuoted(*nemoExec, pos);
    Check(target && *target == (programUsable ? program : script), "Nemo starts the program");
    Check(nemoExec->substr(pos) == " %F", "then the folders");
  }

  const std::vector<std::string> sh = Lines(kv::lnx::NautilusScriptText(program));
  Check(sh[0] == "#!/bin/bash", "a bash script");
  const std::string quoted = kv::lnx::ShellQuote(program);
  const auto back = ShellSingleQuoted(quoted);
  Check(back && *back == program, "the script's program reads back");
  return 0;
}
