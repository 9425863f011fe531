#include "core/midi/MidiDump.h"

#include "core/catalogue/Catalogue.h"
#include "core/interaction/Interaction.h"
#include "core/midi/DumpMessage.h"
#include "core/midi/MidiLink.h"
#include "core/midi/SysExFile.h"
#include "core/text/Helpers.h"

namespace vx {

namespace {

constexpr std::size_t kModeReplySize = 8;
constexpr std::size_t kAckSize = 6;
constexpr double kSecondsPerByte = 0.00038;  // a MIDI cable's pace, for the prompt only

// The lines a failed mode exchange leaves in the log.
void LogModeFailure(MidiLink& link, const std::string& what, const Bytes& request, const Bytes& reply) {
    if (!link.Log().Open()) return;
    link.LogInquiry();
    link.Log().Line(what);
    link.Log().Line("  Request= " + HexDump(request));
    link.Log().Line("  devRep = " + HexDump(reply));
}

bool BuildOrTell(Interaction& ui, const SetData& data, ItemKind kind, int styleSlot, const SysExHeader& header,
                 Bytes& message) {
    std::string error;
    if (BuildDumpMessage(data, kind, styleSlot, header, message, error)) return true;
    ui.ShowMessage({error, "Error", MessageIcon::Critical, MessageButtons::OK, Answer::OK});
    return false;
}

}  // namespace

int GetVxMode(MidiLink& link) {
    const Bytes request = ModeRequest(link.header);
    Bytes reply(kModeReplySize, 0);
    if (link.SendSysEx(request) == SendResult::Sent && link.ReceiveSysEx(reply, kModeReplySize)) return reply[5];
    LogModeFailure(link, "GetVxMode:", request, reply);
    return 0;
}

bool SetVxMode(MidiLink& link, int mode) {
    const Bytes request = ModeChange(link.header, static_cast<std::uint8_t>(mode));
    if (link.SendSysEx(request) == SendResult::Sent) return true;
    LogModeFailure(link, "SetVxMode:", request, Bytes(7, 0));
    return false;
}

std::string DumpPrompt(std::size_t messageLength) {
    const auto seconds = static_cast<long>(static_cast<double>(messageLength) * kSecondsPerByte) + 1;
    std::string text = "On " + std::string(kInstrumentName) +
                       ":\n\n1. Press 'MENU'\n2. Select 'Filter, MIDI'\n3. Select 'page' menu\n"
                       "4. Select 'Receive Dumped Data'";
    if (seconds > 3) text += "\n\nTransmission time = " + std::to_string(seconds) + " s";
    return text;
}

DumpOutcome SendDumpMessage(MidiLink& link, ItemKind kind, const Bytes& message) {
    Interaction& ui = link.Ui();
    BusyPointer busy(ui);
    DumpOutcome outcome = DumpOutcome::Failed;
    const bool prepared = link.OpenMidi() && (GetVxMode(link) == kDumpMode || SetVxMode(link, kDumpMode));
    const bool confirmed =
        prepared && ui.ShowMessage({DumpPrompt(message.size()), "", MessageIcon::None, MessageButtons::OKCancel,
                                    Answer::Cancel, QuestionId::SendDump}) == Answer::OK;
    if (prepared && !confirmed) outcome = DumpOutcome::Declined;
    if (confirmed) {
        auto progress = ui.BeginCancellableProgress("Send to " + std::string(kInstrumentName),
                                                    "Sending " + std::string(KindName(kind)) + " data...", 0.0,
                                                    static_cast<double>(message.size()));
        const SendResult sent = link.SendSysEx(message, progress.get());
        progress.reset();
        if (sent == SendResult::Cancelled) {
            link.SendShort({0xF7});
            outcome = DumpOutcome::Cancelled;
        } else if (sent == SendResult::Sent) {
            Bytes reply(kAckSize, 0);
            if (!link.ReceiveSysEx(reply, kAckSize)) {
                ui.ShowMessage({"No reply from Vemo-x\nCheck its menu and retry", "", MessageIcon::Exclamation,
                                MessageButtons::OK, Answer::OK});
            } else if (reply != link.header.Whole()) {
                ui.ShowMessage({"No ACK from Vemo-x", "", MessageIcon::Exclamation, MessageButtons::OK, Answer::OK});
                if (link.Log().Open()) {
                    link.LogInquiry();
                    link.Log().Line("DumpMidi => devRep= " + HexDump(reply));
                }
                link.SendShort({0xF7});
            } else {
                outcome = DumpOutcome::Sent;
            }
        }
    }
    link.CloseMidi();
    return outcome;
}

DumpOutcome SendKindToInstrument(MidiLink& link, const SetData& data, ItemKind kind, int styleSlot) {
    Bytes message;
    if (!BuildOrTell(link.Ui(), data, kind, styleSlot, link.header, message)) return DumpOutcome::Failed;
    return SendDumpMessage(link, kind, message);
}

bool SaveKindToSysExFile(Interaction& ui, const SysExHeader& header, const SetData& data, ItemKind kind, int styleSlot,
                         const std::string& setDirectory) {
    Bytes message;
    if (!BuildOrTell(ui, data, kind, styleSlot, header, message)) return false;
    return SaveSysExFile(ui, kind, setDirectory, message);
}

}  // namespace vx
