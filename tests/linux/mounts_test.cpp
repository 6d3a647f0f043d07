// Mount table to drives: which mounts count, their order, escapes, labels and the five types.
#include "mounts.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace kv::linux_mounts {
namespace {

// A desktop machine's table, trimmed to what matters.
const char kTable[] =
    "22 1 0:21 / /sys rw,nosuid shared:7 - sysfs sysfs rw\n"
    "23 1 0:22 / /proc rw,nosuid shared:14 - proc proc rw\n"
    "24 1 0:5 / /dev rw,nosuid shared:2 - devtmpfs udev rw\n"
    "26 1 8:2 / / rw,relatime shared:1 - ext4 /dev/sda2 rw\n"
    "27 22 0:26 / /sys/fs/cgroup rw shared:9 - cgroup2 cgroup2 rw\n"
    "28 1 0:25 / /run rw,nosuid shared:5 - tmpfs tmpfs rw\n"
    "40 1 8:3 / /home rw,relatime shared:20 - ext4 /dev/sda3 rw\n"
    "41 1 0:40 / /tmp rw shared:21 - tmpfs tmpfs rw\n"
    "42 1 8:1 / /boot/efi rw shared:22 - vfat /dev/sda1 rw\n"
    "43 28 0:45 / /run/user/1000 rw shared:30 - tmpfs tmpfs rw\n"
    "44 28 8:17 / /run/media/u/USB\\040STICK rw shared:31 - vfat /dev/sdb1 rw\n"
    "45 1 11:0 / /media/cdrom rw shared:32 - iso9660 /dev/sr0 ro\n"
    "46 1 0:50 / /mnt/nas rw shared:33 - nfs4 nas:/export rw\n"
    "47 1 0:51 / /mnt/share rw shared:34 - cifs //srv/share rw\n"
    "48 1 0:52 / /mnt/ssh rw shared:35 - fuse.sshfs u@h:/ rw\n"
    "49 1 7:0 / /snap/core/1 ro shared:36 - squashfs /dev/loop0 ro\n"
    "50 1 0:53 / /proc/sys/fs/binfmt_misc rw shared:37 - binfmt_misc binfmt_misc rw\n"
    "51 1 0:54 / /var/lib/docker/overlay2/abc/merged rw - overlay overlay rw\n"
    "52 1 8:3 /u/share /srv/data rw shared:38 - ext4 /dev/sda3 rw\n"
    "53 1 8:2 /etc/hostname /etc/hostname rw - ext4 /dev/sda2 rw\n"
    "54 1 8:3 /u/notes.txt /srv/notes.txt rw - ext4 /dev/sda3 rw\n"
    "55 1 0:60 / /mnt/ram rw - ramfs none rw\n"
    "56 1 0:61 / /mnt/odd rw - fuse.mystery thing rw\n"
    "57 1 8:33 / /mnt/card rw - exfat /dev/sdc1 rw\n";

MachineFacts Facts() {
  MachineFacts f;
  static const std::map<std::string, std::string> labels{{"8:3", "Data Disk"},
                                                         {"8:17", "USB STICK"}};
  f.labelOf = [](const std::string& dev) -> std::optional<std::string> {
    const auto it = labels.find(dev);
    if (it == labels.end()) return std::nullopt;
    return it->second;
  };
  f.isRemovable = [](const std::string& dev) { return dev == "8:33" || dev == "11:0"; };
  f.isDirectory = [](const std::string& mp) { return mp != "/srv/notes.txt"; };
  return f;
}

std::vector<std::string> Roots(const std::vector<Mount>& mounts) {
  std::vector<std::string> out;
  for (const auto& m : mounts) out.push_back(m.root);
  return out;
}

TEST(MountTable, KeepsVolumesWorthOpeningInTableOrderRootFirst) {
  EXPECT_EQ(
      Roots(ParseMountInfo(kTable, Facts())),
      (std::vector<std::string>{"/", "/home/", "/tmp/", "/boot/efi/", "/run/media/u/USB STICK/",
                                "/media/cdrom/", "/mnt/nas/", "/mnt/share/", "/mnt/ssh/",
                                "/srv/data/", "/mnt/ram/", "/mnt/odd/", "/mnt/card/"}));
}

TEST(MountTable, TypesOfEachKind) {
  std::map<std::string, unsigned> types;
  for (const auto& m : ParseMountInfo(kTable, Facts())) types[m.root] = DriveTypeOf(m, Facts());
  const std::map<std::string, unsigned> expected{{"/", 3},
                                                 {"/home/", 3},
                                                 {"/tmp/", 6},
                                                 {"/boot/efi/", 3},
                                                 {"/run/media/u/USB STICK/", 2},
                                                 {"/media/cdrom/", 5},
                                                 {"/mnt/nas/", 4},
                                                 {"/mnt/share/", 4},
                                                 {"/mnt/ssh/", 4},
                                                 {"/srv/data/", 3},
                                                 {"/mnt/ram/", 6},
                                                 {"/mnt/odd/", 0},
                                                 {"/mnt/card/", 2}};
  EXPECT_EQ(types, expected);
}

TEST(MountTable, LabelsComeFromTheDevice) {
  const auto facts = Facts();
  std::map<std::string, std::string> labels;
  for (const auto& m : ParseMountInfo(kTable, facts)) {
    if (auto l = facts.labelOf(m.devNumber)) labels[m.root] = *l;
  }
  EXPECT_EQ(labels, (std::map<std::string, std::string>{{"/home/", "Data Disk"},
                                                        {"/srv/data/", "Data Disk"},
                                                        {"/run/media/u/USB STICK/", "USB STICK"}}));
}

TEST(MountTable, MountedOverKeepsPlaceTakesNewData) {
  const char table[] =
      "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n"
      "2 1 8:2 / /data rw - ext4 /dev/sda2 rw\n"
      "3 1 0:9 / /var rw - ext4 /dev/sda4 rw\n"
      "4 2 0:30 / /data rw - tmpfs tmpfs rw\n";
  const auto mounts = ParseMountInfo(table, Facts());
  ASSERT_EQ(Roots(mounts), (std::vector<std::string>{"/", "/data/", "/var/"}));
  EXPECT_EQ(mounts[1].fsType, "tmpfs");
}

TEST(MountTable, RootAlwaysPresentAndFirst) {
  const char table[] =
      "2 1 8:2 / /data rw - ext4 /dev/sda2 rw\n"
      "1 0 0:1 / / rw - overlay overlay rw\n"
      "garbage line\n";
  const auto mounts = ParseMountInfo(table, Facts());
  EXPECT_EQ(Roots(mounts), (std::vector<std::string>{"/", "/data/"}));
  EXPECT_EQ(DriveTypeOf(mounts[0], Facts()), 0u);
  EXPECT_EQ(Roots(ParseMountInfo("", Facts())), (std::vector<std::string>{"/"}));
}

TEST(MountTable, OctalEscapesDecoded) {
  const char table[] =
      "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n"
      "2 1 8:2 / /mnt/a\\040b\\011c\\134d rw - ext4 /dev/sda2 rw\n";
  EXPECT_EQ(ParseMountInfo(table, Facts())[1].root, "/mnt/a b\tc\\d/");
}

TEST(MountTable, LabelNameEscapes) {
  EXPECT_EQ(DecodeLabelName("My\\x20Disk"), "My Disk");
  EXPECT_EQ(DecodeLabelName("a\\x2fb\\x5c"), "a/b\\");
  EXPECT_EQ(DecodeLabelName("\\x2"), "\\x2");
  EXPECT_EQ(DecodeLabelName("\xE5\x86\x99"), "\xE5\x86\x99");
}

}  // namespace
}  // namespace kv::linux_mounts
