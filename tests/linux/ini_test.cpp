// The INI stand-in against the shared contract table, plus what only the stand-in promises.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <chrono>
#include <clocale>
#include <cstdio>
#include <filesystem>

#include "../contract/ini_cases.h"
#include "codepage.h"
#include "ini_file.h"
#include "os_linux.h"
#include "settings/settings_file.h"
#include "temp_dir.h"
#include "toolkit_qt.h"

namespace kv::contract {
// Names rather than bytes in the test listing.
inline void PrintTo(const IniReadCase& c, std::ostream* os) { *os << c.name; }
inline void PrintTo(const IniIntCase& c, std::ostream* os) { *os << c.name; }
inline void PrintTo(const IniWriteCase& c, std::ostream* os) { *os << c.name; }
}  // namespace kv::contract

namespace kv {
namespace {

using testing::ReadBytes;
using testing::TempDir;
using testing::WriteBytes;

class IniContract : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { std::setlocale(LC_ALL, "C.UTF-8"); }
  std::wstring Prepare(const std::optional<std::string>& content) {
    const std::string path = dir_ / "case.ini";
    if (content) WriteBytes(path, *content);
    return linux_cp::Decode(path);
  }
  TempDir dir_;
  LinuxOsServices os_{{dir_.path(), dir_.path()}, {}, "/nonexistent"};
};

class IniRead : public IniContract, public ::testing::WithParamInterface<contract::IniReadCase> {};
class IniInt : public IniContract, public ::testing::WithParamInterface<contract::IniIntCase> {};
class IniWrite : public IniContract,
                 public ::testing::WithParamInterface<contract::IniWriteCase> {};

TEST_P(IniRead, ReadsAsWindowsDoes) {
  const auto& c = GetParam();
  EXPECT_EQ(os_.GetPrivateProfileString(c.section, c.key, c.def, Prepare(c.file)), c.expected);
}

TEST_P(IniInt, ReadsIntegersAsWindowsDoes) {
  const auto& c = GetParam();
  EXPECT_EQ(os_.GetPrivateProfileInt(c.section, c.key, c.def, Prepare(c.file)), c.expected);
}

TEST_P(IniWrite, WritesAsWindowsDoes) {
  const auto& c = GetParam();
  const std::wstring file = Prepare(c.file);
  for (const auto& w : c.writes)
    ASSERT_TRUE(os_.WritePrivateProfileString(w.section, w.key, w.value, file));
  EXPECT_EQ(ReadBytes(linux_cp::EncodeLossy(file)), c.expected);
}

template <typename Case>
std::string CaseName(const ::testing::TestParamInfo<Case>& info) {
  return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(Linux, IniRead, ::testing::ValuesIn(contract::IniReadCases()),
                         CaseName<contract::IniReadCase>);
INSTANTIATE_TEST_SUITE_P(Linux, IniInt, ::testing::ValuesIn(contract::IniIntCases()),
                         CaseName<contract::IniIntCase>);
INSTANTIATE_TEST_SUITE_P(Linux, IniWrite, ::testing::ValuesIn(contract::IniWriteCases()),
                         CaseName<contract::IniWriteCase>);

// What only the stand-in promises: parsing details of files Windows would not write, the
// byte-exact append, and the cache.
struct StandInRead {
  const char* name;
  std::string file;
  std::string section, key;
  std::optional<std::string> expected;
};

void PrintTo(const StandInRead& c, std::ostream* os) { *os << c.name; }

class IniStandInRead : public ::testing::TestWithParam<StandInRead> {};

TEST_P(IniStandInRead, Reads) {
  TempDir dir;
  WriteBytes(dir / "a.ini", GetParam().file);
  linux_ini::Store store;
  EXPECT_EQ(store.Get(dir / "a.ini", GetParam().section, GetParam().key), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, IniStandInRead,
    ::testing::Values(
        StandInRead{"BomSkipped", "\xEF\xBB\xBF[Main]\r\nDrive=1\r\n", "Main", "Drive", "1"},
        StandInRead{"CrOnlyEndings", "[Main]\rA=1\rDrive=2\r", "Main", "Drive", "2"},
        StandInRead{"HeaderEndsAtFirstBracket", "[Main]x]\r\nDrive=3\r\n", "Main", "Drive", "3"},
        StandInRead{"HeaderWithoutBracket", "[Main\r\nDrive=4\r\n", "Main", "Drive", "4"},
        StandInRead{"LinesBeforeFirstHeaderInNoSection", "Drive=5\r\n[Main]\r\n", "Main", "Drive",
                    std::nullopt},
        StandInRead{"FirstDuplicateSectionWins", "[Main]\r\nA=1\r\n[main]\r\nDrive=6\r\n", "Main",
                    "Drive", std::nullopt},
        StandInRead{"IndentedComment", "[Main]\r\n  ;Drive=7\r\n", "Main", "Drive", std::nullopt},
        StandInRead{"NoInlineComment", "[Main]\r\nDrive=8 ;x\r\n", "Main", "Drive", "8 ;x"},
        StandInRead{"QueryNameBlanksIgnored", "[Main]\r\nDrive=9\r\n", " Main ", " Drive ", "9"},
        StandInRead{"UnterminatedLastLine", "[Main]\r\nDrive=10", "Main", "Drive", "10"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(IniStandIn, IntegerReader) {
  struct {
    const char* text;
    std::int32_t expected;
  } cases[] = {{"", 7},
               {"  12", 12},
               {"+5", 5},
               {"-0", 0},
               {"4294967295", -1},
               {"-4294967297", -1},
               {"2147483648", INT32_MIN},
               {"9x9", 9},
               {"- 3", 0}};
  for (const auto& c : cases)
    EXPECT_EQ(linux_ini::ParseProfileInt(c.text, 7), c.expected) << c.text;
}

TEST(IniStandIn, AppendKeepsEveryExistingByte) {
  TempDir dir;
  const std::string path = dir / "a.ini";
  // LF endings, a comment and odd spacing: an append must not normalise any of it.
  const std::string original = "[A]\n  x = 1 \n;c\n[B]\nY=2\n";
  WriteBytes(path, original);
  linux_ini::Store store;
  ASSERT_TRUE(store.Write(path, "B", "Z", "3"));
  ASSERT_TRUE(store.Write(path, "C", "K", "v"));
  EXPECT_EQ(ReadBytes(path), original + "Z=3\r\n[C]\r\nK=v\r\n");
  EXPECT_EQ(store.Get(path, "A", "X"), "1");
  EXPECT_EQ(store.Get(path, "C", "k"), "v");
}

TEST(IniStandIn, AppendToUnterminatedFileStartsANewLine) {
  TempDir dir;
  const std::string path = dir / "a.ini";
  WriteBytes(path, "[A]\nX=1");
  linux_ini::Store store;
  ASSERT_TRUE(store.Write(path, "A", "Y", "2"));
  ASSERT_TRUE(store.Write(path, "B", "Z", "3"));
  EXPECT_EQ(ReadBytes(path), "[A]\nX=1\r\nY=2\r\n[B]\r\nZ=3\r\n");
  EXPECT_EQ(store.Get(path, "A", "X"), "1");
  EXPECT_EQ(store.Get(path, "A", "Y"), "2");
}

TEST(IniStandIn, RewriteInTheMiddleKeepsOtherLines) {
  TempDir dir;
  const std::string path = dir / "a.ini";
  WriteBytes(path, "\xEF\xBB\xBF[A]\r\n  Key = 'old' \r\n\r\n[B]\rY=2\r");
  linux_ini::Store store;
  ASSERT_TRUE(store.Write(path, "a", "KEY", "new"));
  ASSERT_TRUE(store.Write(path, "A", "Extra", "e"));
  EXPECT_EQ(ReadBytes(path), "\xEF\xBB\xBF[A]\r\nKey=new\r\nExtra=e\r\n\r\n[B]\rY=2\r");
  EXPECT_EQ(store.Get(path, "B", "Y"), "2");
}

TEST(IniStandIn, ValueWrittenVerbatim) {
  TempDir dir;
  const std::string path = dir / "a.ini";
  linux_ini::Store store;
  ASSERT_TRUE(store.Write(path, "S", "K", " 'quoted' "));
  EXPECT_EQ(ReadBytes(path), "[S]\r\nK= 'quoted' \r\n");
  EXPECT_EQ(store.Get(path, "S", "K"), "quoted");
}

TEST(IniStandIn, CacheServesRepeatedReadsAndSeesOutsideChanges) {
  TempDir dir;
  const std::string path = dir / "a.ini";
  WriteBytes(path, "[A]\r\nX=1\r\n");
  linux_ini::Store store;
  for (int i = 0; i < 50; ++i) ASSERT_EQ(store.Get(path, "A", "X"), "1");
  EXPECT_EQ(store.reads(), 1u);
  ASSERT_TRUE(store.Write(path, "A", "Y", "2"));
  EXPECT_EQ(store.Get(path, "A", "Y"), "2");
  EXPECT_EQ(store.reads(), 1u) << "own writes keep the cache valid";

  // Another program replaces the file (new inode) and, separately, rewrites it in place with
  // another length: both are seen.
  WriteBytes(dir / "b.ini", "[A]\r\nX=9\r\n");
  std::filesystem::rename(dir / "b.ini", path);
  EXPECT_EQ(store.Get(path, "A", "X"), "9");
  WriteBytes(path, "[A]\r\nX=100\r\n");
  EXPECT_EQ(store.Get(path, "A", "X"), "100");
  std::filesystem::remove(path);
  EXPECT_EQ(store.Get(path, "A", "X"), std::nullopt);
}

TEST(IniStandIn, WriteFailsWhereNoFileCanBe) {
  TempDir dir;
  linux_ini::Store store;
  EXPECT_FALSE(store.Write(dir / "missing/a.ini", "A", "X", "1"));
  WriteBytes(dir / "file", "");
  EXPECT_FALSE(store.Write(dir / "file/a.ini", "A", "X", "1"));
}

// A save and a load of 999 folders through the core: linear, not one parse per key.
TEST(IniStandIn, ThousandEntriesSaveAndLoadQuickly) {
  std::setlocale(LC_ALL, "C.UTF-8");
  TempDir dir;
  LinuxOsServices os({dir.path(), dir.path()}, {}, "/nonexistent");
  QtToolkit tk(0, nullptr);  // its TruncateFile needs no application object
  Module1::Context ctx{os, tk};
  ctx.AppDir = linux_cp::Decode(dir.path()) + L"/";
  for (int k = 1; k <= 999; ++k) {
    ctx.FolderList.push_back(
        {L"フォルダ" + std::to_wstring(k), L"/home/u/folder" + std::to_wstring(k) + L"/"});
  }
  const auto t0 = std::chrono::steady_clock::now();
  ASSERT_TRUE(Module1::SaveSettings(ctx));
  const auto t1 = std::chrono::steady_clock::now();
  Module1::Context loaded{os, tk};
  loaded.AppDir = ctx.AppDir;
  Module1::LoadSettings(loaded);
  const auto t2 = std::chrono::steady_clock::now();
  const auto ms = [](auto d) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(d).count();
  };
  std::printf("save of 999 entries: %lld ms, load: %lld ms\n", static_cast<long long>(ms(t1 - t0)),
              static_cast<long long>(ms(t2 - t1)));
  ASSERT_EQ(UBound(loaded.FolderList), 999);
  EXPECT_EQ(loaded.FolderList[999].Title, L"フォルダ999");
  EXPECT_EQ(loaded.FolderList[999].Path, L"/home/u/folder999/");
  EXPECT_LT(ms(t1 - t0), 500);
  EXPECT_LT(ms(t2 - t1), 500);
}

}  // namespace
}  // namespace kv
