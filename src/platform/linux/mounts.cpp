// Reading /proc/self/mountinfo into drive roots; the machine facts come in as functions.
#include "mounts.h"

#include <dirent.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdlib>
#include <fstream>

#include "unique_fd.h"

namespace kv::lnx {
namespace {

constexpr std::string_view kPseudo[] = {
    "proc",     "sysfs",      "cgroup",    "cgroup2",         "devpts",      "devtmpfs",
    "mqueue",   "debugfs",    "tracefs",   "securityfs",      "pstore",      "bpf",
    "configfs", "fusectl",    "hugetlbfs", "autofs",          "binfmt_misc", "efivarfs",
    "nsfs",     "rpc_pipefs", "selinuxfs", "fuse.gvfsd-fuse", "fuse.portal", "fuse.lxcfs"};

constexpr std::string_view kNetwork[] = {
    "nfs",       "nfs4",        "cifs", "smb3", "smbfs",     "sshfs",          "fuse.sshfs",
    "davfs",     "fuse.davfs2", "9p",   "afs",  "glusterfs", "fuse.glusterfs", "ceph",
    "fuse.ceph", "fuse.rclone"};

constexpr std::string_view kLocalFs[] = {"ext2",  "ext3",    "ext4",     "xfs",     "btrfs", "zfs",
                                         "f2fs",  "jfs",     "reiserfs", "vfat",    "exfat", "ntfs",
                                         "ntfs3", "fuseblk", "hfsplus",  "bcachefs"};

// Trees that hold the system's plumbing rather than anything a user opens.
constexpr std::string_view kHiddenTrees[] = {"/proc/", "/sys/", "/dev/",           "/run/",
                                             "/snap/", "/etc/", "/var/lib/docker/"};

template <std::size_t N>
bool In(const std::string_view (&set)[N], std::string_view v) {
  return std::find(std::begin(set), std::end(set), v) != std::end(set);
}

// mountinfo writes space, tab, newline and backslash as three octal digits.
std::string DecodeOctal(std::string_view s) {
  std::string out;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\\' && i + 3 < s.size() &&
        std::all_of(s.begin() + i + 1, s.begin() + i + 4,
                    [](char c) { return c >= '0' && c <= '7'; })) {
      out.push_back(
          static_cast<char>((s[i + 1] - '0') * 64 + (s[i + 2] - '0') * 8 + (s[i + 3] - '0')));
      i += 3;
    } else {
      out.push_back(s[i]);
    }
  }
  return out;
}

std::vector<std::string_view> Fields(std::string_view line) {
  std::vector<std::string_view> out;
  std::size_t pos = 0;
  while (pos < line.size()) {
    const std::size_t end = std::min(line.find(' ', pos), line.size());
    if (end > pos) out.push_back(line.substr(pos, end - pos));
    pos = end + 1;
  }
  return out;
}

// Decided from the table alone: a look at the mount point itself may hang, so it waits for the
// drive's own query (BindMountedFile).
bool Worth(const Mount& m) {
  if (m.root == "/") return true;
  if (In(kPseudo, m.fsType)) return false;
  if (m.root.starts_with("/run/media/")) return true;
  for (std::string_view tree : kHiddenTrees) {
    if (m.root.starts_with(tree)) return false;
  }
  return !m.root.starts_with("/var/lib/containers/");
}

std::string ReadSmallFile(const std::string& path) {
  std::ifstream in(path);
  std::string s;
  std::getline(in, s);
  return s;
}

}  // namespace

std::string DecodeLabelName(std::string_view name) {
  std::string out;
  for (std::size_t i = 0; i < name.size(); ++i) {
    if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x' &&
        std::isxdigit(static_cast<unsigned char>(name[i + 2])) &&
        std::isxdigit(static_cast<unsigned char>(name[i + 3]))) {
      out.push_back(static_cast<char>(std::stoi(std::string(name.substr(i + 2, 2)), nullptr, 16)));
      i += 3;
    } else {
      out.push_back(name[i]);
    }
  }
  return out;
}

std::vector<Mount> ParseMountInfo(std::string_view mountinfo) {
  std::vector<Mount> out;
  std::size_t pos = 0;
  while (pos < mountinfo.size()) {
    const std::size_t nl = std::min(mountinfo.find('\n', pos), mountinfo.size());
    const std::string_view line = mountinfo.substr(pos, nl - pos);
    pos = nl + 1;
    // id parent maj:min root mount-point options [optional...] - fstype source super-options
    const std::vector<std::string_view> f = Fields(line);
    const auto dash = std::find(f.begin(), f.end(), std::string_view("-"));
    if (f.size() < 6 || dash == f.end() || f.end() - dash < 3) continue;
    const std::string mountPoint = DecodeOctal(f[4]);
    Mount m{mountPoint.ends_with('/') ? mountPoint : mountPoint + "/", std::string(f[2]),
            DecodeOctal(*(dash + 1)), DecodeOctal(*(dash + 2))};
    const auto same =
        std::find_if(out.begin(), out.end(), [&](const Mount& o) { return o.root == m.root; });
    if (!Worth(m)) {
      // Whatever now covers that mount point hides the earlier mount there too.
      if (same != out.end()) out.erase(same);
      continue;
    }
    if (same != out.end()) {
      *same = std::move(m);
    } else {
      out.push_back(std::move(m));
    }
  }
  const auto root =
      std::find_if(out.begin(), out.end(), [](const Mount& m) { return m.root == "/"; });
  if (root == out.end()) {
    out.insert(out.begin(), Mount{"/", "", "", ""});
  } else {
    std::rotate(out.begin(), root, root + 1);
  }
  return out;
}

bool BindMountedFile(const Mount& m, const MachineFacts& facts) {
  return m.root != "/" && facts.isDirectory && !facts.isDirectory(m.root);
}

unsigned DriveTypeOf(const Mount& m, const MachineFacts& facts) {
  if (m.fsType == "iso9660" || m.fsType == "udf" || m.source.starts_with("/dev/sr")) return 5;
  if (In(kNetwork, m.fsType)) return 4;
  if (m.fsType == "tmpfs" || m.fsType == "ramfs") return 6;
  if (!m.devNumber.empty() && facts.isRemovable(m.devNumber)) return 2;
  if (m.root.starts_with("/media/") || m.root.starts_with("/run/media/")) return 2;
  if (m.source.starts_with("/dev/") || In(kLocalFs, m.fsType)) return 3;
  return 0;
}

MachineFacts RealMachine() {
  MachineFacts facts;
  facts.labelOf = [](const std::string& devNumber) -> std::optional<std::string> {
    const UniqueDir dir{::opendir("/dev/disk/by-label")};
    if (!dir) return std::nullopt;
    std::optional<std::string> found;
    while (dirent* e = ::readdir(dir.get())) {
      if (e->d_name[0] == '.') continue;
      struct stat st {};
      const std::string path = std::string("/dev/disk/by-label/") + e->d_name;
      if (::stat(path.c_str(), &st) != 0 || !S_ISBLK(st.st_mode)) continue;
      if (std::to_string(major(st.st_rdev)) + ":" + std::to_string(minor(st.st_rdev)) ==
          devNumber) {
        found = DecodeLabelName(e->d_name);
        break;
      }
    }
    return found;
  };
  facts.isRemovable = [](const std::string& devNumber) {
    const std::string dev = "/sys/dev/block/" + devNumber;
    if (ReadSmallFile(dev + "/removable") == "1") return true;
    // A partition carries the flag on its disk, the directory above it.
    char resolved[PATH_MAX];
    if (::realpath(dev.c_str(), resolved) == nullptr) return false;
    std::string parent(resolved);
    parent.resize(parent.rfind('/'));
    return ReadSmallFile(parent + "/removable") == "1";
  };
  facts.isDirectory = [](const std::string& mountPoint) {
    struct stat st {};
    return ::stat(mountPoint.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  };
  return facts;
}

}  // namespace kv::lnx
