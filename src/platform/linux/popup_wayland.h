// The launcher popup on a native Wayland session.
#pragma once

#include <span>

#include "platform/toolkit.h"

namespace kv::lnx {

// Wayland tells no client where the pointer is, and a popup needs a parent input event that a
// launcher started from a hotkey never had. So a transparent window covers the output, learns the
// pointer from its first enter or move event, and draws the menu inside itself there.
// Modal; returns what was chosen, as Toolkit::PopupItems does.
PopupChoice PopupItemsWayland(std::span<const PopupItem> items);

}  // namespace kv::lnx
