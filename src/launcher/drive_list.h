// The computer's drives as menu entries.
#pragma once

#include "platform/os_services.h"
#include "settings/folder_entry.h"

namespace kv::Module1 {

// One entry per root in the order the system reports them, element 0 included.
FolderArray GetDriveList(OsServices& os);

}  // namespace kv::Module1
