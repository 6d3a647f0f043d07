// The shared INI cases against the real profile functions and against our document, and the
// settings file under CP932.
#include <gtest/gtest.h>

#include "codepage.h"
#include "contract/ini_cases.h"
#include "contract/ini_through_document.h"
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

namespace kv::win32 {
namespace {

using namespace test;

// The real profile functions, read with room to spare: Wine garbles a multibyte value that
// does not fit and cuts one character too many from a quoted value at an exact fit.
std::wstring RealString(const std::wstring& section, const std::wstring& key,
                        const std::wstring& def, const std::wstring& file) {
  const std::string s = win32::ToAcp(section), k = win32::ToAcp(key), d = win32::ToAcp(def),
                    f = win32::ToAcp(file);
  for (DWORD size = 512;; size *= 2) {
    std::vector<char> buffer(size, '\0');
    const DWORD n =
        GetPrivateProfileStringA(s.c_str(), k.c_str(), d.c_str(), buffer.data(), size, f.c_str());
    if (n + 8 < size) return win32::FromAcpBuffer(buffer.data(), size);
  }
}

// Each case in a fresh file, through the real profile functions and through our document.
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
  EXPECT_EQ(RealString(c.section, c.key, c.def, File()), c.expected) << "real";
  EXPECT_EQ(contract::ReadString(os, File(), c), c.expected) << "document";
}

TEST_P(IniIntTest, ReadsAsWindowsDoes) {
  const auto& c = GetParam();
  EXPECT_EQ(static_cast<std::int32_t>(GetPrivateProfileIntA(win32::ToAcp(c.section).c_str(),
                                                            win32::ToAcp(c.key).c_str(), c.def,
                                                            win32::ToAcp(File()).c_str())),
            c.expected)
      << "real";
  EXPECT_EQ(contract::ReadInt(os, File(), c), c.expected) << "document";
}

TEST_P(IniWriteTest, WritesAsWindowsDoes) {
  const auto& c = GetParam();
  File();
  for (const auto& w : c.writes)
    ASSERT_TRUE(
        WritePrivateProfileStringA(win32::ToAcp(w.section).c_str(), win32::ToAcp(w.key).c_str(),
                                   win32::ToAcp(w.value).c_str(), win32::ToAcp(file).c_str()));
  EXPECT_EQ(ReadBytes(file).value_or("<no file>"),
            UnderWine() && c.expectedUnderWine ? *c.expectedUnderWine : c.expected)
      << "real";
  // Ours writes what Windows writes, under Wine too.
  std::filesystem::remove(file);
  File();
  ASSERT_TRUE(contract::WriteEach(os, file, c.writes));
  EXPECT_EQ(ReadBytes(file).value_or("<no file>"), c.expected) << "document";
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

TEST_F(SettingsFileTest, SaveReplacesTheFileWholeInCp932LoadReadsItBackAFailedSaveKeepsIt) {
  WriteBytes(SettingsFile(),
             "[Main]\r\nDrive=0\r\n[Folder001]\r\nTitle=A\r\nPath=B\r\n"
             "[Folder002]\r\nTitle=C\r\nPath=D\r\n");
  // 表 and ソ end in the byte 0x5C, the backslash: a classic trap for byte-wise parsers.
  ctx.FolderList.push_back({L"写真", L"C:\\表ソ\\"});
  ASSERT_TRUE(Module1::SaveSettings(ctx));
  // The number with its leading blank, as Windows writes it (Wine's own function drops it).
  const std::string previous =
      "[Main]\r\nDrive= 1\r\n[Folder001]\r\nTitle=\x8e\xca\x90\x5e\r\n"
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
}  // namespace kv::win32
