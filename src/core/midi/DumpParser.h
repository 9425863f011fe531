#pragma once

#include <string>

#include "core/catalogue/ItemKind.h"
#include "core/format/ByteRecord.h"
#include "core/storage/SetData.h"

namespace vx {

// A dump message taken apart: the kind it carries and that kind's part of a set, as the
// message holds it. A style dump fills the four slots of its block and nothing else.
struct ParsedDump {
    ItemKind kind = ItemKind::Arrangement;
    int styleBlock = -1;
    SetData data;
};

// The largest message a dump can be: four styles of 65535 bytes packed, with room to spare.
inline constexpr std::size_t kLargestDumpMessage = 1024 * 1024;

// Reads one complete dump message (0xF0 ... 0xF7) of any kind the editor sends: the framing,
// the maker and family bytes, the function code, the kind's extra bytes, the packing and the
// body layout of the kind. False with one sentence naming the first thing that is wrong; out is
// then unchanged. Bytes are counted from 1 in the sentences.
bool ParseDumpMessage(const Bytes& message, ParsedDump& out, std::string& error);

}  // namespace vx
