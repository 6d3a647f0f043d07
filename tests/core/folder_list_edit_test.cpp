// Editing the working list in the settings window: the buttons, the checks and the tool tip.
#include "ui/folder_list_edit.h"

#include <gtest/gtest.h>

#include "fakes/harness.h"
#include "platform/button_click.h"
#include "ui/layout.h"

namespace kv::test {
namespace {

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
    h.tk.dirs[L"C:\\Windows\\"] = DirectoryState::Found;
    h.tk.dirs[L"C:\\Data\\"] = DirectoryState::Found;
  }
  void Open(std::initializer_list<FolderEntry> entries = {}) {
    h.AddFolders(entries);
    form = std::make_unique<SettingsWindow>(h.ctx);
    form->Show();
  }
  void Type(const std::wstring& name, const std::wstring& path) {
    h.tk.texts[Control::NameBox] = name;
    h.tk.texts[Control::PathBox] = path;
  }
  std::wstring Name() { return h.tk.texts[Control::NameBox]; }
  std::wstring Path() { return h.tk.texts[Control::PathBox]; }
  std::vector<FolderEntry> Entries() const {
    return {form->EditList.begin() + 1, form->EditList.end()};
  }

  Harness h;
  std::unique_ptr<SettingsWindow> form;
};

// The buttons on the window's list, with "  Data  " and "C:\Data" typed: the list and the list
// box after, the boxes emptied unless nothing was done, no question asked, and the stored list
// untouched until OK.
TEST_F(FolderListEditTest, ButtonsEditTheWorkingList) {
  const FolderEntry a{L"A", L"a"}, b{L"B", L"b"}, c{L"C", L"c"}, data{L"  Data  ", L"C:\\Data\\"};
  struct Case {
    const char* what;
    std::vector<FolderEntry> before;
    int selected;
    Control button;
    std::vector<FolderEntry> after;
  };
  for (const Case& t :
       {Case{"remove the first: the rest move up", {a, b, c}, 0, Control::RemoveButton, {b, c}},
        Case{"remove the last", {a, b, c}, 2, Control::RemoveButton, {a, b}},
        Case{"remove the only entry", {a}, 0, Control::RemoveButton, {}},
        Case{"update the selected line", {a, b, c}, 1, Control::UpdateButton, {a, data, c}},
        Case{"register appends", {a, b}, 0, Control::RegisterButton, {a, b, data}},
        Case{"update needs a selection", {a}, -1, Control::UpdateButton, {a}},
        Case{"remove needs a selection", {a}, -1, Control::RemoveButton, {a}}}) {
    SCOPED_TRACE(t.what);
    h.ctx.FolderList = EmptyFolderList();
    h.ctx.FolderList.insert(h.ctx.FolderList.end(), t.before.begin(), t.before.end());
    h.tk.dirCalls.clear();
    Open();
    h.tk.listIndex = t.selected;
    Type(L"  Data  ", L"C:\\Data");
    ClickButton(*form, t.button);
    const bool done = t.selected != -1;
    std::vector<std::wstring> names;
    for (const FolderEntry& e : t.after) names.push_back(e.Title);
    EXPECT_EQ(Entries(), t.after);
    EXPECT_EQ(h.tk.listItems, names);
    EXPECT_TRUE(h.tk.boxes.empty());
    EXPECT_EQ(Name(), done ? L"" : L"  Data  ");
    EXPECT_EQ(Path(), done ? L"" : L"C:\\Data");
    EXPECT_EQ(h.tk.dirCalls, done && t.button != Control::RemoveButton
                                 ? std::vector<std::wstring>{L"C:\\Data\\"}
                                 : std::vector<std::wstring>{});
    EXPECT_EQ(UBound(h.ctx.FolderList), std::ssize(t.before)) << "the stored list waits for OK";
  }
}

// Blank boxes (the name is checked first) and line breaks are refused on register and update
// alike: one message, nothing changed, the boxes keep their text and gain no separator.
TEST_F(FolderListEditTest, BlankBoxesAndLineBreaksAreRefused) {
  using namespace std::string_literals;
  Open({{L"A", L"a"}});
  h.tk.dirs[L"C:\\a\nb\\"] = DirectoryState::Found;  // the folder exists: only the break stops it
  for (const Control button : {Control::RegisterButton, Control::UpdateButton}) {
    for (const auto& [name, path, message] : {std::tuple{L""s, L""s, &kNoName},
                                              {L" \u3000 "s, L"C:\\Data\\"s, &kNoName},
                                              {L"A"s, L"   "s, &kNoPath},
                                              {L"Pho\ntos"s, L"C:\\Data\\"s, &kLineBreak},
                                              {L"Photos\r"s, L"C:\\Data\\"s, &kLineBreak},
                                              {L"Photos"s, L"C:\\a\nb\\"s, &kLineBreak},
                                              {L"Photos"s, L"C:\\a\r\nb"s, &kLineBreak},
                                              {L"Pho\0tos"s, L"C:\\Data\\"s, &kLineBreak}}) {
      SCOPED_TRACE(testing::Message()
                   << static_cast<int>(button) << " " << name.size() << " " << path.size());
      h.tk.boxes.clear();
      h.tk.listIndex = 0;
      Type(name, path);
      ClickButton(*form, button);
      ASSERT_EQ(h.tk.boxes.size(), 1u);
      EXPECT_EQ(h.tk.boxes[0].text, *message);
      EXPECT_EQ(h.tk.boxes[0].style, MsgStyle::Warning);
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
    DirectoryState dir;
    MsgAnswer answer;
    bool asked, stored;
  };
  for (const Case& c : {Case{L"C:\\Gone", DirectoryState::NotFound, MsgAnswer::No, true, false},
                        Case{L"C:\\Gone\\", DirectoryState::NotFound, MsgAnswer::Yes, true, true},
                        Case{L"C:\\a?b", DirectoryState::BadName, MsgAnswer::Yes, true, true},
                        Case{L"C:\\a?b", DirectoryState::BadName, MsgAnswer::No, true, false},
                        Case{L"E:\\", DirectoryState::NotReady, MsgAnswer::Yes, false, false}}) {
    SCOPED_TRACE(testing::Message()
                 << static_cast<int>(c.dir) << " answered " << static_cast<int>(c.answer));
    std::wstring withSep = c.typed;
    if (!withSep.ends_with(L'\\')) withSep += L'\\';
    h.tk.dirs[withSep] = c.dir;
    h.tk.dirCalls.clear();
    h.tk.boxes.clear();
    h.tk.answers = {c.answer};
    Open();
    Type(L"N", c.typed);
    form->OnRegister();
    EXPECT_EQ(h.tk.dirCalls, std::vector<std::wstring>{withSep}) << "separator added once";
    ASSERT_EQ(h.tk.boxes.size(), c.asked ? 1u : 0u);
    if (c.asked) {
      EXPECT_EQ(h.tk.boxes[0].text, kBadPath);
      EXPECT_EQ(h.tk.boxes[0].style, MsgStyle::WarningYesNo);
    }
    EXPECT_EQ(Entries() == (std::vector<FolderEntry>{{L"N", withSep}}), c.stored);
    EXPECT_EQ(Path(), c.stored ? L"" : withSep) << "a refused entry keeps the boxes";
  }
}

TEST_F(FolderListEditTest, ListClickFillsBoxesAndNoSelectionEmptiesThem) {
  Open({{L"A", L"a"}, {L"B", L"b"}});
  h.tk.listIndex = 1;
  form->OnFolderSelected();
  EXPECT_EQ(Name(), L"B");
  EXPECT_EQ(Path(), L"b");
  h.tk.listIndex = -1;
  form->OnFolderSelected();
  EXPECT_EQ(Name(), L"");
  EXPECT_EQ(Path(), L"");
}

TEST_F(FolderListEditTest, ToolTipShowsTheEntryUnderTheCursor) {
  const Control tip = Control::FolderList;
  Open({{L"Docs", L"D:\\Docs\\"}});
  h.os.itemUnderCursor = 0;
  form->OnFolderHover();
  EXPECT_EQ(h.tk.toolTips[tip], L"Docs : D:\\Docs\\");
  h.os.itemUnderCursor = -1;
  form->OnFolderHover();
  EXPECT_EQ(h.tk.toolTips[tip], L"登録されたフォルダの一覧です。");

  h.tk.listIndex = 0;
  form->OnRemove();
  h.os.itemUnderCursor = 0;  // a stale hit over an empty list
  form->OnFolderHover();
  EXPECT_EQ(h.tk.toolTips[tip], L"登録されたフォルダの一覧です。");
}

TEST_F(FolderListEditTest, BrowseFillsOnlyThePathAndCancelKeepsIt) {
  Open();
  Type(L"Keep", L"typed");
  form->OnBrowse();
  EXPECT_EQ(Path(), L"typed");
  h.os.browseResult = L"C:\\Program Files";
  form->OnBrowse();
  EXPECT_EQ(Path(), L"C:\\Program Files");
  EXPECT_EQ(Name(), L"Keep");
  ASSERT_EQ(h.os.browseCalls.size(), 2u);
  EXPECT_EQ(h.os.browseCalls[0].first, h.tk.hWnd());
  EXPECT_EQ(h.os.browseCalls[0].second, L"ﾌｫﾙﾀﾞを選択してください");
}

// The edits work on any list the caller owns, with no form: the window's state is the list
// and the controls.
TEST(FolderListEditFunctionsTest, EditAListWithoutTheForm) {
  struct Case {
    Control button;
    int selected;
    std::vector<FolderEntry> after;
    std::vector<std::wstring> listBox;
  };
  for (const Case& c :
       {Case{Control::RegisterButton, -1, {{L"A", L"a"}, {L"N", L"C:\\N\\"}}, {L"A", L"N"}},
        Case{Control::UpdateButton, 0, {{L"N", L"C:\\N\\"}}, {L"N"}},
        Case{Control::RemoveButton, 0, {}, {}},
        Case{Control::UpdateButton, -1, {{L"A", L"a"}}, {L"A"}},
        Case{Control::OkButton, 0, {{L"A", L"a"}}, {L"A"}}}) {
    SCOPED_TRACE(testing::Message() << "button " << static_cast<int>(c.button));
    Harness h;
    h.tk.LoadControls();
    h.tk.dirs[L"C:\\N\\"] = DirectoryState::Found;
    FolderArray list = EmptyFolderList();
    list.push_back({L"A", L"a"});
    h.tk.listItems = {L"A"};
    h.tk.listIndex = c.selected;
    h.tk.texts[Control::NameBox] = L"N";
    h.tk.texts[Control::PathBox] = L"C:\\N";
    EditFolderList(h.ctx, list, c.button);
    EXPECT_EQ(std::vector<FolderEntry>(list.begin() + 1, list.end()), c.after);
    EXPECT_EQ(h.tk.listItems, c.listBox);
    EXPECT_EQ(UBound(h.ctx.FolderList), 0) << "the stored list is the window's to commit";

    ShowSelectedFolder(h.tk, list);
    const FolderEntry shown = c.selected == 0 && list.size() > 1 ? list[1] : FolderEntry{};
    EXPECT_EQ(h.tk.Text(Control::NameBox), shown.Title);
    EXPECT_EQ(h.tk.Text(Control::PathBox), shown.Path);
  }
}

// The names the handlers use are the buttons the window shows.
TEST(ButtonNamesTest, NameTheButtonsTheLayoutCaptions) {
  const auto caption = [](Control role) -> std::wstring {
    for (const ControlSpec& c : SettingsFormSpec().controls)
      if (c.role == role) return c.caption;
    return L"(none)";
  };
  EXPECT_EQ(caption(Control::RegisterButton), L"登録");
  EXPECT_EQ(caption(Control::UpdateButton), L"更新");
  EXPECT_EQ(caption(Control::RemoveButton), L"解除");
  EXPECT_EQ(caption(Control::OkButton), L"OK");
  EXPECT_EQ(caption(Control::CancelButton), L"キャンセル");
}

}  // namespace
}  // namespace kv::test
