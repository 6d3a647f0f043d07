// Editing the working list in the settings window: the buttons, the checks and the tool tip.
#include <gtest/gtest.h>

#include "fakes/harness.h"
#include "platform/button_click.h"

namespace kv::test {
namespace {

using namespace std::string_literals;
using Entries = std::vector<FolderEntry>;

class FolderListEditTest : public ::testing::Test {
 protected:
  void Open(const Entries& entries = {}) {
    h.emplace();
    h->tk.commandLine = L"\"\"";  // opens the window with empty boxes
    h->tk.dirs[L"C:\\Data\\"] = DirectoryState::Found;
    h->AddFolders(entries);
    form = std::make_unique<SettingsWindow>(h->ctx);
    form->Show();
  }
  void Click(Control button, const std::wstring& name, const std::wstring& path) {
    h->tk.texts = {{Control::NameBox, name}, {Control::PathBox, path}};
    h->tk.boxes.clear();
    ClickButton(*form, button);
  }
  // The working list, checked against the list box.
  Entries Edited() const {
    std::vector<std::wstring> titles;
    for (const auto& e : form->EditList) titles.push_back(e.Title);
    EXPECT_EQ(h->tk.listItems, std::vector(titles.begin() + 1, titles.end()));
    return {form->EditList.begin() + 1, form->EditList.end()};
  }

  std::optional<Harness> h;
  std::unique_ptr<SettingsWindow> form;
};

// Done: the boxes emptied and no question; nothing selected: nothing done, the boxes kept.
TEST_F(FolderListEditTest, ButtonsEditTheWorkingList) {
  const FolderEntry a{L"A", L"a"}, b{L"B", L"b"}, c{L"C", L"c"}, data{L"  Data  ", L"C:\\Data\\"};
  const std::tuple<Entries, int, Control, Entries> cases[] = {
      {{a, b, c}, 0, Control::RemoveButton, {b, c}},
      {{a, b, c}, 2, Control::RemoveButton, {a, b}},
      {{a, b, c}, 1, Control::UpdateButton, {a, data, c}},
      {{a, b}, 0, Control::RegisterButton, {a, b, data}},
      {{a}, -1, Control::UpdateButton, {a}},
      {{a}, -1, Control::RemoveButton, {a}}};
  for (const auto& [before, selected, button, after] : cases) {
    SCOPED_TRACE(::testing::Message() << static_cast<int>(button) << " on " << selected);
    Open(before);
    h->tk.listIndex = selected;
    Click(button, L"  Data  ", L"C:\\Data");
    EXPECT_EQ(Edited(), after);
    EXPECT_TRUE(h->tk.boxes.empty());
    EXPECT_EQ(h->tk.Boxes(), selected != -1 ? L"|" : L"  Data  |C:\\Data");
  }
}

// Blank boxes (the name checked first) and line breaks are refused on register and update
// alike: one warning, nothing changed, the boxes keep their text.
TEST_F(FolderListEditTest, BlankBoxesAndLineBreaksAreRefused) {
  const std::wstring noName = L"識別名が入力されていません。\r\n識別名を入力して下さい。",
                     noPath = L"パスが入力されていません。\r\nパスを入力して下さい。",
                     lineBreak =
                         L"識別名またはパスに改行が含まれています。\r\n"
                         L"改行を含む識別名やパスは登録できません。";
  Open({{L"A", L"a"}});
  h->tk.dirs[L"C:\\a\nb\\"] = DirectoryState::Found;  // the folder exists: only the break stops it
  for (const Control button : {Control::RegisterButton, Control::UpdateButton}) {
    for (const auto& [name, path, message] : {std::tuple{L" \u3000 "s, L""s, &noName},
                                              {L"A"s, L"   "s, &noPath},
                                              {L"Pho\0tos"s, L"C:\\Data\\"s, &lineBreak},
                                              {L"Photos"s, L"C:\\a\nb\\"s, &lineBreak}}) {
      SCOPED_TRACE(::testing::Message() << static_cast<int>(button) << " " << path.size());
      h->tk.listIndex = 0;
      Click(button, name, path);
      EXPECT_EQ(h->tk.boxes, (std::vector<ShownBox>{{*message, MsgStyle::Warning}}));
      EXPECT_EQ(Edited(), (Entries{{L"A", L"a"}}));
      EXPECT_EQ(h->tk.Boxes(), name + L"|" + path);
    }
  }
}

// The separator added once; a folder that is not there asks, one not ready is refused.
TEST_F(FolderListEditTest, DirectoryTestOutcomes) {
  const std::tuple<const wchar_t*, DirectoryState, MsgAnswer, bool> cases[] = {
      {L"C:\\Gone", DirectoryState::NotFound, MsgAnswer::No, false},
      {L"C:\\Gone\\", DirectoryState::NotFound, MsgAnswer::Yes, true},
      {L"C:\\a?b", DirectoryState::BadName, MsgAnswer::Yes, true},
      {L"E:\\", DirectoryState::NotReady, MsgAnswer::Yes, false}};
  for (const auto& [typed, dir, answer, stored] : cases) {
    SCOPED_TRACE(typed);
    Open();
    const std::wstring withSep = std::wstring(typed).ends_with(L'\\') ? typed : typed + L"\\"s;
    h->tk.dirs[withSep] = dir;
    h->tk.answers = {answer};
    Click(Control::RegisterButton, L"N", typed);
    EXPECT_EQ(h->tk.boxes.size(), dir != DirectoryState::NotReady ? 1u : 0u);
    for (const ShownBox& asked : h->tk.boxes)
      EXPECT_EQ(asked, (ShownBox{L"フォルダパスが不正です。\r\n登録されても正常に動作しない"
                                 L"可能性があります。\r\n続行しますか？",
                                 MsgStyle::WarningYesNo}));
    EXPECT_EQ(Edited() == (Entries{{L"N", withSep}}), stored);
    EXPECT_EQ(h->tk.Boxes(), stored ? L"|" : L"N|" + withSep) << "a refused entry keeps the boxes";
  }
}

TEST_F(FolderListEditTest, ListClickHoverAndBrowse) {
  Open({{L"A", L"a"}, {L"Docs", L"D:\\Docs\\"}});
  for (auto [index, boxes] : {std::pair{1, L"Docs|D:\\Docs\\"}, {-1, L"|"}}) {
    h->tk.listIndex = index;
    form->OnFolderSelected();
    EXPECT_EQ(h->tk.Boxes(), boxes);
  }
  const std::wstring general = L"登録されたフォルダの一覧です。";
  for (auto [under, tip] : {std::pair{1, L"Docs : D:\\Docs\\"},
                            {-1, general.c_str()},
                            {2, general.c_str()}}) {  // 2: a stale hit past the end
    h->os.itemUnderCursor = under;
    form->OnFolderHover();
    EXPECT_EQ(h->tk.toolTips[Control::FolderList], tip) << under;
  }
  h->tk.texts = {{Control::NameBox, L"Keep"}, {Control::PathBox, L"typed"}};
  form->OnBrowse();  // cancelled
  EXPECT_EQ(h->tk.Boxes(), L"Keep|typed");
  h->os.browseResult = L"C:\\Program Files";
  form->OnBrowse();
  EXPECT_EQ(h->tk.Boxes(), L"Keep|C:\\Program Files");
  EXPECT_EQ(h->os.browseTitle, L"ﾌｫﾙﾀﾞを選択してください");
}

}  // namespace
}  // namespace kv::test
