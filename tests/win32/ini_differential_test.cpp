// Our INI document against the real profile functions on generated files: every answer the
// same, and a file written from empty byte for byte the same.
#include <gtest/gtest.h>

#include <random>

#include "codepage.h"
#include "contract/ini_through_document.h"
#include "os_services_win32.h"
#include "scratch_dir.h"

namespace kv::win32 {
namespace {

// Names whose case and blanks vary, so that lookups, duplicates and misses all occur; Shift-JIS
// text whose second bytes look like "\", "[" or "]".
const char* const kSections[] = {"Main", "Folder001", "a b", "\x93\xfa\x96\x7b"};
const char* const kKeys[] = {"Title", "Path", "k", "\x96\xbc\x91\x4f"};
const char* const kSjis[] = {"\x95\x5c", "\x83\x5c", "\x82\xa0", "\x8a\xbf", "\x81\x5b"};

struct Gen {
  std::mt19937 rng;
  int Below(int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); }
  std::string Blanks() { return std::string(Below(3) ? 0 : Below(3), Below(2) ? ' ' : '\t'); }
  template <std::size_t N>
  std::string Pick(const char* const (&names)[N]) {
    std::string s = names[Below(N)];
    for (char& c : s)  // an ASCII letter's case is its 0x20 bit
      if ((c | 0x20) >= 'a' && (c | 0x20) <= 'z' && !Below(3)) c ^= 0x20;
    return s;
  }
  std::string Value(bool noise) {  // `noise`: bytes no text holds
    const int kind = Below(noise ? 7 : 6);
    if (kind == 0) return "C:\\Data\\" + std::to_string(Below(1000)) + "\\";
    if (kind == 1) return "\"" + Value(false) + "\"";
    if (kind == 2) return "'" + Value(false) + (Below(2) ? "'" : "");
    if (kind == 3) return std::to_string(static_cast<int>(rng()));
    if (kind == 4) return std::string(300 + Below(5000), static_cast<char>('a' + Below(26)));
    std::string v;
    if (kind == 5) {
      for (int i = Below(200); i > 0; --i) v += kSjis[Below(5)];
      return v + (Below(4) ? "" : "a = b ; c");
    }
    for (int i = Below(40); i > 0; --i)
      if (const char c = static_cast<char>(rng()); c != '\r' && c != '\n' && c) v += c;
    return v;
  }
  // Wine ends a header at its last "]" and reads a "[" line without "]" as a key, where Windows
  // (and our reader) end it at the first and open a section: no such line is made, and only the
  // last line may lack its end.
  std::string Line() {
    const int kind = Below(8);
    if (kind == 0) return Blanks() + "[" + Blanks() + Pick(kSections) + Blanks() + "]" + Blanks();
    if (kind == 1) return "[" + Pick(kSections) + "]x";
    if (kind == 2) return Blanks() + ";" + Pick(kKeys) + "=" + Value(false);
    if (kind == 3) return Below(2) ? Blanks() : Pick(kKeys);
    return Blanks() + Pick(kKeys) + Blanks() + "=" + Blanks() + Value(true) + Blanks();
  }
  std::string File() {
    const char* eol = Below(3) ? "\r\n" : "\n";
    std::string f;
    for (int i = Below(8) + 1; i > 0; --i) f += Line() + (i > 1 || Below(20) ? eol : "");
    return f;
  }
};

TEST(IniDifferential, GeneratedFilesReadTheSame) {
  ASSERT_EQ(GetACP(), 932u) << "needs LANG=ja_JP.UTF-8";
  test::ScratchDir dir;
  Win32OsServices os;
  const std::wstring file = dir.file(L"gen.ini");
  Gen gen{std::mt19937(20261207)};
  int differing = 0;
  for (int n = 0; n < 20000; ++n) {
    std::string bytes = gen.File();
    if (!gen.Below(25)) {  // a file with the UTF-8 mark is read as UTF-8
      const std::wstring text = FromAcp(bytes);
      bytes.assign(text.size() * 3 + 3, '\0').replace(0, 3, "\xEF\xBB\xBF");
      bytes.resize(3 + WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                           &bytes[3], static_cast<int>(text.size() * 3), 0, 0));
    }
    test::WriteBytes(file, bytes);
    const IniFile ours = ReadIniFile(os, file);
    const std::string s = gen.Blanks() + gen.Pick(kSections) + gen.Blanks(),
                      k = gen.Pick(kKeys) + gen.Blanks();
    const std::string real = test::RealProfileString(s, k, "<def>", ToAcp(file));
    const int realInt =
        static_cast<int>(GetPrivateProfileIntA(s.c_str(), k.c_str(), 7, ToAcp(file).c_str()));
    if ((real != ToAcp(GetIniString(ours, FromAcp(s), FromAcp(k), L"<def>")) ||
         realInt != GetIniInt(ours, FromAcp(s), FromAcp(k), 7)) &&
        ++differing <= 5)
      ADD_FAILURE() << "[" << s << "] " << k << " real: " << real.substr(0, 80) << " / " << realInt
                    << "\nfile: " << testing::PrintToString(bytes.substr(0, 400));
  }
  EXPECT_EQ(differing, 0);
}

TEST(IniDifferential, FilesWrittenFromEmptyAreTheSame) {
  test::ScratchDir dir;
  Win32OsServices os;
  const std::wstring real = dir.file(L"real.ini"), ours = dir.file(L"ours.ini");
  Gen gen{std::mt19937(7)};
  for (int n = 0; n < 150; ++n) {
    DeleteFileW(real.c_str()), DeleteFileW(ours.c_str());
    std::vector<std::wstring> texts;
    texts.reserve(120);  // the writes point into it
    std::vector<contract::IniWrite> writes;
    for (int i = gen.Below(40) + 1; i > 0; --i) {
      // Wine drops a value's leading blanks where Windows keeps them (and so do we): none here.
      std::string v = gen.Value(false), s = gen.Pick(kSections), k = gen.Pick(kKeys);
      v.erase(0, v.find_first_not_of(" \t") == std::string::npos ? v.size()
                                                                 : v.find_first_not_of(" \t"));
      ASSERT_TRUE(WritePrivateProfileStringA(s.c_str(), k.c_str(), v.c_str(), ToAcp(real).c_str()));
      for (const std::string* t : {&s, &k, &v}) texts.push_back(FromAcp(*t));
      writes.push_back(
          {texts[texts.size() - 3].c_str(), texts[texts.size() - 2].c_str(), texts.back().c_str()});
    }
    ASSERT_TRUE(contract::WriteEach(os, ours, writes));
    ASSERT_EQ(test::ReadBytes(real), test::ReadBytes(ours)) << "sequence " << n;
  }
}

}  // namespace
}  // namespace kv::win32
