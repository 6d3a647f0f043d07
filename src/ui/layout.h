// The settings window as data: every toolkit builds its controls from this table.
#pragma once

#include "platform/toolkit.h"

namespace kv {

inline constexpr int kTwipsPerPixelAt96Dpi = 15;

const FormSpec& SettingsFormSpec();

}  // namespace kv
