// Times the largest dump from the start of sending to the instrument's acknowledgement, over
// the real MIDI ports, against the time its bytes take on a 31250-baud MIDI cable (ten bits a
// byte). Expects the simulated instrument (device ID 0) on the ports; see transfer_ratio.sh.
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "RtMidiDevices.h"
#include "midi/DumpMessage.h"
#include "midi/MidiDump.h"
#include "midi/MidiLink.h"
#include "support/ScriptedInteraction.h"
#include "support/SetBuilder.h"

int main() {
    vx::test::RandomSetOptions options;
    options.styleUsedPercent = 100;
    vx::SetData set = vx::test::RandomSet(2026, options);
    vx::test::FillStyleBlock(set, 0);
    vx::Bytes message;
    std::string error;
    vx::BuildDumpMessage(set, vx::ItemKind::Style, 0, vx::SysExHeader{}, message, error);

    vxm::RtMidiDevices devices("vxbench");
    vx::test::ScriptedInteraction ui;
    vx::MidiLink link(devices, ui, vx::SystemMidiClock(), ".");
    vx::MidiPortLists lists;
    if (!link.ListPorts(lists)) return EXIT_FAILURE;
    link.outputIndex = lists.preferredOutput;
    link.inputIndex = lists.preferredInput;

    const double cable = static_cast<double>(message.size()) * 10.0 / 31250.0;
    for (int run = 0; run < 3; ++run) {
        ui.answers = {vx::Answer::OK};
        const auto start = std::chrono::steady_clock::now();
        const auto outcome = vx::SendDumpMessage(link, vx::ItemKind::Style, message);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (outcome != vx::DumpOutcome::Sent) {
            for (const auto& text : ui.Texts()) std::fprintf(stderr, "%s\n", text.c_str());
            return EXIT_FAILURE;
        }
        std::printf("%zu bytes: send to acknowledgement %.3f s, MIDI cable %.3f s, ratio %.4f\n", message.size(),
                    seconds, cable, seconds / cable);
    }
    return EXIT_SUCCESS;
}
