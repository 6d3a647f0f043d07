// The settings file against its surroundings: a missing or unreadable file, long values and a
// stale scratch file for every backend (SettingsFile); a link, a full disk and kept attributes
// where the backend has them (DiskSettingsFile, not for the fake).
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "contract/file_backend.h"
#include "settings/settings_file.h"

namespace kv::contract {

class SettingsFile : public ::testing::TestWithParam<Backend> {
 protected:
  void SetUp() override { Use(b->Dir()); }
  void Use(const std::wstring& dir) {
    ctx.AppDir = dir;
    file = dir + L"Setting.ini";
  }
  void SetList(int n, std::size_t titleSize = 0) {
    ctx.FolderList = EmptyFolderList();
    for (int k = 1; k <= n; ++k) {
      std::wstring title = L"写真" + std::to_wstring(k);  // 表 and ソ end in 0x5C in CP932
      if (titleSize != 0) title.resize(titleSize, L'表');
      ctx.FolderList.push_back({title, ctx.AppDir + L"表ソ" + std::to_wstring(k)});
    }
  }
  ProgramState Loaded() {
    ProgramState loaded{b->Os(), b->Tk()};
    loaded.AppDir = ctx.AppDir;
    loaded.ShowDrives = 0;
    LoadSettings(loaded);
    return loaded;
  }
  void ExpectNoScratch(const std::wstring& f) { EXPECT_FALSE(b->Read(f + L".new")) << "scratch"; }

  std::unique_ptr<FileBackend> b = GetParam().make();
  ProgramState ctx{b->Os(), b->Tk()};
  std::wstring file;
};

// A stale scratch file, left by an interrupted save, is never read and goes at the next save.
TEST_P(SettingsFile, MissingLoadsDefaultsAndASaveMakesAPlainFileOfAnySize) {
  b->Write(file + L".new", "[Main]\r\nDrive=0\r\n[Folder001]\r\nTitle=Half");
  EXPECT_EQ(Loaded().ShowDrives, 1);
  EXPECT_EQ(UBound(Loaded().FolderList), 0);
  EXPECT_FALSE(b->Read(file));
  EXPECT_EQ(b->Os().ReadWholeFile(b->Dir() + L"gone" + b->Dir().back() + L"Setting.ini").state,
            FileState::Missing)
      << "below a folder that is not there";
  SetList(2, 1 << 20);
  ctx.FolderList[2].Path += std::wstring(1 << 20, L'ソ');
  ASSERT_TRUE(SaveSettings(ctx));
  EXPECT_EQ(Loaded().FolderList, ctx.FolderList);
  ExpectNoScratch(file);
  b->Write(ctx.AppDir + L"plain", "");
  EXPECT_EQ(b->Attributes(file), b->Attributes(ctx.AppDir + L"plain"));
}

TEST_P(SettingsFile, UnreadableIsNeverOverwritten) {
  const std::string before = "[Folder001]\r\nTitle=A\r\n";
  b->Write(file, before);
  b->MakeUnreadable(file);
  EXPECT_EQ(b->Os().ReadWholeFile(file).state, FileState::Unreadable);
  EXPECT_EQ(UBound(Loaded().FolderList), 0);
  EXPECT_EQ(Loaded().ShowDrives, 1);
  SetList(1);
  EXPECT_FALSE(SaveSettings(ctx));
  b->Restore(file);
  EXPECT_EQ(b->Read(file), before);
  ExpectNoScratch(file);
}

class DiskSettingsFile : public SettingsFile {};

// The link's target is replaced beside itself; the link stays.
TEST_P(DiskSettingsFile, LinkIsFollowed) {
  const auto dir = b->LinkedDir();
  if (!dir) GTEST_SKIP() << "no links here";
  Use(*dir);
  const std::wstring target = *dir + L"dotfiles" + dir->back() + L"settings.ini";
  b->Write(target, "[Folder001]\r\nTitle=Old\r\n");
  EXPECT_EQ(UBound(Loaded().FolderList), 1);
  SetList(3);
  ASSERT_TRUE(SaveSettings(ctx));
  EXPECT_EQ(Loaded().FolderList, ctx.FolderList);
  EXPECT_EQ(b->Read(target), b->Read(file)) << "the target took the new list";
  ExpectNoScratch(target);
  ExpectNoScratch(file);
}

TEST_P(DiskSettingsFile, FullDiskKeepsTheOldFile) {
  const auto dir = b->FullDir();
  if (!dir) GTEST_SKIP() << "no small file system here";
  Use(*dir);
  SetList(20);
  ASSERT_TRUE(SaveSettings(ctx));
  const auto before = b->Read(file);
  b->Write(*dir + L"filler", std::string(64 * 1024 - before->size() - 4096, 'f'));
  for (std::size_t size : {8u << 10, 60u << 10, 2u << 20}) {
    SetList(3, size);
    EXPECT_FALSE(SaveSettings(ctx)) << size;
    EXPECT_EQ(b->Read(file), before);
    ExpectNoScratch(file);
  }
}

TEST_P(DiskSettingsFile, AttributesAreKept) {
  b->Write(file, "[Main]\r\nDrive=0\r\n");
  b->ChangeAttributes(file);
  const auto before = b->Attributes(file);
  if (!before) GTEST_SKIP() << "no attributes here";
  SetList(2);
  ASSERT_TRUE(SaveSettings(ctx));
  EXPECT_EQ(b->Attributes(file), before);
}

}  // namespace kv::contract
