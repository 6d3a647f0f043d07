// Loading and saving "Setting.ini" on the fakes: what is read, and the exact text written.
#include <gtest/gtest.h>

#include "fakes/harness.h"

namespace kv::test {
namespace {

// Loading stops at the first missing or empty title, only past 999 when the list is longer.
// Any drive value but 0 shows the drives, 256 too.
TEST(SettingsFileTest, LoadingStopsAtTheFirstMissingOrEmptyTitleOnlyPast999) {
  Harness h;
  h.ctx.ShowDrives = 0;
  h.os.files[h.SettingsFile()] =
      "[Main]\r\nDrive=256\r\n[Folder001]\r\nTitle=A\r\nPath=C:\\A\\\r\n[Folder002]\r\nTitle=B\r\n"
      "[Folder003]\r\nTitle=\r\n[Folder004]\r\nTitle=D\r\n";
  LoadSettings(h.ctx);
  EXPECT_EQ(h.ctx.FolderList, (FolderArray{{}, {L"A", L"C:\\A\\"}, {L"B", L""}}));
  EXPECT_EQ(h.ctx.ShowDrives, 1);
  for (int i = 3; i <= 1001; ++i) h.AddFolders({{L"F" + std::to_wstring(i), L"P"}});
  ASSERT_TRUE(SaveSettings(h.ctx));
  LoadSettings(h.ctx);
  ASSERT_EQ(UBound(h.ctx.FolderList), 1001);
  EXPECT_EQ(h.ctx.FolderList[1001].Title, L"F1001");
}

// The whole file in this form, numbered from one; sections of a longer list and others go.
// A value that would split its line is refused and the file stays.
TEST(SettingsFileTest, SaveWritesExactlyThisOrNothing) {
  const std::pair<std::vector<FolderEntry>, const wchar_t*> cases[] = {
      {{{L"写真", L"D:\\写真\\"}, {L"Docs", L""}},
       L"[Main]\r\nDrive= 0\r\n[Folder001]\r\nTitle=写真\r\nPath=D:\\写真\\\r\n"
       L"[Folder002]\r\nTitle=Docs\r\nPath=\r\n"},
      {{}, L"[Main]\r\nDrive= 0\r\n"},
      {{{L"A", L"C:\\a\nb\\"}}, nullptr},
      {{{L"A", L"C:\\a\rb\\"}}, nullptr}};
  for (const auto& [list, expected] : cases) {
    Harness h;
    const char* before =
        "[Folder001]\r\nTitle=A\r\n[Folder002]\r\nTitle=B\r\n"
        "[Folder003]\r\nTitle=C\r\n[Extra]\r\nKey=x\r\n";
    h.os.files[h.SettingsFile()] = before;
    h.ctx.ShowDrives = 0;
    h.AddFolders(list);
    EXPECT_EQ(SaveSettings(h.ctx), expected != nullptr);
    EXPECT_EQ(h.os.FileText(h.SettingsFile()), expected ? expected : h.os.DecodeFileText(before));
  }
}

// Files Windows would not write: what the reader makes of them, and a rewrite that keeps
// every other byte (BOM, CR-only and LF endings, comments, odd spacing) and values verbatim.
TEST(IniDocumentTest, ReadsOddFilesAndRewritesOnlyItsLine) {
  const std::tuple<const wchar_t*, const wchar_t*, std::optional<std::wstring>> cases[] = {
      {L"\uFEFF[Main]\r\nDrive=1\r\n", L"Main", L"1"},                     // BOM skipped
      {L"[Main]\rA=1\rDrive=2\r", L"Main", L"2"},                          // CR-only endings
      {L"[Main]x]\r\nDrive=3\r\n", L"Main", L"3"},                         // header ends at first ]
      {L"[Main\r\nDrive=4\r\n", L"Main", L"4"},                            // header without ]
      {L"Drive=5\r\n[Main]\r\n", L"Main", std::nullopt},                   // before any header
      {L"[Main]\r\nA=1\r\n[main]\r\nDrive=6\r\n", L"Main", std::nullopt},  // first section wins
      {L"[Main]\r\n  ;Drive=7\r\n", L"Main", std::nullopt},                // indented comment
      {L"[Main]\r\nDrive=8 ;x\r\n", L"Main", L"8 ;x"},                     // no inline comment
      {L"[Main]\r\nDrive=9\r\n", L" Main ", L"9"}};                        // blanks around names
  for (const auto& [text, section, expected] : cases)
    EXPECT_EQ(IniDocument::Parse(std::wstring_view(text)).Get(section, L" Drive "), expected)
        << text;
  const std::pair<const wchar_t*, int> ints[] = {{L"+5", 5},           {L"-0", 0},
                                                 {L"- 3", 0},          {L"4294967295", -1},
                                                 {L"-4294967297", -1}, {L"2147483648", INT32_MIN}};
  for (auto [text, expected] : ints) EXPECT_EQ(ParseProfileInt(text, 7), expected) << text;

  IniDocument doc =
      IniDocument::Parse(std::wstring_view(L"\uFEFF[A]\r\n  Key = 'old' \r\n\r\n[B]\rY=2\r"));
  doc.Set(L"a", L"KEY", L"new");
  doc.Set(L"A", L"Extra", L" 'e' ");
  doc.Set(L"C", L"K", L"v");
  EXPECT_EQ(doc.Serialize(),
            L"\uFEFF[A]\r\nKey=new\r\nExtra= 'e' \r\n\r\n[B]\rY=2\r[C]\r\nK=v\r\n");
  EXPECT_EQ(doc.Get(L"A", L"Extra"), L"e");
}

}  // namespace
}  // namespace kv::test
