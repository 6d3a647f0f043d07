// The shared INI cases against the real profile functions, and the settings file under CP932.
#include <gtest/gtest.h>

#include "contract/ini_cases.h"
#include "os_services_win32.h"
#include "scratch_dir.h"
#include "settings/settings_file.h"
#include "toolkit_win32.h"
#include "windows_api.h"

namespace kv::contract {
// Test names, not bytes, in the listings.
void PrintTo(const IniReadCase& c, std::ostream* os) { *os << c.name; }
void PrintTo(const IniIntCase& c, std::ostream* os) { *os << c.name; }
void PrintTo(const IniWriteCase& c, std::ostream* os) { *os << c.name; }
}  // namespace kv::contract

namespace kv::test {
namespace {

using contract::IniIntCase;
using contract::IniReadCase;
using contract::IniWriteCase;

template <typename Case>
std::string CaseName(const testing::TestParamInfo<Case>& info) {
  return info.param.name;
}

class IniReadTest : public testing::TestWithParam<IniReadCase> {};
class IniIntTest : public testing::TestWithParam<IniIntCase> {};
class IniWriteTest : public testing::TestWithParam<IniWriteCase> {};

TEST_P(IniReadTest, ReadsAsWindowsDoes) {
  const IniReadCase& c = GetParam();
  ScratchDir dir;
  const std::wstring file = dir.file(L"case.ini");
  if (c.file) WriteBytes(file, *c.file);
  win32::Win32OsServices os;
  EXPECT_EQ(os.GetPrivateProfileString(c.section, c.key, c.def, file), c.expected);
}

TEST_P(IniIntTest, ReadsAsWindowsDoes) {
  const IniIntCase& c = GetParam();
  ScratchDir dir;
  const std::wstring file = dir.file(L"case.ini");
  if (c.file) WriteBytes(file, *c.file);
  win32::Win32OsServices os;
  EXPECT_EQ(os.GetPrivateProfileInt(c.section, c.key, c.def, file), c.expected);
}

TEST_P(IniWriteTest, WritesAsWindowsDoes) {
  const IniWriteCase& c = GetParam();
  ScratchDir dir;
  const std::wstring file = dir.file(L"case.ini");
  if (c.file) WriteBytes(file, *c.file);
  win32::Win32OsServices os;
  for (const auto& w : c.writes)
    ASSERT_TRUE(os.WritePrivateProfileString(w.section, w.key, w.value, file));
  const std::string& expected =
      UnderWine() && c.expectedUnderWine ? *c.expectedUnderWine : c.expected;
  EXPECT_EQ(ReadBytes(file).value_or("<no file>"), expected);
}

INSTANTIATE_TEST_SUITE_P(Win32, IniReadTest, testing::ValuesIn(contract::IniReadCases()),
                         CaseName<IniReadCase>);
INSTANTIATE_TEST_SUITE_P(Win32, IniIntTest, testing::ValuesIn(contract::IniIntCases()),
                         CaseName<IniIntCase>);
INSTANTIATE_TEST_SUITE_P(Win32, IniWriteTest, testing::ValuesIn(contract::IniWriteCases()),
                         CaseName<IniWriteCase>);

// The settings file through the core's own save and load, on the real functions.
class SettingsFileTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(GetACP(), 932u) << "needs LANG=ja_JP.UTF-8 (code page 932)";
    ctx.AppDir = dir.dir();
  }
  std::wstring SettingsFile() const { return dir.file(L"Setting.ini"); }
  std::string DriveLine() const { return UnderWine() ? "Drive=1" : "Drive= 1"; }

  ScratchDir dir;
  win32::Win32OsServices os;
  win32::Win32Toolkit tk;
  Module1::Context ctx{os, tk};
};

TEST_F(SettingsFileTest, JapaneseTitlesAreSavedAsShiftJisAndLoadBack) {
  // 表 and ソ end in the byte 0x5C, the backslash: a classic trap for byte-wise parsers.
  ctx.FolderList.push_back({L"写真", L"C:\\表ソ\\"});
  ASSERT_TRUE(Module1::SaveSettings(ctx));
  EXPECT_EQ(ReadBytes(SettingsFile()).value_or(""),
            "[Main]\r\n" + DriveLine() +
                "\r\n[Folder001]\r\nTitle=\x8e\xca\x90\x5e\r\n"
                "Path=C:\\\x95\x5c\x83\x5c\\\r\n");

  Module1::Context loaded{os, tk};
  loaded.AppDir = ctx.AppDir;
  Module1::LoadSettings(loaded);
  EXPECT_EQ(loaded.FolderList, ctx.FolderList);
  EXPECT_EQ(loaded.ShowDrives, 1);
}

TEST_F(SettingsFileTest, LongValuesSurviveSaveAndLoadWhole) {
  const std::wstring path = L"C:\\" + std::wstring(296, L'p') + L"\\";  // 300 bytes
  const std::wstring title(200, L'字');                                 // 400 bytes in CP932
  ctx.FolderList.push_back({title, path});
  ctx.FolderList.push_back({L"次", L"D:\\"});
  ASSERT_TRUE(Module1::SaveSettings(ctx));

  Module1::Context loaded{os, tk};
  loaded.AppDir = ctx.AppDir;
  Module1::LoadSettings(loaded);
  EXPECT_EQ(loaded.FolderList, ctx.FolderList);
}

TEST_F(SettingsFileTest, MultibyteValuesOfEveryLengthReadBack) {
  // Wine garbles a multibyte value that just overflows its buffer: every length near the
  // sizes the reader tries must come back intact.
  const std::wstring file = SettingsFile();
  for (int n = 250; n <= 262; ++n) {
    const std::wstring value(static_cast<std::size_t>(n), L'漢');
    const std::wstring quoted = L"\"" + value + L"\"";
    ASSERT_TRUE(os.WritePrivateProfileString(L"S", L"K" + std::to_wstring(n), value, file));
    ASSERT_TRUE(os.WritePrivateProfileString(L"Q", L"K" + std::to_wstring(n), quoted, file));
    EXPECT_EQ(os.GetPrivateProfileString(L"S", L"K" + std::to_wstring(n), L"", file), value) << n;
    EXPECT_EQ(os.GetPrivateProfileString(L"Q", L"K" + std::to_wstring(n), L"", file), value) << n;
  }
}

TEST_F(SettingsFileTest, FailedReplaceLeavesThePreviousFileIntact) {
  const std::string previous =
      "[Main]\r\nDrive=0\r\n[Folder001]\r\nTitle=Old\r\nPath=C:\\Old\\\r\n";
  WriteBytes(SettingsFile(), previous);
  ctx.FolderList.push_back({L"New", L"C:\\New\\"});
  {
    // Held open without share-delete: the file cannot be replaced meanwhile.
    HANDLE held = CreateFileW(SettingsFile().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(Module1::SaveSettings(ctx));
    CloseHandle(held);
  }
  EXPECT_EQ(ReadBytes(SettingsFile()).value_or(""), previous);
  EXPECT_FALSE(std::filesystem::exists(dir.path() / L"Setting.ini.new"));
}

TEST_F(SettingsFileTest, UnwritableTempFileFailsTheSaveAndKeepsTheFile) {
  const std::string previous = "[Main]\r\nDrive=0\r\n";
  WriteBytes(SettingsFile(), previous);
  // A non-empty directory where the temp file would go: root may write anywhere, not there.
  std::filesystem::create_directories(dir.path() / L"Setting.ini.new" / L"x");
  EXPECT_FALSE(Module1::SaveSettings(ctx));
  EXPECT_EQ(ReadBytes(SettingsFile()).value_or(""), previous);
}

TEST_F(SettingsFileTest, SaveReplacesAnExistingFileWhole) {
  WriteBytes(SettingsFile(),
             "[Main]\r\nDrive=1\r\n[Folder001]\r\nTitle=A\r\nPath=B\r\n"
             "[Folder002]\r\nTitle=C\r\nPath=D\r\n");
  ctx.ShowDrives = 0;
  ctx.FolderList.push_back({L"C", L"D"});
  ASSERT_TRUE(Module1::SaveSettings(ctx));
  const std::string zero = UnderWine() ? "Drive=0" : "Drive= 0";
  EXPECT_EQ(ReadBytes(SettingsFile()).value_or(""),
            "[Main]\r\n" + zero + "\r\n[Folder001]\r\nTitle=C\r\nPath=D\r\n");
}

}  // namespace
}  // namespace kv::test
