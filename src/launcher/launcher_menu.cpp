// The launcher: the popup at the cursor and its three handlers.
#include <algorithm>

#include "app/form1.h"
#include "launcher/drive_list.h"
#include "launcher/hand_over.h"

namespace kv {

void Form1::LauncherStep() {
  if (ctx_.ShowDrives != 0) {
    DriveList = Module1::GetDriveList(ctx_);
    // Menu elements carry a 16-bit index: a longer list shows its first 32768 drives.
    const int n = std::min<int>(static_cast<int>(DriveList.size()), MenuTree::kMaxIndex + 1);
    for (int i = 0; i < n; ++i) {
      if (i != 0) ParentMenu.Load(MenuKind::Drive);
      ParentMenu.Element({MenuKind::Drive, static_cast<std::int16_t>(i)})->Caption =
          DriveList[i].Title;
    }
    // No drive at all: the design-time element would show as an empty item.
    if (DriveList.empty()) ParentMenu.Element({MenuKind::Drive, 0})->Visible = false;
  } else {
    ParentMenu.Element({MenuKind::Drive, 0})->Visible = false;
  }
  const int n = std::min(UBound(ctx_.FolderList), MenuTree::kMaxIndex);
  if (n != 0) {
    for (int i = 1; i <= n; ++i) {
      if (i != 1) ParentMenu.Load(MenuKind::Folder);
      ParentMenu.Element({MenuKind::Folder, static_cast<std::int16_t>(i)})->Caption =
          ctx_.FolderList[i].Title;
    }
  } else {
    ParentMenu.Element({MenuKind::Folder, 1})->Visible = false;
  }
  // The window the user came from, before the program takes the foreground from it.
  const NativeHandle cameFrom = ctx_.os.GetForegroundWindow();
  ctx_.os.SetForegroundWindow(ctx_.tk.hWnd());

  // The chosen item's handler runs here, before the step returns; a dismissed popup runs none.
  const std::vector<PopupItem> items = ParentMenu.VisibleItems();
  const PopupChoice choice = ctx_.tk.PopupItems(items);
  if (choice.item < 0 || choice.item >= static_cast<int>(items.size())) return;
  const MenuRef chosen = items[static_cast<std::size_t>(choice.item)].ref;
  // Shift and Ctrl change what a drive or folder does; without them its handler runs as ever.
  const auto handedOver = [&](const FolderArray& list, int first) {
    return chosen.index >= first && chosen.index < static_cast<int>(list.size()) &&
           Module1::HandOverChoice(ctx_, list[chosen.index].Path, choice.modifiers, cameFrom);
  };
  switch (chosen.kind) {
    case MenuKind::ProgramName: Menu_ProgramName_Click(); break;
    case MenuKind::Drive:
      if (!handedOver(DriveList, 0)) Menu_Drive_Click(chosen.index);
      break;
    case MenuKind::Folder:
      if (!handedOver(ctx_.FolderList, 1)) Menu_Folder_Click(chosen.index);
      break;
    case MenuKind::Line: break;
  }
}

void Form1::Menu_Drive_Click(std::int16_t Index) {
  if (Index >= 0 && Index < static_cast<int>(DriveList.size())) ctx_.os.ShellOpen(DriveList[Index].Path);
}

void Form1::Menu_Folder_Click(std::int16_t Index) {
  if (Index >= 1 && Index <= UBound(ctx_.FolderList)) ctx_.os.ShellOpen(ctx_.FolderList[Index].Path);
}

void Form1::Menu_ProgramName_Click() { ShowSettings = true; }

}  // namespace kv
