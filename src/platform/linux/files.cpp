// File helpers: whole reads, mkdir -p and durable replacement.
#include "files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace kv::linux_files {
namespace {

bool FsyncPath(const std::string& path, int flags) {
  const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
  if (fd < 0) return false;
  const bool ok = ::fsync(fd) == 0;
  ::close(fd);
  return ok;
}

}  // namespace

std::string DirName(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::optional<std::string> ReadFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return std::nullopt;
  std::string out;
  char buf[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int e = errno;
      ::close(fd);
      errno = e;
      return std::nullopt;
    }
    if (n == 0) break;
    out.append(buf, static_cast<std::size_t>(n));
  }
  ::close(fd);
  return out;
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
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, mode);
  if (fd < 0) return false;
  bool ok = true;
  for (std::size_t done = 0; ok && done < bytes.size();) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    ok = n > 0;
    if (ok) done += static_cast<std::size_t>(n);
  }
  ok = ::fchmod(fd, mode) == 0 && ok;  // the umask must not take the execute bits away
  ok = ::close(fd) == 0 && ok;
  ok = ok && ReplaceDurably(temp, path);
  if (!ok) ::unlink(temp.c_str());
  return ok;
}

}  // namespace kv::linux_files
