// Opening the settings window from the stored state, and what OK and cancel commit.
#include <gtest/gtest.h>

#include "fakes/harness.h"
#include "shell/context_menu.h"
#include "ui/controls.h"

namespace kv::test {
namespace {

const std::pair kDrives{Ctl::Check1, 0};
const std::pair kEntry{Ctl::Check1, 1};
const std::wstring kSaveFailed =
    L"設定ファイルを保存できませんでした。\r\nフォルダへの書き込み権限を確認して下さい。";

class OpenCommitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    h.tk.dirs[L"C:\\New\\"] = {0, true};
    h.WriteIni({{L"Main", L"Drive", L" 0"},
                {L"Folder001", L"Title", L"A"},
                {L"Folder001", L"Path", L"C:\\A\\"}});
    Module1::LoadSettings(h.ctx);
    fileBefore = h.os.FileText(h.SettingsFile());
  }
  void Open() {
    h.tk.commandLine = L"\"\"";
    form = std::make_unique<Form1>(h.ctx);
    form->Show();
  }
  void Register() {
    h.tk.texts[{Ctl::Text1, 0}] = L"New";
    h.tk.texts[{Ctl::Text1, 1}] = L"C:\\New";
    form->Command1_Click(kRegisterButton);
  }

  Harness h;
  std::unique_ptr<Form1> form;
  std::wstring fileBefore;
};

TEST_F(OpenCommitTest, OpeningCopiesTheStoredStateAndOkCommitsTheEdits) {
  ASSERT_TRUE(Module1::SetContextMenuEntry(h.ctx, true));
  Open();
  EXPECT_EQ(h.tk.values[kDrives], 0);
  EXPECT_EQ(h.tk.values[kEntry], 1);
  EXPECT_EQ(h.tk.listItems, std::vector<std::wstring>{L"A"});
  EXPECT_EQ(h.tk.listIndex, -1);
  Register();
  EXPECT_EQ(UBound(h.ctx.FolderList), 1) << "an independent copy";
  h.tk.values[kDrives] = 1;
  h.tk.texts[{Ctl::Text1, 0}] = L"typed only";
  h.os.registryWrites = 0;
  form->Command3_Click(kOkButton);
  EXPECT_EQ(h.os.FileText(h.SettingsFile()),
            L"[Main]\r\nDrive= 1\r\n[Folder001]\r\nTitle=A\r\nPath=C:\\A\\\r\n"
            L"[Folder002]\r\nTitle=New\r\nPath=C:\\New\\\r\n");
  EXPECT_EQ(h.ctx.ShowDrives, 1);
  EXPECT_EQ(UBound(h.ctx.FolderList), 2);
  EXPECT_EQ(h.os.registryWrites, 0) << "the box was not changed";
  EXPECT_TRUE(h.tk.Logged("unload"));
}

TEST_F(OpenCommitTest, CancelKeepsListFileAndEntry) {
  Open();
  Register();
  h.tk.values[kEntry] = 1;
  form->Command3_Click(kCancelButton);
  EXPECT_EQ(h.os.FileText(h.SettingsFile()), fileBefore);
  EXPECT_EQ(UBound(h.ctx.FolderList), 1);
  EXPECT_EQ(h.os.registryWrites, 0);
  EXPECT_TRUE(h.tk.Logged("unload"));
}

TEST_F(OpenCommitTest, EntryFollowsTheBoxOnlyWhenItChanged) {
  h.os.RegSetString(RegRoot::CurrentUserClasses, Module1::kContextMenuCommandKey, L"",
                    L"\"D:\\Other\\launch.exe\" \"%1\"");
  h.os.registryWrites = 0;
  Open();
  EXPECT_EQ(h.tk.values[kEntry], 0) << "another copy's entry";
  form->Command3_Click(kOkButton);
  EXPECT_EQ(h.os.registryWrites, 0) << "left alone";
  for (int ticked : {1, 0}) {
    Open();
    h.tk.values[kEntry] = ticked;
    form->Command3_Click(kOkButton);
    EXPECT_EQ(Module1::IsContextMenuEntryRegistered(h.ctx), ticked == 1);
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
    h.os.registryWrites = 0;
    form->Command3_Click(kOkButton);
    ASSERT_EQ(h.tk.boxes.size(), 1u);
    EXPECT_EQ(h.tk.boxes[0].text, kSaveFailed);
    EXPECT_EQ(h.tk.boxes[0].style, vbExclamation);
    EXPECT_FALSE(h.tk.Logged("unload"));
    EXPECT_EQ(h.os.registryWrites, 0) << "nothing else is done";
    EXPECT_EQ(UBound(form->EditList), 2);
    EXPECT_EQ(UBound(h.ctx.FolderList), 1);
    h.os.unreadable.clear();
    h.os.readOnlyDirs.clear();
    form->Command3_Click(kOkButton);
    EXPECT_TRUE(h.tk.Logged("unload"));
    EXPECT_EQ(UBound(h.ctx.FolderList), 2);
    h.tk.log.clear();
  }
}

TEST_F(OpenCommitTest, FailedEntryChangeWarnsAndStillCloses) {
  Open();
  h.tk.values[kEntry] = 1;
  h.os.readOnlyRoots = {RegRoot::CurrentUserClasses, RegRoot::ClassesRoot};
  h.os.files.erase(h.SettingsFile());
  form->Command3_Click(kOkButton);
  ASSERT_EQ(h.tk.boxes.size(), 1u);
  EXPECT_EQ(h.tk.boxes[0].text, L"右クリックメニューの設定を変更できませんでした。");
  EXPECT_TRUE(h.tk.Logged("unload"));
  EXPECT_EQ(h.os.FileText(h.SettingsFile()), fileBefore) << "saved all the same";
}

}  // namespace
}  // namespace kv::test
