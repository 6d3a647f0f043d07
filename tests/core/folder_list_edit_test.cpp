// Editing the working list in the settings window: the buttons, the checks and the tool tip.
#include <gtest/gtest.h>

#include "fakes/harness.h"
#include "platform/button_click.h"

namespace kv::test {
namespace {

using namespace std::string_literals;

class FolderListEditTest : public ::testing::Test {
 protected:
  void Open(const std::vector<FolderEntry>& entries = {}) {
    h.tk.commandLine = L"\"\"";  // opens the window with empty boxes
    h.tk.dirs[L"C:\\Data\\"] = DirectoryState::Found;
    h.ctx.FolderList = EmptyFolderList();
    h.AddFolders(entries);
    form = std::make_unique<SettingsWindow>(h.ctx);
    form->Show();
    h.tk.boxes.clear();
    h.tk.dirCalls.clear();
  }
  void Click(Control button, const std::wstring& name, const std::wstring& path) {
    h.tk.texts[Control::NameBox] = name;
    h.tk.texts[Control::PathBox] = path;
    ClickButton(*form, button);
  }
  std::vector<FolderEntry> Entries() const {
    return {form->EditList.begin() + 1, form->EditList.end()};
  }
  void ExpectOneBox(const std::wstring& text, MsgStyle style) {
    ASSERT_EQ(h.tk.boxes.size(), 1u);
    EXPECT_EQ(h.tk.boxes[0].text, text);
    EXPECT_EQ(h.tk.boxes[0].style, style);
  }

  Harness h;
  std::unique_ptr<SettingsWindow> form;
};

// The list and the list box after, the boxes emptied unless nothing was done, no question, and
// the stored list untouched until OK.
TEST_F(FolderListEditTest, ButtonsEditTheWorkingList) {
  const FolderEntry a{L"A", L"a"}, b{L"B", L"b"}, c{L"C", L"c"}, data{L"  Data  ", L"C:\\Data\\"};
  struct Case {
    std::vector<FolderEntry> before;
    int selected;
    Control button;
    std::vector<FolderEntry> after;
  };
  for (const Case& t :
       {Case{{a, b, c}, 0, Control::RemoveButton, {b, c}},
        Case{{a, b, c}, 2, Control::RemoveButton, {a, b}},
        Case{{a, b, c}, 1, Control::UpdateButton, {a, data, c}},
        Case{{a, b}, 0, Control::RegisterButton, {a, b, data}},
        Case{{a}, -1, Control::UpdateButton, {a}}, Case{{a}, -1, Control::RemoveButton, {a}}}) {
    SCOPED_TRACE(::testing::Message() << static_cast<int>(t.button) << " on " << t.selected);
    Open(t.before);
    h.tk.listIndex = t.selected;
    Click(t.button, L"  Data  ", L"C:\\Data");
    const bool done = t.selected != -1;
    std::vector<std::wstring> names;
    for (const FolderEntry& e : t.after) names.push_back(e.Title);
    EXPECT_EQ(Entries(), t.after);
    EXPECT_EQ(h.tk.listItems, names);
    EXPECT_TRUE(h.tk.boxes.empty());
    EXPECT_EQ(h.tk.Text(Control::NameBox) + h.tk.Text(Control::PathBox),
              done ? L"" : L"  Data  C:\\Data");
    EXPECT_EQ(h.tk.dirCalls.size(), done && t.button != Control::RemoveButton ? 1u : 0u);
    EXPECT_EQ(UBound(h.ctx.FolderList), std::ssize(t.before)) << "the stored list waits for OK";
  }
}

// Blank boxes (the name checked first) and line breaks are refused on register and update
// alike: one message, nothing changed, the boxes keep their text.
TEST_F(FolderListEditTest, BlankBoxesAndLineBreaksAreRefused) {
  const std::wstring noName = L"識別名が入力されていません。\r\n識別名を入力して下さい。",
                     noPath = L"パスが入力されていません。\r\nパスを入力して下さい。",
                     lineBreak =
                         L"識別名またはパスに改行が含まれています。\r\n"
                         L"改行を含む識別名やパスは登録できません。";
  Open({{L"A", L"a"}});
  h.tk.dirs[L"C:\\a\nb\\"] = DirectoryState::Found;  // the folder exists: only the break stops it
  for (const Control button : {Control::RegisterButton, Control::UpdateButton}) {
    for (const auto& [name, path, message] : {std::tuple{L""s, L""s, &noName},
                                              {L" \u3000 "s, L"C:\\Data\\"s, &noName},
                                              {L"A"s, L"   "s, &noPath},
                                              {L"Pho\ntos"s, L"C:\\Data\\"s, &lineBreak},
                                              {L"Photos\r"s, L"C:\\Data\\"s, &lineBreak},
                                              {L"Photos"s, L"C:\\a\nb\\"s, &lineBreak},
                                              {L"Pho\0tos"s, L"C:\\Data\\"s, &lineBreak}}) {
      SCOPED_TRACE(::testing::Message()
                   << static_cast<int>(button) << " " << name.size() << " " << path.size());
      h.tk.boxes.clear();
      h.tk.listIndex = 0;
      Click(button, name, path);
      ExpectOneBox(*message, MsgStyle::Warning);
      EXPECT_EQ(Entries(), (std::vector<FolderEntry>{{L"A", L"a"}}));
      EXPECT_EQ(h.tk.listItems, std::vector<std::wstring>{L"A"});
      EXPECT_EQ(h.tk.Text(Control::NameBox) + h.tk.Text(Control::PathBox), name + path)
          << "the boxes keep their text";
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
                        Case{L"E:\\", DirectoryState::NotReady, MsgAnswer::Yes, false, false}}) {
    SCOPED_TRACE(c.typed);
    Open();
    const std::wstring withSep = c.typed + (std::wstring(c.typed).ends_with(L'\\') ? L""s : L"\\"s);
    h.tk.dirs[withSep] = c.dir;
    h.tk.answers = {c.answer};
    Click(Control::RegisterButton, L"N", c.typed);
    EXPECT_EQ(h.tk.dirCalls, std::vector<std::wstring>{withSep}) << "separator added once";
    if (c.asked)
      ExpectOneBox(
          L"フォルダパスが不正です。\r\n登録されても正常に動作しない可能性があります。"
          L"\r\n続行しますか？",
          MsgStyle::WarningYesNo);
    else
      EXPECT_TRUE(h.tk.boxes.empty());
    EXPECT_EQ(Entries() == (std::vector<FolderEntry>{{L"N", withSep}}), c.stored);
    EXPECT_EQ(h.tk.Text(Control::PathBox), c.stored ? L"" : withSep)
        << "a refused entry keeps the boxes";
  }
}

TEST_F(FolderListEditTest, ListClickAndHoverShowTheEntry) {
  Open({{L"A", L"a"}, {L"Docs", L"D:\\Docs\\"}});
  h.tk.listIndex = 1;
  form->OnFolderSelected();
  EXPECT_EQ(h.tk.Text(Control::NameBox) + h.tk.Text(Control::PathBox), L"DocsD:\\Docs\\");
  h.tk.listIndex = -1;
  form->OnFolderSelected();
  EXPECT_EQ(h.tk.Text(Control::NameBox) + h.tk.Text(Control::PathBox), L"");

  const std::wstring general = L"登録されたフォルダの一覧です。";
  auto& tip = h.tk.toolTips[Control::FolderList];
  for (auto [under, expected] : {std::pair{1, L"Docs : D:\\Docs\\"},
                                 {-1, general.c_str()},
                                 {2, general.c_str()}}) {  // 2: a stale hit past the end
    h.os.itemUnderCursor = under;
    form->OnFolderHover();
    EXPECT_EQ(tip, expected) << under;
  }
}

TEST_F(FolderListEditTest, BrowseFillsOnlyThePathAndCancelKeepsIt) {
  Open();
  h.tk.texts[Control::NameBox] = L"Keep";
  h.tk.texts[Control::PathBox] = L"typed";
  form->OnBrowse();
  EXPECT_EQ(h.tk.Text(Control::PathBox), L"typed");
  h.os.browseResult = L"C:\\Program Files";
  form->OnBrowse();
  EXPECT_EQ(h.tk.Text(Control::NameBox) + h.tk.Text(Control::PathBox), L"KeepC:\\Program Files");
  ASSERT_EQ(h.os.browseCalls.size(), 2u);
  EXPECT_EQ(h.os.browseCalls[0],
            std::pair(h.tk.hWnd(std::nullopt), std::wstring(L"ﾌｫﾙﾀﾞを選択してください")));
}

}  // namespace
}  // namespace kv::test
