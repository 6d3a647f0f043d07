// The contract suites on the Win32 backend (the INI tables meet the real profile functions in
// ini_differential_test.cpp).
#include <cstdlib>

#include "contract/ini_cases.h"
#include "contract/settings_file_cases.h"
#include "os_services_win32.h"
#include "scratch_dir.h"
#include "toolkit_win32.h"
#include "unique_handle.h"

namespace kv::win32 {
namespace {

std::optional<std::wstring> DirFromEnv(const char* name) {  // set by fs-cases.sh
  const char* d = std::getenv(name);
  return d ? std::optional(std::filesystem::path(d).wstring() + L"\\") : std::nullopt;
}

struct Win32Backend : contract::FileBackend {
  OsServices& Os() override { return os; }
  Toolkit& Tk() override { return tk; }
  std::wstring Dir() override { return dir.dir(); }
  void Write(const std::wstring& f, const std::string& b) override { test::WriteBytes(f, b); }
  std::optional<std::string> Read(const std::wstring& f) override { return test::ReadBytes(f); }
  // Another program holds the file without sharing it.
  void MakeUnreadable(const std::wstring& f) override {
    held.reset(CreateFileW(f.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  }
  void Restore(const std::wstring&) override { held.reset(); }
  // Wine cannot make a Unix link nor mount a file system: fs-cases.sh makes them.
  std::optional<std::wstring> LinkedDir() override { return DirFromEnv("KV_LINK_DIR"); }
  std::optional<std::wstring> FullDir() override { return DirFromEnv("KV_FULL_DIR"); }

  test::ScratchDir dir;
  Win32OsServices os;
  Win32Toolkit tk;
  UniqueFile held;
};

}  // namespace
}  // namespace kv::win32

namespace kv::contract {
const auto kWin32 =
    ::testing::Values(Backend{[] { return std::make_unique<win32::Win32Backend>(); }});
INSTANTIATE_TEST_SUITE_P(Win32, IniContract, kWin32);
INSTANTIATE_TEST_SUITE_P(Win32, SettingsFile, kWin32);
INSTANTIATE_TEST_SUITE_P(Win32, DiskSettingsFile, kWin32);
}  // namespace kv::contract
