// The launcher: the popup at the cursor and its three handlers.
#include <algorithm>

#include "app/form1.h"
#include "launcher/drive_list.h"

namespace kv {
namespace {
constexpr int kMaxMenuIndex = 32767;
}  // namespace

void Form1::LauncherStep() {
  if (ctx_.ShowDrives != 0) {
    DriveList = Module1::GetDriveList(ctx_);
    for (int i = 0; i < std::min<int>(DriveList.size(), kMaxMenuIndex + 1); ++i) {
      const MenuRef item{MenuKind::Drive, static_cast<std::int16_t>(i)};
      if (i != 0) ctx_.tk.LoadMenuElement(item);
      ctx_.tk.SetMenuCaption(item, DriveList[i].Title);
    }
    // No drive at all: the design-time element would show as an empty item.
    if (DriveList.empty()) ctx_.tk.SetMenuVisible({MenuKind::Drive, 0}, false);
  } else {
    ctx_.tk.SetMenuVisible({MenuKind::Drive, 0}, false);
  }
  // Menu elements carry a 16-bit index; a longer list shows its first 32767 entries.
  const int n = std::min(UBound(ctx_.FolderList), kMaxMenuIndex);
  if (n != 0) {
    for (int i = 1; i <= n; ++i) {
      const MenuRef item{MenuKind::Folder, static_cast<std::int16_t>(i)};
      if (i != 1) ctx_.tk.LoadMenuElement(item);
      ctx_.tk.SetMenuCaption(item, ctx_.FolderList[i].Title);
    }
  } else {
    ctx_.tk.SetMenuVisible({MenuKind::Folder, 1}, false);
  }
  ctx_.os.SetForegroundWindow(ctx_.tk.hWnd());
  ctx_.tk.PopupMenu(vbPopupMenuRightButton);
}

void Form1::Menu_Drive_Click(std::int16_t Index) {
  if (Index >= 0 && Index < static_cast<int>(DriveList.size())) ctx_.os.ShellOpen(DriveList[Index].Path);
}

void Form1::Menu_Folder_Click(std::int16_t Index) {
  if (Index >= 1 && Index <= UBound(ctx_.FolderList)) ctx_.os.ShellOpen(ctx_.FolderList[Index].Path);
}

void Form1::Menu_ProgramName_Click() { ShowSettings = true; }

}  // namespace kv
