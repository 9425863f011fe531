#pragma once

#include <string>

#include "core/catalogue/ItemKind.h"
#include "core/format/ByteRecord.h"

namespace vx {

class MidiLink;
class Interaction;
struct SetData;
struct SysExHeader;

// Declined: the prompt was answered with Cancel, nothing was sent. Cancelled: the transfer was
// stopped part way.
enum class DumpOutcome { Sent, Failed, Declined, Cancelled };

// The instrument's mode, 0 when the exchange failed (logged).
int GetVxMode(MidiLink& link);
// Sends the mode change; no answer is awaited. False (logged) when it could not be sent.
bool SetVxMode(MidiLink& link, int mode);

// Sends a built dump: opens the ports, brings the instrument into the receiving mode, asks the
// user to prepare it, sends with a progress window that can cancel, and checks the
// acknowledgement. A wrong answer and a cancelled transfer end with a lone 0xF7, so that the
// instrument is not left inside a message.
DumpOutcome SendDumpMessage(MidiLink& link, ItemKind kind, const Bytes& message);

// The entry points of every send command: one kind of a set (for styles, the block holding
// styleSlot 0-47) to the instrument, or to a .SYX file chosen by the user.
DumpOutcome SendKindToInstrument(MidiLink& link, const SetData& data, ItemKind kind, int styleSlot);
bool SaveKindToSysExFile(Interaction& ui, const SysExHeader& header, const SetData& data, ItemKind kind, int styleSlot,
                         const std::string& setDirectory);

// The prompt before sending: what to select on the instrument, and the transmission time
// when it exceeds three seconds.
std::string DumpPrompt(std::size_t messageLength);

}  // namespace vx
