#pragma once

#include <array>

#include "core/format/ByteRecord.h"
#include "core/format/LoadError.h"
#include "core/globals/GlobalRecords.h"

namespace vx {

class ItemFile;

inline constexpr int kGlobalHeaderSize = 32;


// A set's .ARG and .GBL files in memory.
template <typename Record>
struct SetGlobalItem {
    std::array<std::uint8_t, kGlobalHeaderSize> header{};
    Record record{};
    Bytes trailing;  // bytes past the record, kept as read
};
using SetArrangementGlobal = SetGlobalItem<ArgRecord>;
using SetGlobal = SetGlobalItem<GblRecord>;

LoadStatus LoadArg(const ItemFile& file, SetArrangementGlobal& out);
Bytes SerializeArg(const SetArrangementGlobal& data);
LoadStatus LoadGbl(const ItemFile& file, SetGlobal& out);
Bytes SerializeGbl(const SetGlobal& data);

}  // namespace vx
