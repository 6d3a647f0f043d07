// The drive step's threads and waits on the real system: a hung query costs one deadline, and
// the process still ends; and no drive query may raise a system box.
#include <gtest/gtest.h>

#include <chrono>
#include <regex>
#include <sstream>

#include "launcher/drive_list.h"
#include "os_services_win32.h"
#include "scratch_dir.h"
#include "toolkit_win32.h"
#include "windows_api.h"

namespace kv::win32 {
namespace {

using namespace test;

TEST(DriveErrorMode, DriveQueriesRaiseNoSystemBoxAndTheOtherBitsStay) {
  const UINT before = ::GetErrorMode();
  ::SetErrorMode(SEM_NOGPFAULTERRORBOX);
  win32::QuietDriveErrors();
  EXPECT_EQ(::GetErrorMode(),
            UINT{SEM_NOGPFAULTERRORBOX | SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX});
  ::SetErrorMode(before);
}

TEST(DriveDeadlineWin32, AHungQueryCostsOneDeadlineAndTheProcessStillEnds) {
  ScratchDir dir;
  const std::filesystem::path out = dir.path() / L"titles.txt";
  std::wstring cmd =
      L"\"" + win32::Win32Toolkit().AppPath() + L"\\hung_drive.exe\" \"" + out.wstring() + L"\"";
  STARTUPINFOW si{sizeof(si)};
  PROCESS_INFORMATION pi{};
  ASSERT_TRUE(::CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               &si, &pi));
  const DWORD waited = ::WaitForSingleObject(pi.hProcess, 20000);
  DWORD code = 1;
  ::GetExitCodeProcess(pi.hProcess, &code);
  if (waited != WAIT_OBJECT_0) ::TerminateProcess(pi.hProcess, 1);
  ::CloseHandle(pi.hThread);
  ::CloseHandle(pi.hProcess);
  ASSERT_EQ(waited, WAIT_OBJECT_0) << "the process did not end with a query still blocked";
  EXPECT_EQ(code, 0u);

  const std::string bytes = ReadBytes(out.wstring()).value_or("");
  std::wistringstream in(
      std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / sizeof(wchar_t)));
  long took = -1;
  in >> took;
  in.ignore();
  std::vector<std::wstring> titles;
  for (std::wstring line; std::getline(in, line);) titles.push_back(line);
  // Wine starts threads slowly; the point is one deadline, not several, and never the hang.
  EXPECT_GE(took, kDriveDeadline.count() - 5);
  EXPECT_LT(took, kDriveDeadline.count() + 500);

  // Every root the system reports, in its order: C: under its bare root, the others in one of
  // the title forms (whether theirs answered in time depends on the machine's load).
  std::vector<std::wstring> roots;
  const std::wstring text = win32::Win32OsServices().GetLogicalDriveStrings();
  for (std::size_t at = 0; at < text.size() && text[at] != L'\0'; at = text.find(L'\0', at) + 1)
    roots.push_back(text.substr(at, text.find(L'\0', at) - at));
  ASSERT_EQ(titles.size(), roots.size());
  ASSERT_EQ(roots.front(), L"C:\\");
  EXPECT_EQ(titles.front(), L"C:\\");
  for (std::size_t i = 1; i < roots.size(); ++i) {
    EXPECT_EQ(titles[i].substr(0, roots[i].size()), roots[i]);
    EXPECT_TRUE(std::regex_match(titles[i].substr(roots[i].size()), std::wregex(LR"(( \[.+\])?)")))
        << titles[i];
  }
}

}  // namespace
}  // namespace kv::win32
