// The drive step with C:'s query hung on an event nobody sets, the others asking the system:
// writes how long it took and the titles (UTF-16, one a line) to the file given, then ends the
// way the program does, with that query still blocked.
#include <chrono>
#include <filesystem>
#include <fstream>

#include "launcher/drive_list.h"
#include "os_services_win32.h"
#include "toolkit_win32.h"
#include "windows_api.h"

int wmain(int argc, wchar_t** argv) {
  kv::win32::QuietDriveErrors();
  if (argc < 2) return 2;
  const HANDLE never = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
  kv::win32::Win32OsServices os([never](const std::wstring& root) -> kv::DriveQuery {
    if (root != L"C:\\") return kv::win32::Win32OsServices::SystemDriveQuery(root);
    return [never](kv::DriveReport&) { ::WaitForSingleObject(never, INFINITE); };
  });
  const auto start = std::chrono::steady_clock::now();
  const kv::FolderArray list = kv::GetDriveList(os);
  const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
      std::chrono::steady_clock::now() - start);
  std::wstring text = std::to_wstring(took.count()) + L"\n";
  for (const auto& e : list) text += e.Title + L"\n";
  std::ofstream(std::filesystem::path(argv[1]), std::ios::binary)
      .write(reinterpret_cast<const char*>(text.data()), text.size() * sizeof(wchar_t));
  kv::win32::Win32Toolkit().End();
  return 1;  // End does not come back
}
