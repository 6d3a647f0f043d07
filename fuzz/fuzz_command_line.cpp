// The folder that the context-menu entry hands over on the command line, and the registry
// command that carries the program.
//
// Invariants, for any line and either separator:
//  - with "\" the path is the line without its double quotes (they only delimit there); with
//    "/" it is the line, less one pair of quotes wrapped around all of it: nothing else changes;
//  - the identifier holds no separator and is the path's end, right after its last separator
//    (the whole path when it has none);
//  - a folder quoted as the entry passes it ("<folder>", no quote inside) comes back as itself;
//  - the program of `"<program>" "%1"` is <program> for any non-empty program.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/command_line.h"
#include "check.h"
#include "dropins.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const wchar_t sep = data[0] & 1 ? L'\\' : L'/';
  // Two bytes a character, so that the separators and quotes come up often.
  std::wstring line;
  for (std::size_t i = 1; i + 1 < size; i += 2) line += wchar_t(data[i] | (data[i + 1] << 8));

  const kv::FolderArgument got = kv::FolderFromCommandLine(line, sep);
  std::wstring unquoted = line;
  std::erase(unquoted, L'"');
  const bool wrapped = line.size() >= 2 && line.front() == L'"' && line.back() == L'"';
  const std::wstring expected = sep == L'\\' ? unquoted
                                : wrapped    ? line.substr(1, line.size() - 2)
                                             : line;
  Check(got.path == expected, "path is the line less its delimiting quotes");
  Check(got.identifier.find(sep) == std::wstring::npos, "identifier has no separator");
  Check(got.path.ends_with(got.identifier), "identifier ends the path");
  const std::size_t head = got.path.size() - got.identifier.size();
  Check(head == 0 ? got.path.find(sep) == std::wstring::npos : got.path[head - 1] == sep,
        "identifier starts after the last separator");

  if (unquoted == line) {
    const kv::FolderArgument quoted = kv::FolderFromCommandLine(L"\"" + line + L"\"", sep);
    Check(quoted.path == line && quoted.identifier == got.identifier, "a quoted folder");
  }

  const std::string program(reinterpret_cast<const char*>(data) + 1, size - 1);
  if (!program.empty()) {
    const auto back = kv::lnx::ProgramOfCommand("\"" + program + "\" \"%1\"");
    Check(back && *back == program, "program of the registry command");
  }
  return 0;
}
