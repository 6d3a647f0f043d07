// Opening the settings window from the stored state, and its OK.
#include "ui/open_commit.h"

#include "settings/settings_file.h"
#include "shell/context_menu.h"

namespace kv {

std::uint8_t FillSettingsWindow(ProgramState& ctx, FolderArray& editList) {
  Toolkit& tk = ctx.tk;
  tk.SetValue(Control::ShowDrivesBox, ctx.ShowDrives != 0 ? 1 : 0);
  if (IsContextMenuEntryRegistered(ctx)) tk.SetValue(Control::FolderEntryBox, 1);
  editList = ctx.FolderList;
  for (int i = 1; i <= UBound(editList); ++i) tk.AddItem(Control::FolderList, editList[i].Title);
  return static_cast<std::uint8_t>(tk.GetValue(Control::FolderEntryBox));
}

bool CommitSettingsWindow(ProgramState& ctx, const FolderArray& editList,
                          std::uint8_t initialContextMenuState) {
  Toolkit& tk = ctx.tk;
  // Another window's OK or a hand edit since this window read the file: never undo it unasked,
  // and never merge (the user decides which list stands).
  if (SettingsFileChanged(ctx) &&
      tk.MsgBox(L"設定ファイルは、この画面を開いた後に変更されています。\r\n"
                L"保存すると、その変更は失われます。\r\n"
                L"上書き保存しますか？",
                MsgStyle::WarningYesNo) != MsgAnswer::Yes)
    return false;
  const std::uint8_t oldDrives = ctx.ShowDrives;
  FolderArray oldList = ctx.FolderList;
  ctx.ShowDrives = tk.GetValue(Control::ShowDrivesBox) != 0 ? 1 : 0;
  ctx.FolderList = editList;
  if (!SaveSettings(ctx)) {
    // Keep the window and its edits so that the user can fix the cause or cancel.
    ctx.ShowDrives = oldDrives;
    ctx.FolderList = std::move(oldList);
    tk.MsgBox(L"設定ファイルを保存できませんでした。\r\nフォルダへの書き込み権限を確認して下さい。",
              MsgStyle::Warning);
    return false;
  }
  const int wanted = tk.GetValue(Control::FolderEntryBox);
  if (wanted != initialContextMenuState && !SetContextMenuEntry(ctx, wanted != 0)) {
    tk.MsgBox(L"右クリックメニューの設定を変更できませんでした。", MsgStyle::Warning);
  }
  return true;
}

}  // namespace kv
