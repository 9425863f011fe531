#pragma once

#include <functional>
#include <string>

namespace CLI {
class App;
}

namespace vx {
class Session;
}

namespace vxcli {

class CliInteraction;

struct MidiCommandContext {
    CliInteraction& ui;
    // Opens the set directory in a ready session and runs work on it; the exit status.
    std::function<int(const std::string& setPath, const std::function<int(vx::Session&, int set)>& work)> withSet;
    int status = 0;  // the exit status of the command that ran
};

// ports, detect, sysex and send.
void AddMidiCommands(CLI::App& app, MidiCommandContext& context);

}  // namespace vxcli
