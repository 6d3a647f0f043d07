// INI behaviour every backend shares with the real profile functions: the tables, and the
// suite that runs them through the program's way of reading and writing (the file read whole
// into the INI document, each write a read, a change and a whole-file replacement).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "contract/file_backend.h"
#include "contract/ini_through_document.h"
#include "settings/settings_file.h"

namespace kv::contract {

using Bytes = std::optional<std::string>;  // nullopt: no file
struct IniReadCase {
  const char* name;
  Bytes file;
  const wchar_t *section, *key, *def, *expected;
};
struct IniIntCase {
  const char* name;
  Bytes file;
  std::int32_t def, expected;  // of Main/Drive
};
struct IniWriteCase {
  const char* name;
  Bytes file;
  std::vector<IniWrite> writes;
  std::string expected;
};

// clang-format off
inline const std::vector<IniReadCase>& IniReadCases() {
  static const std::wstring kLong(288, L'x');
  static const std::vector<IniReadCase> cases{
      {"MissingFileGivesDefault", std::nullopt, L"Main", L"Drive", L"dflt", L"dflt"},
      {"MissingKeyGivesDefault", "[Main]\r\nOther=1\r\n", L"Main", L"Drive", L"dflt", L"dflt"},
      {"MissingSectionGivesDefault", "[Other]\r\nDrive=1\r\n", L"Main", L"Drive", L"", L""},
      {"BlanksAroundValueRemoved", "[Main]\r\nTitle=   Docs  \t\r\n", L"Main", L"Title", L"", L"Docs"},
      {"InnerBlanksKept", "[Main]\r\nTitle=My  Docs\r\n", L"Main", L"Title", L"", L"My  Docs"},
      {"BlanksAroundKeyIgnored", "[Main]\r\n  Title  =Docs\r\n", L"Main", L"Title", L"", L"Docs"},
      {"SectionNameIgnoresCase", "[MAIN]\r\nTitle=Docs\r\n", L"main", L"Title", L"", L"Docs"},
      {"KeyNameIgnoresCase", "[Main]\r\nTITLE=Docs\r\n", L"Main", L"title", L"", L"Docs"},
      {"BlanksInsideBracketsIgnored", "[ Main ]\r\nTitle=Docs\r\n", L"Main", L"Title", L"", L"Docs"},
      {"ValueAfterFirstEquals", "[Main]\r\nTitle=a=b\r\n", L"Main", L"Title", L"", L"a=b"},
      {"EmptyValueIsEmptyNotDefault", "[Main]\r\nTitle=\r\n", L"Main", L"Title", L"dflt", L""},
      {"DoubleQuotesStripped", "[Main]\r\nTitle=\"Docs \"\r\n", L"Main", L"Title", L"", L"Docs "},
      {"SingleQuotesStripped", "[Main]\r\nTitle='Docs'\r\n", L"Main", L"Title", L"", L"Docs"},
      {"EmptyQuotesAreEmpty", "[Main]\r\nTitle=\"\"\r\n", L"Main", L"Title", L"dflt", L""},
      {"CtrlZIsABlank", "[Main]\r\nTitle=\x1a" "Docs\x1a\r\n", L"Main", L"Title", L"", L"Docs"},
      {"UnmatchedQuoteKept", "[Main]\r\nTitle=\"Docs\r\n", L"Main", L"Title", L"", L"\"Docs"},
      {"LfLineEndings", "[Main]\nA=1\nTitle=Docs\n", L"Main", L"Title", L"", L"Docs"},
      {"NoFinalNewline", "[Main]\r\nTitle=Docs", L"Main", L"Title", L"", L"Docs"},
      {"CommentLineIsNoKey", "[Main]\r\n;Title=Old\r\nTitle=New\r\n", L"Main", L"Title", L"", L"New"},
      {"FirstDuplicateKeyWins", "[Main]\r\nTitle=One\r\nTitle=Two\r\n", L"Main", L"Title", L"", L"One"},
      {"KeyOfOtherSectionNotSeen", "[A]\r\nTitle=One\r\n[B]\r\nX=1\r\n", L"B", L"Title", L"d", L"d"},
      {"BackslashesKept", "[F]\r\nPath=C:\\Data\\\r\n", L"F", L"Path", L"", L"C:\\Data\\"},
      {"LongValueReadWhole", "[F]\r\nPath=" + std::string(288, 'x') + "\r\n", L"F", L"Path", L"", kLong.c_str()},
  };
  return cases;
}

inline const std::vector<IniIntCase>& IniIntCases() {
  static const std::vector<IniIntCase> cases{
      {"MissingFile", std::nullopt, 1, 1}, {"MissingKey", "[Main]\r\n", 1, 1},
      {"Zero", "[Main]\r\nDrive=0\r\n", 1, 0}, {"LeadingBlank", "[Main]\r\nDrive= 1\r\n", 7, 1},
      {"BeyondAByte", "[Main]\r\nDrive=256\r\n", 1, 256}, {"StopsAtNonDigit", "[Main]\r\nDrive=12ab\r\n", 1, 12},
      {"NotANumberIsZero", "[Main]\r\nDrive=abc\r\n", 1, 0}, {"EmptyGivesDefault", "[Main]\r\nDrive=\r\n", 5, 5},
      {"Negative", "[Main]\r\nDrive=-3\r\n", 1, -3}, {"WrapsModulo2To32", "[Main]\r\nDrive=4294967297\r\n", 9, 1},
  };
  return cases;
}

inline const std::vector<IniWriteCase>& IniWriteCases() {
  static const std::vector<IniWriteCase> cases{
      {"NewFileSectionsAndKeysInOrder", std::nullopt,
       {{L"Main", L"Drive", L"0"}, {L"Folder001", L"Title", L"A"}, {L"Folder001", L"Path", L"B"}},
       "[Main]\r\nDrive=0\r\n[Folder001]\r\nTitle=A\r\nPath=B\r\n"},
      {"LeadingBlankKept", std::nullopt, {{L"Main", L"Drive", L" 1"}}, "[Main]\r\nDrive= 1\r\n"},
      {"ExistingKeyReplacedInPlace", "[Main]\r\nDrive=1\r\nOther=x\r\n", {{L"Main", L"Drive", L"0"}}, "[Main]\r\nDrive=0\r\nOther=x\r\n"},
      {"NewKeyAppendedToItsSection", "[A]\r\nX=1\r\n[B]\r\nY=2\r\n", {{L"A", L"Z", L"3"}}, "[A]\r\nX=1\r\nZ=3\r\n[B]\r\nY=2\r\n"},
      {"NewSectionAppendedAtEnd", "[A]\r\nX=1\r\n", {{L"B", L"Y", L"2"}}, "[A]\r\nX=1\r\n[B]\r\nY=2\r\n"},
      {"UntouchedLinesKept", "[A]\r\n;note\r\nX=1\r\n[B]\r\nY=2\r\n", {{L"B", L"Y", L"3"}}, "[A]\r\n;note\r\nX=1\r\n[B]\r\nY=3\r\n"},
      {"WriteMatchesSectionCaseInsensitively", "[MAIN]\r\nDRIVE=1\r\n", {{L"Main", L"Drive", L"0"}}, "[MAIN]\r\nDRIVE=0\r\n"},
      {"EmptyFileGetsFirstSection", "", {{L"Main", L"Drive", L"1"}}, "[Main]\r\nDrive=1\r\n"},
      {"NewKeyAfterUnterminatedLastLine", "[A]\r\nX=1", {{L"A", L"Y", L"2"}}, "[A]\r\nX=1\r\nY=2\r\n"},
  };
  return cases;
}
// clang-format on

class IniContract : public ::testing::TestWithParam<Backend> {
 protected:
  // A fresh file holding `bytes` (none for nullopt).
  std::wstring Fresh(const Bytes& bytes) {
    const std::wstring file = b->Dir() + L"case" + std::to_wstring(++n) + L".ini";
    if (bytes) b->Write(file, *bytes);
    return file;
  }
  kv::IniFile Read(const Bytes& bytes) { return ReadIniFile(b->Os(), Fresh(bytes)); }
  std::unique_ptr<FileBackend> b = GetParam().make();
  int n = 0;
};

TEST_P(IniContract, ReadsAsWindowsDoes) {
  for (const auto& c : IniReadCases())
    EXPECT_EQ(GetIniString(Read(c.file), c.section, c.key, c.def), c.expected) << c.name;
  for (const auto& c : IniIntCases())
    EXPECT_EQ(GetIniInt(Read(c.file), L"Main", L"Drive", c.def), c.expected) << c.name;
}

TEST_P(IniContract, WritesAsWindowsDoes) {
  for (const auto& c : IniWriteCases()) {
    const std::wstring file = Fresh(c.file);
    ASSERT_TRUE(WriteEach(b->Os(), file, c.writes)) << c.name;
    EXPECT_EQ(b->Read(file), c.expected) << c.name;
  }
}

}  // namespace kv::contract
