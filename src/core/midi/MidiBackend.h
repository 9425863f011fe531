#pragma once

#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "core/format/ByteRecord.h"

namespace vx {

enum class SendResult { Sent, Failed, Cancelled };

// A MIDI cable carries 31,250 bits a second, ten bits a byte (start, eight data bits, stop).
inline constexpr int kMidiBaud = 31250;
inline std::chrono::microseconds CableTime(std::size_t bytes, int baud = kMidiBaud) {
    return std::chrono::microseconds(static_cast<long long>(bytes) * 10 * 1000000 / baud);
}

// Told how far a long message has gone out (bytes handed to the driver, total); returning
// false stops the transfer between two pieces.
using SendProgress = std::function<bool(std::size_t sent, std::size_t total)>;

// One MIDI output and one MIDI input of the platform, opened for one operation at a time.
// Errors come back as the driver's own text.
class MidiBackend {
public:
    virtual ~MidiBackend() = default;

    virtual bool OutputNames(std::vector<std::string>& names, std::string& error) = 0;
    virtual bool InputNames(std::vector<std::string>& names, std::string& error) = 0;
    virtual bool OpenOutput(int index, std::string& error) = 0;
    virtual bool OpenInput(int index, std::string& error) = 0;
    // Closes whatever is open; harmless when nothing is.
    virtual void Close() = 0;

    // Sends one complete message (a system exclusive message of any length or a short one);
    // the receiving side sees it whole, however the backend has to deliver it.
    virtual SendResult Send(const Bytes& message, const SendProgress& progress, std::string& error) = 0;
    // The oldest complete system exclusive message received and not yet taken; false when none.
    virtual bool NextSysEx(Bytes& message) = 0;
    // Forgets everything received and not taken.
    virtual void ResetInput() = 0;

    // The platform interface the ports belong to ("ALSA", "JACK", ...); empty when none opened.
    virtual std::string InterfaceName() { return {}; }
    // What the platform's libraries reported since the last call, for the log.
    virtual std::vector<std::string> TakeLibraryMessages() { return {}; }
    // The speed of the link to the instrument in bits a second: a MIDI cable unless known faster.
    virtual int LinkBaud() { return kMidiBaud; }
};

// The time the waits run on: a monotonic clock, so a change of the wall clock cannot stretch
// or cut a time-out. Tests drive a clock of their own.
class MidiClock {
public:
    virtual ~MidiClock() = default;
    virtual std::chrono::steady_clock::time_point Now() = 0;
    virtual void Sleep(std::chrono::microseconds duration) = 0;
};

MidiClock& SystemMidiClock();

}  // namespace vx
