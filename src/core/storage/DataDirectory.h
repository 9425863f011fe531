#pragma once

#include <string>

namespace vx {

// The directory that holds the shipped data (the template set, the preset names, the tips and
// the manual). A build tree keeps it beside the programs; an installed program finds it in
// share/vxeditr beside its bin directory, so a package unpacked under any root works. When
// neither holds the template set, the program directory is returned and the usual messages
// about the missing template follow.
std::string FindDataDirectory(const std::string& programDirectory);

}  // namespace vx
