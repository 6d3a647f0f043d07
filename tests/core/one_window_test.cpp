// One settings window per settings file, and no OK that saves over a file changed meanwhile.
#include <gtest/gtest.h>

#include <optional>

#include "fakes/harness.h"

namespace kv::test {
namespace {

const char kFile[] = "[Folder001]\r\nTitle=A\r\nPath=C:\\A\\\r\n";

class OneWindowTest : public ::testing::Test {
 protected:
  // A program whose settings file holds A, its window open (empty boxes), the answer scripted.
  void Open(std::optional<MsgAnswer> answer) {
    h.emplace();
    h->os.files[h->SettingsFile()] = kFile;
    h->tk.commandLine = L"\"\"";
    if (answer) h->tk.answers = {*answer};
    form = StartUp(h->ctx);
  }
  std::wstring Asked() { return h->tk.boxes.empty() ? L"" : h->tk.boxes.at(0).text; }

  std::optional<Harness> h;
  std::unique_ptr<SettingsWindow> form;
};

// Another start fills the boxes, asking first only when they hold text not yet registered.
TEST_F(OneWindowTest, AnotherStartAsksOnlyForUnregisteredText) {
  const std::tuple<FolderEntry, std::optional<MsgAnswer>, std::wstring> cases[] = {
      {{L"", L" "}, std::nullopt, L"B|C:\\Data\\B"},
      {{L"A", L"C:\\A\\"}, std::nullopt, L"B|C:\\Data\\B"},  // registered, shown by a click
      {{L"typed", L""}, MsgAnswer::Yes, L"B|C:\\Data\\B"},
      {{L"A", L"C:\\typed"}, MsgAnswer::No, L"A|C:\\typed"}};
  for (const auto& [boxes, asked, after] : cases) {
    SCOPED_TRACE(after);
    Open(asked);
    h->tk.texts = {{Control::NameBox, boxes.Title}, {Control::PathBox, boxes.Path}};
    form->OnAnotherStart(L"\"C:\\Data\\B\"");
    EXPECT_EQ(h->tk.Boxes(), after);
    EXPECT_EQ(Asked(), asked ? L"識別名とパスに、まだ登録していない入力があります。\r\n"
                               L"新しく指定されたフォルダに置き換えますか？"
                             : L"");
    EXPECT_EQ(h->tk.log.back(), "front");
  }
}

TEST_F(OneWindowTest, OkSavesOverAChangedFileOnlyWhenTheUserSaysSo) {
  const std::wstring saved = L"[Main]\r\nDrive= 1\r\n[Folder001]\r\nTitle=A\r\nPath=C:\\A\\\r\n";
  const std::tuple<const char*, std::optional<MsgAnswer>, std::wstring> cases[] = {
      {kFile, std::nullopt, saved},
      {"[Folder001]\r\nTitle=B\r\n", MsgAnswer::Yes, saved},
      {"[Folder001]\r\nTitle=B\r\n", MsgAnswer::No, L"[Folder001]\r\nTitle=B\r\n"},
      {nullptr, MsgAnswer::No, L"<missing>"}};  // gone
  for (const auto& [onDisk, asked, after] : cases) {
    SCOPED_TRACE(after);
    Open(asked);
    h->os.files.erase(h->SettingsFile());
    if (onDisk) h->os.files[h->SettingsFile()] = onDisk;
    form->OnOk();
    EXPECT_EQ(Asked(), asked ? L"設定ファイルは、この画面を開いた後に変更されています。\r\n"
                               L"保存すると、その変更は失われます。\r\n上書き保存しますか？"
                             : L"");
    EXPECT_EQ(h->os.FileText(h->SettingsFile()), after);
    EXPECT_EQ(h->tk.Logged("unload"), after == saved);
  }
}

}  // namespace
}  // namespace kv::test
