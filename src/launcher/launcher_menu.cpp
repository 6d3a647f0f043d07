// The launcher: the popup at the cursor and what its items open.
#include "launcher/launcher_menu.h"

#include <algorithm>

#include "launcher/drive_list.h"
#include "launcher/hand_over.h"

namespace kv {
namespace {

// Captions the array's elements from `first` on, loading the ones after the design-time
// element; an empty list hides that element instead.
void LoadArray(LauncherMenu& menu, MenuKind kind, const FolderArray& list, int first) {
  // Menu elements carry a 16-bit index: a longer list shows its first 32768 entries.
  const int last = std::min(UBound(list), LauncherMenu::kMaxIndex);
  if (last < first) {
    menu.Element({kind, static_cast<std::int16_t>(first)})->Visible = false;
    return;
  }
  for (int i = first; i <= last; ++i) {
    if (i != first) menu.Load(kind);
    menu.Element({kind, static_cast<std::int16_t>(i)})->Caption = list[i].Title;
  }
}

bool InList(const FolderArray& list, int first, int index) {
  return index >= first && index <= UBound(list);
}

}  // namespace

void BuildLauncherMenu(ProgramState& ctx, LauncherMenu& menu, FolderArray& driveList) {
  if (ctx.ShowDrives != 0) {
    driveList = GetDriveList(ctx);
    LoadArray(menu, MenuKind::Drive, driveList, 0);
  } else {
    menu.Element({MenuKind::Drive, 0})->Visible = false;
  }
  LoadArray(menu, MenuKind::Folder, ctx.FolderList, 1);
}

std::optional<MenuRef> ChooseFromLauncherMenu(ProgramState& ctx, const LauncherMenu& menu,
                                              const FolderArray& driveList) {
  // The window the user came from, before the program takes the foreground from it.
  const NativeHandle cameFrom = ctx.os.GetForegroundWindow();
  ctx.os.SetForegroundWindow(ctx.tk.hWnd());

  const std::vector<PopupItem> items = menu.VisibleItems();
  const PopupChoice choice = ctx.tk.PopupItems(items);
  if (choice.item < 0 || choice.item >= static_cast<int>(items.size())) return std::nullopt;
  const MenuRef chosen = items[static_cast<std::size_t>(choice.item)].ref;
  // Shift and Ctrl change what a drive or folder does; without them its handler runs as ever.
  const auto handedOver = [&](const FolderArray& list, int first) {
    return InList(list, first, chosen.index) &&
           HandOverChoice(ctx, list[chosen.index].Path, choice.modifiers, cameFrom);
  };
  if (chosen.kind == MenuKind::Drive && handedOver(driveList, 0)) return std::nullopt;
  if (chosen.kind == MenuKind::Folder && handedOver(ctx.FolderList, 1)) return std::nullopt;
  return chosen;
}

void OpenDrive(ProgramState& ctx, const FolderArray& driveList, int index) {
  if (InList(driveList, 0, index)) ctx.os.ShellOpen(driveList[index].Path);
}

void OpenFolder(ProgramState& ctx, int index) {
  if (InList(ctx.FolderList, 1, index)) ctx.os.ShellOpen(ctx.FolderList[index].Path);
}

}  // namespace kv
