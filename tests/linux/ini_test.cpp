// The settings file on Linux: the shared contract table through the INI document and the real
// files, and what only the stand-in promises.
#include <gtest/gtest.h>

#include <array>
#include <clocale>

#include "codepage.h"
#include "contract/ini_cases.h"
#include "contract/ini_through_document.h"
#include "os_linux.h"
#include "settings/settings_file.h"
#include "temp_dir.h"

namespace kv::contract {
// Names rather than bytes in the test listing.
void PrintTo(const auto& c, std::ostream* os) requires requires { c.name; }
{ *os << c.name; }
}  // namespace kv::contract

namespace kv::lnx {
namespace {

using namespace testing;

class IniContract : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { std::setlocale(LC_ALL, "C.UTF-8"); }
  std::wstring Prepare(const std::optional<std::string>& content) {
    if (content) WriteBytes(path_, *content);
    return lnx::Decode(path_);
  }
  TempDir dir_;
  LinuxOsServices os_{{dir_.path(), dir_.path()}, {}, "/nonexistent"};
  const std::string path_ = dir_ / "a.ini";
  const std::wstring file_ = lnx::Decode(path_);
  std::optional<std::string> Get(std::string_view section, std::string_view key) {
    const auto ini = ReadIniFile(os_, file_);
    const auto v = ini.doc.Get(lnx::Decode(section), lnx::Decode(key));
    return v ? std::optional(lnx::EncodeLossy(*v)) : std::nullopt;
  }
  bool Set(const std::string& path, std::string_view section, std::string_view key,
           std::string_view value) {
    const std::wstring s = lnx::Decode(section), k = lnx::Decode(key), v = lnx::Decode(value);
    return contract::WriteEach(os_, lnx::Decode(path), {{s.c_str(), k.c_str(), v.c_str()}});
  }
};
class IniStandIn : public IniContract {};

class IniRead : public IniContract, public ::testing::WithParamInterface<contract::IniReadCase> {};
class IniInt : public IniContract, public ::testing::WithParamInterface<contract::IniIntCase> {};
class IniWrite : public IniContract,
                 public ::testing::WithParamInterface<contract::IniWriteCase> {};

TEST_P(IniRead, ReadsAsWindowsDoes) {
  const auto& c = GetParam();
  EXPECT_EQ(contract::ReadString(os_, Prepare(c.file), c), c.expected);
}

TEST_P(IniInt, ReadsIntegersAsWindowsDoes) {
  const auto& c = GetParam();
  EXPECT_EQ(contract::ReadInt(os_, Prepare(c.file), c), c.expected);
}

TEST_P(IniWrite, WritesAsWindowsDoes) {
  const auto& c = GetParam();
  const std::wstring file = Prepare(c.file);
  ASSERT_TRUE(contract::WriteEach(os_, file, c.writes));
  EXPECT_EQ(ReadBytes(lnx::EncodeLossy(file)), c.expected);
}

constexpr auto kName = [](const auto& info) { return std::string(info.param.name); };
INSTANTIATE_TEST_SUITE_P(Linux, IniRead, ::testing::ValuesIn(contract::IniReadCases()), kName);
INSTANTIATE_TEST_SUITE_P(Linux, IniInt, ::testing::ValuesIn(contract::IniIntCases()), kName);
INSTANTIATE_TEST_SUITE_P(Linux, IniWrite, ::testing::ValuesIn(contract::IniWriteCases()), kName);

// What only the stand-in promises: parsing details of files Windows would not write and the
// byte-exact rewrite.
TEST_F(IniStandIn, ReadsFilesWindowsWouldNotWriteAndIntegersBeyondTheSharedCases) {
  const std::tuple<std::string, const char*, const char*, std::optional<std::string>> cases[] = {
      {"\xEF\xBB\xBF[Main]\r\nDrive=1\r\n", "Main", "Drive", "1"},  // BOM skipped
      {"[Main]\rA=1\rDrive=2\r", "Main", "Drive", "2"},             // CR-only endings
      {"[Main]x]\r\nDrive=3\r\n", "Main", "Drive", "3"},            // header ends at first ]
      {"[Main\r\nDrive=4\r\n", "Main", "Drive", "4"},               // header without ]
      {"Drive=5\r\n[Main]\r\n", "Main", "Drive", std::nullopt},     // before any header
      {"[Main]\r\nA=1\r\n[main]\r\nDrive=6\r\n", "Main", "Drive", std::nullopt},  // first wins
      {"[Main]\r\n  ;Drive=7\r\n", "Main", "Drive", std::nullopt},  // indented comment
      {"[Main]\r\nDrive=8 ;x\r\n", "Main", "Drive", "8 ;x"},        // no inline comment
      {"[Main]\r\nDrive=9\r\n", " Main ", " Drive ", "9"}};         // blanks around names
  for (const auto& [file, section, key, expected] : cases) {
    WriteBytes(path_, file);
    EXPECT_EQ(Get(section, key), expected) << file;
  }
  // Beyond the shared integer cases: the sign rules and the wrap at both ends.
  const std::pair<const char*, std::int32_t> ints[] = {
      {"+5", 5},          {"-0", 0},           {"- 3", 0},
      {"4294967295", -1}, {"-4294967297", -1}, {"2147483648", INT32_MIN}};
  for (const auto& [text, expected] : ints)
    EXPECT_EQ(ParseProfileInt(lnx::Decode(text), 7), expected) << text;
}

// Before, after, two writes and a read (section, key, value): appends and a rewrite in the
// middle keep every other byte (BOM, CR-only, LF endings, comments, odd spacing) and values
// verbatim; a write fails where no file can be.
TEST_F(IniStandIn, WritesKeepEveryOtherByteOrFailWhereNoFileCanBe) {
  const std::array<const char*, 11> cases[] = {
      {"\xEF\xBB\xBF[A]\r\n  Key = 'old' \r\n\r\n[B]\rY=2\r",
       "\xEF\xBB\xBF[A]\r\nKey=new\r\nExtra= 'e' \r\n\r\n[B]\rY=2\r", "a", "KEY", "new", "A",
       "Extra", " 'e' ", "A", "Extra", "e"},
      {"[A]\nX=1", "[A]\nX=1\r\nY=2\r\n[B]\r\nZ=3\r\n", "A", "Y", "2", "B", "Z", "3", "a", "y",
       "2"},
      {"[A]\n  x = 1 \n;c\n[B]\nY=2\n", "[A]\n  x = 1 \n;c\n[B]\nY=2\nZ=3\r\n[C]\r\nK=v\r\n", "B",
       "Z", "3", "C", "K", "v", "C", "k", "v"}};
  for (const auto& [before, after, s1, k1, v1, s2, k2, v2, rs, rk, rv] : cases) {
    WriteBytes(path_, before);
    ASSERT_TRUE(Set(path_, s1, k1, v1) && Set(path_, s2, k2, v2));
    EXPECT_EQ(ReadBytes(path_), after);
    EXPECT_EQ(Get(rs, rk), rv) << before;
  }
  WriteBytes(dir_ / "file", "");
  for (const char* where : {"missing/a.ini", "file/a.ini"})
    EXPECT_FALSE(Set(dir_ / where, "A", "X", "1")) << where;
}

}  // namespace
}  // namespace kv::lnx
