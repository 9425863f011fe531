#include "MidiCommands.h"

#include <CLI/CLI.hpp>
#include <filesystem>
#include <iostream>
#include <memory>

#include "CliContext.h"
#include "RtMidiDevices.h"
#include "core/catalogue/Catalogue.h"
#include "core/midi/MidiDump.h"
#include "core/midi/MidiLink.h"
#include "core/selection/ItemNumbers.h"
#include "core/storage/Session.h"
#include "core/styles/StyleFile.h"
#include "core/text/Helpers.h"

namespace vxcli {

namespace {

const char* const kKinds = "arr, sty, prg, bsq, sng, ark, arg or gbl";

struct MidiOptions {
    std::string set;
    std::string kind;
    std::string style = "C11";
    std::string output;
    std::string input;
    std::string file;
};

bool KindFromText(const std::string& text, vx::ItemKind& kind) {
    for (int k = 0; k < vx::kSetKindCount; ++k) {
        const auto candidate = vx::KindFromIndex(k);
        if (vx::ToUpper(text) == vx::KindExtension(candidate).substr(1)) {
            kind = candidate;
            return true;
        }
    }
    return false;
}

int StyleSlotFromLabel(const std::string& label) {
    for (int slot = 0; slot < vx::kUserStyles; ++slot)
        if (vx::StyLabel(vx::StyNumberOfUserIndex(slot)) == vx::ToUpper(label)) return slot;
    return -1;
}

// A port number, or the first port whose name holds the text (any case); -1 when none.
int FindPort(const std::vector<std::string>& names, const std::string& wanted) {
    if (!wanted.empty() && wanted.find_first_not_of("0123456789") == std::string::npos) {
        const auto index = std::stoul(wanted);
        return index < names.size() ? static_cast<int>(index) : -1;
    }
    for (std::size_t i = 0; i < names.size(); ++i)
        if (vx::ToUpper(names[i]).find(vx::ToUpper(wanted)) != std::string::npos) return static_cast<int>(i);
    return -1;
}

std::string CurrentDirectory() {
    std::error_code error;
    return std::filesystem::current_path(error).string();
}

// The setup's detection with the ports named on the command line, or the preselected ones.
bool Detect(vx::MidiLink& link, const MidiOptions& options) {
    vx::MidiPortLists lists;
    if (!link.ListPorts(lists)) return false;
    const int output = options.output.empty() ? lists.preferredOutput : FindPort(lists.outputs, options.output);
    const int input = options.input.empty() ? lists.preferredInput : FindPort(lists.inputs, options.input);
    if (output < 0 || input < 0) {
        std::cerr << "No MIDI " << (output < 0 ? "output" : "input") << " matches "
                  << (output < 0 ? options.output : options.input) << '\n';
        return false;
    }
    if (!link.Detect(output, input)) return false;
    std::cout << vx::kInstrumentName << " found, device ID " << link.channel << ": out " << lists.outputs[output]
              << ", in " << lists.inputs[input] << '\n';
    return true;
}

// The interface in use and both lists; a failure or an empty side also says what to do.
int ListPorts(vx::MidiLink& link, CliInteraction& ui) {
    vx::MidiPortLists lists;
    std::string problem;
    const bool complete = link.ReadPorts(lists, problem);
    const bool listed = complete || problem.rfind("No MIDI driver", 0) == 0;
    if (listed) {
        std::cout << "Interface: " << lists.interfaceName << '\n';
        for (const bool outputs : {true, false}) {
            const auto& names = outputs ? lists.outputs : lists.inputs;
            std::cout << (outputs ? "Outputs" : "Inputs") << ":\n";
            for (std::size_t i = 0; i < names.size(); ++i) std::cout << "  " << i << ": " << names[i] << '\n';
        }
    }
    if (!complete)
        ui.ShowMessage({problem, "", listed ? vx::MessageIcon::Exclamation : vx::MessageIcon::Critical,
                        vx::MessageButtons::OK, vx::Answer::OK});
    return listed ? kExitSuccess : kExitFailure;
}

// sysex (toFile) or send.
int RunDump(bool toFile, const MidiOptions& options, CliContext& context) {
    vx::ItemKind kind{};
    if (!KindFromText(options.kind, kind)) {
        std::cerr << "Unknown kind " << options.kind << " (" << kKinds << ")\n";
        return kExitUsage;
    }
    const int styleSlot = StyleSlotFromLabel(options.style);
    if (styleSlot < 0) {
        std::cerr << "Unknown style " << options.style << " (C11 to C68)\n";
        return kExitUsage;
    }
    if (toFile && options.file.empty()) {
        std::cerr << "The output file name is empty\n";
        return kExitUsage;
    }
    const int set = context.OpenExisting(options.set);
    if (set == 0) return kExitFailure;
    vx::Session& session = *context.Session();
    if (toFile) {
        std::error_code error;
        context.ui.saveFile = std::filesystem::absolute(options.file, error).string();
        const bool written = vx::SaveKindToSysExFile(context.ui, vx::SysExHeader{}, session.Data(set), kind, styleSlot,
                                                     session.Slot(set).directory);
        return written ? kExitSuccess : kExitFailure;
    }
    vxm::RtMidiDevices devices("vx50");
    vx::MidiLink link(devices, context.ui, vx::SystemMidiClock(), CurrentDirectory());
    if (!Detect(link, options)) return kExitFailure;
    const auto outcome = vx::SendKindToInstrument(link, session.Data(set), kind, styleSlot);
    if (outcome == vx::DumpOutcome::Sent) std::cout << "Sent and acknowledged\n";
    if (outcome == vx::DumpOutcome::Declined) std::cerr << "Not sent (--yes answers the prompt with OK)\n";
    return outcome == vx::DumpOutcome::Sent ? kExitSuccess : kExitFailure;
}

}  // namespace

void AddMidiCommands(CLI::App& app, CliContext& context) {
    auto options = std::make_shared<MidiOptions>();
    CLI::App* ports = app.add_subcommand("ports", "lists the MIDI outputs and inputs");
    CLI::App* detect = app.add_subcommand("detect", "looks for the instrument with the identity request");
    CLI::App* sysex = app.add_subcommand("sysex", "writes the dump of one kind of a set to a .SYX file");
    CLI::App* send = app.add_subcommand("send", "detects the instrument and sends one kind of a set to it");
    for (CLI::App* command : {sysex, send}) {
        command->add_option("SET", options->set, "set directory NAME.SET")->required();
        command->add_option("KIND", options->kind, std::string("kind: ") + kKinds)->required();
        command->add_option("--style", options->style, "for sty: a style of the block (C11 to C68)")
            ->capture_default_str();
        command->add_flag("--yes", context.ui.answerYes, "answer questions with Yes/OK");
    }
    sysex->add_option("-o,--output", options->file, "the .SYX file to write")->required();
    for (CLI::App* command : {detect, send}) {
        command->add_option("--out", options->output, "MIDI output: its number or part of its name");
        command->add_option("--in", options->input, "MIDI input: its number or part of its name");
    }

    ports->callback([&context] {
        vxm::RtMidiDevices devices("vx50");
        vx::MidiLink link(devices, context.ui, vx::SystemMidiClock(), CurrentDirectory());
        context.exitStatus = ListPorts(link, context.ui);
    });
    detect->callback([&context, options] {
        vxm::RtMidiDevices devices("vx50");
        vx::MidiLink link(devices, context.ui, vx::SystemMidiClock(), CurrentDirectory());
        context.exitStatus = Detect(link, *options) ? kExitSuccess : kExitFailure;
    });
    sysex->callback([&context, options] { context.exitStatus = RunDump(true, *options, context); });
    send->callback([&context, options] { context.exitStatus = RunDump(false, *options, context); });
}

}  // namespace vxcli
