#pragma once

#include <string>

namespace vxmk {

// The tip-of-the-day file X50TIPS.TXT: one tip per line, lines ending with CR LF.
std::string TipsText();

}  // namespace vxmk
