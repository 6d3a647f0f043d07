// Drives, the directory test, the file test and the application object on the real system.
#include <gtest/gtest.h>

#include <filesystem>

#include "launcher/drive_list.h"
#include "os_services_win32.h"
#include "scratch_dir.h"
#include "toolkit_win32.h"
#include "windows_api.h"

namespace kv::test {
namespace {

TEST(DriveListTest, RealDrivesHaveRootsAndTitlesInOneOfTheForms) {
  win32::Win32OsServices os;
  const FolderArray drives = Module1::GetDriveList(os);
  ASSERT_FALSE(drives.empty());
  bool sawC = false;
  for (const FolderEntry& d : drives) {
    SCOPED_TRACE(d.Path);
    ASSERT_EQ(d.Path.size(), 3u);
    EXPECT_EQ(d.Path.substr(1), L":\\");
    ASSERT_EQ(d.Title.substr(0, 3), d.Path);
    const std::wstring rest = d.Title.substr(3);
    const bool bare = rest.empty();
    const bool bracketed = rest.size() > 3 && rest.substr(0, 2) == L" [" && rest.back() == L']';
    EXPECT_TRUE(bare || bracketed) << "title tail: " << testing::PrintToString(rest);
    if (d.Path == L"C:\\") {
      sawC = true;
      if (os.GetVolumeLabel(L"C:\\").empty()) {
        EXPECT_EQ(d.Title, L"C:\\ [ローカルディスク]");
      }
    }
  }
  EXPECT_TRUE(sawC);
}

TEST(DriveListTest, RootsComeWithTheirNulsAsTheSystemListsThem) {
  win32::Win32OsServices os;
  const std::wstring text = os.GetLogicalDriveStrings();
  ASSERT_GE(text.size(), 4u);
  EXPECT_EQ(text.back(), L'\0');
  EXPECT_NE(text.find(std::wstring(L"C:\\\0", 4)), std::wstring::npos);
  EXPECT_NE(text.find(std::wstring(L"Z:\\\0", 4)), std::wstring::npos);
  EXPECT_EQ(os.GetDriveType(L"C:\\"), unsigned{kDriveFixed});
}

class DirTest : public testing::Test {
 protected:
  ScratchDir dir;
  win32::Win32Toolkit tk;
};

TEST_F(DirTest, AnEmptyFolderPassesThroughItsSelfEntry) {
  EXPECT_EQ(tk.Dir(dir.dir(), vbDirectory).found, true);
}

TEST_F(DirTest, MissingFolderAndFileFail) {
  WriteBytes(dir.file(L"file.txt"), "x");
  const DirResult missing = tk.Dir(dir.dir() + L"missing\\", vbDirectory);
  EXPECT_EQ(missing.error, 0);
  EXPECT_FALSE(missing.found);
  const DirResult file = tk.Dir(dir.file(L"file.txt") + L"\\", vbDirectory);
  EXPECT_EQ(file.error, 0);
  EXPECT_FALSE(file.found);
}

TEST_F(DirTest, JapaneseFolderNamePasses) {
  std::filesystem::create_directories(dir.path() / L"写真表");
  EXPECT_TRUE(tk.Dir(dir.dir() + L"写真表\\", vbDirectory).found);
}

TEST_F(DirTest, MalformedPathsRaiseError52) {
  for (const std::wstring& bad : {dir.dir() + L"*\\", dir.dir() + L"a?b\\",
                                  dir.dir() + L"\u0100\\"}) {  // Ā has no CP932 form
    SCOPED_TRACE(testing::PrintToString(bad));
    const DirResult r = tk.Dir(bad, vbDirectory);
    EXPECT_EQ(r.error, 52);
    EXPECT_FALSE(r.found);
  }
}

TEST_F(DirTest, OnlyHiddenAndSystemEntriesAreNone) {
  // A folder without self entries does not exist on disk; a pattern match of one name does:
  // the hidden file is the only match of "hid*".
  WriteBytes(dir.file(L"hidden"), "x");
  SetFileAttributesW(dir.file(L"hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
  WriteBytes(dir.file(L"hiddensys"), "x");
  SetFileAttributesW(dir.file(L"hiddensys").c_str(), FILE_ATTRIBUTE_SYSTEM);
  EXPECT_FALSE(tk.Dir(dir.dir() + L"hid", vbDirectory).found);
  WriteBytes(dir.file(L"hidvisible"), "x");
  EXPECT_TRUE(tk.Dir(dir.dir() + L"hid", vbDirectory).found);
}

TEST_F(DirTest, TruncateCreatesEmptiesAndReportsFailure) {
  const std::wstring file = dir.file(L"t.ini");
  ASSERT_TRUE(tk.TruncateFile(file));
  EXPECT_EQ(ReadBytes(file), std::string());
  WriteBytes(file, "content");
  ASSERT_TRUE(tk.TruncateFile(file));
  EXPECT_EQ(ReadBytes(file), std::string());
  EXPECT_FALSE(tk.TruncateFile(dir.dir() + L"missing\\t.ini"));
  EXPECT_FALSE(tk.TruncateFile(dir.dir() + L"\u0100.ini"));
}

struct ArgsCase {
  const char* name;
  const wchar_t* commandLine;
  const wchar_t* expected;
};

void PrintTo(const ArgsCase& c, std::ostream* os) { *os << c.name; }

class ArgumentsOfTest : public testing::TestWithParam<ArgsCase> {};

TEST_P(ArgumentsOfTest, TakesTheTextAfterTheProgramName) {
  EXPECT_EQ(win32::ArgumentsOf(GetParam().commandLine), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, ArgumentsOfTest,
    testing::Values(ArgsCase{"QuotedProgramAndPath", LR"("C:\My Tools\k.exe" "C:\Data\Photos")",
                             LR"("C:\Data\Photos")"},
                    ArgsCase{"UnquotedProgram", LR"(C:\Tools\k.exe Photos)", L"Photos"},
                    ArgsCase{"BlanksSkipped", L"k.exe \t  a b ", L"a b "},
                    ArgsCase{"QuotedProgramAlone", LR"("C:\My Tools\k.exe")", L""},
                    ArgsCase{"QuotedProgramTrailingBlanks", LR"("C:\My Tools\k.exe"   )", L""},
                    ArgsCase{"UnquotedProgramAlone", L"k.exe", L""},
                    ArgsCase{"TwoQuotes", LR"(k.exe "")", LR"("")"},
                    ArgsCase{"UnclosedQuote", LR"("C:\k.exe)", L""}),
    [](const testing::TestParamInfo<ArgsCase>& info) { return info.param.name; });

TEST(ApplicationTest, PathAndNameComeFromTheModule) {
  win32::Win32Toolkit tk;
  wchar_t module[MAX_PATH];
  GetModuleFileNameW(nullptr, module, MAX_PATH);
  const std::filesystem::path p(module);
  EXPECT_EQ(tk.AppPath(), p.parent_path().wstring());
  EXPECT_NE(tk.AppPath().back(), L'\\');
  EXPECT_EQ(tk.EXEName(), L"kv_win32_tests");
  EXPECT_EQ(tk.Title(), L"キヴォレット");
  EXPECT_EQ(tk.CommandLine(), win32::ArgumentsOf(GetCommandLineW()));
}

TEST(ApplicationTest, UnitConversionsAndMenuText) {
  EXPECT_EQ(win32::TwipsToPixels(6135, 96), 409);
  EXPECT_EQ(win32::TwipsToPixels(3975, 96), 265);
  EXPECT_EQ(win32::TwipsToPixels(1095, 144), 110);  // 109.5 rounds half up
  EXPECT_EQ(win32::MenuText(L"A&B&&"), L"A&&B&&&&");
  EXPECT_EQ(win32::MenuText(L"-"), L"-");
}

}  // namespace
}  // namespace kv::test
