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
    EXPECT_EQ(h.tk.captions.back(), L"Root") << "the menu saw the loaded list";
  }
}

// A folder on the command line fills both boxes and opens the window. On Linux the folder is
// one argument, where a quote belongs to the name unless it wraps the whole argument.
TEST(StartUpTest, CommandLineFillsBothBoxesAndOpensTheWindow) {
  const std::tuple<const wchar_t*, const wchar_t*, wchar_t> cases[] = {
      {L"\"C:\\Data\\Photos\"", L"Photos|C:\\Data\\Photos", L'\\'},
      {L"\"C:\\My \"Old\" Files\"", L"My Old Files|C:\\My Old Files", L'\\'},
      {L"\"/home/u/\"q\"\"", L"\"q\"|/home/u/\"q\"", L'/'}};
  for (const auto& [line, boxes, separator] : cases) {
    Harness h;
    h.tk.commandLine = line;
    h.tk.separator = separator;
    SettingsWindow form(h.ctx);
    form.Show();
    EXPECT_EQ(h.tk.Boxes(), boxes);
    EXPECT_TRUE(form.ShowSettings);
  }
}

}  // namespace
}  // namespace kv::test
