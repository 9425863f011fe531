#pragma once

#include <chrono>
#include <string>

#include "core/format/ByteRecord.h"
#include "core/midi/SysExAssembler.h"

#include <jack/jack.h>
#include <jack/ringbuffer.h>

namespace vxi {

// The instrument's input port straight on JACK. RtMidi hands a system exclusive message over
// only once it is complete; this port sees each piece as it arrives, so that the instrument
// knows when a message's first byte came in, as a device at the end of a cable does.
class JackInput {
public:
    JackInput() = default;
    JackInput(const JackInput&) = delete;
    JackInput& operator=(const JackInput&) = delete;
    ~JackInput();

    // A client named clientName with one MIDI input port "in".
    bool Open(const std::string& clientName, std::string& error);
    // The oldest complete message and when its first byte arrived; false when none.
    bool Next(vx::Bytes& message, std::chrono::steady_clock::time_point& started);
    // Whether pieces were lost because the instrument fell behind.
    bool Overflowed() const;
    void Close();

private:
    static int Process(unsigned int frames, void* self);

    jack_client_t* client_ = nullptr;
    jack_port_t* port_ = nullptr;
    jack_ringbuffer_t* ring_ = nullptr;
    vx::SysExAssembler assembler_;
};

}  // namespace vxi
