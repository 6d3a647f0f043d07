// Mounted volumes as the program's drives: which mounts count, their roots, labels and types.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kv::lnx {

struct Mount {
  std::string root;       // mount point ending in "/"
  std::string devNumber;  // "major:minor"
  std::string fsType;
  std::string source;
};

// What the mapping needs to know about the machine; the real one reads /dev and /sys.
struct MachineFacts {
  std::function<std::optional<std::string>(const std::string& devNumber)> labelOf;
  std::function<bool(const std::string& devNumber)> isRemovable;
  std::function<bool(const std::string& mountPoint)> isDirectory;
};

MachineFacts RealMachine();

// The mounts worth opening, in table order with "/" first; a mount point that is mounted over
// keeps its first place and takes the later mount's data. Reads nothing but the table.
std::vector<Mount> ParseMountInfo(std::string_view mountinfo);

// A file bind-mounted over a file is no folder to open. Looks at the mount point itself, so it
// can hang for as long as the file system does.
bool BindMountedFile(const Mount& m, const MachineFacts& facts);

// Drive type number (2 removable, 3 fixed, 4 remote, 5 optical, 6 RAM, 0 unknown).
unsigned DriveTypeOf(const Mount& m, const MachineFacts& facts);

// "\x20"-style escapes of /dev/disk/by-label names.
std::string DecodeLabelName(std::string_view name);

}  // namespace kv::lnx
