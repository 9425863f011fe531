#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "core/midi/MidiBackend.h"
#include "core/midi/SysExAssembler.h"

class RtMidiIn;
class RtMidiOut;

namespace vxm {

// The platform's MIDI ports through RtMidi. The environment variable VX_MIDI_API ("alsa",
// "jack", ...) names the interface; without it each interface built into RtMidi is tried in
// turn (on Linux ALSA, then JACK) and the first that opens is kept. Input is polled; system
// exclusive messages are rebuilt whole. What RtMidi, ALSA and JACK would print on the terminal
// is collected instead and handed out by TakeLibraryMessages. Sends keep to the link's speed.
class RtMidiDevices : public vx::MidiBackend {
public:
    explicit RtMidiDevices(std::string clientName);
    ~RtMidiDevices() override;

    bool OutputNames(std::vector<std::string>& names, std::string& error) override;
    bool InputNames(std::vector<std::string>& names, std::string& error) override;
    bool OpenOutput(int index, std::string& error) override;
    bool OpenInput(int index, std::string& error) override;
    void Close() override;
    // Long messages leave no faster than a MIDI cable carries them: in paced pieces where the
    // interface passes pieces on (JACK), else whole, followed by the cable time, so that the
    // progress and its Cancel follow the bytes on the cable.
    vx::SendResult Send(const vx::Bytes& message, const vx::SendProgress& progress, std::string& error) override;
    bool NextSysEx(vx::Bytes& message) override;
    // The same, with the time the message's first byte was taken from the interface.
    bool NextSysEx(vx::Bytes& message, std::chrono::steady_clock::time_point& started);
    void ResetInput() override;
    // The interface chosen so far; empty before a list or an open found one.
    std::string InterfaceName() override;
    std::vector<std::string> TakeLibraryMessages() override;
    // 31,250 (a MIDI cable) unless VX_MIDI_BAUD names a faster link, such as a virtual port.
    int LinkBaud() override;

    // A pair of ports named NAME:in and NAME:out that other programs connect to, as the
    // simulated instrument offers (only NAME:out when withInput is false); they stay open
    // until Close.
    bool OpenVirtual(const std::string& name, std::string& error, bool withInput = true);
    // The interface in use in RtMidi's own spelling ("jack", "alsa"), or "none".
    std::string ApiName();
    // Whether the chosen interface passes a long message on in pieces as they are sent.
    bool PassesPieces();

    // Set by RtMidi's error callback.
    std::string lastError;

private:
    // Picks the interface on first use (again after a failure); false with the reasons.
    bool ChooseApi(std::string& error);
    bool MakeOutput(std::string& error);
    bool MakeInput(std::string& error);
    void DrainInput();

    std::string clientName_;
    int api_ = -1;  // RtMidi::Api once chosen
    std::unique_ptr<RtMidiOut> out_;
    std::unique_ptr<RtMidiIn> in_;
    vx::SysExAssembler assembler_;
    bool sentSomething_ = false;
};

}  // namespace vxm
