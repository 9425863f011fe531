// A .SYX file handed to Load SysEx File is untrusted: any bytes go through the dump reader as
// they are, and framed as a dump (the first byte picks the kind, the next two are its extra
// bytes, the rest is packed as the body), so that the body layouts of every kind are reached.
// A message the reader takes must come back byte for byte when its data are dumped again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "core/catalogue/Catalogue.h"
#include "core/midi/DumpMessage.h"
#include "core/midi/DumpParser.h"

namespace {

void ReadAndDumpAgain(const vx::Bytes& message) {
    vx::ParsedDump parsed;
    std::string error;
    if (!vx::ParseDumpMessage(message, parsed, error)) {
        if (error.empty()) std::abort();
        return;
    }
    // The record of an unused style slot is read as blank, so style dumps are compared by
    // reading the new message again.
    vx::SysExHeader header;
    header.bytes[2] = message[2];
    vx::Bytes again;
    const int styleSlot = parsed.styleBlock >= 0 ? parsed.styleBlock * vx::kStylesPerBlock : 0;
    if (!vx::BuildDumpMessage(parsed.data, parsed.kind, styleSlot, header, again, error)) std::abort();
    if (parsed.kind != vx::ItemKind::Style) {
        if (again != message) std::abort();
        return;
    }
    vx::ParsedDump reread;
    if (!vx::ParseDumpMessage(again, reread, error)) std::abort();
    vx::Bytes third;
    if (!vx::BuildDumpMessage(reread.data, reread.kind, styleSlot, header, third, error) || third != again)
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > vx::kLargestDumpMessage) return 0;
    ReadAndDumpAgain(vx::Bytes(data, data + size));
    if (size < 3) return 0;
    const vx::ItemKind kind = vx::KindFromIndex(data[0] % vx::kSetKindCount);
    vx::Bytes message = vx::SysExHeader{}.With({static_cast<std::uint8_t>(vx::KindDumpCode(kind))});
    if (kind == vx::ItemKind::Style) message.push_back(data[1] % 16);
    if (kind == vx::ItemKind::BackingSequence || kind == vx::ItemKind::Song) {
        message.push_back(data[1] & 0x7F);
        message.push_back(data[2] & 0x7F);
    }
    vx::AppendPacked(message, vx::Bytes(data + 3, data + size));
    message.push_back(0xF7);
    ReadAndDumpAgain(message);
    return 0;
}
