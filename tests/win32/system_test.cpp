// Drives, the directory test, the file test and the application object on the real system.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "launcher/drive_list.h"
#include "os_services_win32.h"
#include "scratch_dir.h"
#include "toolkit_win32.h"
#include "windows_api.h"

namespace kv::win32 {
namespace {

using namespace test;

TEST(DriveListTest, RealDrivesHaveRootsAndTitlesInOneOfTheForms) {
  win32::Win32OsServices os;
  EXPECT_EQ(win32::DriveTypeOf(L"C:\\"), unsigned{kDriveFixed});
  bool sawC = false;
  for (const FolderEntry& d : GetDriveList(os)) {
    SCOPED_TRACE(d.Title);
    ASSERT_TRUE(d.Path.size() == 3 && d.Path.substr(1) == L":\\");
    ASSERT_EQ(d.Title.substr(0, 3), d.Path);
    EXPECT_TRUE(std::regex_match(d.Title.substr(3), std::wregex(LR"(( \[.+\])?)")));
    if (d.Path != L"C:\\") continue;
    sawC = true;
    EXPECT_TRUE(!win32::VolumeLabelOf(d.Path).empty() || d.Title == L"C:\\ [ローカルディスク]");
  }
  EXPECT_TRUE(sawC);
}

// 表 ends in the byte 0x5C in CP932; Ā has no CP932 form; entries that are only hidden or
// system do not count. A missing folder and a quoted program with a quoted folder are in the
// e2e flows.
TEST(DirTest, FindsFoldersEvenEmptyOrJapaneseNotHiddenOnesRaises52ForMalformedPaths) {
  ScratchDir dir;
  win32::Win32Toolkit tk;
  std::filesystem::create_directories(dir.path() / L"写真表");
  for (const auto& [name, attributes] : {std::pair{L"file.txt", FILE_ATTRIBUTE_NORMAL},
                                         {L"hidden", FILE_ATTRIBUTE_HIDDEN},
                                         {L"hiddensys", FILE_ATTRIBUTE_SYSTEM},
                                         {L"mixhidden", FILE_ATTRIBUTE_HIDDEN},
                                         {L"mixvisible", FILE_ATTRIBUTE_NORMAL}}) {
    WriteBytes(dir.file(name), "x");
    SetFileAttributesW(dir.file(name).c_str(), attributes);
  }
  const std::pair<const wchar_t*, DirectoryState> cases[] = {
      {L"", DirectoryState::Found},
      {L"写真表\\", DirectoryState::Found},
      {L"file.txt\\", DirectoryState::NotFound},
      {L"hid", DirectoryState::NotFound},
      {L"mix", DirectoryState::Found},
      {L"*\\", DirectoryState::BadName},
      {L"a?b\\", DirectoryState::BadName},
      {L"\u0100\\", DirectoryState::BadName}};
  for (const auto& [name, expected] : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(name)));
    const DirectoryState r = tk.TestDirectory(dir.dir() + name);
    EXPECT_EQ(r, expected);
  }
}

TEST(ApplicationTest, ArgumentsPathNameAndUnitConversions) {
  const std::pair<const wchar_t*, const wchar_t*> lines[] = {
      {LR"("C:\My Tools\k.exe")", L""},
      {LR"("C:\My Tools\k.exe"   )", L""},
      {LR"(C:\Tools\k.exe Photos)", L"Photos"},
      {L"k.exe \t  a b ", L"a b "},
      {L"k.exe", L""},
      {LR"(k.exe "")", LR"("")"},
      {LR"("C:\k.exe)", L""}};
  for (const auto& [line, expected] : lines)
    EXPECT_EQ(win32::ArgumentsOf(line), expected) << testing::PrintToString(std::wstring(line));
  win32::Win32Toolkit tk;
  wchar_t module[MAX_PATH];
  GetModuleFileNameW(nullptr, module, MAX_PATH);
  EXPECT_EQ(tk.AppPath(), std::filesystem::path(module).parent_path().wstring());
  EXPECT_EQ(tk.EXEName(), L"kv_win32_tests");
  EXPECT_EQ(tk.Title(), L"キヴォレット");
  EXPECT_EQ(tk.CommandLine(), win32::ArgumentsOf(GetCommandLineW()));
  EXPECT_EQ(win32::TwipsToPixels(1095, 144), 110);  // 109.5 rounds half up
  EXPECT_EQ(win32::MenuText(L"A&B&&"), L"A&&B&&&&");
  EXPECT_EQ(win32::MenuText(L"-"), L"-");
}

}  // namespace
}  // namespace kv::win32
