// Thunar's shared uca.xml, the Caja script and the "%" fallbacks: what is written and what stays.
#include "dropins.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>

#include "codepage.h"
#include "locations.h"
#include "os_linux.h"
#include "temp_dir.h"

namespace kv::lnx {
namespace {

using namespace testing;
using lnx::DropInFiles;

const std::string kOurs = lnx::ThunarActionText("kivoret-kivoret", "登録", "'/p' %f");

// Another program's action, with the spacing, comment and entity a hand-edited file may hold.
const std::string kTerminal =
    "<action>\n"
    "\t<icon>utilities-terminal</icon>\n"
    "\t<name>Open Terminal Here</name>\n"
    "\t<unique-id>1378126374352218-1</unique-id>\n"
    "\t<command>exo-open --working-directory %f --launch TerminalEmulator</command>\n"
    "\t<description>A &amp; B</description>\n"
    "\t<patterns>*</patterns>\n"
    "\t<startup-notify/>\n"
    "\t<directories/>\n"
    "</action>\n";
const std::string kHead = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<actions>\n";
const std::string kTail = "</actions>\n";

struct UcaCase {
  const char* what;
  std::string before;
  std::optional<std::string> added;  // nullopt: nothing to add to, the text is refused
  std::string removed;               // WithoutThunarAction of `added`
};

void PrintTo(const UcaCase& c, std::ostream* os) { *os << c.what; }

class ThunarText : public ::testing::TestWithParam<UcaCase> {};

TEST_P(ThunarText, AddsBeforeTheEndAndRemovesOnlyOurs) {
  const UcaCase& c = GetParam();
  const auto added = lnx::WithThunarAction(c.before, "kivoret-kivoret", kOurs);
  ASSERT_EQ(added, c.added) << c.what;
  if (!added) return;
  EXPECT_TRUE(lnx::HasThunarAction(*added, "kivoret-kivoret")) << c.what;
  EXPECT_EQ(lnx::WithoutThunarAction(*added, "kivoret-kivoret"), c.removed) << c.what;
  EXPECT_EQ(lnx::WithThunarAction(*added, "kivoret-kivoret", kOurs), added)
      << c.what << ": adding twice changes nothing";
}

const std::string kCrlfOthers = "<actions>\r\n  " + kTerminal +
                                "  <!-- <action><unique-id>"
                                "kivoret-kivoret</unique-id></action> -->\r\n</actions>";
const std::string kOld =
    lnx::ThunarActionText("kivoret-kivoret", "登録", "'/old place/kivoret' %f");
const std::string kLookalike = "<action><unique-id>kivoret-kivoret2</unique-id></action>\n";

INSTANTIATE_TEST_SUITE_P(
    Files, ThunarText,
    ::testing::Values(
        UcaCase{"others kept", kHead + kTerminal + kTail, kHead + kTerminal + kOurs + kTail,
                kHead + kTerminal + kTail},
        UcaCase{"indented, CR LF, a commented-out copy of ours and no final newline", kCrlfOthers,
                kCrlfOthers.substr(0, kCrlfOthers.size() - 10) + kOurs + "</actions>", kCrlfOthers},
        UcaCase{"ours replaced in place", kHead + kOld + kTerminal + kTail,
                kHead + kOurs + kTerminal + kTail, kHead + kTerminal + kTail},
        UcaCase{"an id that only starts like ours is another action", kHead + kLookalike + kTail,
                kHead + kLookalike + kOurs + kTail, kHead + kLookalike + kTail},
        UcaCase{"closing tag on a line with text", "<actions>" + kTerminal + "x</actions>",
                "<actions>" + kTerminal + "x\n" + kOurs + "</actions>",
                "<actions>" + kTerminal + "x\n</actions>"},
        UcaCase{"empty element", "<?xml version=\"1.0\"?>\n<actions/>\n",
                "<?xml version=\"1.0\"?>\n<actions>\n" + kOurs + "</actions>\n",
                "<?xml version=\"1.0\"?>\n<actions>\n</actions>\n"},
        UcaCase{"not an actions file", "<html></html>\n", std::nullopt, ""}),
    [](const ::testing::TestParamInfo<UcaCase>& info) { return std::to_string(info.index); });

TEST(DropInText, ThunarCommandAndEscapes) {
  EXPECT_EQ(lnx::ThunarCommand("/opt/it's/kivoret", "/s/x"), "'/opt/it'\\''s/kivoret' %f");
  // "%" in the program: the script runs it; with "%" in both, doubled as Thunar reads "%%".
  EXPECT_EQ(lnx::ThunarCommand("/opt/100%/kivoret", "/s/x y"), "'/s/x y' %f");
  EXPECT_EQ(lnx::ThunarCommand("/a%/k", "/b%/s"), "'/a%%/k' %f");
  const std::string action = lnx::ThunarActionText("id", "A<&>B", "'/a&b' %f");
  EXPECT_NE(action.find("<name>A&lt;&amp;&gt;B</name>"), std::string::npos);
  EXPECT_NE(action.find("<command>'/a&amp;b' %f</command>"), std::string::npos);
  EXPECT_NE(action.find("<directories/>"), std::string::npos);
  EXPECT_NE(action.find("<patterns>*</patterns>"), std::string::npos);
  // Dolphin: KIO cannot find a program whose path holds "%", so the script stands in.
  EXPECT_NE(lnx::ServiceMenuText("N", "/a 100%/k", "/s/n s").find("Exec=\"/s/n s\" %f\n"),
            std::string::npos);
  EXPECT_NE(lnx::ServiceMenuText("N", "/a%/k", "/s%/n").find("Exec=\"/a%%/k\" %f\n"),
            std::string::npos);
}

class DropInFilesTest : public ::testing::Test {
 protected:
  DropInFiles Files() {
    return lnx::FilesFor(dir_ / "data", dir_ / "cfg", {dir_ / "none", dir_ / "etc"}, "Kivoret",
                         "キヴォレットに登録");
  }
  std::string Uca() { return ReadBytes(dir_ / "cfg/Thunar/uca.xml"); }
  TempDir dir_;
};

TEST_F(DropInFilesTest, WithoutAUserFileTheSystemActionsAreKeptAndComeBackExactly) {
  std::filesystem::create_directories(dir_ / "etc/Thunar");
  WriteBytes(dir_ / "etc/Thunar/uca.xml", kHead + kTerminal + kTail);
  const DropInFiles files = Files();
  EXPECT_EQ(files.thunarActions, dir_ / "cfg/Thunar/uca.xml");
  EXPECT_EQ(files.cajaScript, dir_ / "cfg/caja/scripts/キヴォレットに登録");
  ASSERT_TRUE(lnx::InstallDropIns(files, "キヴォレットに登録", "/opt/kivoret"));
  EXPECT_EQ(Uca(), kHead + kTerminal +
                       lnx::ThunarActionText("kivoret-kivoret", "キヴォレットに登録",
                                             "'/opt/kivoret' %f") +
                       kTail);
  EXPECT_EQ(lnx::InstalledProgram(files, "キヴォレットに登録"), "/opt/kivoret");
  struct stat st {};
  ASSERT_EQ(::stat(files.cajaScript.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0755u);
  ASSERT_EQ(::stat(files.thunarActions.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0644u);
  ASSERT_TRUE(lnx::RemoveDropIns(files));
  EXPECT_EQ(Uca(), kHead + kTerminal + kTail) << "the user's copy of the system file stays";
  EXPECT_FALSE(std::filesystem::exists(files.cajaScript));
  EXPECT_EQ(ReadBytes(dir_ / "etc/Thunar/uca.xml"), kHead + kTerminal + kTail);
  EXPECT_EQ(lnx::InstalledProgram(files, "キヴォレットに登録"), std::nullopt);
  EXPECT_TRUE(lnx::RemoveDropIns(files)) << "removing again finds nothing to do";
}

TEST_F(DropInFilesTest, AUserFileKeepsItsBytesModeAndLinkAndDetectionFollowsIt) {
  std::filesystem::create_directories(dir_ / "cfg/Thunar");
  std::filesystem::create_directories(dir_ / "etc/Thunar");
  WriteBytes(dir_ / "etc/Thunar/uca.xml", "<actions/>");  // hidden by the user's file
  const std::string mine = kHead + kTerminal + "<!-- mine -->\n" + kTail;
  WriteBytes(dir_ / "real.xml", mine);
  ::chmod((dir_ / "real.xml").c_str(), 0600);
  std::filesystem::create_symlink(dir_ / "real.xml", dir_ / "cfg/Thunar/uca.xml");
  const DropInFiles files = Files();
  ASSERT_TRUE(lnx::InstallDropIns(files, "キヴォレットに登録", "/opt/kivoret"));
  EXPECT_TRUE(std::filesystem::is_symlink(files.thunarActions));
  EXPECT_EQ(Uca().find(kHead + kTerminal + "<!-- mine -->\n<action>\n"), 0u);
  struct stat st {};
  ASSERT_EQ(::stat((dir_ / "real.xml").c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
  // Our action taken out by hand in Thunar: the entry reads as absent, and installs again.
  WriteBytes(dir_ / "real.xml", mine);
  EXPECT_EQ(lnx::InstalledProgram(files, "キヴォレットに登録"), std::nullopt);
  ASSERT_TRUE(lnx::InstallDropIns(files, "キヴォレットに登録", "/opt/kivoret"));
  EXPECT_EQ(lnx::InstalledProgram(files, "キヴォレットに登録"), "/opt/kivoret");
  ASSERT_TRUE(lnx::RemoveDropIns(files));
  EXPECT_EQ(ReadBytes(dir_ / "real.xml"), mine);
}

TEST_F(DropInFilesTest, NothingAnywhereStartsAFreshFileAndAForeignFileIsLeftAlone) {
  const DropInFiles files = Files();
  ASSERT_TRUE(lnx::InstallDropIns(files, "キヴォレットに登録", "/opt/kivoret"));
  EXPECT_EQ(Uca().find(kHead + "<action>\n"), 0u);
  ASSERT_TRUE(lnx::RemoveDropIns(files));
  EXPECT_EQ(Uca(), kHead + kTail);

  WriteBytes(files.thunarActions, "not xml at all\n");
  EXPECT_FALSE(lnx::InstallDropIns(files, "キヴォレットに登録", "/opt/kivoret"));
  EXPECT_EQ(Uca(), "not xml at all\n");
  EXPECT_EQ(lnx::InstalledProgram(files, "キヴォレットに登録"), std::nullopt);
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

// Through the OS services, as the core uses them: the drop-ins are the entry's only state, and
// its command is read back from them. Modes, removal and the Exec lines run are checked end to
// end.
TEST_F(DropInFilesTest, FolderEntryIsItsDropInsAndReadsAsAbsentWhenOneIsGoneOrChanged) {
  std::setlocale(LC_ALL, "C.UTF-8");
  LinuxOsServices os{{dir_ / "cfg/kivoret", dir_ / "data"}, {}, "/nonexistent"};
  const std::wstring command = L"\"/opt/my apps/it's\" \"%1\"";
  ASSERT_TRUE(os.InstallFolderEntry(L"Kivoret", L"キヴォレットに登録(&F)", command));
  EXPECT_EQ(ReadBytes(dir_ / "data/kio/servicemenus/kivoret.desktop"),
            "[Desktop Entry]\nType=Service\nMimeType=inode/directory;\n"
            "X-KDE-ServiceTypes=KonqPopupMenu/Plugin\nActions=register;\n\n"
            "[Desktop Action register]\nName=キヴォレットに登録\n"
            "Exec=\"/opt/my apps/it's\" %f\n");
  EXPECT_EQ(os.FolderEntryCommand(L"Kivoret"), command);
  // A stand-in file of an earlier version is no part of the entry.
  WriteBytes(dir_ / "cfg/kivoret/registry.ini", "");
  EXPECT_EQ(os.FolderEntryCommand(L"Kivoret"), command);
  WriteBytes(dir_ / "cfg/caja/scripts/キヴォレットに登録", lnx::CajaScriptText("/opt/other"));
  EXPECT_EQ(os.FolderEntryCommand(L"Kivoret"), std::nullopt) << "the scripts disagree";
  std::filesystem::remove(dir_ / "data/nautilus/scripts/キヴォレットに登録");
  EXPECT_EQ(os.FolderEntryCommand(L"Kivoret"), std::nullopt);
  ASSERT_TRUE(os.RemoveFolderEntry(L"Kivoret"));
  EXPECT_FALSE(std::filesystem::exists(dir_ / "data/nemo/actions/kivoret.nemo_action"));
  EXPECT_TRUE(os.RemoveFolderEntry(L"Kivoret")) << "nothing left to remove";
}

}  // namespace
}  // namespace kv::lnx
