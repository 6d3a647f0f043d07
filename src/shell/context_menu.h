// The entry in the file manager's right-click menu on folders.
#pragma once

#include <string>

#include "platform/product.h"
#include "settings/program_state.h"

namespace kv {

inline constexpr const wchar_t* kContextMenuVerb = L"Kivoret";
inline constexpr const wchar_t* kContextMenuText = kFolderMenuText;

// The command that starts this copy of the program on a folder: "<dir><exe>" "%1".
std::wstring ContextMenuCommand(ProgramState& ctx);
// Adds (true) or removes (false) the entry; false when the system refused a change.
bool SetContextMenuEntry(ProgramState& ctx, bool flag);
bool IsContextMenuEntryRegistered(ProgramState& ctx);

}  // namespace kv
