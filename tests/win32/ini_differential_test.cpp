// Our INI document against the real profile functions on generated files: every answer the
// same, and a file written from empty byte for byte the same.
#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "codepage.h"
#include "contract/ini_through_document.h"
#include "os_services_win32.h"
#include "scratch_dir.h"
#include "windows_api.h"

namespace kv::win32 {
namespace {

using namespace test;

// Files mix these names (case and blanks vary) so that lookups, duplicates and misses all occur.
const char* const kSections[] = {"Main", "Folder001", "Folder002", "a b", "\x93\xfa\x96\x7b"};
const char* const kKeys[] = {"Title", "Path", "Drive", "k", "\x96\xbc\x91\x4f"};
// Shift-JIS text, including characters whose second byte is "\" or "[" / "]"-like.
const char* const kSjis[] = {"\x8e\xca\x90\x5e", "\x95\x5c",         "\x83\x5c",
                             "\x82\xa0\x82\xa2", "\x8a\xbf\x8e\x9a", "\x81\x5b"};

class Gen {
 public:
  explicit Gen(std::uint32_t seed) : rng_(seed) {}
  int Below(int n) { return static_cast<int>(rng_() % static_cast<unsigned>(n)); }
  bool OneIn(int n) { return Below(n) == 0; }

  std::string Blanks() { return std::string(Below(3) == 0 ? Below(3) : 0, OneIn(2) ? ' ' : '\t'); }
  std::string Case(std::string s) {
    for (char& c : s)  // an ASCII letter's case is its 0x20 bit
      if ((c | 0x20) >= 'a' && (c | 0x20) <= 'z' && OneIn(3)) c ^= 0x20;
    return s;
  }
  std::string Section() { return Case(kSections[Below(std::size(kSections))]); }
  std::string Key() { return Case(kKeys[Below(std::size(kKeys))]); }

  // Values as people and programs write them; `noise` allows bytes no text holds.
  std::string Value(bool noise) {
    std::string v;
    switch (Below(noise ? 9 : 8)) {
      case 0:
        return "C:\\Data\\" + std::to_string(Below(1000)) + "\\";
      case 1:
        return kSjis[Below(std::size(kSjis))] + std::string(kSjis[Below(std::size(kSjis))]);
      case 2:
        return "\"" + Value(false) + "\"";
      case 3:
        return "'" + Value(false) + (OneIn(2) ? "'" : "");
      case 4:
        return std::to_string(static_cast<int>(rng_()));
      case 5:
        return std::string(300 + Below(5000), static_cast<char>('a' + Below(26)));
      case 6:
        for (int i = Below(200); i > 0; --i) v += kSjis[Below(std::size(kSjis))];
        return v;
      case 7:
        return "a = b ; c";
      case 8:
        for (int i = Below(40); i > 0; --i) {
          const char c = static_cast<char>(rng_() & 0xFF);
          if (c != '\r' && c != '\n' && c != '\0') v += c;
        }
    }
    return v;
  }

  std::string Line() {
    switch (Below(10)) {
      case 0:
        return Blanks() + "[" + Blanks() + Section() + Blanks() + "]" + Blanks();
      case 1:
        return "[" + Section() + (OneIn(3) ? "" : "]x");
      case 2:
        return Blanks() + ";" + Key() + "=" + Value(false);
      case 3:
        return Blanks();
      case 4:
        return Key();
      default:
        return Blanks() + Key() + Blanks() + "=" + Blanks() + Value(true) + Blanks();
    }
  }

  // A file: lines before any header, headers (some without "]"), keys, comments, blank lines,
  // lines without "=", in one of the three line endings, sometimes with a UTF-8 mark.
  std::string File() {
    static const char* const kEol[] = {"\r\n", "\n", "\r\n"};
    const char* eol = kEol[Below(3)];
    std::string f;
    for (int i = Below(8) + 1; i > 0; --i) {
      f += Line();
      f += OneIn(20) ? "" : eol;
    }
    return f;
  }

 private:
  std::mt19937 rng_;
};

// Where Windows and Wine differ, Windows wins (our reader follows it) and the file is not
// compared. Windows ends a header at its first "]" and opens a section at a "[" line without
// "]" (named by the rest of the line); Wine ends a header at its last "]" and takes a "[" line
// without "]" for a key of the section before.
bool HasHeaderWineReadsOtherwise(const std::string& bytes) {
  std::size_t pos = bytes.starts_with("\xEF\xBB\xBF") ? 3 : 0;
  while (pos < bytes.size()) {
    std::size_t end = bytes.find_first_of("\r\n", pos);
    if (end == std::string::npos) end = bytes.size();
    const std::string line = bytes.substr(pos, end - pos);
    const std::size_t first = line.find_first_not_of(" \t");
    if (first != std::string::npos && line[first] == '[' &&
        (line.find(']') == std::string::npos || line.find(']') != line.rfind(']')))
      return true;
    pos = end + 1;
  }
  return false;
}

class IniDifferential : public testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(GetACP(), 932u) << "needs LANG=ja_JP.UTF-8"; }
  ScratchDir dir;
  win32::Win32OsServices os;
};

TEST_F(IniDifferential, GeneratedFilesReadTheSame) {
  const std::wstring file = dir.file(L"gen.ini");
  const std::string acpFile = win32::ToAcp(file);
  Gen gen(20261207);
  int asked = 0, differing = 0, skipped = 0;
  for (int n = 0; n < 20000; ++n) {
    std::string bytes = gen.File();
    if (gen.OneIn(25)) {
      // A file with the UTF-8 mark is read as UTF-8: its text goes in as UTF-8.
      const std::wstring text = win32::FromAcp(bytes);
      std::string utf8(text.size() * 3, '\0');
      utf8.resize(WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                      utf8.data(), static_cast<int>(utf8.size()), nullptr,
                                      nullptr));
      bytes = "\xEF\xBB\xBF" + utf8;
    }
    WriteBytes(file, bytes);
    if (HasHeaderWineReadsOtherwise(bytes)) {
      ++skipped;
      continue;
    }
    const IniFile ours = ReadIniFile(os, file);
    for (int q = 0; q < 2; ++q) {
      const std::string section = gen.Blanks() + gen.Section() + gen.Blanks();
      const std::string key = gen.Blanks() + gen.Key() + gen.Blanks();
      const std::wstring def = L"<default>";
      const std::string real = RealProfileString(section, key, "<default>", acpFile);
      const std::string mine =
          win32::ToAcp(GetIniString(ours, win32::FromAcp(section), win32::FromAcp(key), def));
      ++asked;
      if (real != mine && ++differing <= 5) {
        ADD_FAILURE() << "file " << n << " [" << section << "] " << key
                      << "\nreal: " << real.substr(0, 80) << "\nours: " << mine.substr(0, 80)
                      << "\nfile: " << testing::PrintToString(bytes.substr(0, 400));
      }
      if (q == 0) {
        const int realInt = static_cast<int>(
            GetPrivateProfileIntA(section.c_str(), key.c_str(), 7, acpFile.c_str()));
        const int mineInt = GetIniInt(ours, win32::FromAcp(section), win32::FromAcp(key), 7);
        if (realInt != mineInt && ++differing <= 5)
          ADD_FAILURE() << "int, file " << n << " " << realInt << " vs " << mineInt;
      }
    }
  }
  EXPECT_EQ(differing, 0) << "of " << asked << " answers";
  EXPECT_LT(skipped, 20000 / 4) << "most files are compared";
}

TEST_F(IniDifferential, FilesWrittenFromEmptyAreTheSame) {
  const std::wstring realFile = dir.file(L"real.ini"), ourFile = dir.file(L"ours.ini");
  Gen gen(7);
  int differing = 0;
  for (int n = 0; n < 150; ++n) {
    DeleteFileW(realFile.c_str());
    DeleteFileW(ourFile.c_str());
    std::vector<contract::IniWrite> calls;
    std::vector<std::wstring> texts;
    texts.reserve(3 * 40);
    for (int i = gen.Below(40) + 1; i > 0; --i) {
      // Wine's function drops a value's leading blanks where Windows keeps them (and so do we,
      // see the contract's LeadingBlankKept): values start with none here.
      std::string value = gen.Value(false);
      while (!value.empty() && (value.front() == ' ' || value.front() == '\t')) value.erase(0, 1);
      const std::string section = gen.Section(), key = gen.Key();
      ASSERT_TRUE(WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(),
                                             win32::ToAcp(realFile).c_str()));
      texts.push_back(win32::FromAcp(section));
      texts.push_back(win32::FromAcp(key));
      texts.push_back(win32::FromAcp(value));
      calls.push_back(
          {texts[texts.size() - 3].c_str(), texts[texts.size() - 2].c_str(), texts.back().c_str()});
    }
    ASSERT_TRUE(contract::WriteEach(os, ourFile, calls));
    const auto real = ReadBytes(realFile), ours = ReadBytes(ourFile);
    if (real != ours && ++differing <= 3)
      ADD_FAILURE() << "sequence " << n << "\nreal: " << testing::PrintToString(real)
                    << "\nours: " << testing::PrintToString(ours);
  }
  EXPECT_EQ(differing, 0);
}

}  // namespace
}  // namespace kv::win32
