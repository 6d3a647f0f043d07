// Editing the settings window's working list (element 0 unused, as in FolderList): register,
// update, remove, and the list's click, tool tip and folder browser.
#pragma once

#include <cstdint>

#include "settings/program_state.h"

namespace kv {

// Registers, updates or removes (by the `button` pressed) with the boxes' contents; the list box
// follows the list. Bad input is refused with a message and changes nothing.
void EditFolderList(ProgramState& ctx, FolderArray& editList, Control button);
// The selected entry into the two boxes; no selection empties them.
void ShowSelectedFolder(Toolkit& tk, const FolderArray& editList);
// Another start's folder into the boxes. Text in them that is no registered entry is replaced
// only when the user agrees.
void PutFolderInBoxes(Toolkit& tk, const FolderArray& editList, const FolderEntry& folder);
// The list's tool tip: the entry under the cursor, else what the list is.
void UpdateFolderListToolTip(ProgramState& ctx, const FolderArray& editList);
// The folder browser; the chosen folder goes into the path box.
void BrowseForFolderPath(ProgramState& ctx);

}  // namespace kv
