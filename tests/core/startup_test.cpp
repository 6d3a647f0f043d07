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

// A folder on the command line: both boxes filled, the window opened, no popup.
TEST(CommandLineTest, FillsBothBoxesAndOpensTheWindowWithoutPopup) {
  const CommandLineCase cases[] = {
      {L"\"C:\\Data\\Photos\"", L"Photos", L"C:\\Data\\Photos"},
      {L"\"C:\\\"", L"", L"C:\\"},
      {L"Photos", L"Photos", L"Photos"},
      {L"\"C:\\My \"Old\" Files\"", L"My Old Files", L"C:\\My Old Files"},
      {L"\"\"", L"", L""},
      {L" C:\\a b\\c d ", L"c d ", L" C:\\a b\\c d "},
      // Linux: one argument, where a quote belongs to the name unless it wraps the whole argument.
      {L"/home/u/写真", L"写真", L"/home/u/写真", L'/'},
      {L"/home/u/say \"hi\" $x 100%", L"say \"hi\" $x 100%", L"/home/u/say \"hi\" $x 100%", L'/'},
      {L"/home/u/\"q\"", L"\"q\"", L"/home/u/\"q\"", L'/'},
      {L"/home/u/q\"", L"q\"", L"/home/u/q\"", L'/'},
      {L"\"/home/u/my files\"", L"my files", L"/home/u/my files", L'/'},
      {L"\"/home/u/\"q\"\"", L"\"q\"", L"/home/u/\"q\"", L'/'},
      {L"\"", L"\"", L"\"", L'/'}};
  for (const CommandLineCase& c : cases) {
    Harness h;
    h.tk.commandLine = c.commandLine;
    h.tk.separator = c.separator;
    SettingsWindow form(h.ctx);
    form.Show();
    EXPECT_EQ(h.tk.Text(Control::NameBox), c.identifier) << c.commandLine;
    EXPECT_EQ(h.tk.Text(Control::PathBox), c.path) << c.commandLine;
    EXPECT_TRUE(form.ShowSettings);
    EXPECT_EQ(h.tk.log, (std::vector<std::string>{"create", "controls", "show"}));
  }
}

}  // namespace
}  // namespace kv::test
