#pragma once

#include <string>
#include <vector>

#include "core/midi/DumpMessage.h"
#include "core/midi/MidiBackend.h"
#include "core/midi/MidiLog.h"

namespace vx {

class Interaction;
class ProgressWindow;

// The ports the setup dialog offers, with the ones it preselects.
struct MidiPortLists {
    std::string interfaceName;  // the platform interface the ports belong to, empty when none opened
    std::vector<std::string> outputs;
    std::vector<std::string> inputs;
    int preferredOutput = 0;
    int preferredInput = 0;
};

// The program's one connection to the instrument: the chosen ports, what detection learned,
// and the primitives the dump uses. Ports are open only during one operation.
class MidiLink {
public:
    MidiLink(MidiBackend& backend, Interaction& ui, MidiClock& clock, std::string logDirectory);

    int outputIndex = 0;
    int inputIndex = 0;
    bool ready = false;  // a detection succeeded since the setup dialog was last opened
    int channel = 0;     // the instrument's device ID
    SysExHeader header;
    Bytes inquiryReply = Bytes(15, 0);

    Interaction& Ui() { return *ui_; }
    // The editor keeps one link for the whole program and lends it the window that asks.
    void UseInteraction(Interaction& ui) { ui_ = &ui; }
    MidiLog& Log() { return log_; }

    // The start of the setup: clears ready and lists the ports. False when a list cannot be
    // read or one side has no port; problem then says so and what to do, naming the log file,
    // which holds what the platform's libraries reported.
    bool ReadPorts(MidiPortLists& lists, std::string& problem);
    // The same, telling the user the problem.
    bool ListPorts(MidiPortLists& lists);
    // The setup's OK: takes the ports, sends the identity request and checks the reply; on
    // success plays the test note and sets ready. Ports are closed again at the end.
    bool Detect(int output, int input);

    bool OpenMidi();
    void CloseMidi();
    // Sends one message; a progress window, when given, shows the transfer and may cancel it.
    SendResult SendSysEx(const Bytes& message, ProgressWindow* progress = nullptr);
    bool SendShort(const Bytes& message) { return SendSysEx(message) == SendResult::Sent; }
    // Waits for expected bytes of system exclusive data, at most expected / 3000 + 1 seconds
    // counted from the moment the last byte sent can have reached the instrument over a MIDI
    // cable (a backend may return from a send long before). reply always has the expected
    // size, zeros where nothing arrived.
    bool ReceiveSysEx(Bytes& reply, std::size_t expected);
    void PlayTestNote(int note, int velocity, double seconds);
    void LogInquiry();

    void ShowOutputError(const std::string& text);
    void ShowInputError(const std::string& text);

private:
    // Writes what the platform's libraries reported to the log (opening it), or forgets it.
    void KeepLibraryMessages(bool inLog);

    MidiBackend& backend_;
    Interaction* ui_;
    MidiClock& clock_;
    MidiLog log_;
    std::chrono::steady_clock::time_point cableFreeAt_{};  // when the bytes sent so far are all across
};

// The last port whose name holds the instrument's name, or 0.
int PreferredPort(const std::vector<std::string>& names);

}  // namespace vx
