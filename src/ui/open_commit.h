// The settings window filled from the stored state, and its OK.
#pragma once

#include <cstdint>

#include "settings/program_state.h"

namespace kv {

// Fills the check boxes and the list box; `editList` becomes the window's working copy of the
// folder list. Returns the right-click check's state as shown, for CommitSettingsWindow.
std::uint8_t FillSettingsWindow(ProgramState& ctx, FolderArray& editList);
// Stores the window's state. False, with the context as it was, when the file could not be
// saved (with a message) or had changed since it was read and the user would not save over it:
// the window stays open then.
bool CommitSettingsWindow(ProgramState& ctx, const FolderArray& editList,
                          std::uint8_t initialContextMenuState);

}  // namespace kv
