#include "core/midi/MidiLink.h"

#include <algorithm>

#include "core/catalogue/Catalogue.h"
#include "core/interaction/Interaction.h"
#include "core/text/Helpers.h"

namespace vx {

namespace {

constexpr std::uint8_t kNoteOn = 0x90;
constexpr std::uint8_t kNoteOff = 0x80;
constexpr std::size_t kIdentityReplySize = 15;
// The wait polls with short sleeps instead of spinning.
constexpr std::chrono::microseconds kPollInterval{1000};

void ShowPlain(Interaction& ui, const std::string& text, MessageIcon icon, const std::string& title = {}) {
    ui.ShowMessage({text, title, icon, MessageButtons::OK, Answer::OK});
}

}  // namespace

int PreferredPort(const std::vector<std::string>& names) {
    const std::string wanted = ToUpper(kInstrumentName);
    int preferred = 0;
    for (std::size_t i = 0; i < names.size(); ++i)
        if (ToUpper(names[i]).find(wanted) != std::string::npos) preferred = static_cast<int>(i);
    return preferred;
}

MidiLink::MidiLink(MidiBackend& backend, Interaction& ui, MidiClock& clock, std::string logDirectory)
    : backend_(backend), ui_(&ui), clock_(clock), log_(std::move(logDirectory)) {}

void MidiLink::KeepLibraryMessages(bool inLog) {
    const auto messages = backend_.TakeLibraryMessages();
    if (!inLog || messages.empty() || !log_.Open()) return;
    for (const auto& message : messages) log_.Line(message);
}

void MidiLink::ShowOutputError(const std::string& text) {
    KeepLibraryMessages(true);
    ShowPlain(*ui_, "MIDI Output error: \n" + text, MessageIcon::Critical);
}

void MidiLink::ShowInputError(const std::string& text) {
    KeepLibraryMessages(true);
    ShowPlain(*ui_, "MIDI Input error: \n" + text, MessageIcon::Critical);
}

bool MidiLink::ReadPorts(MidiPortLists& lists, std::string& problem) {
    ready = false;
    lists = {};
    problem.clear();
    for (const bool outputs : {true, false}) {
        std::string error;
        auto& names = outputs ? lists.outputs : lists.inputs;
        if (!(outputs ? backend_.OutputNames(names, error) : backend_.InputNames(names, error))) {
            problem = std::string(outputs ? "MIDI Output error: \n" : "MIDI Input error: \n") + error;
            break;
        }
        if (names.empty() && problem.empty()) problem = "No MIDI driver is present";
    }
    lists.interfaceName = backend_.InterfaceName();
    lists.preferredOutput = PreferredPort(lists.outputs);
    lists.preferredInput = PreferredPort(lists.inputs);
    if (problem.empty()) {
        KeepLibraryMessages(false);
        return true;
    }
    // The advice names the log only when it could be written.
    const bool logged = log_.Open();
    if (logged) {
        std::string oneLine = problem;
        std::replace(oneLine.begin(), oneLine.end(), '\n', ' ');
        log_.Line("MIDI Setup: " + oneLine + " (interface: " +
                  (lists.interfaceName.empty() ? std::string("none opened") : lists.interfaceName) + ")");
        KeepLibraryMessages(true);
    }
    problem += "\n\nLoad the ALSA sequencer (modprobe snd-seq) or start a JACK server, then open MIDI Setup again.";
    if (logged) problem += " What the MIDI interfaces reported is in " + log_.Path() + ".";
    return false;
}

bool MidiLink::ListPorts(MidiPortLists& lists) {
    std::string problem;
    if (ReadPorts(lists, problem)) return true;
    const bool noPort = problem.rfind("No MIDI driver", 0) == 0;
    ShowPlain(*ui_, problem, noPort ? MessageIcon::Exclamation : MessageIcon::Critical);
    return false;
}

bool MidiLink::OpenMidi() {
    std::string error;
    if (!backend_.OpenOutput(outputIndex, error)) {
        ShowOutputError(error);
        return false;
    }
    if (!backend_.OpenInput(inputIndex, error)) {
        ShowInputError(error);
        return false;
    }
    return true;
}

void MidiLink::CloseMidi() { backend_.Close(); }

SendResult MidiLink::SendSysEx(const Bytes& message, ProgressWindow* progress) {
    BusyPointer busy(*ui_);
    SendProgress report;
    if (progress) {
        report = [progress](std::size_t sent, std::size_t) {
            progress->SetValue(static_cast<double>(sent));
            return !progress->CancelRequested();
        };
    }
    std::string error;
    const auto start = clock_.Now();
    const SendResult result = backend_.Send(message, report, error);
    // Bytes queue behind those still on the cable.
    cableFreeAt_ = std::max(cableFreeAt_, start) + CableTime(message.size(), backend_.LinkBaud());
    if (result == SendResult::Failed) ShowOutputError(error);
    return result;
}

bool MidiLink::ReceiveSysEx(Bytes& reply, std::size_t expected) {
    BusyPointer busy(*ui_);
    Bytes received;
    const auto timeOut = std::chrono::duration<double>(static_cast<double>(expected) / 3000.0 + 1.0);
    const auto start = std::max(clock_.Now(), cableFreeAt_);
    bool complete = false;
    for (;;) {
        Bytes message;
        while (received.size() < expected && backend_.NextSysEx(message))
            received.insert(received.end(), message.begin(), message.end());
        if (received.size() >= expected) {
            complete = true;
            break;
        }
        if (clock_.Now() - start > timeOut) break;
        clock_.Sleep(kPollInterval);
    }
    backend_.ResetInput();
    received.resize(expected, 0);
    reply = std::move(received);
    if (!complete) ShowPlain(*ui_, "Receive Time-Out error", MessageIcon::Exclamation);
    return complete;
}

void MidiLink::PlayTestNote(int note, int velocity, double seconds) {
    const auto status = static_cast<std::uint8_t>(channel & 0x0F);
    ui_->Pause(seconds);
    SendShort({static_cast<std::uint8_t>(kNoteOn | status), static_cast<std::uint8_t>(note),
               static_cast<std::uint8_t>(velocity)});
    ui_->Pause(seconds);
    SendShort({static_cast<std::uint8_t>(kNoteOff | status), static_cast<std::uint8_t>(note), 64});
}

void MidiLink::LogInquiry() { log_.Line("(InqRep= " + HexDump(inquiryReply) + ")"); }

bool MidiLink::Detect(int output, int input) {
    BusyPointer busy(*ui_);
    ready = false;
    outputIndex = output;
    inputIndex = input;
    if (OpenMidi()) {
        bool found = false;
        Bytes reply(kIdentityReplySize, 0);
        if (SendSysEx(IdentityRequest()) == SendResult::Sent && ReceiveSysEx(reply, kIdentityReplySize)) {
            if (reply[5] != kMakerId) {
                ShowPlain(*ui_, "No Vemo instrument found", MessageIcon::Critical, "Error");
            } else if (reply[6] != kFamilyId) {
                ShowPlain(*ui_, "Vemo-x not found", MessageIcon::Critical, "Error");
            } else {
                // A device ID is 0-15 here; anything more would put a status byte into every request.
                channel = reply[2] & 0x0F;
                header.bytes[2] = static_cast<std::uint8_t>(0x30 + channel);
                header.bytes[3] = reply[6];
                found = true;
            }
        }
        inquiryReply = reply;
        if (found) {
            PlayTestNote(60, 80, 1.0);
            ready = true;
        } else if (log_.Open()) {
            LogInquiry();
        }
    }
    CloseMidi();
    return ready;
}

}  // namespace vx
