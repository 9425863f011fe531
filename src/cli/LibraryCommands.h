#pragma once

namespace CLI {
class App;
}

namespace vxcli {

class CliContext;

// library add, scan, find, duplicates, where-used and remove: the index of every set under the
// folders the person added.
void AddLibraryCommands(CLI::App& app, CliContext& context);

}  // namespace vxcli
