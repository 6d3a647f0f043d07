// The settings window as data: every toolkit builds its controls from this table.
#pragma once

#include "platform/product.h"
#include "platform/toolkit.h"

namespace kv {

const FormSpec& SettingsFormSpec();

}  // namespace kv
