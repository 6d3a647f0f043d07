// The program's own texts and units, shared by the core and both backends.
#pragma once

#include "kivoret_version.h"

namespace kv {

// Message boxes' title.
inline constexpr const wchar_t* kProgramTitle = KV_NAME_WTEXT;
// The folder entry in the file manager's right-click menu; "&F" marks the access key.
inline constexpr const wchar_t* kFolderMenuText = KV_NAME_WTEXT L"に登録(&F)";
// Layout positions are in twips: 1440 per inch, so 15 per pixel at 96 DPI.
inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kTwipsPerPixelAt96Dpi = 15;

}  // namespace kv
