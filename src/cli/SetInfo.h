#pragma once

#include <string>

namespace vx {
class Session;
}

namespace vxcli {

// What `vx50 info` prints: the set's name, the used items of each kind with labels and names,
// the five event memory counters and the free events of each style block.
std::string SetInfoText(const vx::Session& session, int set);
std::string SetInfoJson(const vx::Session& session, int set);

}  // namespace vxcli
