// One settings window per settings file, and no OK that saves over a file changed meanwhile.
// The end-to-end scripts drive the common paths on the real program; these are the rest.
#include <gtest/gtest.h>

#include "fakes/harness.h"

namespace kv::test {
namespace {

const char kFile[] = "[Folder001]\r\nTitle=A\r\nPath=C:\\A\\\r\n";

// The window open on a settings file holding A beside the program (StartUp finds it there),
// the boxes empty; every question answered No.
std::unique_ptr<SettingsWindow> Start(Harness& h) {
  h.os.files[h.SettingsFile()] = kFile;
  h.tk.commandLine = L"\"\"";
  return StartUp(h.ctx);
}

TEST(OneWindowTest, AnotherStartAsksOnlyForUnregisteredText) {
  for (const auto& [typed, asked] : {std::pair{L"C:\\A\\", false}, {L"C:\\typed", true}}) {
    Harness h;
    const auto form = Start(h);
    h.tk.texts = {{Control::NameBox, L"A"}, {Control::PathBox, typed}};  // A: shown by a click
    form->OnAnotherStart(L"\"C:\\Data\\B\"");
    EXPECT_EQ(h.tk.Boxes(), asked ? L"A|" + std::wstring(typed) : L"B|C:\\Data\\B");
    EXPECT_EQ(h.tk.boxes, std::vector<ShownBox>(
                              asked, {L"識別名とパスに、まだ登録していない入力があります。\r\n"
                                      L"新しく指定されたフォルダに置き換えますか？",
                                      MsgStyle::QuestionYesNo}));
    EXPECT_EQ(h.tk.log.back(), "front");
  }
}

// A file gone since the window opened counts as changed.
TEST(OneWindowTest, OkSavesOverAChangedFileOnlyWhenTheUserSaysSo) {
  for (const char* onDisk : {kFile, static_cast<const char*>(nullptr)}) {
    Harness h;
    const auto form = Start(h);
    if (!onDisk) h.os.files.clear();
    form->OnOk();
    EXPECT_EQ(h.tk.boxes,
              std::vector<ShownBox>(!onDisk,
                                    {L"設定ファイルは、この画面を開いた後に変更されています。\r\n"
                                     L"保存すると、その変更は失われます。\r\n"
                                     L"上書き保存しますか？",
                                     MsgStyle::WarningYesNo}));
    EXPECT_EQ(h.os.files.empty(), !onDisk);
    EXPECT_EQ(h.tk.Logged("unload"), onDisk != nullptr);
  }
}

}  // namespace
}  // namespace kv::test
