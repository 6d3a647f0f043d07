// The mount table parser on arbitrary /proc/self/mountinfo text.
//
// Invariants:
//  - no crash, leak or undefined behaviour on any bytes;
//  - the drives start with "/", every root ends in "/" and appears once;
//  - every drive type is one of 0, 2, 3, 4, 5, 6;
//  - a well-formed line appended to the input, its mount point written with mountinfo's octal
//    escapes, yields exactly that mount point (with its "/"), device, type and source;
//  - a /dev/disk/by-label name decodes to at most as many bytes, and "\xHH" of every byte
//    decodes back to that byte.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <set>
#include <string>
#include <string_view>

#include "check.h"
#include "mounts.h"

namespace {

using kv::lnx::MachineFacts;

std::string OctalEscaped(std::string_view s) {
  std::string out;
  for (char c : s) {
    const auto b = static_cast<unsigned char>(c);
    if (c == ' ' || c == '\t' || c == '\n' || c == '\\') {
      char buf[5];
      std::snprintf(buf, sizeof buf, "\\%03o", b);
      out += buf;
    } else {
      out += c;
    }
  }
  return out;
}

// A mountinfo field holds no blank and no line break, escaped or not.
std::string Field(std::string_view s, const char* fallback) {
  std::string out;
  for (char c : s) {
    if (c != ' ' && c != '\n' && c != '\\' && c != '\t') out += c;
  }
  return out.empty() ? fallback : out;
}

MachineFacts Facts() {
  MachineFacts f;
  f.labelOf = [](const std::string& dev) -> std::optional<std::string> {
    if (dev.size() % 2 == 0) return std::nullopt;
    return "L" + dev;
  };
  f.isRemovable = [](const std::string& dev) { return !dev.empty() && dev.back() == '1'; };
  // "file" stands for a bind-mounted file.
  f.isDirectory = [](const std::string& mp) { return mp.find("file") == std::string::npos; };
  return f;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view in(reinterpret_cast<const char*>(data), size);
  const MachineFacts facts = Facts();

  const auto drives = kv::lnx::ParseMountInfo(in);
  Check(!drives.empty() && drives.front().root == "/", "\"/\" comes first");
  std::set<std::string> roots;
  for (const auto& m : drives) {
    Check(!m.root.empty() && m.root.back() == '/', "a root ends in /");
    Check(roots.insert(m.root).second, "each root once");
    const unsigned type = kv::lnx::DriveTypeOf(m, facts);
    Check(type == 0 || (type >= 2 && type <= 6), "a known drive type");
  }

  // The input's first bytes, up to a NUL, become the last line's mount point below /mnt/.
  const std::size_t cut = std::min(in.find('\0'), in.size());
  const std::string name(in.substr(0, std::min<std::size_t>(cut, 64)));
  if (name.find("file") == std::string::npos) {
    const std::string mountPoint = "/mnt/" + name;
    const std::string dev = "8:" + std::to_string(size % 100);
    // No pseudo file system's name starts with "x", so the mount always counts.
    const std::string type = "x" + Field(in.substr(std::min<std::size_t>(size, 64), 8), "fs");
    const std::string source = Field(in.substr(std::min<std::size_t>(size, 72), 8), "/dev/x");
    std::string table(in);
    table += "\n99 1 " + dev + " / " + OctalEscaped(mountPoint) + " rw shared:1 - " + type + " " +
             source + " rw\n";
    const auto withLast = kv::lnx::ParseMountInfo(table);
    const std::string root = mountPoint.ends_with('/') ? mountPoint : mountPoint + "/";
    bool found = false;
    for (const auto& m : withLast) {
      if (m.root != root) continue;
      found = true;
      Check(m.devNumber == dev && m.fsType == type && m.source == source,
            "the last mount's data is kept");
    }
    Check(found, "a mount below /mnt/ is a drive");
  }

  const std::string label = kv::lnx::DecodeLabelName(in);
  Check(label.size() <= in.size(), "a label never grows");
  std::string hex;
  for (char c : in.substr(0, 256)) {
    char buf[5];
    std::snprintf(buf, sizeof buf, "\\x%02x", static_cast<unsigned char>(c));
    hex += buf;
  }
  Check(kv::lnx::DecodeLabelName(hex) == in.substr(0, 256), "\\xHH decodes");
  return 0;
}
