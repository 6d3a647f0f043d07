// "Setting.ini" against its surroundings on the real file system: links, permissions, a full
// disk, huge values and lists, a stale scratch file. Permission cases run as "nobody" when the
// tests run as root (root reads any file).
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <clocale>
#include <filesystem>
#include <functional>

#include "codepage.h"
#include "os_linux.h"
#include "settings/settings_file.h"
#include "temp_dir.h"
#include "toolkit_qt.h"

namespace kv::lnx {
namespace {

using namespace testing;
namespace fs = std::filesystem;

// The unprivileged user the permission cases run as: nobody under root, else ourselves.
const uid_t kNobody = ::geteuid() == 0 ? 65534 : ::geteuid();
const gid_t kNogroup = ::geteuid() == 0 ? 65534 : ::getegid();

// Runs `body` as nobody in a child process (as root), or here (as anyone else); its result.
bool AsUnprivileged(const std::function<bool()>& body) {
  if (::geteuid() != 0) return body();
  const pid_t pid = ::fork();
  if (pid == 0) {
    const bool dropped =
        ::setgroups(0, nullptr) == 0 && ::setgid(kNogroup) == 0 && ::setuid(kNobody) == 0;
    ::_exit(dropped && body() ? 0 : 1);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

mode_t ModeOf(const std::string& path) {
  struct stat st {};
  ::stat(path.c_str(), &st);
  return st.st_mode & 07777;
}

class SettingsFaults : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { std::setlocale(LC_ALL, "C.UTF-8"); }
  void SetUp() override {
    ::chmod(dir_.path().c_str(), 0777);  // nobody works here too
    UseDir(dir_.path());
  }
  void UseDir(const std::string& dir) {
    ctx_.AppDir = lnx::Decode(dir) + L"/";
    file_ = dir + "/Setting.ini";
  }
  void SetList(int n, std::size_t valueSize = 0) {
    ctx_.FolderList = EmptyFolderList();
    for (int k = 1; k <= n; ++k) {
      std::wstring title = L"フォルダ" + std::to_wstring(k);
      if (valueSize != 0) title.resize(valueSize, L'x');
      ctx_.FolderList.push_back({title, L"/home/u/folder" + std::to_wstring(k) + L"/"});
    }
  }
  FolderArray Loaded() {  // and the drive option in loadedDrives_
    ProgramState loaded{os_, tk_};
    loaded.AppDir = ctx_.AppDir;
    loaded.ShowDrives = 7;
    LoadSettings(loaded);
    loadedDrives_ = loaded.ShowDrives;
    return loaded.FolderList;
  }

  TempDir dir_;
  LinuxOsServices os_{{dir_.path(), dir_.path()}, {}, "/nonexistent"};
  QtToolkit tk_{0, nullptr};
  ProgramState ctx_{os_, tk_};
  std::string file_;
  std::uint8_t loadedDrives_ = 0;
};

// The per-user settings folder is made on the first save into it; no other folder is.
TEST_F(SettingsFaults, OnlyTheSettingsFolderIsMadeOnTheFirstSave) {
  os_.SetCreatableDirectory(lnx::Decode(dir_ / "cfg/kivoret/"));
  SetList(2);
  UseDir(dir_ / "other");
  EXPECT_FALSE(SaveSettings(ctx_));
  EXPECT_FALSE(std::filesystem::exists(dir_ / "other"));
  UseDir(dir_ / "cfg/kivoret");
  ASSERT_TRUE(SaveSettings(ctx_));
  EXPECT_EQ(Loaded(), ctx_.FolderList);
}

// A link is followed to the file it names, which is replaced beside itself; the link stays.
TEST_F(SettingsFaults, SymlinkedFileIsFollowedAndTheLinkStays) {
  fs::create_directories(dir_ / "dotfiles/kv");
  const std::string target = dir_ / "dotfiles/kv/settings.ini";
  struct Case {
    const char* name;
    std::vector<std::pair<std::string, std::string>> links;  // link -> what it says
    bool targetExists;
  };
  const Case cases[] = {
      {"relative link", {{"Setting.ini", "dotfiles/kv/settings.ini"}}, true},
      {"absolute link", {{"Setting.ini", target}}, true},
      {"link to a link", {{"Setting.ini", "hop"}, {"hop", "dotfiles/kv/settings.ini"}}, true},
      {"dangling link", {{"Setting.ini", "dotfiles/kv/settings.ini"}}, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    fs::remove(target);
    for (const auto& [link, to] : c.links) {
      fs::remove(dir_ / link);
      fs::create_symlink(to, dir_ / link);
    }
    if (c.targetExists) WriteBytes(target, "[Folder001]\r\nTitle=Old\r\nPath=/old/\r\n");
    EXPECT_EQ(UBound(Loaded()), c.targetExists ? 1 : 0);
    SetList(3);
    ASSERT_TRUE(SaveSettings(ctx_));
    for (const auto& [link, to] : c.links) {
      EXPECT_TRUE(fs::is_symlink(dir_ / link)) << link;
      EXPECT_EQ(fs::read_symlink(dir_ / link), to);
    }
    EXPECT_EQ(Loaded(), ctx_.FolderList);
    EXPECT_NE(ReadBytes(target).find("Title=フォルダ3"), std::string::npos);
    EXPECT_FALSE(fs::exists(target + ".new"));
    EXPECT_FALSE(fs::exists(file_ + ".new"));
  }
}

// Present but unreadable: loads as no folders, and a save refuses to replace it.
TEST_F(SettingsFaults, UnreadableFileIsNeverOverwritten) {
  const std::string before = "[Folder001]\r\nTitle=A\r\n[Folder002]\r\nTitle=B\r\n";
  struct Case {
    const char* name;
    uid_t owner;
    mode_t mode;
  };
  for (const Case& c :
       {Case{"another user's 0600", 0, 0600}, Case{"own file, mode 000", kNobody, 0}}) {
    SCOPED_TRACE(c.name);
    if (c.owner == 0 && ::geteuid() != 0) continue;  // only root can make another user's file
    WriteBytes(file_, before);
    ASSERT_EQ(::chown(file_.c_str(), c.owner, c.owner == 0 ? 0 : kNogroup), 0);
    ASSERT_EQ(::chmod(file_.c_str(), c.mode), 0);
    SetList(1);
    EXPECT_TRUE(AsUnprivileged([&] {
      ProgramState loaded{os_, tk_};
      loaded.AppDir = ctx_.AppDir;
      loaded.ShowDrives = 0;
      LoadSettings(loaded);
      return os_.ReadWholeFile(ctx_.AppDir + L"Setting.ini").state == FileState::Unreadable &&
             UBound(loaded.FolderList) == 0 && loaded.ShowDrives == 1 && !SaveSettings(ctx_);
    }));
    EXPECT_EQ(ReadBytes(file_), before);
    EXPECT_EQ(ModeOf(file_), c.mode);
    EXPECT_FALSE(fs::exists(file_ + ".new"));
  }
  // A folder in the file's place cannot be read either.
  fs::remove(file_);
  fs::create_directory(file_);
  EXPECT_EQ(os_.ReadWholeFile(ctx_.AppDir + L"Setting.ini").state, FileState::Unreadable);
  EXPECT_FALSE(SaveSettings(ctx_));
  EXPECT_TRUE(fs::is_directory(file_));
  // Missing, and a path through a file, are simply no settings yet.
  EXPECT_EQ(os_.ReadWholeFile(ctx_.AppDir + L"nothing.ini").state, FileState::Missing);
  WriteBytes(dir_ / "plain", "x");
  EXPECT_EQ(os_.ReadWholeFile(lnx::Decode(dir_ / "plain/Setting.ini")).state, FileState::Missing);
}

// A full disk: every write is checked, the old file stays and no scratch file is left.
TEST_F(SettingsFaults, FullDiskKeepsTheOldFile) {
  const std::string mnt = dir_ / "small";
  fs::create_directory(mnt);
  if (::mount("tmpfs", mnt.c_str(), "tmpfs", 0, "size=64k") != 0)
    GTEST_SKIP() << "mounting a tmpfs needs root";
  struct Unmount {
    std::string at;
    ~Unmount() { ::umount2(at.c_str(), MNT_DETACH); }
  } unmount{mnt};
  UseDir(mnt);
  SetList(20);
  ASSERT_TRUE(SaveSettings(ctx_));
  const std::string before = ReadBytes(file_);
  // Fill the rest, then ask for more room than is left.
  WriteBytes(mnt + "/filler", std::string(64 * 1024 - before.size() - 4096, 'f'));
  for (std::size_t size : {8u * 1024, 60u * 1024, 2u * 1024 * 1024}) {
    SetList(3, size);
    EXPECT_FALSE(SaveSettings(ctx_)) << size;
    EXPECT_EQ(ReadBytes(file_), before);
    EXPECT_FALSE(fs::exists(file_ + ".new"));
  }
}

// Values of any length: a megabyte each way, through save and load.
TEST_F(SettingsFaults, MegabyteValuesRoundTrip) {
  SetList(2, 1 << 20);
  ctx_.FolderList[2].Path = L"/" + std::wstring(1 << 20, L'パ') + L"/";
  ASSERT_TRUE(SaveSettings(ctx_));
  EXPECT_EQ(Loaded(), ctx_.FolderList);
}

// The new file keeps the old one's mode, owner and group; a new file gets the umask's mode.
TEST_F(SettingsFaults, PermissionsAndOwnerAreKept) {
  for (mode_t mode : {0600, 0640, 0604}) {
    WriteBytes(file_, "[Main]\r\nDrive=0\r\n");
    ASSERT_EQ(::chmod(file_.c_str(), mode), 0);
    ASSERT_EQ(::chown(file_.c_str(), kNobody, kNogroup), 0);
    SetList(2);
    EXPECT_TRUE(AsUnprivileged([&] { return SaveSettings(ctx_); })) << mode;
    struct stat st {};
    ASSERT_EQ(::stat(file_.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, mode);
    EXPECT_EQ(st.st_uid, kNobody);
    EXPECT_EQ(st.st_gid, kNogroup);
    EXPECT_EQ(Loaded(), ctx_.FolderList);
    // Root saving another user's file leaves it theirs.
    ASSERT_TRUE(SaveSettings(ctx_));
    ASSERT_EQ(::stat(file_.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, mode);
    EXPECT_TRUE(::geteuid() != 0 || st.st_uid == kNobody) << st.st_uid;
  }
  for (mode_t mask : {022, 077}) {
    fs::remove(file_);
    const mode_t old = ::umask(mask);
    EXPECT_TRUE(SaveSettings(ctx_));
    ::umask(old);
    EXPECT_EQ(ModeOf(file_), 0666 & ~mask);
  }
}

// A scratch file left by an interrupted save is never read as settings and goes at the next
// save, even when it is a link to another file (which must stay as it was).
TEST_F(SettingsFaults, StaleScratchFileIsNeverReadAndIsReplaced) {
  const std::string scratch = file_ + ".new";
  const std::string half = "[Main]\r\nDrive= 0\r\n[Folder001]\r\nTitle=Half\r\nPa";
  WriteBytes(scratch, half);
  EXPECT_EQ(UBound(Loaded()), 0);
  EXPECT_EQ(loadedDrives_, 1);
  SetList(2);
  ctx_.ShowDrives = 1;
  ASSERT_TRUE(SaveSettings(ctx_));
  EXPECT_FALSE(fs::exists(scratch));
  EXPECT_EQ(Loaded(), ctx_.FolderList);

  const std::string other = dir_ / "other.txt";
  WriteBytes(other, "keep me");
  fs::create_symlink(other, scratch);
  SetList(3);
  ASSERT_TRUE(SaveSettings(ctx_));
  EXPECT_EQ(ReadBytes(other), "keep me");
  EXPECT_FALSE(fs::exists(scratch) || fs::is_symlink(scratch));
  EXPECT_EQ(Loaded(), ctx_.FolderList);
  WriteBytes(scratch, half);  // beside the settings file: still not read
  EXPECT_EQ(Loaded(), ctx_.FolderList);
  EXPECT_EQ(loadedDrives_, 1);
}

// 10 MB of entries (about 190,000): load and save stay linear (about a second each here; a
// quadratic save took minutes), with room for a busy machine.
TEST_F(SettingsFaults, TenMegabytesOfEntriesLoadAndSaveQuickly) {
  SetList(190000);
  const auto t0 = std::chrono::steady_clock::now();
  ASSERT_TRUE(SaveSettings(ctx_));
  const auto t1 = std::chrono::steady_clock::now();
  const FolderArray loaded = Loaded();
  const auto t2 = std::chrono::steady_clock::now();
  EXPECT_GT(fs::file_size(file_), 9u << 20);
  EXPECT_EQ(loaded, ctx_.FolderList);
  EXPECT_LT(t1 - t0, std::chrono::seconds(20)) << "save";
  EXPECT_LT(t2 - t1, std::chrono::seconds(20)) << "load";
}

}  // namespace
}  // namespace kv::lnx
