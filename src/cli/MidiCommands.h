#pragma once

namespace CLI {
class App;
}

namespace vxcli {

class CliContext;

// ports, detect, sysex and send: MIDI transfer to and from the instrument.
void AddMidiCommands(CLI::App& app, CliContext& context);

}  // namespace vxcli
