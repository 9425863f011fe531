// Times dumps from the start of sending to the instrument's acknowledgement, over the real MIDI
// ports, against the time their bytes take on a 31,250-baud MIDI cable (ten bits a byte): the
// program dump and the largest style block. Expects the simulated instrument (device ID 0,
// --baud 31250) on the ports; see transfer_ratio.sh.
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "RtMidiDevices.h"
#include "core/catalogue/Catalogue.h"
#include "core/midi/DumpMessage.h"
#include "core/midi/MidiDump.h"
#include "core/midi/MidiLink.h"
#include "support/ScriptedInteraction.h"
#include "support/SetBuilder.h"

int main() {
    vx::test::RandomSetOptions options;
    options.styleUsedPercent = 100;
    vx::SetData set = vx::test::RandomSet(2026, options);
    vx::test::FillStyleBlock(set, 0);

    vxm::RtMidiDevices devices("vxbench");
    vx::test::ScriptedInteraction ui;
    vx::MidiLink link(devices, ui, vx::SystemMidiClock(), ".");
    vx::MidiPortLists lists;
    if (!link.ListPorts(lists)) return EXIT_FAILURE;
    link.outputIndex = lists.preferredOutput;
    link.inputIndex = lists.preferredInput;

    const vx::ItemKind kinds[] = {vx::ItemKind::Program, vx::ItemKind::Style};
    for (const vx::ItemKind kind : kinds) {
        vx::Bytes message;
        std::string error;
        vx::BuildDumpMessage(set, kind, 0, vx::SysExHeader{}, message, error);
        const double cable = std::chrono::duration<double>(vx::CableTime(message.size(), devices.LinkBaud())).count();
        ui.AnswerTo(vx::QuestionId::SendDump, vx::Answer::OK);
        // The mode exchange before the prompt is not part of the transfer: the clock starts at
        // the prompt's OK, which the scripted interaction gives at once.
        const auto start = std::chrono::steady_clock::now();
        const auto outcome = vx::SendDumpMessage(link, kind, message);
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (outcome != vx::DumpOutcome::Sent) {
            for (const auto& text : ui.Texts()) std::fprintf(stderr, "%s\n", text.c_str());
            return EXIT_FAILURE;
        }
        std::printf("%s, %zu bytes: send to acknowledgement %.3f s, cable at %d baud %.3f s, ratio %.4f\n",
                    std::string(vx::KindName(kind)).c_str(), message.size(), seconds, devices.LinkBaud(), cable,
                    seconds / cable);
    }
    return EXIT_SUCCESS;
}
