// The backend's own decisions on the real system, where no run of the program shows them.
#include <gtest/gtest.h>

#include <filesystem>

#include "launcher/drive_list.h"
#include "os_services_win32.h"
#include "scratch_dir.h"
#include "toolkit_win32.h"
#include "window_handover.h"

namespace kv::win32 {
namespace {

// 表 ends in the byte 0x5C in CP932; Ā has no CP932 form; hidden or system entries do not count.
TEST(DirTest, FindsVisibleEntriesEvenPastHiddenOnesAndRefusesPatternsAndLossyNames) {
  test::ScratchDir dir;
  std::filesystem::create_directories(dir.path / L"写真表");
  for (const auto& [name, attributes] : {std::pair{L"file.txt", FILE_ATTRIBUTE_NORMAL},
                                         {L"hidden", FILE_ATTRIBUTE_HIDDEN},
                                         {L"hiddensys", FILE_ATTRIBUTE_SYSTEM},
                                         {L"mixhidden", FILE_ATTRIBUTE_HIDDEN},
                                         {L"mixvisible", FILE_ATTRIBUTE_NORMAL}}) {
    test::WriteBytes(dir.file(name), "x");
    SetFileAttributesW(dir.file(name).c_str(), attributes);
  }
  const std::pair<const wchar_t*, DirectoryState> cases[] = {
      {L"写真表\\", DirectoryState::Found},     {L"file.txt\\", DirectoryState::NotFound},
      {L"hid", DirectoryState::NotFound},       {L"mix", DirectoryState::Found},
      {L"mix?isible", DirectoryState::BadName}, {L"\u0100\\", DirectoryState::BadName}};
  for (const auto& [name, expected] : cases) {
    EXPECT_EQ(Win32Toolkit().TestDirectory(dir.dir() + name), expected)
        << testing::PrintToString(name);
  }
}

TEST(ApplicationTest, ArgumentsFollowTheProgramQuotedOrNotAndUnitsRound) {
  for (const auto& [line, arguments] : {std::pair{LR"("C:\My Tools\k.exe"   )", L""},
                                        {L"k.exe \t  a b ", L"a b "},
                                        {LR"(k.exe "")", LR"("")"},
                                        {LR"("C:\k.exe)", L""}})
    EXPECT_EQ(ArgumentsOf(line), arguments) << testing::PrintToString(std::wstring(line));
  EXPECT_EQ(TwipsToPixels(1095, 144), 110);  // 109.5 rounds half up
  EXPECT_EQ(MenuText(L"A&B&&"), L"A&&B&&&&");
}

TEST(ShellWindowTest, NavigatesTheTabInViewOfThatWindowOnly) {
  HWND a = reinterpret_cast<HWND>(0x1000), b = reinterpret_cast<HWND>(0x2000);
  // Top-level windows and whether each tab is in view; the window; which tab goes; it refuses.
  const std::tuple<std::vector<std::pair<HWND, bool>>, HWND, int, bool> cases[] = {
      {{{b, false}, {a, false}}, a, 1, false},  // its only tab, in view or not
      {{{a, false}, {a, true}, {b, true}}, a, 1, false},
      {{{a, false}, {a, false}}, a, -1, false},  // several, none known in view
      {{{b, true}}, a, -1, false},
      {{{a, true}}, a, 0, true}};
  for (const auto& [windows, window, navigated, refuses] : cases) {
    std::vector<std::wstring> calls(windows.size());
    std::vector<ShellBrowserTab> tabs;
    for (std::size_t i = 0; i < windows.size(); ++i)
      tabs.push_back({windows[i].first, windows[i].second,
                      [&, i](const std::wstring& p) { return calls[i] = p, !refuses; }});
    EXPECT_EQ(NavigateShellWindow(tabs, window, L"D:\\"), navigated >= 0 && !refuses);
    for (std::size_t i = 0; i < calls.size(); ++i)
      EXPECT_EQ(calls[i], int(i) == navigated ? L"D:\\" : L"") << navigated << i;
  }
}

// A hung query costs one deadline, and the process ends with it still blocked; a query of an
// empty drive raises no system box.
TEST(DriveTest, AHungQueryCostsOneDeadlineAndNoQueryRaisesABox) {
  test::ScratchDir dir;
  std::wstring cmd = L"hung_drive.exe \"" + dir.file(L"o") + L"\"";
  STARTUPINFOW si{sizeof(si)};
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, 0, 0, 0, 0, &si, &pi));
  DWORD code = WaitForSingleObject(pi.hProcess, 20000);
  GetExitCodeProcess(pi.hProcess, &code);
  EXPECT_EQ(code, 0u) << "it did not end, or not as the program does";
  TerminateProcess(pi.hProcess, 1);
  // Wine starts threads slowly: the point is one deadline, not several, and never the hang.
  const int took = std::stoi(test::ReadBytes(dir.file(L"o")).value_or("-1"));
  EXPECT_GE(took, kDriveDeadline.count() - 5);
  EXPECT_LT(took, kDriveDeadline.count() + 500);
  SetErrorMode(SEM_NOGPFAULTERRORBOX);
  QuietDriveErrors();
  EXPECT_EQ(GetErrorMode(),
            UINT{SEM_NOGPFAULTERRORBOX | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX});
  EXPECT_EQ(DriveTypeOf(L"C:\\"), unsigned{kDriveFixed});
}

}  // namespace
}  // namespace kv::win32
