#pragma once

#include <string_view>

#include "core/storage/SetData.h"

namespace vxmk {

// The demo set: the template filled with invented user arrangements, styles, programs,
// drum kits, backing sequences, songs and KBD sets that call each other and the presets.
vx::SetData BuildDemoSet();

}  // namespace vxmk
