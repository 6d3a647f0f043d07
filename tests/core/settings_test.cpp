// Loading and saving "Setting.ini" on the fake profile functions.
#include <gtest/gtest.h>

#include "fakes/harness.h"
#include "settings/settings_file.h"

namespace kv::test {
namespace {

class SettingsFileTest : public ::testing::Test {
 protected:
  Harness h;
  std::vector<FolderEntry> Loaded() const {
    return {h.ctx.FolderList.begin() + 1, h.ctx.FolderList.end()};
  }
};

TEST_F(SettingsFileTest, MissingFileGivesDefaultsAndCreatesNothing) {
  h.ctx.ShowDrives = 0;
  LoadSettings(h.ctx);
  EXPECT_EQ(h.ctx.ShowDrives, 1);
  EXPECT_EQ(UBound(h.ctx.FolderList), 0);
  EXPECT_TRUE(h.os.files.empty());
}

TEST_F(SettingsFileTest, LoadingStopsAtFirstGapOrEmptyTitle) {
  h.WriteIni({{L"Folder001", L"Title", L"A"},
              {L"Folder001", L"Path", L"C:\\A\\"},
              {L"Folder002", L"Title", L"B"},
              {L"Folder004", L"Title", L"D"},
              {L"Folder004", L"Path", L"C:\\D\\"}});
  LoadSettings(h.ctx);
  EXPECT_EQ(Loaded(), (std::vector<FolderEntry>{{L"A", L"C:\\A\\"}, {L"B", L""}}));

  Harness empty;
  empty.WriteIni({{L"Folder001", L"Title", L""}, {L"Folder002", L"Title", L"B"}});
  LoadSettings(empty.ctx);
  EXPECT_EQ(UBound(empty.ctx.FolderList), 0);
}

TEST(DriveValueTest, AnyNonZeroValueShowsTheDrives) {
  const std::pair<const wchar_t*, int> cases[] = {
      // nullptr: no "Drive" key
      {L"0", 0}, {nullptr, 1}, {L" 1", 1}, {L"1", 1}, {L"2", 1}, {L"256", 1}, {L" 0", 0}};
  for (auto [value, expected] : cases) {
    Harness h;
    h.WriteIni({{L"Folder001", L"Title", L"A"}});
    if (value) h.WriteIni({{L"Main", L"Drive", value}});
    LoadSettings(h.ctx);
    EXPECT_EQ(h.ctx.ShowDrives, expected) << (value ? value : L"none");
  }
}

// A save writes the whole file in this form, numbered from one; sections of an earlier, longer
// list and any others go.
TEST(SaveFormatTest, SaveWritesExactFormat) {
  struct Case {
    std::uint8_t drives;
    std::vector<FolderEntry> list;
    const wchar_t* expected;
  };
  for (const Case& c :
       {Case{0,
             {{L"写真", L"D:\\写真\\"}, {L"Docs", L""}},
             L"[Main]\r\nDrive= 0\r\n[Folder001]\r\nTitle=写真\r\nPath=D:\\写真\\\r\n"
             L"[Folder002]\r\nTitle=Docs\r\nPath=\r\n"},
        Case{1, {}, L"[Main]\r\nDrive= 1\r\n"},
        Case{1,
             {{L"B", L""}, {L"C", L""}},
             L"[Main]\r\nDrive= 1\r\n[Folder001]\r\nTitle=B\r\nPath=\r\n"
             L"[Folder002]\r\nTitle=C\r\nPath=\r\n"}}) {
    Harness h;
    h.WriteIni({{L"Folder001", L"Title", L"A"},
                {L"Folder002", L"Title", L"B"},
                {L"Folder003", L"Title", L"C"},
                {L"Extra", L"Key", L"x"}});
    h.ctx.ShowDrives = c.drives;
    h.ctx.FolderList = EmptyFolderList();
    h.ctx.FolderList.insert(h.ctx.FolderList.end(), c.list.begin(), c.list.end());
    ASSERT_TRUE(SaveSettings(h.ctx));
    EXPECT_EQ(h.os.FileText(h.SettingsFile()), c.expected);
    EXPECT_EQ(h.os.files.count(h.SettingsFile() + L".new"), 0u) << "no scratch file left";
  }
}

TEST_F(SettingsFileTest, SaveThenLoadGivesTheSameState) {
  const std::wstring longPath = L"C:\\" + std::wstring(300, L'x') + L"\\";
  h.ctx.ShowDrives = 0;
  h.AddFolders({{L"One", L"C:\\One\\"}, {L"長い", longPath}, {L"Three", L"E:\\"}});
  const FolderArray saved = h.ctx.FolderList;
  ASSERT_TRUE(SaveSettings(h.ctx));
  h.ctx.FolderList = EmptyFolderList();
  h.ctx.ShowDrives = 1;
  LoadSettings(h.ctx);
  EXPECT_EQ(h.ctx.ShowDrives, 0);
  EXPECT_EQ(h.ctx.FolderList, saved);
}

// The profile functions strip outer blanks and one pair of outer quotes on reading: the round
// trip above holds only for values without them, here as in the real program.
TEST_F(SettingsFileTest, QuotesAndOuterBlanksDoNotSurviveARoundTrip) {
  h.AddFolders({{L"\"Photos\"", L"  C:\\Photos\\ "}, {L"'x'y'", L"\t'C:\\'"}});
  ASSERT_TRUE(SaveSettings(h.ctx));
  LoadSettings(h.ctx);
  EXPECT_EQ(Loaded(), (std::vector<FolderEntry>{{L"Photos", L"C:\\Photos\\"}, {L"x'y", L"C:\\"}}));
}

TEST_F(SettingsFileTest, ValuesThatWouldSplitTheirLineAreNotSaved) {
  h.WriteIni({{L"Folder001", L"Title", L"Keep"}});
  const std::string before = h.os.files[h.SettingsFile()];
  for (const wchar_t* path : {L"C:\\a\nb\\", L"C:\\a\rb\\"}) {
    h.ctx.FolderList = EmptyFolderList();
    h.AddFolders({{L"A", L"C:\\A\\"}, {L"B", path}});
    EXPECT_FALSE(SaveSettings(h.ctx));
    EXPECT_EQ(h.os.files[h.SettingsFile()], before);
  }
}

TEST_F(SettingsFileTest, EntriesPastNineHundredNinetyNineSurvive) {
  for (int i = 1; i <= 1001; ++i) h.AddFolders({{L"F" + std::to_wstring(i), L"P"}});
  ASSERT_TRUE(SaveSettings(h.ctx));
  EXPECT_EQ(GetIniString(ReadIniFile(h.os, h.SettingsFile()), L"Folder1001", L"Title", L""),
            L"F1001");
  LoadSettings(h.ctx);
  ASSERT_EQ(UBound(h.ctx.FolderList), 1001);
  EXPECT_EQ(h.ctx.FolderList[1000].Title, L"F1000");
}

TEST_F(SettingsFileTest, FailedReplaceKeepsThePreviousFile) {
  h.WriteIni({{L"Main", L"Drive", L" 1"}, {L"Folder001", L"Title", L"Keep"}});
  const std::wstring before = h.os.FileText(h.SettingsFile());
  h.os.failReplace = true;
  h.ctx.FolderList = EmptyFolderList();
  EXPECT_FALSE(SaveSettings(h.ctx));
  EXPECT_EQ(h.os.FileText(h.SettingsFile()), before);
  EXPECT_EQ(h.os.files.count(h.SettingsFile() + L".new"), 0u);
}

TEST_F(SettingsFileTest, ReadOnlyDirectoryIsReportedAndLeavesNothing) {
  h.os.readOnlyDirs.insert(h.ctx.AppDir);
  EXPECT_FALSE(SaveSettings(h.ctx));
  EXPECT_TRUE(h.os.files.empty());
}

TEST_F(SettingsFileTest, SettingsDirOverridesProgramDirectory) {
  h.ctx.SettingsDir = L"/home/u/.config/kivoret/";
  ASSERT_TRUE(SaveSettings(h.ctx));
  EXPECT_EQ(h.os.files.count(L"/home/u/.config/kivoret/Setting.ini"), 1u);
}

}  // namespace
}  // namespace kv::test
