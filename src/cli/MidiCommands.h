#pragma once

#include <functional>
#include <string>

namespace vx {
class Session;
}

namespace vxcli {

class CliInteraction;

struct MidiCommandContext {
    CliInteraction& ui;
    // Opens the set directory in a ready session and runs work on it; the exit status.
    std::function<int(const std::string& setPath, const std::function<int(vx::Session&, int set)>& work)> withSet;
};

// ports, detect, sysex and send.
bool IsMidiCommand(const std::string& word);
int RunMidiCommand(int argc, char** argv, MidiCommandContext& context);

}  // namespace vxcli
