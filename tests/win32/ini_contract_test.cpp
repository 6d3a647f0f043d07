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

// Each case in a fresh file, through the real profile functions.
template <typename Case>
class IniTest : public testing::TestWithParam<Case> {
 protected:
  std::wstring File() {
    if (const auto& bytes = this->GetParam().file) WriteBytes(file, *bytes);
    return file;
  }
  ScratchDir dir;
  const std::wstring file = dir.file(L"case.ini");
  win32::Win32OsServices os;
};
using IniReadTest = IniTest<contract::IniReadCase>;
using IniIntTest = IniTest<contract::IniIntCase>;
using IniWriteTest = IniTest<contract::IniWriteCase>;

TEST_P(IniReadTest, ReadsAsWindowsDoes) {
  const auto& c = GetParam();
  EXPECT_EQ(os.GetPrivateProfileString(c.section, c.key, c.def, File()), c.expected);
}

TEST_P(IniIntTest, ReadsAsWindowsDoes) {
  const auto& c = GetParam();
  EXPECT_EQ(os.GetPrivateProfileInt(c.section, c.key, c.def, File()), c.expected);
}

TEST_P(IniWriteTest, WritesAsWindowsDoes) {
  const auto& c = GetParam();
  File();
  for (const auto& w : c.writes)
    ASSERT_TRUE(os.WritePrivateProfileString(w.section, w.key, w.value, file));
  EXPECT_EQ(ReadBytes(file).value_or("<no file>"),
            UnderWine() && c.expectedUnderWine ? *c.expectedUnderWine : c.expected);
}

const auto kName = testing::PrintToStringParamName();  // the case's name
INSTANTIATE_TEST_SUITE_P(Win32, IniReadTest, testing::ValuesIn(contract::IniReadCases()), kName);
INSTANTIATE_TEST_SUITE_P(Win32, IniIntTest, testing::ValuesIn(contract::IniIntCases()), kName);
INSTANTIATE_TEST_SUITE_P(Win32, IniWriteTest, testing::ValuesIn(contract::IniWriteCases()), kName);

// The settings file through the core's own save and load, on the real functions.
class SettingsFileTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(GetACP(), 932u) << "needs LANG=ja_JP.UTF-8 (code page 932)";
    ctx.AppDir = dir.dir();
  }
  std::wstring SettingsFile() const { return dir.file(L"Setting.ini"); }
  std::string Saved() const { return ReadBytes(SettingsFile()).value_or("<no file>"); }

  ScratchDir dir;
  win32::Win32OsServices os;
  win32::Win32Toolkit tk;
  Module1::Context ctx{os, tk};
};

TEST_F(SettingsFileTest, MultibyteValuesOfEveryLengthReadBack) {
  // Wine garbles a multibyte value that just overflows its buffer: every length near the
  // sizes the reader tries must come back intact.
  for (std::size_t n = 250; n <= 262; ++n) {
    const std::wstring value(n, L'漢'), key = L"K" + std::to_wstring(n);
    for (const std::wstring& written : {value, L"\"" + value + L"\""}) {  // quotes are stripped
      ASSERT_TRUE(os.WritePrivateProfileString(L"S", key, written, SettingsFile()));
      EXPECT_EQ(os.GetPrivateProfileString(L"S", key, L"", SettingsFile()), value) << n;
    }
  }
}

TEST_F(SettingsFileTest, SaveReplacesTheFileWholeInCp932LoadReadsItBackAFailedSaveKeepsIt) {
  WriteBytes(SettingsFile(),
             "[Main]\r\nDrive=0\r\n[Folder001]\r\nTitle=A\r\nPath=B\r\n"
             "[Folder002]\r\nTitle=C\r\nPath=D\r\n");
  // 表 and ソ end in the byte 0x5C, the backslash: a classic trap for byte-wise parsers.
  ctx.FolderList.push_back({L"写真", L"C:\\表ソ\\"});
  ASSERT_TRUE(Module1::SaveSettings(ctx));
  // Windows writes the number with a leading blank, Wine without.
  const std::string previous =
      std::string(UnderWine() ? "[Main]\r\nDrive=1" : "[Main]\r\nDrive= 1") +
      "\r\n[Folder001]\r\nTitle=\x8e\xca\x90\x5e\r\n"
      "Path=C:\\\x95\x5c\x83\x5c\\\r\n";
  EXPECT_EQ(Saved(), previous);
  Module1::Context loaded{os, tk};
  loaded.AppDir = ctx.AppDir;
  Module1::LoadSettings(loaded);
  EXPECT_EQ(loaded.FolderList, ctx.FolderList);
  EXPECT_EQ(loaded.ShowDrives, 1);

  ctx.FolderList.push_back({L"New", L"C:\\New\\"});
  // Held open without share-delete: the file cannot be replaced meanwhile.
  HANDLE held = CreateFileW(SettingsFile().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_FALSE(Module1::SaveSettings(ctx));
  CloseHandle(held);
  EXPECT_EQ(Saved(), previous);
  EXPECT_FALSE(std::filesystem::exists(dir.path() / L"Setting.ini.new"));

  // A non-empty directory where the temp file would go: root may write anywhere, not there.
  std::filesystem::create_directories(dir.path() / L"Setting.ini.new" / L"x");
  EXPECT_FALSE(Module1::SaveSettings(ctx));
  EXPECT_EQ(Saved(), previous);
}

}  // namespace
}  // namespace kv::test
