// Opening the settings window from the stored state, and what OK and cancel commit.
#include "ui/open_commit.h"

#include <gtest/gtest.h>

#include "fakes/harness.h"
#include "settings/settings_file.h"
#include "shell/context_menu.h"
#include "ui/controls.h"

namespace kv::test {
namespace {

const std::pair kDrives{Ctl::Check1, 0};
const std::pair kEntry{Ctl::Check1, 1};

class OpenCommitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    h.tk.commandLine = L"\"\"";
    h.tk.dirs[L"C:\\New\\"] = {0, true};
    h.WriteIni({{L"Main", L"Drive", L" 0"},
                {L"Folder001", L"Title", L"A"},
                {L"Folder001", L"Path", L"C:\\A\\"}});
    Module1::LoadSettings(h.ctx);
    fileBefore = h.os.FileText(h.SettingsFile());
  }
  void Open() {
    form = std::make_unique<Form1>(h.ctx);
    form->Show();
  }
  void Register(const std::wstring& name, const std::wstring& path) {
    h.tk.texts[{Ctl::Text1, 0}] = name;
    h.tk.texts[{Ctl::Text1, 1}] = path;
    form->Command1_Click(kRegisterButton);
  }

  Harness h;
  std::unique_ptr<Form1> form;
  std::wstring fileBefore;
};

TEST_F(OpenCommitTest, OpeningCopiesTheStoredState) {
  ASSERT_TRUE(Module1::SetContextMenuEntry(h.ctx, true));
  Open();
  EXPECT_EQ(h.tk.values[kDrives], 0);
  EXPECT_EQ(h.tk.values[kEntry], 1);
  EXPECT_EQ(form->InitialContextMenuState, 1);
  EXPECT_EQ(h.tk.listItems, std::vector<std::wstring>{L"A"});
  EXPECT_EQ(h.tk.listIndex, -1);
  form->EditList[1].Title = L"changed";
  EXPECT_EQ(h.ctx.FolderList[1].Title, L"A") << "an independent copy";
}

TEST_F(OpenCommitTest, OkWithoutChangesRewritesFileAndLeavesRegistry) {
  Open();
  h.os.files.erase(h.SettingsFile());
  form->Command3_Click(kOkButton);
  EXPECT_EQ(h.os.FileText(h.SettingsFile()), fileBefore);
  EXPECT_EQ(h.os.registryWrites, 0);
  EXPECT_TRUE(h.tk.Logged("unload"));
}

TEST_F(OpenCommitTest, OkCommitsEditsAndDriveOption) {
  Open();
  Register(L"New", L"C:\\New");
  h.tk.values[kDrives] = 1;
  h.tk.texts[{Ctl::Text1, 0}] = L"typed only";
  form->Command3_Click(kOkButton);
  EXPECT_EQ(h.os.FileText(h.SettingsFile()),
            L"[Main]\r\nDrive= 1\r\n[Folder001]\r\nTitle=A\r\nPath=C:\\A\\\r\n"
            L"[Folder002]\r\nTitle=New\r\nPath=C:\\New\\\r\n");
  EXPECT_EQ(h.ctx.ShowDrives, 1);
  EXPECT_EQ(UBound(h.ctx.FolderList), 2);
}

TEST_F(OpenCommitTest, CancelAfterEditsKeepsListAndFile) {
  Open();
  Register(L"New", L"C:\\New");
  h.tk.listIndex = 0;
  form->Command1_Click(kRemoveButton);
  h.tk.values[kEntry] = 1;
  form->Command3_Click(kCancelButton);
  EXPECT_EQ(h.os.FileText(h.SettingsFile()), fileBefore);
  EXPECT_EQ(h.ctx.FolderList[1].Title, L"A");
  EXPECT_EQ(h.os.registryWrites, 0);
  EXPECT_TRUE(h.tk.Logged("unload"));
}

TEST_F(OpenCommitTest, EntryFollowsTheBoxWhenItChanged) {
  Open();
  h.tk.values[kEntry] = 1;
  form->Command3_Click(kOkButton);
  EXPECT_TRUE(Module1::IsContextMenuEntryRegistered(h.ctx));

  Open();
  EXPECT_EQ(h.tk.values[kEntry], 1) << "the next opening sees it";
  h.tk.values[kEntry] = 0;
  form->Command3_Click(kOkButton);
  EXPECT_FALSE(Module1::IsContextMenuEntryRegistered(h.ctx));
  EXPECT_FALSE(h.os.RegQueryString(RegRoot::CurrentUserClasses, Module1::kContextMenuKey, L""));
}

TEST_F(OpenCommitTest, EntryOfAnotherCopyLeftAloneWhenBoxUntouched) {
  h.os.RegSetString(RegRoot::CurrentUserClasses, Module1::kContextMenuCommandKey, L"",
                    L"\"D:\\Other\\launch.exe\" \"%1\"");
  h.os.registryWrites = 0;
  Open();
  EXPECT_EQ(h.tk.values[kEntry], 0);
  form->Command3_Click(kOkButton);
  EXPECT_EQ(h.os.registryWrites, 0);
}

TEST_F(OpenCommitTest, FailedSaveWarnsAndKeepsTheWindowAndEdits) {
  Open();
  Register(L"New", L"C:\\New");
  h.tk.values[kEntry] = 1;
  h.os.readOnlyDirs.insert(h.ctx.AppDir);
  form->Command3_Click(kOkButton);
  ASSERT_EQ(h.tk.boxes.size(), 1u);
  EXPECT_EQ(h.tk.boxes[0].text,
            L"設定ファイルを保存できませんでした。\r\nフォルダへの書き込み権限を確認して下さい。");
  EXPECT_EQ(h.tk.boxes[0].style, vbExclamation);
  EXPECT_FALSE(h.tk.Logged("unload"));
  EXPECT_EQ(h.os.FileText(h.SettingsFile()), fileBefore);
  EXPECT_EQ(h.os.registryWrites, 0) << "nothing else is done";
  EXPECT_EQ(UBound(form->EditList), 2);
  EXPECT_EQ(UBound(h.ctx.FolderList), 1);

  h.os.readOnlyDirs.clear();  // the user fixed the cause
  form->Command3_Click(kOkButton);
  EXPECT_TRUE(h.tk.Logged("unload"));
  EXPECT_EQ(UBound(h.ctx.FolderList), 2);
}

TEST_F(OpenCommitTest, UnreadableSettingsFileWarnsOnOkAndStaysUntouched) {
  const std::string before = h.os.files[h.SettingsFile()];
  h.os.unreadable.insert(h.SettingsFile());
  Module1::LoadSettings(h.ctx);
  EXPECT_EQ(UBound(h.ctx.FolderList), 0) << "no folders, as for a missing file";
  EXPECT_EQ(h.ctx.ShowDrives, 1) << "and the drives shown";
  Open();
  Register(L"New", L"C:\\New");
  form->Command3_Click(kOkButton);
  ASSERT_EQ(h.tk.boxes.size(), 1u);
  EXPECT_EQ(h.tk.boxes[0].text,
            L"設定ファイルを保存できませんでした。\r\nフォルダへの書き込み権限を確認して下さい。");
  EXPECT_FALSE(h.tk.Logged("unload"));
  EXPECT_EQ(h.os.files[h.SettingsFile()], before);
}

TEST_F(OpenCommitTest, FailedRegistryWriteWarnsAndStillCloses) {
  Open();
  h.tk.values[kEntry] = 1;
  h.os.readOnlyRoots = {RegRoot::CurrentUserClasses, RegRoot::ClassesRoot};
  form->Command3_Click(kOkButton);
  ASSERT_EQ(h.tk.boxes.size(), 1u);
  EXPECT_EQ(h.tk.boxes[0].text, L"右クリックメニューの設定を変更できませんでした。");
  EXPECT_TRUE(h.tk.Logged("unload"));
  EXPECT_NE(h.os.FileText(h.SettingsFile()), L"<missing>");
}

// Filling and committing work on a working list the caller owns, with no form; closing the
// window is the form's.
TEST_F(OpenCommitTest, FillAndCommitWithoutTheForm) {
  h.tk.LoadControls();
  FolderArray edits;
  const std::uint8_t initial = Module1::FillSettingsWindow(h.ctx, edits);
  EXPECT_EQ(initial, 0);
  EXPECT_EQ(edits, h.ctx.FolderList);
  EXPECT_EQ(h.tk.listItems, std::vector<std::wstring>{L"A"});

  edits.push_back({L"B", L"C:\\B\\"});
  h.tk.values[kDrives] = 1;
  h.os.readOnlyDirs.insert(h.ctx.AppDir);
  EXPECT_FALSE(Module1::CommitSettingsWindow(h.ctx, edits, initial));
  EXPECT_EQ(h.ctx.ShowDrives, 0) << "a failed save leaves the stored state";
  EXPECT_EQ(UBound(h.ctx.FolderList), 1);

  h.os.readOnlyDirs.clear();
  EXPECT_TRUE(Module1::CommitSettingsWindow(h.ctx, edits, initial));
  EXPECT_EQ(h.ctx.ShowDrives, 1);
  EXPECT_EQ(h.ctx.FolderList, edits);
  EXPECT_FALSE(h.tk.Logged("unload"));
  EXPECT_FALSE(Module1::IsContextMenuEntryRegistered(h.ctx)) << "the box stayed as shown";
}

}  // namespace
}  // namespace kv::test
