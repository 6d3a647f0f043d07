// Opening the settings window from the stored state, and what OK commits.
#include <gtest/gtest.h>

#include "fakes/harness.h"
#include "shell/context_menu.h"

namespace kv::test {
namespace {

const Control kDrives = Control::ShowDrivesBox, kEntry = Control::FolderEntryBox;
const wchar_t kStored[] = L"[Main]\r\nDrive= 0\r\n[Folder001]\r\nTitle=A\r\nPath=C:\\A\\\r\n";

class OpenCommitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    h.tk.dirs[L"C:\\New\\"] = DirectoryState::Found;
    h.os.files[h.SettingsFile()] = h.os.EncodeFileText(kStored);
    LoadSettings(h.ctx);
  }
  void Open() {
    h.tk.commandLine = L"\"\"";
    form = std::make_unique<SettingsWindow>(h.ctx);
    form->Show();
  }
  void Register() {
    h.tk.texts = {{Control::NameBox, L"New"}, {Control::PathBox, L"C:\\New"}};
    form->OnRegister();
  }

  Harness h;
  std::unique_ptr<SettingsWindow> form;
};

// An entry of this copy, its box left as it was: OK leaves the entry alone.
TEST_F(OpenCommitTest, OpeningCopiesTheStoredStateAndOkCommitsTheEdits) {
  ASSERT_TRUE(SetContextMenuEntry(h.ctx, true));
  Open();
  EXPECT_EQ(h.tk.values[kDrives], 0);
  EXPECT_EQ(h.tk.values[kEntry], 1);
  EXPECT_EQ(h.tk.listItems, std::vector<std::wstring>{L"A"});
  Register();
  EXPECT_EQ(UBound(h.ctx.FolderList), 1) << "an independent copy";
  h.tk.values[kDrives] = 1;
  h.os.entryWrites = 0;
  form->OnOk();
  EXPECT_EQ(h.os.FileText(h.SettingsFile()),
            L"[Main]\r\nDrive= 1\r\n[Folder001]\r\nTitle=A\r\nPath=C:\\A\\\r\n"
            L"[Folder002]\r\nTitle=New\r\nPath=C:\\New\\\r\n");
  EXPECT_EQ(h.os.entryWrites, 0);
  EXPECT_TRUE(h.tk.Logged("unload"));
}

// A failed save warns and keeps the window, its edits and the stored state, nothing else done;
// once it goes through, a refused entry change is reported and the window closes all the same.
TEST_F(OpenCommitTest, FailedSaveKeepsTheWindowAndAFailedEntryChangeDoesNot) {
  Open();
  Register();
  h.tk.values[kDrives] = h.tk.values[kEntry] = 1;
  h.os.failWrites = true;
  form->OnOk();
  EXPECT_EQ(h.tk.boxes, (std::vector<ShownBox>{{L"設定ファイルを保存できませんでした。\r\n"
                                                L"フォルダへの書き込み権限を確認して下さい。",
                                                MsgStyle::Warning}}));
  EXPECT_FALSE(h.tk.Logged("unload"));
  EXPECT_EQ(h.os.entryWrites, 0);
  EXPECT_EQ(UBound(form->EditList), 2);
  EXPECT_EQ(UBound(h.ctx.FolderList), 1);
  EXPECT_EQ(h.ctx.ShowDrives, 0);
  h.os.failWrites = false;
  h.os.failEntries = true;
  form->OnOk();
  EXPECT_EQ(h.tk.boxes.back().text, L"右クリックメニューの設定を変更できませんでした。");
  EXPECT_TRUE(h.tk.Logged("unload"));
  EXPECT_EQ(UBound(h.ctx.FolderList), 2);
  h.os.failEntries = false;
  LoadSettings(h.ctx);  // the next run
  Open();
  EXPECT_EQ(h.tk.values[kDrives], 1);
  h.tk.values[kEntry] = 1;
  form->OnOk();
  EXPECT_TRUE(IsContextMenuEntryRegistered(h.ctx)) << "the ticked box adds the entry";
}

}  // namespace
}  // namespace kv::test
