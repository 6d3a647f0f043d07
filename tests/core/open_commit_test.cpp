// Opening the settings window from the stored state, and what OK commits.
#include <gtest/gtest.h>

#include "fakes/harness.h"
#include "shell/context_menu.h"

namespace kv::test {
namespace {

const Control kDrives = Control::ShowDrivesBox, kEntry = Control::FolderEntryBox;
// Opened from the stored state; a failed save warns and keeps the window, its edits and the
// stored state, nothing else done; the entry follows its box only when the box was changed, and
// a refused change is reported, the window closing all the same.
TEST(OpenCommitTest, OkCommitsTheEditsOnceTheFileIsSaved) {
  Harness h;
  std::unique_ptr<SettingsWindow> form;
  const auto Open = [&] { form = StartUp(h.ctx); };  // a run on the settings file as it stands
  h.os.files[h.SettingsFile()] = "[Main]\r\nDrive= 0\r\n[Folder001]\r\nTitle=A\r\nPath=C:\\A\\\r\n";
  h.tk.commandLine = L"\"\"";
  h.tk.dirs[L"C:\\New\\"] = DirectoryState::Found;
  ASSERT_TRUE(SetContextMenuEntry(h.ctx, true));
  Open();
  EXPECT_EQ(h.tk.values[kDrives], 0);
  EXPECT_EQ(h.tk.values[kEntry], 1);
  EXPECT_EQ(h.tk.listItems, std::vector<std::wstring>{L"A"});
  h.tk.texts = {{Control::NameBox, L"New"}, {Control::PathBox, L"C:\\New"}};
  form->OnRegister();
  h.tk.values[kDrives] = 1;
  h.os.entryWrites = 0;
  h.os.failWrites = true;
  form->OnOk();
  EXPECT_EQ(h.tk.boxes, (std::vector<ShownBox>{{L"設定ファイルを保存できませんでした。\r\n"
                                                L"フォルダへの書き込み権限を確認して下さい。",
                                                MsgStyle::Warning}}));
  EXPECT_FALSE(h.tk.Logged("unload"));
  EXPECT_EQ(UBound(form->EditList), 2);
  EXPECT_EQ(UBound(h.ctx.FolderList), 1);
  EXPECT_EQ(h.ctx.ShowDrives, 0);
  h.os.failWrites = false;
  form->OnOk();
  EXPECT_EQ(h.os.FileText(h.SettingsFile()),
            L"[Main]\r\nDrive= 1\r\n[Folder001]\r\nTitle=A\r\nPath=C:\\A\\\r\n"
            L"[Folder002]\r\nTitle=New\r\nPath=C:\\New\\\r\n");
  EXPECT_EQ(h.os.entryWrites, 0);
  EXPECT_TRUE(h.tk.Logged("unload"));
  Open();
  h.tk.values[kEntry] = 0;
  form->OnOk();
  EXPECT_FALSE(IsContextMenuEntryRegistered(h.ctx));
  Open();
  h.tk.values[kEntry] = 1;
  h.os.failEntries = true;
  h.tk.log.clear();
  form->OnOk();
  EXPECT_EQ(h.tk.boxes.back().text, L"右クリックメニューの設定を変更できませんでした。");
  EXPECT_TRUE(h.tk.Logged("unload"));
}

}  // namespace
}  // namespace kv::test
