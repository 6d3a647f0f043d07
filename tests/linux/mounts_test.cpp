// Mount table to drives: which mounts count, their order, escapes, labels and the five types.
#include "mounts.h"

#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <fstream>

#include "launcher/drive_list.h"
#include "os_linux.h"

namespace kv::lnx {
namespace {

// The drive titles of a mount table, through the OS services as the launcher asks for them.
std::vector<std::wstring> Drives(const std::string& table) {
  std::setlocale(LC_ALL, "C.UTF-8");
  const std::string path = std::filesystem::temp_directory_path() / "kv-mountinfo";
  std::ofstream(path) << table;
  MachineFacts f;
  f.labelOf = [](const std::string& dev) {
    return dev == "8:3" ? std::optional<std::string>("Data Disk") : std::nullopt;
  };
  f.isRemovable = [](const std::string& dev) { return dev == "8:33" || dev == "11:0"; };
  f.isDirectory = [](const std::string& root) { return root != "/mnt/ssh/" && root != "/"; };
  LinuxOsServices os({"/nonexistent", "/nonexistent"}, f, path);
  std::vector<std::wstring> out;
  for (const auto& e : GetDriveList(os)) out.push_back(e.Title);
  std::filesystem::remove(path);
  return out;
}

TEST(MountTable, VolumesWorthOpeningInTableOrderRootFirstWithTypeAndLabel) {
  EXPECT_EQ(Drives("22 1 0:21 / /sys rw shared:7 - sysfs sysfs rw\n"
                   "23 1 0:22 / /proc rw shared:14 - proc proc rw\n"
                   "24 1 0:5 / /dev rw shared:2 - devtmpfs udev rw\n"
                   "40 1 8:3 / /home rw shared:20 - ext4 /dev/sda3 rw\n"
                   "26 1 8:2 / / rw shared:1 - ext4 /dev/sda2 rw\n"
                   "28 1 0:25 / /run rw shared:5 - tmpfs tmpfs rw\n"
                   "44 28 8:17 / /run/media/u/USB\\040STICK rw shared:31 - vfat /dev/sdb1 rw\n"
                   "45 1 11:0 / /media/cdrom rw shared:32 - iso9660 /dev/sr0 ro\n"
                   "46 1 0:50 / /mnt/nas rw shared:33 - nfs4 nas:/export rw\n"
                   "48 1 0:52 / /mnt/ssh rw shared:35 - fuse.sshfs u@h:/ rw\n"
                   "49 1 7:0 / /snap/core/1 ro shared:36 - squashfs /dev/loop0 ro\n"
                   "51 1 0:54 / /var/lib/docker/overlay2/abc/merged rw - overlay overlay rw\n"
                   "52 1 8:3 /u/share /srv/data rw shared:38 - ext4 /dev/sda3 rw\n"
                   "53 1 8:2 /etc/hostname /etc/hostname rw - ext4 /dev/sda2 rw\n"
                   "55 1 0:60 / /mnt/ram rw - ramfs none rw\n"
                   "56 1 0:61 / /mnt/odd rw - fuse.mystery thing rw\n"
                   "57 1 8:33 / /mnt/card rw - exfat /dev/sdc1 rw\n"
                   "58 1 8:2 / /mnt/a\\040b\\011c\\134d rw - ext4 /dev/sda2 rw\n"
                   "59 40 0:30 / /home rw - tmpfs tmpfs rw\n"
                   "garbage line\n"),
            (std::vector<std::wstring>{
                L"/ [ローカルディスク]", L"/home/ [RAMディスク]",
                L"/run/media/u/USB STICK/ [リムーバブル]", L"/media/cdrom/ [CD-ROMドライブ]",
                L"/mnt/nas/ [ネットワークドライブ]", L"/srv/data/ [Data Disk]",
                L"/mnt/ram/ [RAMディスク]", L"/mnt/odd/", L"/mnt/card/ [リムーバブル]",
                L"/mnt/a b\tc\\d/ [ローカルディスク]"}))
      << "/mnt/ssh is a bind-mounted file";
  EXPECT_EQ(Drives(""), std::vector<std::wstring>{L"/"});
}

TEST(MountTable, LabelNameEscapes) {
  EXPECT_EQ(DecodeLabelName("My\\x20Disk"), "My Disk");
  EXPECT_EQ(DecodeLabelName("a\\x2fb\\x5c"), "a/b\\");
  EXPECT_EQ(DecodeLabelName("\\x2"), "\\x2");
}

}  // namespace
}  // namespace kv::lnx
