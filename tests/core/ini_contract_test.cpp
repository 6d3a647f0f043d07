// The shared INI cases on the fake file system: the fakes follow the same contract as the
// program on both platforms.
#include <gtest/gtest.h>

#include "contract/ini_cases.h"
#include "contract/ini_through_document.h"
#include "fakes/fake_os.h"

namespace kv::contract {
// Names rather than bytes in the test listing.
void PrintTo(const auto& c, std::ostream* os) requires requires { c.name; }
{ *os << c.name; }
}  // namespace kv::contract

namespace kv::test {
namespace {

template <typename Case>
class FakeIniTest : public ::testing::TestWithParam<Case> {
 protected:
  std::wstring File() {
    if (const auto& bytes = this->GetParam().file) os.files[file] = *bytes;
    return file;
  }
  FakeOs os;
  const std::wstring file = L"C:\\Tools\\case.ini";
};
using FakeIniRead = FakeIniTest<contract::IniReadCase>;
using FakeIniInt = FakeIniTest<contract::IniIntCase>;
using FakeIniWrite = FakeIniTest<contract::IniWriteCase>;

TEST_P(FakeIniRead, ReadsAsWindowsDoes) {
  EXPECT_EQ(contract::ReadString(os, File(), GetParam()), GetParam().expected);
}

TEST_P(FakeIniInt, ReadsIntegersAsWindowsDoes) {
  EXPECT_EQ(contract::ReadInt(os, File(), GetParam()), GetParam().expected);
}

TEST_P(FakeIniWrite, WritesAsWindowsDoes) {
  ASSERT_TRUE(contract::WriteEach(os, File(), GetParam().writes));
  EXPECT_EQ(os.files[file], GetParam().expected);
}

const auto kName = ::testing::PrintToStringParamName();
INSTANTIATE_TEST_SUITE_P(Fake, FakeIniRead, ::testing::ValuesIn(contract::IniReadCases()), kName);
INSTANTIATE_TEST_SUITE_P(Fake, FakeIniInt, ::testing::ValuesIn(contract::IniIntCases()), kName);
INSTANTIATE_TEST_SUITE_P(Fake, FakeIniWrite, ::testing::ValuesIn(contract::IniWriteCases()), kName);

}  // namespace
}  // namespace kv::test
