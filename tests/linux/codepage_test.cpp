// Locale conversion: undecodable bytes kept through a round trip, unencodable characters.
#include "codepage.h"

#include <gtest/gtest.h>

#include <clocale>

namespace kv::lnx {
namespace {

class CodePage : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { std::setlocale(LC_ALL, "C.UTF-8"); }
};

TEST_F(CodePage, UndecodableBytesSurviveARoundTrip) {
  const std::string cases[] = {
      std::string("a\xFF"
                  "b"),                 // never valid
      std::string("\x83\x74\x83\x48"),  // Shift-JIS bytes of a file name
      std::string("x\xE5\x86"),         // truncated sequence at the end
      std::string("\xED\xB2\x80"),      // an encoded surrogate
      std::string("nul\0inside", 10),
  };
  for (const std::string& bytes : cases) {
    const std::wstring wide = lnx::Decode(bytes);
    std::string back;
    EXPECT_TRUE(lnx::Encode(wide, back));
    EXPECT_EQ(back, bytes);
  }
  EXPECT_EQ(lnx::Decode("a\xFF"), std::wstring(L"a") + wchar_t(0xDCFF));
}

TEST_F(CodePage, UnencodableCharacterReported) {
  std::string out;
  // A high surrogate on its own has no UTF-8 form and is not one of the escaped bytes.
  EXPECT_FALSE(lnx::Encode(std::wstring(L"a") + wchar_t(0xD800), out));
  EXPECT_EQ(out, "a?");
  std::setlocale(LC_ALL, "C");
  EXPECT_FALSE(lnx::Encode(L"写", out));
  // A tag character comes out of the ASCII converter as nothing at all.
  EXPECT_FALSE(lnx::Encode(std::wstring(L"Q") + wchar_t(0xE000D), out));
  EXPECT_EQ(out, "Q?");
  std::setlocale(LC_ALL, "C.UTF-8");
}

}  // namespace
}  // namespace kv::lnx
