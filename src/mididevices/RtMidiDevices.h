#pragma once

#include <memory>
#include <string>

#include "midi/MidiBackend.h"
#include "midi/SysExAssembler.h"

class RtMidiIn;
class RtMidiOut;

namespace vxm {

// The platform's MIDI ports through RtMidi (ALSA or JACK on Linux, the native interfaces
// elsewhere). The environment variable VX_MIDI_API ("jack", "alsa", ...) picks the interface;
// without it RtMidi chooses. Input is polled; system exclusive messages are rebuilt whole.
class RtMidiDevices : public vx::MidiBackend {
public:
    explicit RtMidiDevices(std::string clientName);
    ~RtMidiDevices() override;

    bool OutputNames(std::vector<std::string>& names, std::string& error) override;
    bool InputNames(std::vector<std::string>& names, std::string& error) override;
    bool OpenOutput(int index, std::string& error) override;
    bool OpenInput(int index, std::string& error) override;
    void Close() override;
    vx::SendResult Send(const vx::Bytes& message, const vx::SendProgress& progress, std::string& error) override;
    bool NextSysEx(vx::Bytes& message) override;
    void ResetInput() override;

    // A pair of ports named NAME:in and NAME:out that other programs connect to, as the
    // simulated instrument offers; they stay open until Close.
    bool OpenVirtual(const std::string& name, std::string& error);
    // The interface in use: "jack", "alsa", ...
    std::string ApiName() const;

    // Set by RtMidi's error callback.
    std::string lastError;

private:
    bool MakeOutput(std::string& error);
    bool MakeInput(std::string& error);
    void DrainInput();

    std::string clientName_;
    int api_ = 0;
    std::unique_ptr<RtMidiOut> out_;
    std::unique_ptr<RtMidiIn> in_;
    vx::SysExAssembler assembler_;
    bool sentSomething_ = false;
};

}  // namespace vxm
