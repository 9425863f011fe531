#pragma once

namespace CLI {
class App;
}

namespace vxcli {

class CliContext;

// check (what in a set the instrument would trip over) and restore (a .SYX dump back into a set).
void AddCheckCommands(CLI::App& app, CliContext& context);

}  // namespace vxcli
