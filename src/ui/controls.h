// Names for the settings window's controls and buttons, and for the run-time errors its
// handlers tell apart.
#pragma once

#include <cstdint>

#include "platform/toolkit.h"

namespace kv {

// Command1's buttons.
inline constexpr std::int16_t kRegisterButton = 0, kUpdateButton = 1, kRemoveButton = 2;
// Command3's buttons.
inline constexpr std::int16_t kOkButton = 0, kCancelButton = 1;

inline constexpr ControlRef kFolderListBox{Ctl::List1, 0};
inline constexpr ControlRef kNameBox{Ctl::Text1, 0};
inline constexpr ControlRef kPathBox{Ctl::Text1, 1};
inline constexpr ControlRef kDrivesCheck{Ctl::Check1, 0};
inline constexpr ControlRef kContextMenuCheck{Ctl::Check1, 1};

// Run-time error numbers a DirResult carries.
inline constexpr int kErrBadFileName = 52;
inline constexpr int kErrDeviceUnavailable = 68;

}  // namespace kv
