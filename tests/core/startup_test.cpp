// Start-up: the program directory, and the folder the command line hands over.
#include <gtest/gtest.h>

#include "fakes/harness.h"

namespace kv::test {
namespace {

TEST(StartUpTest, AppDirEndsInOneSeparatorAndHoldsTheSettings) {
  for (auto [path, expected] : {std::pair{L"C:\\", L"C:\\"}, {L"C:\\Tools", L"C:\\Tools\\"}}) {
    Harness h;
    h.tk.appPath = path;
    h.os.files[expected + std::wstring(L"Setting.ini")] = "[Folder001]\r\nTitle=Root\r\n";
    const auto form = StartUp(h.ctx);
    EXPECT_EQ(h.ctx.AppDir, expected);
    EXPECT_EQ(h.tk.VisibleCaptions().back(), L"Root") << "the menu saw the loaded list";
  }
}

// A folder on the command line: both boxes filled, the window opened, no popup. On Linux the
// folder is one argument, where a quote belongs to the name unless it wraps the whole argument.
TEST(StartUpTest, CommandLineFillsBothBoxesAndOpensTheWindow) {
  const std::tuple<const wchar_t*, const wchar_t*, const wchar_t*, wchar_t> cases[] = {
      {L"\"C:\\Data\\Photos\"", L"Photos", L"C:\\Data\\Photos", L'\\'},
      {L"\"C:\\\"", L"", L"C:\\", L'\\'},
      {L"\"C:\\My \"Old\" Files\"", L"My Old Files", L"C:\\My Old Files", L'\\'},
      {L" C:\\a b\\c d ", L"c d ", L" C:\\a b\\c d ", L'\\'},
      {L"/home/u/say \"hi\" $x 100%", L"say \"hi\" $x 100%", L"/home/u/say \"hi\" $x 100%", L'/'},
      {L"/home/u/q\"", L"q\"", L"/home/u/q\"", L'/'},
      {L"\"/home/u/\"q\"\"", L"\"q\"", L"/home/u/\"q\"", L'/'},
      {L"\"", L"\"", L"\"", L'/'}};
  for (const auto& [line, identifier, path, separator] : cases) {
    Harness h;
    h.tk.commandLine = line;
    h.tk.separator = separator;
    SettingsWindow form(h.ctx);
    form.Show();
    EXPECT_EQ(h.tk.Text(Control::NameBox), identifier) << line;
    EXPECT_EQ(h.tk.Text(Control::PathBox), path) << line;
    EXPECT_TRUE(form.ShowSettings);
    EXPECT_EQ(h.tk.log, (std::vector<std::string>{"create", "controls", "show"}));
  }
}

}  // namespace
}  // namespace kv::test
