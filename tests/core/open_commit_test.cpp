// Opening the settings window from the stored state, and what OK and cancel commit.
#include "ui/open_commit.h"

#include <gtest/gtest.h>

#include "fakes/harness.h"
#include "settings/settings_file.h"
#include "shell/context_menu.h"

namespace kv::test {
namespace {

const Control kDrives = Control::ShowDrivesBox;
const Control kEntry = Control::FolderEntryBox;

class OpenCommitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    h.tk.commandLine = L"\"\"";
    h.tk.dirs[L"C:\\New\\"] = DirectoryState::Found;
    h.WriteIni({{L"Main", L"Drive", L" 0"},
                {L"Folder001", L"Title", L"A"},
                {L"Folder001", L"Path", L"C:\\A\\"}});
    LoadSettings(h.ctx);
    fileBefore = h.os.FileText(h.SettingsFile());
  }
  void Open() {
    form = std::make_unique<SettingsWindow>(h.ctx);
    form->Show();
  }
  void Register(const std::wstring& name, const std::wstring& path) {
    h.tk.texts[Control::NameBox] = name;
    h.tk.texts[Control::PathBox] = path;
    form->OnRegister();
  }

  Harness h;
  std::unique_ptr<SettingsWindow> form;
  std::wstring fileBefore;
};

TEST_F(OpenCommitTest, OpeningCopiesTheStoredState) {
  ASSERT_TRUE(SetContextMenuEntry(h.ctx, true));
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
  h.tk.answers.push_back(MsgAnswer::Yes);  // a vanished file counts as changed
  form->OnOk();
  EXPECT_EQ(h.os.FileText(h.SettingsFile()), fileBefore);
  EXPECT_EQ(h.os.folderEntryWrites, 0);
  EXPECT_TRUE(h.tk.Logged("unload"));
}

TEST_F(OpenCommitTest, OkCommitsEditsAndDriveOption) {
  Open();
  Register(L"New", L"C:\\New");
  h.tk.values[kDrives] = 1;
  h.tk.texts[Control::NameBox] = L"typed only";
  form->OnOk();
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
  form->OnRemove();
  h.tk.values[kEntry] = 1;
  form->OnCancel();
  EXPECT_EQ(h.os.FileText(h.SettingsFile()), fileBefore);
  EXPECT_EQ(h.ctx.FolderList[1].Title, L"A");
  EXPECT_EQ(h.os.folderEntryWrites, 0);
  EXPECT_TRUE(h.tk.Logged("unload"));
}

TEST_F(OpenCommitTest, EntryFollowsTheBoxWhenItChanged) {
  Open();
  h.tk.values[kEntry] = 1;
  form->OnOk();
  EXPECT_TRUE(IsContextMenuEntryRegistered(h.ctx));

  Open();
  EXPECT_EQ(h.tk.values[kEntry], 1) << "the next opening sees it";
  h.tk.values[kEntry] = 0;
  form->OnOk();
  EXPECT_FALSE(IsContextMenuEntryRegistered(h.ctx));
  EXPECT_FALSE(h.os.FolderEntryText(kContextMenuVerb));
}

TEST_F(OpenCommitTest, EntryOfAnotherCopyLeftAloneWhenBoxUntouched) {
  h.os.folderEntries[kContextMenuVerb] = {kContextMenuText, L"\"D:\\Other\\launch.exe\" \"%1\""};
  h.os.folderEntryWrites = 0;
  Open();
  EXPECT_EQ(h.tk.values[kEntry], 0);
  form->OnOk();
  EXPECT_EQ(h.os.folderEntryWrites, 0);
}

TEST_F(OpenCommitTest, FailedSaveWarnsAndKeepsTheWindowAndEdits) {
  Open();
  Register(L"New", L"C:\\New");
  h.tk.values[kEntry] = 1;
  h.os.readOnlyDirs.insert(h.ctx.AppDir);
  form->OnOk();
  ASSERT_EQ(h.tk.boxes.size(), 1u);
  EXPECT_EQ(h.tk.boxes[0].text,
            L"設定ファイルを保存できませんでした。\r\nフォルダへの書き込み権限を確認して下さい。");
  EXPECT_EQ(h.tk.boxes[0].style, MsgStyle::Warning);
  EXPECT_FALSE(h.tk.Logged("unload"));
  EXPECT_EQ(h.os.FileText(h.SettingsFile()), fileBefore);
  EXPECT_EQ(h.os.folderEntryWrites, 0) << "nothing else is done";
  EXPECT_EQ(UBound(form->EditList), 2);
  EXPECT_EQ(UBound(h.ctx.FolderList), 1);

  h.os.readOnlyDirs.clear();  // the user fixed the cause
  form->OnOk();
  EXPECT_TRUE(h.tk.Logged("unload"));
  EXPECT_EQ(UBound(h.ctx.FolderList), 2);
}

TEST_F(OpenCommitTest, UnreadableSettingsFileWarnsOnOkAndStaysUntouched) {
  const std::string before = h.os.files[h.SettingsFile()];
  h.os.unreadable.insert(h.SettingsFile());
  LoadSettings(h.ctx);
  EXPECT_EQ(UBound(h.ctx.FolderList), 0) << "no folders, as for a missing file";
  EXPECT_EQ(h.ctx.ShowDrives, 1) << "and the drives shown";
  Open();
  Register(L"New", L"C:\\New");
  form->OnOk();
  ASSERT_EQ(h.tk.boxes.size(), 1u);
  EXPECT_EQ(h.tk.boxes[0].text,
            L"設定ファイルを保存できませんでした。\r\nフォルダへの書き込み権限を確認して下さい。");
  EXPECT_FALSE(h.tk.Logged("unload"));
  EXPECT_EQ(h.os.files[h.SettingsFile()], before);
}

TEST_F(OpenCommitTest, FailedRegistryWriteWarnsAndStillCloses) {
  Open();
  h.tk.values[kEntry] = 1;
  h.os.failFolderEntry = true;
  form->OnOk();
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
  const std::uint8_t initial = FillSettingsWindow(h.ctx, edits);
  EXPECT_EQ(initial, 0);
  EXPECT_EQ(edits, h.ctx.FolderList);
  EXPECT_EQ(h.tk.listItems, std::vector<std::wstring>{L"A"});

  edits.push_back({L"B", L"C:\\B\\"});
  h.tk.values[kDrives] = 1;
  h.os.readOnlyDirs.insert(h.ctx.AppDir);
  EXPECT_FALSE(CommitSettingsWindow(h.ctx, edits, initial));
  EXPECT_EQ(h.ctx.ShowDrives, 0) << "a failed save leaves the stored state";
  EXPECT_EQ(UBound(h.ctx.FolderList), 1);

  h.os.readOnlyDirs.clear();
  EXPECT_TRUE(CommitSettingsWindow(h.ctx, edits, initial));
  EXPECT_EQ(h.ctx.ShowDrives, 1);
  EXPECT_EQ(h.ctx.FolderList, edits);
  EXPECT_FALSE(h.tk.Logged("unload"));
  EXPECT_FALSE(IsContextMenuEntryRegistered(h.ctx)) << "the box stayed as shown";
}

}  // namespace
}  // namespace kv::test
