// Small file helpers on locale-encoded paths.
#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

namespace kv::linux_files {

// The whole file; nullopt with errno set when it cannot be read.
std::optional<std::string> ReadFile(const std::string& path);
// mkdir -p.
bool MakeDirs(const std::string& dir, mode_t mode = 0700);
// Writes a scratch file beside `path`, fsyncs it, renames it over `path`, fsyncs the directory.
bool WriteFileAtomic(const std::string& path, const std::string& bytes, mode_t mode);
// rename plus the fsyncs that make it durable.
bool ReplaceDurably(const std::string& source, const std::string& target);
std::string DirName(const std::string& path);

}  // namespace kv::linux_files
