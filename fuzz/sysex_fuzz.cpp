// What arrives over MIDI is untrusted: any bytes go through the reassembly of system exclusive
// messages, and, framed as a dump with the first byte as the function code, through the
// simulated instrument's checks. A dump the instrument accepts must unpack to a body that
// packs back into the same bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "SimulatedInstrument.h"
#include "core/midi/DumpMessage.h"
#include "core/midi/SysExAssembler.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vxi::InstrumentOptions options;
    options.mode = vx::kDumpMode;
    vxi::SimulatedInstrument instrument(options);

    vx::SysExAssembler assembler;
    assembler.Feed(data, size);
    vx::Bytes message;
    while (assembler.Next(message)) instrument.Receive(message);

    if (size == 0) return 0;
    message = {0xF0, vx::kMakerId, 0x30, vx::kFamilyId, static_cast<std::uint8_t>(data[0] & 0x7F)};
    for (std::size_t i = 1; i < size; ++i) message.push_back(data[i] & 0x7F);
    message.push_back(0xF7);
    const std::size_t before = instrument.Dumps().size();
    instrument.Receive(message);
    if (instrument.Dumps().size() == before) return 0;
    const auto& dump = instrument.Dumps().back();
    const std::size_t packedStart = 5 + dump.extra.size();
    const vx::Bytes packed(message.begin() + static_cast<std::ptrdiff_t>(packedStart), message.end() - 1);
    if (vx::PackSevenBit(dump.body) != packed) std::abort();
    return 0;
}
