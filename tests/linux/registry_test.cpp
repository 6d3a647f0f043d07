// The registry stand-in's key semantics and the file-manager drop-ins it keeps in step.
#include "registry.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <clocale>
#include <filesystem>

#include "codepage.h"
#include "dropins.h"
#include "locations.h"
#include "os_linux.h"
#include "temp_dir.h"

namespace kv {
namespace {

using testing::ReadBytes;
using testing::TempDir;

class Registry : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { std::setlocale(LC_ALL, "C.UTF-8"); }
  TempDir dir_;
  linux_reg::RegistryFile reg_{dir_ / "cfg/registry.ini"};
};

TEST_F(Registry, ValuesPerKeyAndName) {
  EXPECT_EQ(reg_.Query(L"A\\B", L""), std::nullopt);
  ASSERT_TRUE(reg_.Set(L"A\\B", L"", L"default"));
  ASSERT_TRUE(reg_.Set(L"A\\B", L"Named", L"x=\"y\"\\z\r\nnext"));
  EXPECT_EQ(reg_.Query(L"A\\B", L""), L"default");
  EXPECT_EQ(reg_.Query(L"a\\b", L"NAMED"), L"x=\"y\"\\z\r\nnext");
  EXPECT_EQ(reg_.Query(L"A\\B", L"Other"), std::nullopt);
  ASSERT_TRUE(reg_.Set(L"a\\B", L"named", L"replaced"));
  EXPECT_EQ(reg_.Query(L"A\\B", L"Named"), L"replaced");
  // A fresh reader of the same file sees the same.
  EXPECT_EQ(linux_reg::RegistryFile(reg_.path()).Query(L"A\\B", L""), L"default");
}

TEST_F(Registry, SetCreatesTheKeysOnThePath) {
  ASSERT_TRUE(reg_.Set(L"Folder\\shell\\Verb\\command", L"", L"c"));
  EXPECT_TRUE(reg_.KeyExists(L"Folder"));
  EXPECT_TRUE(reg_.KeyExists(L"FOLDER\\Shell"));
  EXPECT_TRUE(reg_.KeyExists(L"Folder\\shell\\Verb"));
  EXPECT_EQ(reg_.Query(L"Folder\\shell\\Verb", L""), std::nullopt);
}

TEST_F(Registry, DeleteRefusesKeysWithSubkeys) {
  ASSERT_TRUE(reg_.Set(L"K\\Sub", L"", L"v"));
  EXPECT_FALSE(reg_.DeleteKey(L"K"));
  EXPECT_TRUE(reg_.KeyExists(L"K\\Sub"));
  EXPECT_TRUE(reg_.DeleteKey(L"k\\SUB"));
  EXPECT_FALSE(reg_.KeyExists(L"K\\Sub"));
  EXPECT_TRUE(reg_.DeleteKey(L"K"));
  EXPECT_TRUE(reg_.DeleteKey(L"K")) << "a missing key is deleted already";
  EXPECT_TRUE(reg_.DeleteKey(L"Never\\There"));
  // A sibling whose name merely starts the same is no subkey.
  ASSERT_TRUE(reg_.Set(L"Ab", L"", L"1"));
  ASSERT_TRUE(reg_.Set(L"Abc\\d", L"", L"2"));
  EXPECT_TRUE(reg_.DeleteKey(L"Ab"));
}

TEST_F(Registry, DataOverTheBufferReadsAsMissing) {
  ASSERT_TRUE(reg_.Set(L"K", L"fits", std::wstring(1023, L'a')));
  ASSERT_TRUE(reg_.Set(L"K", L"over", std::wstring(1024, L'a')));
  // 341 three-byte characters: 1023 bytes; one more is over.
  ASSERT_TRUE(reg_.Set(L"K", L"wide", std::wstring(342, L'写')));
  EXPECT_EQ(reg_.Query(L"K", L"fits")->size(), 1023u);
  EXPECT_EQ(reg_.Query(L"K", L"over"), std::nullopt);
  EXPECT_EQ(reg_.Query(L"K", L"wide"), std::nullopt);
}

TEST_F(Registry, UnwritablePlaceFails) {
  testing::WriteBytes(dir_ / "file", "");
  linux_reg::RegistryFile bad(dir_ / "file/registry.ini");
  EXPECT_FALSE(bad.Set(L"K", L"", L"v"));
}

TEST(DropInText, ExecQuotingOfAwkwardProgramPaths) {
  struct {
    const char* program;
    const char* exec;
  } cases[] = {
      {"/opt/kv/kivoret", "\"/opt/kv/kivoret\""},
      {"/opt/my apps/kivoret", "\"/opt/my apps/kivoret\""},
      {"/opt/a\"b/kivoret", "\"/opt/a\\\\\"b/kivoret\""},
      {"/opt/$HOME/kivoret", "\"/opt/\\\\$HOME/kivoret\""},
      {"/opt/a\\b/kivoret", "\"/opt/a\\\\\\\\b/kivoret\""},
      {"/opt/100%/kivoret", "\"/opt/100%%/kivoret\""},
      {"/opt/`x`/kivoret", "\"/opt/\\\\`x\\\\`/kivoret\""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(linux_shell::DesktopExecArg(c.program), c.exec) << c.program;
  EXPECT_EQ(linux_shell::ShellQuote("/a b/it's"), "'/a b/it'\\''s'");
}

TEST(DropInText, CommandAndCaptionParsing) {
  EXPECT_EQ(linux_shell::ProgramOfCommand("\"/opt/a\"b/kivoret\" \"%1\""), "/opt/a\"b/kivoret");
  EXPECT_EQ(linux_shell::ProgramOfCommand("/opt/kivoret %1"), std::nullopt);
  EXPECT_EQ(linux_shell::WithoutAccessKey(L"キヴォレットに登録(&F)"), L"キヴォレットに登録");
  EXPECT_EQ(linux_shell::WithoutAccessKey(L"&Open && go"), L"Open & go");
}

TEST(DropInText, NemoFallsBackToTheScriptWhenThePathHoldsPercent) {
  const std::string direct = linux_shell::NemoActionText("N", "/opt/kv/kivoret", "/s/script");
  EXPECT_NE(direct.find("Exec=\"/opt/kv/kivoret\" %F\n"), std::string::npos) << direct;
  EXPECT_NE(direct.find("Active=true\n"), std::string::npos);
  const std::string viaScript =
      linux_shell::NemoActionText("N", "/opt/100%/kivoret", "/s/my script");
  EXPECT_NE(viaScript.find("Exec=\"/s/my script\" %F\n"), std::string::npos) << viaScript;
  const std::string inactive = linux_shell::NemoActionText("N", "/opt/100%/kivoret", "/s%/script");
  EXPECT_NE(inactive.find("Active=false\n"), std::string::npos) << inactive;
}

TEST(Places, SettingsBesideAPortableCopyElseInTheConfigFolder) {
  TempDir dir;
  const std::string app = dir / "app";
  std::filesystem::create_directories(app);
  ::setenv("XDG_CONFIG_HOME", (dir / "cfg").c_str(), 1);
  const std::wstring appDir = linux_cp::Decode(app) + L"/";
  EXPECT_EQ(linux_paths::SettingsDirFor(appDir), linux_cp::Decode(dir / "cfg/kivoret/"));
  testing::WriteBytes(app + "/Setting.ini", "");
  EXPECT_EQ(linux_paths::SettingsDirFor(appDir), appDir);
  // A relative value is no base directory: the default below HOME applies.
  ::setenv("XDG_CONFIG_HOME", "relative/cfg", 1);
  ::setenv("HOME", dir.path().c_str(), 1);
  EXPECT_EQ(linux_paths::ProgramConfigDir(), dir / ".config/kivoret");
  ::unsetenv("XDG_DATA_HOME");
  EXPECT_EQ(linux_paths::DataHome(), dir / ".local/share");
}

// Through the OS services, as the core uses them.
class ContextMenuEntry : public Registry {
 protected:
  LinuxOsServices os_{{dir_ / "cfg", dir_ / "data"}, {}, "/nonexistent"};
  const std::wstring key_ = L"Folder\\shell\\Kivoret";
  const std::wstring commandKey_ = L"Folder\\shell\\Kivoret\\command";
  const std::wstring command_ = L"\"/opt/my apps/kivoret\" \"%1\"";
  std::string ServiceMenu() const { return dir_ / "data/kio/servicemenus/kivoret.desktop"; }
  std::string NemoAction() const { return dir_ / "data/nemo/actions/kivoret.nemo_action"; }
  std::string Script() const { return dir_ / "data/nautilus/scripts/キヴォレットに登録"; }
  void Register() {
    ASSERT_TRUE(
        os_.RegSetString(RegRoot::CurrentUserClasses, key_, L"", L"キヴォレットに登録(&F)"));
    ASSERT_TRUE(os_.RegSetString(RegRoot::CurrentUserClasses, commandKey_, L"", command_));
  }
  static mode_t Mode(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? (st.st_mode & 0777) : 0;
  }
};

TEST_F(ContextMenuEntry, CommandWritesTheThreeDropIns) {
  Register();
  EXPECT_EQ(ReadBytes(ServiceMenu()),
            "[Desktop Entry]\nType=Service\nMimeType=inode/directory;\n"
            "X-KDE-ServiceTypes=KonqPopupMenu/Plugin\nActions=register;\n\n"
            "[Desktop Action register]\nName=キヴォレットに登録\n"
            "Exec=\"/opt/my apps/kivoret\" %f\n");
  EXPECT_EQ(Mode(ServiceMenu()), 0755u);
  EXPECT_EQ(
      ReadBytes(NemoAction()),
      "[Nemo Action]\nName=キヴォレットに登録\nExec=\"/opt/my apps/kivoret\" %F\nQuote=double\n"
      "Selection=s\nExtensions=dir;\nActive=true\n");
  const std::string script = ReadBytes(Script());
  EXPECT_TRUE(script.starts_with("#!/bin/bash\n"));
  EXPECT_NE(script.find("exec '/opt/my apps/kivoret' \"$target\"\n"), std::string::npos) << script;
  EXPECT_EQ(Mode(Script()), 0755u);
  EXPECT_EQ(os_.RegQueryString(RegRoot::ClassesRoot, commandKey_, L""), command_);
  EXPECT_FALSE(std::filesystem::exists(dir_ / "data/applications"));
}

TEST_F(ContextMenuEntry, EntryWithoutItsFilesReadsAsAbsent) {
  Register();
  std::filesystem::remove(Script());
  EXPECT_EQ(os_.RegQueryString(RegRoot::CurrentUserClasses, commandKey_, L""), std::nullopt);
  // Other keys are plain values.
  EXPECT_EQ(os_.RegQueryString(RegRoot::CurrentUserClasses, key_, L""), L"キヴォレットに登録(&F)");
}

TEST_F(ContextMenuEntry, DeletingTheCommandRemovesTheDropIns) {
  Register();
  EXPECT_FALSE(os_.RegDeleteKey(RegRoot::CurrentUserClasses, key_)) << "command still below it";
  EXPECT_TRUE(os_.RegDeleteKey(RegRoot::CurrentUserClasses, commandKey_));
  EXPECT_TRUE(os_.RegDeleteKey(RegRoot::CurrentUserClasses, key_));
  EXPECT_TRUE(os_.RegDeleteKey(RegRoot::ClassesRoot, commandKey_));
  for (const std::string& f : {ServiceMenu(), NemoAction(), Script()})
    EXPECT_FALSE(std::filesystem::exists(f)) << f;
  EXPECT_EQ(os_.RegQueryString(RegRoot::ClassesRoot, commandKey_, L""), std::nullopt);
}

}  // namespace
}  // namespace kv
