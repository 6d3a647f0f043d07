// File helpers: whole reads, mkdir -p and durable replacement.
#include "files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

#include "codepage.h"
#include "unique_fd.h"

namespace kv::lnx {
namespace {

bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    const ssize_t n = ::write(fd, data.data(), data.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    data.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// The file a chain of links ends at (the last link's target, whether or not it exists).
std::string FollowLinks(std::string path) {
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    std::string target(PATH_MAX, '\0');
    const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
    if (n <= 0) return path;
    target.resize(static_cast<std::size_t>(n));
    path = target.front() == '/' ? target : DirName(path) + "/" + target;
  }
  return path;
}

bool FsyncPath(const std::string& path, int flags) {
  const UniqueFd fd{::open(path.c_str(), flags | O_CLOEXEC)};
  return fd && ::fsync(fd.get()) == 0;
}

}  // namespace

std::string DirName(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::optional<std::string> ReadFile(const std::string& path) {
  UniqueFd fd{::open(path.c_str(), O_RDONLY | O_CLOEXEC)};
  if (!fd) return std::nullopt;
  std::string out;
  char buf[65536];
  for (;;) {
    const ssize_t n = ::read(fd.get(), buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int e = errno;
      fd.Close();
      errno = e;
      return std::nullopt;
    }
    if (n == 0) break;
    out.append(buf, static_cast<std::size_t>(n));
  }
  return out;
}

FileRead ReadWholeFile(const std::string& path) {
  FileRead out;
  errno = 0;
  if (auto bytes = ReadFile(path)) {
    out.state = FileState::Ok;
    out.bytes = std::move(*bytes);
  } else {
    // Nothing there, or a path through a file: no settings yet. Anything else is a file we
    // may not see, which must not be taken for an empty one.
    out.state = errno == ENOENT || errno == ENOTDIR ? FileState::Missing : FileState::Unreadable;
  }
  return out;
}

bool ReplaceWholeFile(const std::string& path, std::string_view bytes) {
  const std::string target = FollowLinks(path);
  struct stat old {};
  const bool existed = ::stat(target.c_str(), &old) == 0;
  if (existed && !S_ISREG(old.st_mode)) return false;
  // A scratch file left by an interrupted save goes first; O_EXCL then makes sure that what
  // we write is a new file of ours, not something a stale name points at.
  const std::string scratch = target + ".new";
  if (::unlink(scratch.c_str()) != 0 && errno != ENOENT) return false;
  UniqueFd fd{
      ::open(scratch.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, existed ? 0600 : 0666)};
  if (!fd) return false;
  struct stat written {};
  bool ok = WriteAll(fd.get(), bytes) && ::fsync(fd.get()) == 0 &&
            ::fstat(fd.get(), &written) == 0 && written.st_size == static_cast<off_t>(bytes.size());
  if (ok && existed) {
    // Owner and group where we may (root, or a group of ours); the mode in any case.
    if (old.st_uid != written.st_uid || old.st_gid != written.st_gid) {
      if (::fchown(fd.get(), old.st_uid, old.st_gid) != 0) {
        (void)::fchown(fd.get(), static_cast<uid_t>(-1), old.st_gid);
      }
    }
    ok = ::fchmod(fd.get(), old.st_mode & 07777) == 0;
  }
  ok = fd.Close() && ok;
  ok = ok && ::rename(scratch.c_str(), target.c_str()) == 0;
  if (!ok) {
    ::unlink(scratch.c_str());
    return false;
  }
  FsyncPath(DirName(target), O_RDONLY | O_DIRECTORY);
  return true;
}

bool MakeDirs(const std::string& dir, mode_t mode) {
  if (dir.empty()) return false;
  struct stat st {};
  if (::stat(dir.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
  const std::string parent = DirName(dir);
  if (parent != dir && !MakeDirs(parent, mode)) return false;
  return ::mkdir(dir.c_str(), mode) == 0 || errno == EEXIST;
}

bool ReplaceDurably(const std::string& source, const std::string& target) {
  if (!FsyncPath(source, O_RDONLY)) return false;
  if (::rename(source.c_str(), target.c_str()) != 0) return false;
  // The rename itself lives in the directory.
  FsyncPath(DirName(target), O_RDONLY | O_DIRECTORY);
  return true;
}

bool WriteFileAtomic(const std::string& path, const std::string& bytes, mode_t mode) {
  const std::string temp = path + ".new";
  UniqueFd fd{::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode)};
  if (!fd) return false;
  bool ok = WriteAll(fd.get(), bytes);
  ok = ::fchmod(fd.get(), mode) == 0 && ok;  // the umask must not take the execute bits away
  ok = fd.Close() && ok;
  ok = ok && ReplaceDurably(temp, path);
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

DirectoryState TestDirectory(const std::wstring& path) {
  std::string p;
  if (!lnx::Encode(path, p) || p.find('\0') != std::string::npos) return DirectoryState::BadName;
  if (p.empty()) return DirectoryState::NotFound;
  struct stat st {};
  if (::stat(p.c_str(), &st) != 0)
    return errno == ENAMETOOLONG ? DirectoryState::BadName : DirectoryState::NotFound;
  return S_ISDIR(st.st_mode) && ::access(p.c_str(), R_OK | X_OK) == 0 ? DirectoryState::Found
                                                                      : DirectoryState::NotFound;
}

}  // namespace kv::lnx
