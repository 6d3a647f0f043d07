#include "app/command_line.h"

#include <algorithm>

namespace kv {

// Where "\" separates paths (Windows) the text is the raw command line, in which quotes only
// delimit, and no folder name can hold one: all of them go. Elsewhere the folder arrives as one
// argument and a quote in it is part of a name; only a pair wrapped around the whole argument (a
// path quoted once more by its caller) is taken off.
FolderArgument FolderFromCommandLine(const std::wstring& commandLine, wchar_t separator) {
  FolderArgument out{{}, commandLine};
  if (separator == L'\\') {
    std::erase(out.path, L'"');
  } else if (out.path.size() >= 2 && out.path.front() == L'"' && out.path.back() == L'"') {
    out.path = out.path.substr(1, out.path.size() - 2);
  }
  const auto last = out.path.rfind(separator);
  out.identifier = last == std::wstring::npos ? out.path : out.path.substr(last + 1);
  return out;
}

}  // namespace kv
