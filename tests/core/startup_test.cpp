// Start-up: the program directory and the choice of mode from the command line.
#include <gtest/gtest.h>

#include "fakes/harness.h"

namespace kv::test {
namespace {

TEST(StartUpTest, AppDirEndsInExactlyOneSeparator) {
  for (auto [path, expected] : {std::pair{L"C:\\", L"C:\\"}, {L"C:\\Tools", L"C:\\Tools\\"}}) {
    Harness h;
    h.tk.appPath = path;
    h.tk.popupChoice.reset();
    StartUp(h.ctx);
    EXPECT_EQ(h.ctx.AppDir, expected);
  }
}

TEST(StartUpTest, LoadsSettingsFromAppDirBeforeTheForm) {
  Harness h;
  h.tk.appPath = L"C:\\";
  h.os.files[L"C:\\Setting.ini"] = "[Folder001]\r\nTitle=Root\r\n";
  StartUp(h.ctx);
  ASSERT_EQ(UBound(h.ctx.FolderList), 1);
  EXPECT_EQ(h.tk.VisibleCaptions().back(), L"Root") << "the menu saw the loaded list";
}

struct CommandLineCase {
  const wchar_t* commandLine;
  const wchar_t* identifier;
  const wchar_t* path;
};

class CommandLineTest : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(CommandLineTest, FillsBothBoxesAndOpensTheWindowWithoutPopup) {
  Harness h;
  h.tk.commandLine = GetParam().commandLine;
  Form1 form(h.ctx);
  form.Show();
  EXPECT_EQ(h.tk.Text(0), GetParam().identifier);
  EXPECT_EQ(h.tk.Text(1), GetParam().path);
  EXPECT_TRUE(form.ShowSettings);
  EXPECT_FALSE(h.tk.Logged("popup"));
  EXPECT_EQ(h.tk.log, (std::vector<std::string>{"create", "show"}));
}

INSTANTIATE_TEST_SUITE_P(
    Forms, CommandLineTest,
    ::testing::Values(CommandLineCase{L"\"C:\\Data\\Photos\"", L"Photos", L"C:\\Data\\Photos"},
                      CommandLineCase{L"\"C:\\\"", L"", L"C:\\"},
                      CommandLineCase{L"Photos", L"Photos", L"Photos"},
                      CommandLineCase{L"\"C:\\My \"Old\" Files\"", L"My Old Files",
                                      L"C:\\My Old Files"},
                      CommandLineCase{L"\"\"", L"", L""},
                      CommandLineCase{L" C:\\a b\\c d ", L"c d ", L" C:\\a b\\c d "}));

TEST(LauncherModeTest, DismissedPopupEndsWithoutWindowOrWrite) {
  Harness h;
  Form1 form(h.ctx);
  form.Show();
  EXPECT_EQ(h.tk.log, (std::vector<std::string>{"create", "popup", "unload", "end"}));
  EXPECT_TRUE(h.os.opened.empty());
  EXPECT_TRUE(h.os.files.empty());
}

TEST(LauncherModeTest, ProgramNameItemLeadsIntoSettingsWithEmptyBoxes) {
  Harness h;
  h.AddFolders({{L"A", L"C:\\A\\"}});
  h.tk.popupChoice = MenuRef{MenuKind::ProgramName, 0};
  Form1 form(h.ctx);
  form.Show();
  EXPECT_EQ(h.tk.log, (std::vector<std::string>{"create", "popup", "popup closed", "show"}));
  EXPECT_EQ(h.tk.Text(0), L"");
  EXPECT_EQ(h.tk.Text(1), L"");
  EXPECT_EQ(h.tk.listItems, std::vector<std::wstring>{L"A"}) << "the opening block ran";
  EXPECT_TRUE(h.os.opened.empty());
}

TEST(LauncherModeTest, LinuxSeparatorSplitsTheIdentifier) {
  Harness h;
  h.tk.separator = L'/';
  h.tk.commandLine = L"/home/u/写真";
  Form1 form(h.ctx);
  form.Show();
  EXPECT_EQ(h.tk.Text(0), L"写真");
}

}  // namespace
}  // namespace kv::test
