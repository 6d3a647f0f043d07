// The file-manager drop-ins for any program path and menu name, read back by a reader written
// here from the Desktop Entry and shell quoting rules. Input: the program, a NUL, the name.
// Invariants: the service menu has its nine lines; its Name reads back as the name and its
// Exec as exactly the program and "%f"; Nemo's Exec is the program (or the script when the
// program holds a "%") and "%F", its only "%"; the script's quoted program reads back.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "check.h"
#include "dropins.h"

static std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> out;
  std::istringstream in(text);
  for (std::string l; std::getline(in, l);) out.push_back(l);
  return out;
}

// A string value's escapes: \s \n \t \r \\ and nothing else.
static std::optional<std::string> Unescape(const std::string& v) {
  std::string out;
  for (std::size_t i = 0; i < v.size(); ++i) {
    if (v[i] != '\\')
      out += v[i];
    else if (++i == v.size() || std::string("sntr\\").find(v[i]) == std::string::npos)
      return {};
    else
      out += std::string(" \n\t\r\\")[std::string("sntr\\").find(v[i])];
  }
  return out;
}

// `"word" rest` where a backslash escapes only " ` $ \ (an unescaped ` or $ would expand) and,
// with `percents`, "%%" is one "%": the word, and `rest` in `tail`.
static std::optional<std::string> Quoted(const std::string& s, bool percents, std::string& tail) {
  if (s.empty() || s[0] != '"') return {};
  std::string out;
  for (std::size_t i = 1; i < s.size(); ++i) {
    const char c = s[i];
    if (c == '"') return tail = s.substr(i + 1), out;
    if (c == '`' || c == '$') return {};
    if (c == '\\' && (++i == s.size() || std::string("\"`$\\").find(s[i]) == std::string::npos))
      return {};
    if (percents && c == '%' && (++i == s.size() || s[i] != '%')) return {};
    out += s[i];
  }
  return {};
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string in(reinterpret_cast<const char*>(data), size);
  const std::size_t nul = in.find('\0');
  const std::string program = in.substr(0, nul);
  const std::string name = nul == std::string::npos ? "" : in.substr(nul + 1);
  if (program.empty() || name.find('\0') != std::string::npos) return 0;

  const auto menu = Lines(kv::lnx::ServiceMenuText(name, program));
  Check(menu.size() == 9 && menu[6] == "[Desktop Action register]", "nine lines");
  Check(menu[7].starts_with("Name=") && Unescape(menu[7].substr(5)) == name, "Name reads back");
  Check(menu[7].size() == 5 || (menu[7][5] != ' ' && menu[7][5] != '\t'), "no leading blank");
  const auto exec = menu[8].starts_with("Exec=") ? Unescape(menu[8].substr(5)) : std::nullopt;
  std::string tail;
  Check(exec && Quoted(*exec, true, tail) == program && tail == " %f", "Exec: program, %f");

  const std::string script = "/s/" + name;
  const bool plain = program.find('%') == std::string::npos;
  for (const auto& l : Lines(kv::lnx::NemoActionText(name, program, script))) {
    if (!l.starts_with("Exec=") || (!plain && script.find('%') != std::string::npos)) continue;
    const auto nemo = Unescape(l.substr(5));
    Check(nemo && Quoted(*nemo, false, tail) == (plain ? program : script) && tail == " %F",
          "Nemo starts the program on the folders");
  }
  const std::string quoted = kv::lnx::ShellQuote(program);
  std::string back;
  for (std::size_t i = 0; i < quoted.size();) {  // '...' words and \' glued together
    const std::size_t close = quoted[i] == '\'' ? quoted.find('\'', i + 1) : std::string::npos;
    if (close != std::string::npos)
      back += quoted.substr(i + 1, close - i - 1), i = close + 1;
    else if (quoted.compare(i, 2, "\\'") == 0)
      back += '\'', i += 2;
    else
      return Check(false, "the script's quoting"), 0;
  }
  Check(back == program, "the script's program reads back");
  return 0;
}
