// What a drive or folder chosen with Shift or Ctrl held does instead of the plain "open".
#pragma once

#include <string>

#include "settings/module1.h"

namespace kv::Module1 {

// Ctrl copies `path` to the clipboard; Shift takes `cameFrom` (the window the user was in, 0
// when unknown) to it. True when the choice was dealt with here; false when the plain handler
// must run: no modifier, or Shift with no window that could be taken there.
bool HandOverChoice(Context& ctx, const std::wstring& path, unsigned modifiers,
                    NativeHandle cameFrom);

}  // namespace kv::Module1
