// The registry stand-in's key semantics and the file-manager drop-ins it keeps in step.
#include "registry.h"

#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>

#include "codepage.h"
#include "dropins.h"
#include "locations.h"
#include "os_linux.h"
#include "temp_dir.h"

namespace kv::lnx {
namespace {

using namespace testing;

class Registry : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { std::setlocale(LC_ALL, "C.UTF-8"); }
  TempDir dir_;
  lnx::RegistryFile reg_{dir_ / "cfg/registry.ini"};
  LinuxOsServices os_{{dir_ / "cfg", dir_ / "data"}, {}, "/nonexistent"};
};

TEST_F(Registry, ValuesPerKeyAndNameWithTheKeysOnThePathAndTheBuffer) {
  EXPECT_EQ(reg_.Query(L"A\\B", L""), std::nullopt);
  ASSERT_TRUE(reg_.Set(L"A\\B", L"", L"default"));
  ASSERT_TRUE(reg_.Set(L"A\\B", L"Named", L"x=\"y\"\\z\r\nnext"));
  EXPECT_EQ(reg_.Query(L"a\\b", L"NAMED"), L"x=\"y\"\\z\r\nnext");
  EXPECT_EQ(reg_.Query(L"A\\B", L"Other"), std::nullopt);
  ASSERT_TRUE(reg_.Set(L"a\\B", L"named", L"replaced"));
  EXPECT_EQ(reg_.Query(L"A\\B", L"Named"), L"replaced");
  EXPECT_EQ(lnx::RegistryFile(reg_.path()).Query(L"A\\B", L""), L"default") << "fresh reader";
  EXPECT_TRUE(reg_.KeyExists(L"a"));
  EXPECT_EQ(reg_.Query(L"A", L""), std::nullopt) << "a key made on the path has no value";
  // A backslash the writer never writes is kept, not dropped.
  WriteBytes(dir_ / "hand.ini", "[K]\r\n\"n\"=\"a\\qb\\\"\"\r\n");
  EXPECT_EQ(lnx::RegistryFile(dir_ / "hand.ini").Query(L"K", L"n"), L"a\\qb\"");
  WriteBytes(dir_ / "file", "");
  EXPECT_FALSE(lnx::RegistryFile(dir_ / "file/registry.ini").Set(L"K", L"", L"v"));
  // Data over the 1024-byte buffer reads as missing.
  ASSERT_TRUE(reg_.Set(L"K", L"fits", std::wstring(1023, L'a')));
  ASSERT_TRUE(reg_.Set(L"K", L"over", std::wstring(1024, L'a')));
  ASSERT_TRUE(reg_.Set(L"K", L"wide", std::wstring(342, L'写')));  // 1026 bytes
  EXPECT_EQ(reg_.Query(L"K", L"fits")->size(), 1023u);
  EXPECT_EQ(reg_.Query(L"K", L"over"), std::nullopt);
  EXPECT_EQ(reg_.Query(L"K", L"wide"), std::nullopt);
}

TEST_F(Registry, DeleteRefusesKeysWithSubkeys) {
  // "K!" sorts between "K" and "K\\Sub".
  ASSERT_TRUE(reg_.Set(L"K!", L"", L"v") && reg_.Set(L"K\\Sub", L"", L"v"));
  EXPECT_FALSE(reg_.DeleteKey(L"K"));
  EXPECT_TRUE(reg_.KeyExists(L"K\\Sub"));
  EXPECT_TRUE(reg_.DeleteKey(L"k\\SUB"));
  EXPECT_FALSE(reg_.KeyExists(L"K\\Sub"));
  EXPECT_TRUE(reg_.DeleteKey(L"K"));
  EXPECT_TRUE(reg_.DeleteKey(L"Never\\There")) << "a missing key is deleted already";
  // A sibling whose name merely starts the same is no subkey.
  ASSERT_TRUE(reg_.Set(L"Ab", L"", L"1") && reg_.Set(L"Abc\\d", L"", L"2"));
  EXPECT_TRUE(reg_.DeleteKey(L"Ab"));
}

// Both escaping levels of a desktop entry, byte for byte, for what the end-to-end run (a double
// quote, a dollar sign and a space, run by GLib) does not try.
TEST(DropInText, QuotingParsingAndTheNemoFallbackForPercent) {
  EXPECT_EQ(lnx::DesktopExecArg("/opt/a\\b/kivoret"), "\"/opt/a\\\\\\\\b/kivoret\"");
  EXPECT_EQ(lnx::DesktopExecArg("/opt/100%/kivoret"), "\"/opt/100%%/kivoret\"");
  EXPECT_EQ(lnx::DesktopExecArg("/opt/`x`/kivoret"), "\"/opt/\\\\`x\\\\`/kivoret\"");
  EXPECT_EQ(lnx::ShellQuote("/a b/it's"), "'/a b/it'\\''s'");
  EXPECT_EQ(lnx::ProgramOfCommand("\"/opt/a\"b/kivoret\" \"%1\""), "/opt/a\"b/kivoret");
  EXPECT_EQ(lnx::ProgramOfCommand("/opt/kivoret %1"), std::nullopt);
  EXPECT_EQ(lnx::WithoutAccessKey(L"&Open && go"), L"Open & go");
  // Nemo cannot take a percent sign in Exec: the script stands in, or the action is off.
  const auto nemo = [](const char* s) { return lnx::NemoActionText("N", "/%/x", s); };
  EXPECT_NE(nemo("/s/my script").find("Exec=\"/s/my script\" %F\n"), std::string::npos);
  EXPECT_NE(nemo("/s%/script").find("Active=false\n"), std::string::npos);
}

TEST(Places, SettingsBesideAPortableCopyElseInTheConfigFolder) {
  TempDir dir;
  const std::wstring appDir = lnx::Decode(dir.path()) + L"/";  // else: end to end
  WriteBytes(dir / "Setting.ini", "");
  EXPECT_EQ(lnx::SettingsDirFor(appDir), appDir);
  const ScopedEnv config("XDG_CONFIG_HOME", "relative/cfg");  // no base directory: HOME's default
  const ScopedEnv home("HOME", dir.path());
  EXPECT_EQ(lnx::ProgramConfigDir(), dir / ".config/kivoret");
  const ScopedEnv data("XDG_DATA_HOME", std::nullopt);
  EXPECT_EQ(lnx::DataHome(), dir / ".local/share");
}

// Through the OS services, as the core uses them. Existence, modes, removal and the Exec lines
// run are checked end to end; the stand-in's keys are not, nor an entry whose files are gone.
TEST_F(Registry, ContextMenuEntryWritesTheDropInsAndReadsAsAbsentWithoutThem) {
  const std::wstring key = L"Folder\\shell\\Kivoret";
  ASSERT_TRUE(os_.InstallFolderEntry(L"Kivoret", L"キヴォレットに登録(&F)",
                                     L"\"/opt/my apps/kivoret\" \"%1\""));
  EXPECT_EQ(ReadBytes(dir_ / "data/kio/servicemenus/kivoret.desktop"),
            "[Desktop Entry]\nType=Service\nMimeType=inode/directory;\n"
            "X-KDE-ServiceTypes=KonqPopupMenu/Plugin\nActions=register;\n\n"
            "[Desktop Action register]\nName=キヴォレットに登録\n"
            "Exec=\"/opt/my apps/kivoret\" %f\n");
  EXPECT_EQ(ReadBytes(dir_ / "data/nemo/actions/kivoret.nemo_action"),
            "[Nemo Action]\nName=キヴォレットに登録\nExec=\"/opt/my apps/kivoret\" %F\n"
            "Quote=double\nSelection=s\nExtensions=dir;\nActive=true\n");
  EXPECT_EQ(os_.FolderEntryCommand(L"Kivoret"), L"\"/opt/my apps/kivoret\" \"%1\"");
  EXPECT_EQ(os_.RegQueryString(RegRoot::ClassesRoot, key + L"\\command", L""),
            L"\"/opt/my apps/kivoret\" \"%1\"")
      << "the stand-in keeps the keys";
  std::filesystem::remove(dir_ / "data/nautilus/scripts/キヴォレットに登録");
  EXPECT_EQ(os_.FolderEntryCommand(L"Kivoret"), std::nullopt);
  EXPECT_EQ(os_.RegQueryString(RegRoot::CurrentUserClasses, key, L""), L"キヴォレットに登録(&F)")
      << "the keys are plain values";
  ASSERT_TRUE(os_.RemoveFolderEntry(L"Kivoret"));
  EXPECT_FALSE(std::filesystem::exists(dir_ / "data/nemo/actions/kivoret.nemo_action"));
  EXPECT_EQ(os_.RegQueryString(RegRoot::CurrentUserClasses, key, L""), std::nullopt);
}

}  // namespace
}  // namespace kv::lnx
