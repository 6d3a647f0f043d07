// The contract suites on the Win32 backend, and the INI tables against the real profile
// functions, whose behaviour they describe.
#include <cstdlib>

#include "codepage.h"
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

TEST(IniFileWin32, TheTablesAreWhatTheRealProfileFunctionsDo) {
  test::ScratchDir dir;
  const std::string file = ToAcp(dir.file(L"case.ini"));
  const auto fresh = [&](const contract::Bytes& bytes) {
    std::filesystem::remove(file);
    if (bytes) test::WriteBytes(FromAcp(file), *bytes);
    return file.c_str();
  };
  for (const auto& c : contract::IniReadCases())
    EXPECT_EQ(FromAcp(test::RealProfileString(ToAcp(c.section), ToAcp(c.key), ToAcp(c.def),
                                              fresh(c.file))),
              c.expected)
        << c.name;
  for (const auto& c : contract::IniIntCases())
    EXPECT_EQ(
        static_cast<std::int32_t>(GetPrivateProfileIntA("Main", "Drive", c.def, fresh(c.file))),
        c.expected)
        << c.name;
  const bool wine = GetProcAddress(GetModuleHandleA("ntdll"), "wine_get_version");
  for (const auto& c : contract::IniWriteCases()) {
    fresh(c.file);
    for (const auto& w : c.writes)
      ASSERT_TRUE(WritePrivateProfileStringA(ToAcp(w.section).c_str(), ToAcp(w.key).c_str(),
                                             ToAcp(w.value).c_str(), file.c_str()));
    EXPECT_EQ(test::ReadBytes(FromAcp(file)),
              wine && c.expectedUnderWine ? c.expectedUnderWine : c.expected)
        << c.name;
  }
}

}  // namespace
}  // namespace kv::win32

namespace kv::contract {
const auto kWin32 =
    ::testing::Values(Backend{[] { return std::make_unique<win32::Win32Backend>(); }});
INSTANTIATE_TEST_SUITE_P(Win32, IniContract, kWin32);
INSTANTIATE_TEST_SUITE_P(Win32, SettingsFile, kWin32);
INSTANTIATE_TEST_SUITE_P(Win32, DiskSettingsFile, kWin32);
}  // namespace kv::contract
