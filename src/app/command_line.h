// The folder that the context-menu entry passes on the command line.
#pragma once

#include <string>

namespace kv {

struct FolderArgument {
  std::wstring identifier;  // the last path component
  std::wstring path;        // the line without the quotes that only delimit it
};

FolderArgument FolderFromCommandLine(const std::wstring& commandLine, wchar_t separator);

}  // namespace kv
