// The contract suites on the fake backend: the fake keeps the promises the real ones keep.
#include "contract/ini_cases.h"
#include "contract/settings_file_cases.h"
#include "fakes/fake_toolkit.h"

namespace kv::contract {

struct FakeBackend : FileBackend {
  test::FakeOs os;
  test::FakeToolkit tk{os};
  OsServices& Os() override { return os; }
  Toolkit& Tk() override { return tk; }
  std::wstring Dir() override { return L"C:\\Tools\\"; }
  void Write(const std::wstring& f, const std::string& bytes) override { os.files[f] = bytes; }
  std::optional<std::string> Read(const std::wstring& f) override {
    return os.files.contains(f) ? std::optional(os.files[f]) : std::nullopt;
  }
  void MakeUnreadable(const std::wstring& f) override { os.unreadable.insert(f); }
  void Restore(const std::wstring& f) override { os.unreadable.erase(f); }
};

const auto kFake = ::testing::Values(Backend{[] { return std::make_unique<FakeBackend>(); }});
INSTANTIATE_TEST_SUITE_P(Fake, IniContract, kFake);
INSTANTIATE_TEST_SUITE_P(Fake, SettingsFile, kFake);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(DiskSettingsFile);  // no links or disks in memory

}  // namespace kv::contract
