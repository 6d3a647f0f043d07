// One settings window per settings file, and no OK that saves over a file changed meanwhile.
#include <gtest/gtest.h>

#include <optional>

#include "fakes/harness.h"

namespace kv::test {
namespace {

const wchar_t kAskReplace[] =
    L"識別名とパスに、まだ登録していない入力があります。\r\n"
    L"新しく指定されたフォルダに置き換えますか？";
const wchar_t kAskOverwrite[] =
    L"設定ファイルは、この画面を開いた後に変更されています。\r\n"
    L"保存すると、その変更は失われます。\r\n上書き保存しますか？";

class OneWindowTest : public ::testing::Test {
 protected:
  // A fresh program whose settings file holds A, started on `commandLine` (empty: the launcher,
  // its first item chosen).
  void Open(const std::wstring& commandLine) {
    h.emplace();
    h->os.files[h->SettingsFile()] = "[Folder001]\r\nTitle=A\r\nPath=C:\\A\\\r\n";
    h->tk.commandLine = commandLine;
    h->tk.popupChoice = MenuRef{MenuKind::ProgramName};
    form = StartUp(h->ctx);
  }
  FolderEntry Boxes() { return {h->tk.Text(Control::NameBox), h->tk.Text(Control::PathBox)}; }
  std::wstring Asked() {
    const auto& b = h->tk.boxes;
    return b.empty() ? L"" : b.size() == 1 ? b[0].text : L"more than one";
  }

  std::optional<Harness> h;
  std::unique_ptr<SettingsWindow> form;
};

struct StartCase {
  FolderEntry boxes;  // in the window when the other start comes
  std::optional<MsgAnswer> asked;
  FolderEntry after;
};

TEST_F(OneWindowTest, AnotherStartFillsTheBoxesAskingOnlyForUnregisteredText) {
  const FolderEntry b{L"B", L"C:\\Data\\B"};
  const StartCase cases[] = {
      {{L"", L" "}, std::nullopt, b},
      {{L"A", L"C:\\A\\"}, std::nullopt, b},  // a registered entry, shown by a click
      {b, std::nullopt, b},
      {{L"typed", L""}, MsgAnswer::Yes, b},
      {{L"A", L"C:\\typed"}, MsgAnswer::No, {L"A", L"C:\\typed"}},
  };
  for (const StartCase& c : cases) {
    SCOPED_TRACE(testing::Message() << &c - cases);
    Open(L"\"\"");
    h->tk.texts = {{Control::NameBox, c.boxes.Title}, {Control::PathBox, c.boxes.Path}};
    if (c.asked) h->tk.answers = {*c.asked};
    form->OnAnotherStart(L"\"C:\\Data\\B\"");
    EXPECT_EQ(Boxes(), c.after);
    EXPECT_EQ(Asked(), c.asked ? kAskReplace : L"");
    EXPECT_EQ(h->tk.log.back(), "front");
  }
}

struct FileCase {
  const char* onDisk;  // at OK; null: gone
  std::optional<MsgAnswer> asked;
  bool saved;
};

TEST_F(OneWindowTest, OkSavesOverAChangedFileOnlyWhenTheUserSaysSo) {
  const FileCase cases[] = {
      {"[Folder001]\r\nTitle=A\r\nPath=C:\\A\\\r\n", std::nullopt, true},
      {"[Folder001]\r\nTitle=B\r\nPath=C:\\B\\\r\n", MsgAnswer::Yes, true},
      {"[Folder001]\r\nTitle=B\r\nPath=C:\\B\\\r\n", MsgAnswer::No, false},
      {nullptr, MsgAnswer::No, false},
  };
  for (const FileCase& c : cases) {
    SCOPED_TRACE(testing::Message() << &c - cases);
    Open(L"");
    h->os.files.erase(h->SettingsFile());
    if (c.onDisk) h->os.files[h->SettingsFile()] = c.onDisk;
    if (c.asked) h->tk.answers = {*c.asked};
    form->OnOk();
    EXPECT_EQ(Asked(), c.asked ? kAskOverwrite : L"");
    EXPECT_EQ(h->tk.Logged("unload"), c.saved);
    EXPECT_EQ(h->os.FileText(h->SettingsFile()),
              c.saved    ? L"[Main]\r\nDrive= 1\r\n[Folder001]\r\nTitle=A\r\nPath=C:\\A\\\r\n"
              : c.onDisk ? h->os.DecodeFileText(c.onDisk)
                         : L"<missing>");
  }
}

// A start that comes while a question is open changes no box under it; it follows the answer.
TEST_F(OneWindowTest, AStartDuringAQuestionWaitsForTheAnswer) {
  Open(L"");
  h->os.files[h->SettingsFile()] = "";
  h->tk.duringBox = [&] {
    form->OnAnotherStart(L"\"C:\\Data\\B\"");
    EXPECT_EQ(Boxes(), FolderEntry{});
  };
  form->OnOk();
  EXPECT_EQ(Boxes(), (FolderEntry{L"B", L"C:\\Data\\B"}));
}

}  // namespace
}  // namespace kv::test
