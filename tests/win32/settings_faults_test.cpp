// "Setting.ini" through the core's save and load on the Win32 backend: CP932, links, a file
// another program holds, a full disk, huge values, a stale scratch file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "os_services_win32.h"
#include "scratch_dir.h"
#include "settings/settings_file.h"
#include "toolkit_win32.h"
#include "windows_api.h"

namespace kv::win32 {
namespace {

using namespace test;

namespace fs = std::filesystem;

class SettingsFaultsWin32 : public testing::Test {
 protected:
  void SetUp() override { UseDir(dir.dir()); }
  void UseDir(const std::wstring& d) {
    ctx.AppDir = d;
    file = d + L"Setting.ini";
  }
  void SetList(int n, std::size_t titleSize = 0) {
    ctx.FolderList = EmptyFolderList();
    for (int k = 1; k <= n; ++k) {
      std::wstring title = L"写真" + std::to_wstring(k);
      if (titleSize != 0) title.resize(titleSize, L'表');
      ctx.FolderList.push_back({title, L"C:\\表ソ\\" + std::to_wstring(k) + L"\\"});
    }
  }
  ProgramState Loaded() {
    ProgramState loaded{os, tk};
    loaded.AppDir = ctx.AppDir;
    LoadSettings(loaded);
    return loaded;
  }

  ScratchDir dir;
  win32::Win32OsServices os;
  win32::Win32Toolkit tk;
  ProgramState ctx{os, tk};
  std::wstring file;
};

// 表 and ソ end in the byte 0x5C, the backslash: a trap for byte-wise parsers. The number has
// its leading blank, as Windows writes it (Wine's own function drops it).
TEST_F(SettingsFaultsWin32, SavedWholeInCp932ReadBackAndKeptWhenItCannotBeReplaced) {
  ASSERT_EQ(GetACP(), 932u) << "needs LANG=ja_JP.UTF-8 (code page 932)";
  WriteBytes(file,
             "[Main]\r\nDrive=0\r\n[Folder001]\r\nTitle=A\r\nPath=B\r\n"
             "[Folder002]\r\nTitle=C\r\nPath=D\r\n");
  ctx.FolderList.push_back({L"写真", L"C:\\表ソ\\"});
  ASSERT_TRUE(SaveSettings(ctx));
  const std::string saved =
      "[Main]\r\nDrive= 1\r\n[Folder001]\r\nTitle=\x8e\xca\x90\x5e\r\n"
      "Path=C:\\\x95\x5c\x83\x5c\\\r\n";
  EXPECT_EQ(ReadBytes(file), saved);
  const ProgramState loaded = Loaded();
  EXPECT_EQ(loaded.FolderList, ctx.FolderList);
  EXPECT_EQ(loaded.ShowDrives, 1);

  ctx.FolderList.push_back({L"New", L"C:\\New\\"});
  {  // held open without share-delete: the file cannot be replaced meanwhile
    win32::UniqueFile held{CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                       OPEN_EXISTING, 0, nullptr)};
    ASSERT_TRUE(held);
    EXPECT_FALSE(SaveSettings(ctx));
  }
  EXPECT_EQ(ReadBytes(file), saved);
  EXPECT_FALSE(fs::exists(file + L".new"));
  // A non-empty directory where the scratch file would go: root may write anywhere, not there.
  fs::create_directories(file + L".new\\x");
  EXPECT_FALSE(SaveSettings(ctx));
  EXPECT_EQ(ReadBytes(file), saved);
}

// Wine cannot make a link itself: fs-cases.sh makes a Unix one (Setting.ini ->
// dotfiles/settings.ini) in the folder it names.
TEST_F(SettingsFaultsWin32, LinkedFileIsFollowedAndTheLinkStays) {
  const char* linked = std::getenv("KV_LINK_DIR");  // Wine shows its link as a plain file
  if (linked != nullptr) UseDir(fs::path(linked).wstring() + L"\\");
  const fs::path target = fs::path(ctx.AppDir) / L"dotfiles" / L"settings.ini";
  if (linked == nullptr) {
    fs::create_directories(target.parent_path());
    std::error_code ec;
    fs::create_symlink(target, file, ec);
    if (ec) GTEST_SKIP() << "run through fs-cases.sh: no symbolic links here: " << ec.message();
  }
  WriteBytes(target.wstring(), "[Folder001]\r\nTitle=Old\r\n");
  EXPECT_EQ(UBound(Loaded().FolderList), 1);
  SetList(3);
  ASSERT_TRUE(SaveSettings(ctx));
  if (linked == nullptr) EXPECT_TRUE(fs::is_symlink(file)) << "the link stays a link";
  EXPECT_EQ(Loaded().FolderList, ctx.FolderList);
  EXPECT_NE(ReadBytes(target.wstring()).value_or("").find("Title="), std::string::npos);
  EXPECT_EQ(ReadBytes(target.wstring()), ReadBytes(file));
  EXPECT_FALSE(fs::exists(target.wstring() + L".new"));
}

// Another program holds the file without sharing it: it is there but cannot be read, so it
// loads as no folders and a save leaves it alone.
TEST_F(SettingsFaultsWin32, FileThatCannotBeReadIsNeverOverwritten) {
  const std::string before = "[Folder001]\r\nTitle=A\r\n[Folder002]\r\nTitle=B\r\n";
  WriteBytes(file, before);
  {
    win32::UniqueFile held{
        CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)};
    ASSERT_TRUE(held);
    EXPECT_EQ(os.ReadWholeFile(file).state, FileState::Unreadable);
    EXPECT_EQ(UBound(Loaded().FolderList), 0);
    SetList(1);
    EXPECT_FALSE(SaveSettings(ctx));
  }
  EXPECT_EQ(ReadBytes(file), before);
  EXPECT_EQ(os.ReadWholeFile(dir.file(L"none.ini")).state, FileState::Missing);
  EXPECT_EQ(os.ReadWholeFile(dir.file(L"no\\such\\Setting.ini")).state, FileState::Missing);
}

// A full disk (a small tmpfs that fs-cases.sh mounts): the old file stays, nothing is left.
TEST_F(SettingsFaultsWin32, FullDiskKeepsTheOldFile) {
  const char* full = std::getenv("KV_FULL_DIR");
  if (full == nullptr) GTEST_SKIP() << "run through fs-cases.sh";
  std::wstring d = fs::path(full).wstring();
  if (d.back() != L'\\') d += L'\\';
  UseDir(d);
  SetList(20);
  ASSERT_TRUE(SaveSettings(ctx));
  const auto before = ReadBytes(file);
  WriteBytes(d + L"filler", std::string(64 * 1024 - before->size() - 4096, 'f'));
  for (std::size_t size : {8u * 1024, 60u * 1024, 2u * 1024 * 1024}) {
    SetList(3, size);
    EXPECT_FALSE(SaveSettings(ctx)) << size;
    EXPECT_EQ(ReadBytes(file), before);
    EXPECT_FALSE(fs::exists(file + L".new"));
  }
  fs::remove(d + L"filler");
  fs::remove(file);
}

// Wine's own profile function wrote 11 bytes of junk or nothing for a title this long.
TEST_F(SettingsFaultsWin32, MegabyteValuesRoundTrip) {
  SetList(2, 1 << 20);
  ctx.FolderList[2].Path = L"C:\\" + std::wstring(1 << 20, L'ソ') + L"\\";
  ASSERT_TRUE(SaveSettings(ctx));
  EXPECT_EQ(Loaded().FolderList, ctx.FolderList);
}

TEST_F(SettingsFaultsWin32, StaleScratchFileIsNeverReadAndIsReplaced) {
  WriteBytes(file + L".new", "[Folder001]\r\nTitle=Half");
  EXPECT_EQ(UBound(Loaded().FolderList), 0);
  SetList(2);
  ASSERT_TRUE(SaveSettings(ctx));
  EXPECT_FALSE(fs::exists(file + L".new"));
  EXPECT_EQ(Loaded().FolderList, ctx.FolderList);
}

}  // namespace
}  // namespace kv::win32
