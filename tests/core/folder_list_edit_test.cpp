// Editing the working list in the settings window: the buttons, the checks and the tool tip.
#include <gtest/gtest.h>

#include "fakes/harness.h"

namespace kv::test {
namespace {

constexpr std::int16_t kRegister = 0, kUpdate = 1, kRemove = 2;
const std::wstring kNoName = L"識別名が入力されていません。\r\n識別名を入力して下さい。";
const std::wstring kNoPath = L"パスが入力されていません。\r\nパスを入力して下さい。";
const std::wstring kLineBreak =
    L"識別名またはパスに改行が含まれています。\r\n改行を含む識別名やパスは登録できません。";
const std::wstring kBadPath =
    L"フォルダパスが不正です。\r\n登録されても正常に動作しない可能性があります。\r\n続行しますか？";

class FolderListEditTest : public ::testing::Test {
 protected:
  void SetUp() override {
    h.tk.commandLine = L"\"\"";  // opens the window with empty boxes
    h.tk.dirs[L"C:\\Windows\\"] = {0, true};
    h.tk.dirs[L"C:\\Data\\"] = {0, true};
  }
  void Open(std::initializer_list<FolderEntry> entries = {}) {
    h.AddFolders(entries);
    form = std::make_unique<Form1>(h.ctx);
    form->Show();
  }
  void Type(const std::wstring& name, const std::wstring& path) {
    h.tk.texts[{Ctl::Text1, 0}] = name;
    h.tk.texts[{Ctl::Text1, 1}] = path;
  }
  std::wstring Name() { return h.tk.texts[{Ctl::Text1, 0}]; }
  std::wstring Path() { return h.tk.texts[{Ctl::Text1, 1}]; }
  std::vector<FolderEntry> Entries() const { return {form->EditList.begin() + 1, form->EditList.end()}; }

  Harness h;
  std::unique_ptr<Form1> form;
};

TEST_F(FolderListEditTest, RemoveFirstOfThreeShiftsTheRest) {
  Open({{L"A", L"a"}, {L"B", L"b"}, {L"C", L"c"}});
  h.tk.listIndex = 0;
  Type(L"x", L"y");
  form->Command1_Click(kRemove);
  EXPECT_EQ(Entries(), (std::vector<FolderEntry>{{L"B", L"b"}, {L"C", L"c"}}));
  EXPECT_EQ(h.tk.listItems, (std::vector<std::wstring>{L"B", L"C"}));
  EXPECT_EQ(Name(), L"");
  EXPECT_EQ(Path(), L"");
}

TEST_F(FolderListEditTest, RemoveLastAndOnlyEntry) {
  Open({{L"A", L"a"}, {L"B", L"b"}});
  h.tk.listIndex = 1;
  form->Command1_Click(kRemove);
  EXPECT_EQ(Entries(), (std::vector<FolderEntry>{{L"A", L"a"}}));
  h.tk.listIndex = 0;
  form->Command1_Click(kRemove);
  EXPECT_EQ(UBound(form->EditList), 0);
  EXPECT_TRUE(h.tk.listItems.empty());
  EXPECT_EQ(UBound(h.ctx.FolderList), 2) << "the stored list is untouched until OK";
}

TEST_F(FolderListEditTest, UpdateAndRemoveNeedASelection) {
  Open({{L"A", L"a"}});
  Type(L"New", L"C:\\Data");
  form->Command1_Click(kUpdate);
  form->Command1_Click(kRemove);
  EXPECT_EQ(Entries(), (std::vector<FolderEntry>{{L"A", L"a"}}));
  EXPECT_TRUE(h.tk.boxes.empty());
  EXPECT_EQ(Path(), L"C:\\Data") << "boxes keep their text";
}

TEST_F(FolderListEditTest, RegisterAppendsAndLeavesTheSelectedEntry) {
  Open({{L"A", L"a"}});
  h.tk.listIndex = 0;
  Type(L"  Win  ", L"C:\\Windows");
  form->Command1_Click(kRegister);
  EXPECT_EQ(Entries(), (std::vector<FolderEntry>{{L"A", L"a"}, {L"  Win  ", L"C:\\Windows\\"}}));
  EXPECT_EQ(h.tk.listItems.back(), L"  Win  ");
  EXPECT_EQ(h.tk.dirCalls, std::vector<std::wstring>{L"C:\\Windows\\"});
  EXPECT_TRUE(h.tk.boxes.empty()) << "an existing folder asks nothing";
  EXPECT_EQ(Name(), L"");
}

TEST_F(FolderListEditTest, UpdateOverwritesTheSelectedLine) {
  Open({{L"A", L"a"}, {L"B", L"b"}});
  h.tk.listIndex = 1;
  Type(L"Data", L"C:\\Data\\");
  form->Command1_Click(kUpdate);
  EXPECT_EQ(Entries(), (std::vector<FolderEntry>{{L"A", L"a"}, {L"Data", L"C:\\Data\\"}}));
  EXPECT_EQ(h.tk.listItems, (std::vector<std::wstring>{L"A", L"Data"}));
}

TEST_F(FolderListEditTest, BlankFieldsWarnIdentifierFirst) {
  Open();
  for (auto [name, path, expected] :
       {std::tuple{L"", L"", &kNoName}, {L" \u3000 ", L"C:\\Data\\", &kNoName}, {L"A", L"   ", &kNoPath}}) {
    h.tk.boxes.clear();
    Type(name, path);
    form->Command1_Click(kRegister);
    ASSERT_EQ(h.tk.boxes.size(), 1u);
    EXPECT_EQ(h.tk.boxes[0].text, *expected);
    EXPECT_EQ(h.tk.boxes[0].style, vbExclamation);
    EXPECT_EQ(Path(), path) << "no separator added before the checks pass";
  }
  EXPECT_EQ(UBound(form->EditList), 0);
}

TEST_F(FolderListEditTest, LineBreaksInNameOrPathAreRefusedOnRegisterAndUpdate) {
  using namespace std::string_literals;
  Open({{L"A", L"a"}});
  h.tk.dirs[L"C:\\a\nb\\"] = {0, true};  // the folder exists: only the break stops it
  for (const std::int16_t button : {kRegister, kUpdate}) {
    for (const auto& [name, path] : {std::pair{L"Pho\ntos"s, L"C:\\Data\\"s},
                                     {L"Photos\r"s, L"C:\\Data\\"s},
                                     {L"Photos"s, L"C:\\a\nb\\"s},
                                     {L"Photos"s, L"C:\\a\r\nb"s},
                                     {L"Pho\0tos"s, L"C:\\Data\\"s}}) {
      SCOPED_TRACE(testing::Message() << button << " " << path.size());
      h.tk.boxes.clear();
      h.tk.listIndex = 0;
      Type(name, path);
      form->Command1_Click(button);
      ASSERT_EQ(h.tk.boxes.size(), 1u);
      EXPECT_EQ(h.tk.boxes[0].text, kLineBreak);
      EXPECT_EQ(h.tk.boxes[0].style, vbExclamation);
      EXPECT_EQ(Entries(), (std::vector<FolderEntry>{{L"A", L"a"}}));
      EXPECT_EQ(h.tk.listItems, std::vector<std::wstring>{L"A"});
      EXPECT_EQ(Name(), name) << "the boxes keep their text";
      EXPECT_EQ(Path(), path);
    }
  }
}

TEST_F(FolderListEditTest, DirectoryTestOutcomes) {
  struct Case {
    const wchar_t* typed;
    DirResult dir;
    int answer;
    bool asked, stored;
  };
  for (const Case& c : {Case{L"C:\\Gone", {0, false}, vbNo, true, false},
                        Case{L"C:\\Gone\\", {0, false}, vbYes, true, true},
                        Case{L"C:\\a?b", {52, false}, vbYes, true, true},
                        Case{L"C:\\a?b", {52, false}, vbNo, true, false},
                        Case{L"E:\\", {68, false}, vbYes, false, false}}) {
    SCOPED_TRACE(testing::Message() << c.dir.error << " answered " << c.answer);
    std::wstring withSep = c.typed;
    if (!withSep.ends_with(L'\\')) withSep += L'\\';
    h.tk.dirs[withSep] = c.dir;
    h.tk.dirCalls.clear();
    h.tk.boxes.clear();
    h.tk.answers = {c.answer};
    Open();
    Type(L"N", c.typed);
    form->Command1_Click(kRegister);
    EXPECT_EQ(h.tk.dirCalls, std::vector<std::wstring>{withSep}) << "separator added once";
    ASSERT_EQ(h.tk.boxes.size(), c.asked ? 1u : 0u);
    if (c.asked) {
      EXPECT_EQ(h.tk.boxes[0].text, kBadPath);
      EXPECT_EQ(h.tk.boxes[0].style, vbYesNoExclamation);
    }
    EXPECT_EQ(Entries() == (std::vector<FolderEntry>{{L"N", withSep}}), c.stored);
    EXPECT_EQ(Path(), c.stored ? L"" : withSep) << "a refused entry keeps the boxes";
  }
}

TEST_F(FolderListEditTest, ListClickFillsBoxesAndNoSelectionEmptiesThem) {
  Open({{L"A", L"a"}, {L"B", L"b"}});
  h.tk.listIndex = 1;
  form->List1_Click();
  EXPECT_EQ(Name(), L"B");
  EXPECT_EQ(Path(), L"b");
  h.tk.listIndex = -1;
  form->List1_Click();
  EXPECT_EQ(Name(), L"");
  EXPECT_EQ(Path(), L"");
}

TEST_F(FolderListEditTest, ToolTipShowsTheEntryUnderTheCursor) {
  const std::pair tip{Ctl::List1, 0};
  Open({{L"Docs", L"D:\\Docs\\"}});
  h.os.itemUnderCursor = 0;
  form->List1_MouseMove(0, 0, 0, 0);
  EXPECT_EQ(h.tk.toolTips[tip], L"Docs : D:\\Docs\\");
  h.os.itemUnderCursor = -1;
  form->List1_MouseMove(0, 0, 0, 0);
  EXPECT_EQ(h.tk.toolTips[tip], L"登録されたフォルダの一覧です。");

  h.tk.listIndex = 0;
  form->Command1_Click(kRemove);
  h.os.itemUnderCursor = 0;  // a stale hit over an empty list
  form->List1_MouseMove(0, 0, 0, 0);
  EXPECT_EQ(h.tk.toolTips[tip], L"登録されたフォルダの一覧です。");
}

TEST_F(FolderListEditTest, BrowseFillsOnlyThePathAndCancelKeepsIt) {
  Open();
  Type(L"Keep", L"typed");
  form->Command2_Click();
  EXPECT_EQ(Path(), L"typed");
  h.os.browseResult = L"C:\\Program Files";
  form->Command2_Click();
  EXPECT_EQ(Path(), L"C:\\Program Files");
  EXPECT_EQ(Name(), L"Keep");
  ASSERT_EQ(h.os.browseCalls.size(), 2u);
  EXPECT_EQ(h.os.browseCalls[0].first, h.tk.hWnd(nullptr));
  EXPECT_EQ(h.os.browseCalls[0].second, L"ﾌｫﾙﾀﾞを選択してください");
}

}  // namespace
}  // namespace kv::test
