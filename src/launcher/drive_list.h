// The computer's drives as menu entries.
#pragma once

#include <chrono>

#include "platform/os_services.h"
#include "settings/folder_entry.h"

namespace kv::Module1 {

// How long the drive step may hold the popup, all drives together. A menu that appears within a
// quarter of a second still feels instant, and every drive that answers at all (a local disk, a
// reachable share, a card reader with or without a card) answers well inside it; a drive still
// silent then is hung, and waiting longer would only freeze the menu.
inline constexpr std::chrono::milliseconds kDriveDeadline{250};

// One entry per root in the order the system reports them, element 0 included. A drive whose
// queries have not answered within kDriveDeadline of the call gets the title of a failed query.
FolderArray GetDriveList(OsServices& os);

}  // namespace kv::Module1
