// The shared INI cases against the real profile functions and against our document.
#include <gtest/gtest.h>

#include "codepage.h"
#include "contract/ini_cases.h"
#include "contract/ini_through_document.h"
#include "os_services_win32.h"
#include "scratch_dir.h"
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
  EXPECT_EQ(win32::FromAcp(RealProfileString(win32::ToAcp(c.section), win32::ToAcp(c.key),
                                             win32::ToAcp(c.def), win32::ToAcp(File()))),
            c.expected)
      << "real";
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

}  // namespace
}  // namespace kv::win32
