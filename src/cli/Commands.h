#pragma once

namespace CLI {
class App;
}

namespace vxcli {

class CliContext;

// Each group of commands registers its subcommands on the tool; a subcommand's callback runs
// the command and leaves its exit status in the context.
void AddSetCommands(CLI::App& app, CliContext& context);
void AddEditCommands(CLI::App& app, CliContext& context);
void AddDetailCommands(CLI::App& app, CliContext& context);

}  // namespace vxcli
