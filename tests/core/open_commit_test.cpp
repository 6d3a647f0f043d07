// Opening the settings window from the stored state, and what OK and cancel commit.
#include <gtest/gtest.h>

#include "fakes/harness.h"
#include "shell/context_menu.h"

namespace kv::test {
namespace {

const Control kDrives = Control::ShowDrivesBox;
const Control kEntry = Control::FolderEntryBox;
const std::wstring kSaveFailed =
    L"設定ファイルを保存できませんでした。\r\nフォルダへの書き込み権限を確認して下さい。";

class OpenCommitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    h.tk.dirs[L"C:\\New\\"] = DirectoryState::Found;
    h.WriteIni({{L"Main", L"Drive", L" 0"},
                {L"Folder001", L"Title", L"A"},
                {L"Folder001", L"Path", L"C:\\A\\"}});
    LoadSettings(h.ctx);
    fileBefore = h.os.FileText(h.SettingsFile());
  }
  void Open() {
    h.tk.commandLine = L"\"\"";
    form = std::make_unique<SettingsWindow>(h.ctx);
    form->Show();
  }
  void Register() {
    h.tk.texts[Control::NameBox] = L"New";
    h.tk.texts[Control::PathBox] = L"C:\\New";
    form->OnRegister();
  }

  Harness h;
  std::unique_ptr<SettingsWindow> form;
  std::wstring fileBefore;
};

TEST_F(OpenCommitTest, OpeningCopiesTheStoredStateAndOkCommitsTheEdits) {
  ASSERT_TRUE(SetContextMenuEntry(h.ctx, true));
  Open();
  EXPECT_EQ(h.tk.values[kDrives], 0);
  EXPECT_EQ(h.tk.values[kEntry], 1);
  EXPECT_EQ(h.tk.listItems, std::vector<std::wstring>{L"A"});
  EXPECT_EQ(h.tk.listIndex, -1);
  Register();
  EXPECT_EQ(UBound(h.ctx.FolderList), 1) << "an independent copy";
  h.tk.values[kDrives] = 1;
  h.tk.texts[Control::NameBox] = L"typed only";
  h.os.folderEntryWrites = 0;
  form->OnOk();
  EXPECT_EQ(h.os.FileText(h.SettingsFile()),
            L"[Main]\r\nDrive= 1\r\n[Folder001]\r\nTitle=A\r\nPath=C:\\A\\\r\n"
            L"[Folder002]\r\nTitle=New\r\nPath=C:\\New\\\r\n");
  EXPECT_EQ(h.ctx.ShowDrives, 1);
  EXPECT_EQ(UBound(h.ctx.FolderList), 2);
  EXPECT_EQ(h.os.folderEntryWrites, 0) << "the box was not changed";
  EXPECT_TRUE(h.tk.Logged("unload"));
}

TEST_F(OpenCommitTest, CancelKeepsListFileAndEntry) {
  Open();
  Register();
  h.tk.values[kEntry] = 1;
  form->OnCancel();
  EXPECT_EQ(h.os.FileText(h.SettingsFile()), fileBefore);
  EXPECT_EQ(UBound(h.ctx.FolderList), 1);
  EXPECT_EQ(h.os.folderEntryWrites, 0);
  EXPECT_TRUE(h.tk.Logged("unload"));
}

TEST_F(OpenCommitTest, EntryFollowsTheBoxOnlyWhenItChanged) {
  h.os.folderEntries[kContextMenuVerb] = {kContextMenuText, L"\"D:\\Other\\launch.exe\" \"%1\""};
  h.os.folderEntryWrites = 0;
  Open();
  EXPECT_EQ(h.tk.values[kEntry], 0) << "another copy's entry";
  form->OnOk();
  EXPECT_EQ(h.os.folderEntryWrites, 0) << "left alone";
  for (int ticked : {1, 0}) {
    Open();
    h.tk.values[kEntry] = ticked;
    form->OnOk();
    EXPECT_EQ(IsContextMenuEntryRegistered(h.ctx), ticked == 1);
  }
}

// Read-only folder or unreadable file: the warning, nothing else done, the window and its
// edits kept; once the cause is gone OK goes through.
TEST_F(OpenCommitTest, FailedSaveWarnsAndKeepsTheWindowAndEdits) {
  for (bool unreadable : {false, true}) {
    h.os.files.clear();
    SetUp();
    (unreadable ? h.os.unreadable : h.os.readOnlyDirs).insert(h.SettingsFile());
    Open();
    Register();
    h.tk.values[kEntry] = 1;
    h.tk.boxes.clear();
    h.os.folderEntryWrites = 0;
    form->OnOk();
    ASSERT_EQ(h.tk.boxes.size(), 1u);
    EXPECT_EQ(h.tk.boxes[0].text, kSaveFailed);
    EXPECT_EQ(h.tk.boxes[0].style, MsgStyle::Warning);
    EXPECT_FALSE(h.tk.Logged("unload"));
    EXPECT_EQ(h.os.folderEntryWrites, 0) << "nothing else is done";
    EXPECT_EQ(UBound(form->EditList), 2);
    EXPECT_EQ(UBound(h.ctx.FolderList), 1);
    h.os.unreadable.clear();
    h.os.readOnlyDirs.clear();
    form->OnOk();
    EXPECT_TRUE(h.tk.Logged("unload"));
    EXPECT_EQ(UBound(h.ctx.FolderList), 2);
    h.tk.log.clear();
  }
}

TEST_F(OpenCommitTest, FailedEntryChangeWarnsAndStillCloses) {
  Open();
  h.tk.values[kEntry] = 1;
  h.os.failFolderEntry = true;
  h.os.files.erase(h.SettingsFile());
  h.tk.answers.push_back(MsgAnswer::Yes);  // a vanished file counts as changed
  form->OnOk();
  ASSERT_EQ(h.tk.boxes.size(), 2u);
  EXPECT_EQ(h.tk.boxes[1].text, L"右クリックメニューの設定を変更できませんでした。");
  EXPECT_TRUE(h.tk.Logged("unload"));
  EXPECT_EQ(h.os.FileText(h.SettingsFile()), fileBefore) << "saved all the same";
}

}  // namespace
}  // namespace kv::test
