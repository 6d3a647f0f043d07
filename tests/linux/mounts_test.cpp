// Mount table to drives: which mounts count, their order, escapes, labels and the five types.
#include "mounts.h"

#include <gtest/gtest.h>

#include <fstream>

#include "launcher/drive_list.h"
#include "os_linux.h"
#include "temp_dir.h"

namespace kv::lnx {
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
    "57 1 8:33 / /mnt/card rw - exfat /dev/sdc1 rw\n"
    "58 1 8:2 / /mnt/a\\040b\\011c\\134d rw - ext4 /dev/sda2 rw\n";

MachineFacts Facts() {
  MachineFacts f;
  f.labelOf = [](const std::string& dev) -> std::optional<std::string> {
    if (dev == "8:3") return "Data Disk";
    if (dev == "8:17") return "USB STICK";
    return std::nullopt;
  };
  f.isRemovable = [](const std::string& dev) { return dev == "8:33" || dev == "11:0"; };
  f.isDirectory = [](const std::string& mp) {
    if (mp == "/") ADD_FAILURE() << "the root was looked at";
    return mp != "/srv/notes.txt/";
  };
  return f;
}

std::vector<std::string> Roots(const std::vector<Mount>& mounts) {
  std::vector<std::string> out;
  for (const auto& m : mounts) out.push_back(m.root);
  return out;
}

TEST(MountTable, VolumesWorthOpeningInTableOrderRootFirstWithTypeAndLabel) {
  const MachineFacts facts = Facts();
  std::vector<std::string> got;
  for (const auto& m : ParseMountInfo(kTable)) {
    got.push_back(m.root + " " + std::to_string(DriveTypeOf(m, facts)) + " " +
                  facts.labelOf(m.devNumber).value_or("-"));
  }
  EXPECT_EQ(got, (std::vector<std::string>{
                     "/ 3 -", "/home/ 3 Data Disk", "/tmp/ 6 -", "/boot/efi/ 3 -",
                     "/run/media/u/USB STICK/ 2 USB STICK", "/media/cdrom/ 5 -", "/mnt/nas/ 4 -",
                     "/mnt/share/ 4 -", "/mnt/ssh/ 4 -", "/srv/data/ 3 Data Disk",
                     "/srv/notes.txt/ 3 Data Disk", "/mnt/ram/ 6 -", "/mnt/odd/ 0 -",
                     "/mnt/card/ 2 -", "/mnt/a b\tc\\d/ 3 -"}));
}

TEST(MountTable, MountedOverKeepsPlaceTakesNewDataAndRootIsAlwaysFirst) {
  const auto over = ParseMountInfo(
      "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n"
      "2 1 8:2 / /data rw - ext4 /dev/sda2 rw\n"
      "3 1 0:9 / /var rw - ext4 /dev/sda4 rw\n"
      "4 2 0:30 / /data rw - tmpfs tmpfs rw\n");
  ASSERT_EQ(Roots(over), (std::vector<std::string>{"/", "/data/", "/var/"}));
  EXPECT_EQ(over[1].fsType, "tmpfs");
  const auto late = ParseMountInfo(
      "2 1 8:2 / /data rw - ext4 /dev/sda2 rw\n"
      "1 0 0:1 / / rw - overlay overlay rw\n"
      "garbage line\n");
  EXPECT_EQ(Roots(late), (std::vector<std::string>{"/", "/data/"}));
  EXPECT_EQ(DriveTypeOf(late[0], Facts()), 0u);
  EXPECT_EQ(Roots(ParseMountInfo("")), (std::vector<std::string>{"/"}));
}

// The whole drive step on a table: types and labels from the machine, the bind-mounted file
// weeded out by its own query, and no mount point looked at before the queries run.
TEST(MountTable, DriveListOfATable) {
  kv::testing::TempDir dir;
  const std::string table = dir.path() + "/mountinfo";
  std::ofstream(table) << kTable;
  bool enumerating = true;
  MachineFacts facts = Facts();
  facts.isDirectory = [&enumerating, real = facts.isDirectory](const std::string& mp) {
    if (enumerating) ADD_FAILURE() << mp << " looked at while enumerating";
    return real(mp);
  };
  LinuxOsServices os({dir.path(), dir.path()}, facts, table);
  const std::wstring roots = os.GetLogicalDriveStrings();
  EXPECT_NE(roots.find(L"/srv/notes.txt/"), std::wstring::npos);
  enumerating = false;
  std::vector<std::wstring> titles;
  for (const auto& e : GetDriveList(os)) titles.push_back(e.Title);
  EXPECT_EQ(titles, (std::vector<std::wstring>{
                        L"/ [ローカルディスク]", L"/home/ [Data Disk]", L"/tmp/ [RAMディスク]",
                        L"/boot/efi/ [ローカルディスク]", L"/run/media/u/USB STICK/ [USB STICK]",
                        L"/media/cdrom/ [CD-ROMドライブ]", L"/mnt/nas/ [ネットワークドライブ]",
                        L"/mnt/share/ [ネットワークドライブ]", L"/mnt/ssh/ [ネットワークドライブ]",
                        L"/srv/data/ [Data Disk]", L"/mnt/ram/ [RAMディスク]", L"/mnt/odd/",
                        L"/mnt/card/ [リムーバブル]", L"/mnt/a b\tc\\d/ [ローカルディスク]"}));
}

TEST(MountTable, LabelNameEscapes) {
  EXPECT_EQ(DecodeLabelName("My\\x20Disk"), "My Disk");
  EXPECT_EQ(DecodeLabelName("a\\x2fb\\x5c"), "a/b\\");
  EXPECT_EQ(DecodeLabelName("\\x2"), "\\x2");
  EXPECT_EQ(DecodeLabelName("\xE5\x86\x99"), "\xE5\x86\x99");
}

}  // namespace
}  // namespace kv::lnx
