// Small file helpers on locale-encoded paths.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>

#include "platform/toolkit.h"

namespace kv::lnx {

// The whole file; nullopt with errno set when it cannot be read.
std::optional<std::string> ReadFile(const std::string& path);
// The whole file, links followed, telling a missing file from one that cannot be read.
FileRead ReadWholeFile(const std::string& path);
// mkdir -p.
bool MakeDirs(const std::string& dir, mode_t mode = 0700);
// Writes a scratch file beside `path`, fsyncs it, renames it over `path`, fsyncs the directory.
bool WriteFileAtomic(const std::string& path, const std::string& bytes, mode_t mode);
// The settings file's replacement: links followed to the real file, which is replaced beside
// itself (the links stay); its mode, owner and group carried over; every write checked.
bool ReplaceWholeFile(const std::string& path, std::string_view bytes);
// rename plus the fsyncs that make it durable.
bool ReplaceDurably(const std::string& source, const std::string& target);
std::string DirName(const std::string& path);
// Toolkit::TestDirectory on Linux: found is a folder the user may enter. A bad name is one the
// file system cannot take at all: an embedded NUL, a character the locale cannot encode, or a
// name too long; a path that names nothing, or a file, is simply not found.
DirectoryState TestDirectory(const std::wstring& path);

}  // namespace kv::lnx
