// Start-up: the program directory and the choice of mode from the command line.
#include <gtest/gtest.h>

#include "fakes/harness.h"

namespace kv::test {
namespace {

// The settings come from the program's folder, read before the form is made.
TEST(StartUpTest, AppDirEndsInExactlyOneSeparatorAndHoldsTheSettings) {
  for (auto [path, expected] : {std::pair{L"C:\\", L"C:\\"}, {L"C:\\Tools", L"C:\\Tools\\"}}) {
    Harness h;
    h.tk.appPath = path;
    h.os.files[expected + std::wstring(L"Setting.ini")] = "[Folder001]\r\nTitle=Root\r\n";
    const auto form = StartUp(h.ctx);
    EXPECT_EQ(h.ctx.AppDir, expected);
    ASSERT_EQ(UBound(h.ctx.FolderList), 1);
    EXPECT_EQ(h.tk.VisibleCaptions().back(), L"Root") << "the menu saw the loaded list";
  }
}

struct CommandLineCase {
  const wchar_t* commandLine;
  const wchar_t* identifier;
  const wchar_t* path;
  wchar_t separator = L'\\';
};

class CommandLineTest : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(CommandLineTest, FillsBothBoxesAndOpensTheWindowWithoutPopup) {
  Harness h;
  h.tk.commandLine = GetParam().commandLine;
  h.tk.separator = GetParam().separator;
  Form1 form(h.ctx);
  form.Show();
  EXPECT_EQ(h.tk.Text(0), GetParam().identifier);
  EXPECT_EQ(h.tk.Text(1), GetParam().path);
  EXPECT_TRUE(form.ShowSettings);
  EXPECT_FALSE(h.tk.Logged("popup"));
  EXPECT_EQ(h.tk.log, (std::vector<std::string>{"create", "controls", "show"}));
}

INSTANTIATE_TEST_SUITE_P(
    Forms, CommandLineTest,
    ::testing::Values(
        CommandLineCase{L"\"C:\\Data\\Photos\"", L"Photos", L"C:\\Data\\Photos"},
        CommandLineCase{L"\"C:\\\"", L"", L"C:\\"},
        CommandLineCase{L"Photos", L"Photos", L"Photos"},
        CommandLineCase{L"\"C:\\My \"Old\" Files\"", L"My Old Files", L"C:\\My Old Files"},
        CommandLineCase{L"\"\"", L"", L""},
        CommandLineCase{L" C:\\a b\\c d ", L"c d ", L" C:\\a b\\c d "},
        // Linux: one argument, where a quote belongs to the name unless it wraps
        // the whole argument.
        CommandLineCase{L"/home/u/写真", L"写真", L"/home/u/写真", L'/'},
        CommandLineCase{L"/home/u/say \"hi\" $x 100%", L"say \"hi\" $x 100%",
                        L"/home/u/say \"hi\" $x 100%", L'/'},
        CommandLineCase{L"/home/u/\"q\"", L"\"q\"", L"/home/u/\"q\"", L'/'},
        CommandLineCase{L"/home/u/q\"", L"q\"", L"/home/u/q\"", L'/'},
        CommandLineCase{L"\"/home/u/my files\"", L"my files", L"/home/u/my files", L'/'},
        CommandLineCase{L"\"/home/u/\"q\"\"", L"\"q\"", L"/home/u/\"q\"", L'/'},
        CommandLineCase{L"\"", L"\"", L"\"", L'/'}));

}  // namespace
}  // namespace kv::test
