// Editing the settings window's working list (element 0 unused, as in FolderList): register,
// update, remove, and the list's click, tool tip and folder browser.
#pragma once

#include <cstdint>

#include "settings/module1.h"

namespace kv::Module1 {

// Registers, updates or removes (Command1's `button`) with the boxes' contents; the list box
// follows the list. Bad input is refused with a message and changes nothing.
void EditFolderList(Context& ctx, FolderArray& editList, std::int16_t button);
// The selected entry into the two boxes; no selection empties them.
void ShowSelectedFolder(Toolkit& tk, const FolderArray& editList);
// The list's tool tip: the entry under the cursor, else what the list is.
void UpdateFolderListToolTip(Context& ctx, const FolderArray& editList);
// The folder browser; the chosen folder goes into the path box.
void BrowseForFolderPath(Context& ctx);

}  // namespace kv::Module1
