#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "core/format/ByteRecord.h"

namespace vxi {

// What a misbehaving instrument does wrong, for trying the editor's error handling.
enum class Fault {
    None,
    NoReply,        // stores dumps but never acknowledges them
    ShortIdentity,  // identity reply one byte short (14 bytes)
    OtherMaker,     // identity reply from another maker
    OtherFamily,    // identity reply from the maker's other family
    WrongAck,       // acknowledgement with 0x24 where 0x23 belongs
    Slow,           // takes three seconds to store a dump before acknowledging it
};

// The fault named on the command line ("no-reply", "short-identity", ...); nothing when unknown.
std::optional<Fault> FaultFromName(const std::string& name);
std::vector<std::string> FaultNames();

struct InstrumentOptions {
    int deviceId = 0;  // 0-15
    int mode = 1;      // the mode at power-on
    Fault fault = Fault::None;
    std::string saveDirectory;  // where each received dump is written; empty: nowhere
};

// An answer and how long after the request it is sent.
struct Reply {
    vx::Bytes bytes;
    std::chrono::milliseconds delay{0};
};

// What the instrument learned of a dump it received.
struct ReceivedDump {
    int functionCode = 0;
    vx::Bytes extra;
    vx::Bytes body;  // unpacked
    std::string savedAs;
};

// The instrument's side of the exchange: it answers the identity request, the mode request
// and change, and dumps whose framing and packing are right. Ports are the caller's.
class SimulatedInstrument {
public:
    explicit SimulatedInstrument(InstrumentOptions options);

    // Handles one complete system exclusive message; the answers to send back.
    std::vector<Reply> Receive(const vx::Bytes& message);

    int Mode() const { return mode_; }
    int ModeChanges() const { return modeChanges_; }
    const std::vector<ReceivedDump>& Dumps() const { return dumps_; }
    // One line per message handled, for the program's output.
    const std::vector<std::string>& Journal() const { return journal_; }

private:
    vx::Bytes Header(std::uint8_t function) const;
    std::vector<Reply> ReceiveDump(const vx::Bytes& message);
    std::string Save(const vx::Bytes& message, int functionCode);

    InstrumentOptions options_;
    int mode_;
    int modeChanges_ = 0;
    std::vector<ReceivedDump> dumps_;
    std::vector<std::string> journal_;
};

// The expected body length of a kind's dump, or 0 when it depends on the extra bytes' count.
std::size_t FixedBodySize(int functionCode);

}  // namespace vxi
