// The mount table parser on any /proc/self/mountinfo text, and label names.
// Invariants: "/" comes first, every root ends in "/" and appears once, every type is one of
// 0, 2 to 6; a mount point appended with mountinfo's octal escapes comes back as itself; a label
// name never grows and "\xHH" of every byte decodes back to it.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <set>
#include <string>

#include "check.h"
#include "mounts.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string in(reinterpret_cast<const char*>(data), size);
  kv::lnx::MachineFacts facts;
  facts.labelOf = [](const std::string&) { return std::nullopt; };
  facts.isRemovable = [](const std::string& dev) { return dev.ends_with('1'); };
  const auto drives = kv::lnx::ParseMountInfo(in);
  Check(!drives.empty() && drives.front().root == "/", "\"/\" comes first");
  std::set<std::string> roots;
  for (const auto& m : drives) {
    Check(m.root.ends_with('/') && roots.insert(m.root).second, "a root ends in / and is once");
    const unsigned type = kv::lnx::DriveTypeOf(m, facts);
    Check(type == 0 || (type >= 2 && type <= 6), "a known drive type");
  }
  const std::string point = "/mnt/" + in.substr(0, std::min<std::size_t>(in.find('\0'), 64));
  const auto escape = [](char c, const char* format) {
    char buf[5];
    std::snprintf(buf, sizeof buf, format, static_cast<unsigned char>(c));
    return std::string(buf);
  };
  std::string escaped, hex;
  for (char c : point)
    escaped += std::string(" \t\n\\").find(c) == std::string::npos ? std::string(1, c)
                                                                   : escape(c, "\\%03o");
  bool found = false;
  for (const auto& m : kv::lnx::ParseMountInfo(in + "\n99 1 8:1 / " + escaped + " rw - xfs s rw\n"))
    found |= m.root == point + (point.ends_with('/') ? "" : "/") && m.fsType == "xfs";
  Check(found, "an appended mount below /mnt/ is a drive");

  Check(kv::lnx::DecodeLabelName(in).size() <= in.size(), "a label never grows");
  for (char c : in.substr(0, 256)) hex += escape(c, "\\x%02x");
  Check(kv::lnx::DecodeLabelName(hex) == in.substr(0, 256), "\\xHH decodes");
  return 0;
}
