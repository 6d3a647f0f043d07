// The launcher popup: filling it, the choice, and what a drive or folder item opens.
#pragma once

#include <optional>

#include "launcher/menu_tree.h"
#include "settings/program_state.h"

namespace kv {

// Loads the drives (when shown; `driveList` receives them) and the registered folders into
// the menu, hiding an array that has no entry.
void BuildLauncherMenu(ProgramState& ctx, LauncherMenu& menu, FolderArray& driveList);
// Pops the menu up at the cursor. The element whose handler must run; none when the popup was
// dismissed or Shift or Ctrl already dealt with the drive or folder.
std::optional<MenuRef> ChooseFromLauncherMenu(ProgramState& ctx, const LauncherMenu& menu,
                                              const FolderArray& driveList);
// Opens the entry; an index outside the list (the folders start at 1) does nothing.
void OpenDrive(ProgramState& ctx, const FolderArray& driveList, int index);
void OpenFolder(ProgramState& ctx, int index);

}  // namespace kv
