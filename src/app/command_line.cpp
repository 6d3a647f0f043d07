#include "app/command_line.h"

#include <algorithm>

namespace kv {

FolderArgument FolderFromCommandLine(const std::wstring& commandLine, wchar_t separator) {
  FolderArgument out{{}, commandLine};
  std::erase(out.path, L'"');
  const auto last = out.path.rfind(separator);
  out.identifier = last == std::wstring::npos ? out.path : out.path.substr(last + 1);
  return out;
}

}  // namespace kv
