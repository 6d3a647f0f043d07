// INI behaviour every private-profile implementation must share: one table, each backend.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace kv::contract {

// File contents are bytes; nullopt means "no file".
struct IniReadCase {
  const char* name;
  std::optional<std::string> file;
  const wchar_t* section;
  const wchar_t* key;
  const wchar_t* def;
  const wchar_t* expected;
};

struct IniIntCase {
  const char* name;
  std::optional<std::string> file;
  const wchar_t* section;
  const wchar_t* key;
  std::int32_t def;
  std::int32_t expected;
};

struct IniWrite {
  const wchar_t* section;
  const wchar_t* key;
  const wchar_t* value;
};

struct IniWriteCase {
  const char* name;
  std::optional<std::string> file;
  std::vector<IniWrite> writes;
  std::string expected;
  // Where Wine's profile functions write other bytes than Windows does.
  std::optional<std::string> expectedUnderWine = std::nullopt;
};

inline const std::vector<IniReadCase>& IniReadCases() {
  static const std::wstring kLongValue(288, L'x');
  static const std::vector<IniReadCase> cases{
      {"MissingFileGivesDefault", std::nullopt, L"Main", L"Drive", L"dflt", L"dflt"},
      {"MissingKeyGivesDefault", "[Main]\r\nOther=1\r\n", L"Main", L"Drive", L"dflt", L"dflt"},
      {"MissingSectionGivesDefault", "[Other]\r\nDrive=1\r\n", L"Main", L"Drive", L"", L""},
      {"PlainValue", "[Main]\r\nTitle=Docs\r\n", L"Main", L"Title", L"", L"Docs"},
      {"BlanksAroundValueRemoved", "[Main]\r\nTitle=   Docs  \t\r\n", L"Main", L"Title", L"",
       L"Docs"},
      {"InnerBlanksKept", "[Main]\r\nTitle=My  Docs\r\n", L"Main", L"Title", L"", L"My  Docs"},
      {"BlanksAroundKeyIgnored", "[Main]\r\n  Title  =Docs\r\n", L"Main", L"Title", L"", L"Docs"},
      {"SectionNameIgnoresCase", "[MAIN]\r\nTitle=Docs\r\n", L"main", L"Title", L"", L"Docs"},
      {"KeyNameIgnoresCase", "[Main]\r\nTITLE=Docs\r\n", L"Main", L"title", L"", L"Docs"},
      {"BlanksInsideBracketsIgnored", "[ Main ]\r\nTitle=Docs\r\n", L"Main", L"Title", L"",
       L"Docs"},
      {"ValueAfterFirstEquals", "[Main]\r\nTitle=a=b\r\n", L"Main", L"Title", L"", L"a=b"},
      {"EmptyValueIsEmptyNotDefault", "[Main]\r\nTitle=\r\n", L"Main", L"Title", L"dflt", L""},
      {"DoubleQuotesStripped", "[Main]\r\nTitle=\"Docs \"\r\n", L"Main", L"Title", L"", L"Docs "},
      {"SingleQuotesStripped", "[Main]\r\nTitle='Docs'\r\n", L"Main", L"Title", L"", L"Docs"},
      {"UnmatchedQuoteKept", "[Main]\r\nTitle=\"Docs\r\n", L"Main", L"Title", L"", L"\"Docs"},
      {"LfLineEndings", "[Main]\nA=1\nTitle=Docs\n", L"Main", L"Title", L"", L"Docs"},
      {"NoFinalNewline", "[Main]\r\nTitle=Docs", L"Main", L"Title", L"", L"Docs"},
      {"CommentLineIsNoKey", "[Main]\r\n;Title=Old\r\nTitle=New\r\n", L"Main", L"Title", L"",
       L"New"},
      {"FirstDuplicateKeyWins", "[Main]\r\nTitle=One\r\nTitle=Two\r\n", L"Main", L"Title", L"",
       L"One"},
      {"KeyOfOtherSectionNotSeen", "[A]\r\nTitle=One\r\n[B]\r\nX=1\r\n", L"B", L"Title", L"d",
       L"d"},
      {"BackslashesKept", "[F]\r\nPath=C:\\Data\\\r\n", L"F", L"Path", L"", L"C:\\Data\\"},
      {"LongValueReadWhole", "[F]\r\nPath=" + std::string(288, 'x') + "\r\n", L"F", L"Path", L"",
       kLongValue.c_str()},
  };
  return cases;
}

inline const std::vector<IniIntCase>& IniIntCases() {
  static const std::vector<IniIntCase> cases{
      {"MissingFile", std::nullopt, L"Main", L"Drive", 1, 1},
      {"MissingKey", "[Main]\r\n", L"Main", L"Drive", 1, 1},
      {"Zero", "[Main]\r\nDrive=0\r\n", L"Main", L"Drive", 1, 0},
      {"LeadingBlank", "[Main]\r\nDrive= 1\r\n", L"Main", L"Drive", 7, 1},
      {"Two", "[Main]\r\nDrive=2\r\n", L"Main", L"Drive", 1, 2},
      {"BeyondAByte", "[Main]\r\nDrive=256\r\n", L"Main", L"Drive", 1, 256},
      {"StopsAtNonDigit", "[Main]\r\nDrive=12ab\r\n", L"Main", L"Drive", 1, 12},
      {"NotANumberIsZero", "[Main]\r\nDrive=abc\r\n", L"Main", L"Drive", 1, 0},
      {"EmptyGivesDefault", "[Main]\r\nDrive=\r\n", L"Main", L"Drive", 5, 5},
      {"Negative", "[Main]\r\nDrive=-3\r\n", L"Main", L"Drive", 1, -3},
      {"WrapsModulo2To32", "[Main]\r\nDrive=4294967297\r\n", L"Main", L"Drive", 9, 1},
  };
  return cases;
}

inline const std::vector<IniWriteCase>& IniWriteCases() {
  // One case a line or two.
  // clang-format off
  static const std::vector<IniWriteCase> cases{
      {"NewFileSectionsAndKeysInOrder", std::nullopt,
       {{L"Main", L"Drive", L"0"}, {L"Folder001", L"Title", L"A"}, {L"Folder001", L"Path", L"B"}},
       "[Main]\r\nDrive=0\r\n[Folder001]\r\nTitle=A\r\nPath=B\r\n"},
      {"LeadingBlankKept", std::nullopt, {{L"Main", L"Drive", L" 1"}}, "[Main]\r\nDrive= 1\r\n",
       "[Main]\r\nDrive=1\r\n"},
      {"ExistingKeyReplacedInPlace", "[Main]\r\nDrive=1\r\nOther=x\r\n",
       {{L"Main", L"Drive", L"0"}}, "[Main]\r\nDrive=0\r\nOther=x\r\n"},
      {"NewKeyAppendedToItsSection", "[A]\r\nX=1\r\n[B]\r\nY=2\r\n", {{L"A", L"Z", L"3"}},
       "[A]\r\nX=1\r\nZ=3\r\n[B]\r\nY=2\r\n"},
      {"NewSectionAppendedAtEnd", "[A]\r\nX=1\r\n", {{L"B", L"Y", L"2"}},
       "[A]\r\nX=1\r\n[B]\r\nY=2\r\n"},
      {"UntouchedLinesKept", "[A]\r\n;note\r\nX=1\r\n[B]\r\nY=2\r\n", {{L"B", L"Y", L"3"}},
       "[A]\r\n;note\r\nX=1\r\n[B]\r\nY=3\r\n"},
      {"WriteMatchesSectionCaseInsensitively", "[MAIN]\r\nDRIVE=1\r\n", {{L"Main", L"Drive", L"0"}},
       "[MAIN]\r\nDRIVE=0\r\n"},
      {"EmptyFileGetsFirstSection", "", {{L"Main", L"Drive", L"1"}}, "[Main]\r\nDrive=1\r\n"},
      {"NewKeyAfterUnterminatedLastLine", "[A]\r\nX=1", {{L"A", L"Y", L"2"}},
       "[A]\r\nX=1\r\nY=2\r\n"},
  };
  // clang-format on
  return cases;
}

}  // namespace kv::contract
