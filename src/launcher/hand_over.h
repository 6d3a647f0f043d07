// What a drive or folder chosen with Shift or Ctrl held does instead of the plain "open".
#pragma once

#include <string>

#include "settings/program_state.h"

namespace kv {

// Ctrl copies `path` to the clipboard; Shift takes `cameFrom` (the window the user was in, 0
// when unknown) to it. True when the choice was dealt with here; false when the plain handler
// must run: no modifier, or Shift with no window that could be taken there.
bool HandOverChoice(ProgramState& ctx, const std::wstring& path, unsigned modifiers,
                    NativeHandle cameFrom);

}  // namespace kv
