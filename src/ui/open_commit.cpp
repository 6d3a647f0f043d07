// Opening the settings window from the stored state, and OK / cancel.
#include "app/form1.h"
#include "settings/settings_file.h"
#include "shell/context_menu.h"

namespace kv {
namespace {

constexpr ControlRef kDrives{Ctl::Check1, 0};
constexpr ControlRef kContextMenu{Ctl::Check1, 1};

}  // namespace

void Form1::OpenSettingsWindow() {
  Toolkit& tk = ctx_.tk;
  tk.SetValue(kDrives, ctx_.ShowDrives != 0 ? 1 : 0);
  if (Module1::IsContextMenuEntryRegistered(ctx_)) tk.SetValue(kContextMenu, 1);
  EditList = ctx_.FolderList;
  for (int i = 1; i <= UBound(EditList); ++i) tk.AddItem({Ctl::List1, 0}, EditList[i].Title);
  InitialContextMenuState = static_cast<std::uint8_t>(tk.GetValue(kContextMenu));
}

void Form1::Command3_Click(std::int16_t Index) {
  Toolkit& tk = ctx_.tk;
  if (Index == 0) {
    const std::uint8_t oldDrives = ctx_.ShowDrives;
    FolderArray oldList = ctx_.FolderList;
    ctx_.ShowDrives = tk.GetValue(kDrives) != 0 ? 1 : 0;
    ctx_.FolderList = EditList;
    if (!Module1::SaveSettings(ctx_)) {
      // Keep the window and its edits so that the user can fix the cause or cancel.
      ctx_.ShowDrives = oldDrives;
      ctx_.FolderList = std::move(oldList);
      tk.MsgBox(L"設定ファイルを保存できませんでした。\r\nフォルダへの書き込み権限を確認して下さい。",
                vbExclamation);
      return;
    }
    const int wanted = tk.GetValue(kContextMenu);
    if (wanted != InitialContextMenuState &&
        !Module1::SetContextMenuEntry(ctx_, wanted != 0)) {
      tk.MsgBox(L"右クリックメニューの設定を変更できませんでした。", vbExclamation);
    }
  } else if (Index != 1) {
    return;
  }
  Unload();
}

}  // namespace kv
