// The drive step with C:'s query hung for ever: writes how many milliseconds it took to the
// file given, then ends the way the program does, with that query still blocked.
#include <chrono>
#include <filesystem>
#include <fstream>

#include "launcher/drive_list.h"
#include "os_services_win32.h"
#include "toolkit_win32.h"

int wmain(int, wchar_t** argv) {
  kv::win32::Win32OsServices os([](const std::wstring& root) -> kv::DriveQuery {
    if (root != L"C:\\") return kv::win32::Win32OsServices::SystemDriveQuery(root);
    return [](kv::DriveReport&) { ::Sleep(INFINITE); };
  });
  const auto start = std::chrono::steady_clock::now();
  kv::GetDriveList(os);
  std::ofstream(std::filesystem::path(argv[1]))
      << (std::chrono::steady_clock::now() - start) / std::chrono::milliseconds(1);
  kv::win32::Win32Toolkit().End();
  return 1;  // End does not come back
}
