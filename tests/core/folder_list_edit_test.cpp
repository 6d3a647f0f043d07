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
    h->tk.dirs = {{L"C:\\Data\\", DirectoryState::Found},
                  {L"C:\\a\nb\\", DirectoryState::Found},
                  {L"C:\\a?b\\", DirectoryState::BadName},
                  {L"E:\\", DirectoryState::NotReady}};
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

// Blank boxes (the name checked first) and line breaks are refused; a folder that is not there
// (or a bad name) asks, one not ready is refused; the separator is added once. Register and
// update alike: a refused entry changes nothing and the boxes keep their text.
TEST_F(FolderListEditTest, ChecksBeforeAnEntryIsTaken) {
  const std::wstring noName = L"識別名が入力されていません。\r\n識別名を入力して下さい。",
                     noPath = L"パスが入力されていません。\r\nパスを入力して下さい。",
                     lineBreak =
                         L"識別名またはパスに改行が含まれています。\r\n"
                         L"改行を含む識別名やパスは登録できません。",
                     ask =
                         L"フォルダパスが不正です。\r\n登録されても正常に動作しない"
                         L"可能性があります。\r\n続行しますか？";
  const std::tuple<std::wstring, std::wstring, const std::wstring*, MsgAnswer> cases[] = {
      {L" \u3000 ", L"", &noName, MsgAnswer::Yes},
      {L"A", L"   ", &noPath, MsgAnswer::Yes},
      {L"Pho\0tos"s, L"C:\\Data\\", &lineBreak, MsgAnswer::Yes},
      {L"N", L"C:\\a\nb\\", &lineBreak, MsgAnswer::Yes},  // though the folder is there
      {L"N", L"C:\\Gone\\", &ask, MsgAnswer::No},
      {L"N", L"C:\\Gone", &ask, MsgAnswer::Yes},
      {L"N", L"C:\\a?b", &ask, MsgAnswer::Yes},
      {L"N", L"E:\\", nullptr, MsgAnswer::Yes}};  // not ready
  for (const Control button : {Control::RegisterButton, Control::UpdateButton}) {
    for (const auto& [name, path, message, answer] : cases) {
      SCOPED_TRACE(::testing::Message() << static_cast<int>(button) << " " << name << "|" << path);
      Open({{L"A", L"a"}});
      h->tk.answer = answer;
      h->tk.listIndex = 0;
      Click(button, name, path);
      const std::vector<ShownBox> shown(
          message != nullptr,
          {message ? *message : L"", message == &ask ? MsgStyle::WarningYesNo : MsgStyle::Warning});
      EXPECT_EQ(h->tk.boxes, shown);
      const bool taken = message == &ask && answer == MsgAnswer::Yes;
      const FolderEntry entry{name, path.ends_with(L'\\') ? path : path + L"\\"};
      Entries after{{L"A", L"a"}};
      if (taken)
        button == Control::UpdateButton ? after = {entry} : (after.push_back(entry), after);
      EXPECT_EQ(Edited(), after);
      EXPECT_EQ(h->tk.Boxes(), taken ? L"|" : name + L"|" + path);
    }
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
  const std::pair<int, std::wstring> tips[] = {
      {1, L"Docs : D:\\Docs\\"}, {-1, general}, {2, general}};  // 2: a stale hit past the end
  for (const auto& [under, tip] : tips) {
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
