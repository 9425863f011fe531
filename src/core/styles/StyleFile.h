#pragma once

#include <array>

#include "core/format/LoadError.h"
#include "core/styles/StyleRecord.h"

namespace vx {

class ItemFile;

inline constexpr int kUserStyles = 48;
inline constexpr int kStyleBlocks = 12;
inline constexpr int kStylesPerBlock = 4;
inline constexpr int kStyHeaderSize = 21;
inline constexpr int kStyDataStart = 224;
inline constexpr int kEmptyStyleSize = 1176;  // a style without events
inline constexpr int kBlockEvents = 15200;    // events a block of four styles holds

// One slot of the .STY file: its directory entry and, when used, its data.
struct StyleSlot {
    std::uint8_t slotByte = 0;
    std::uint8_t used = 0;
    std::uint16_t size = 0;  // record + events; 0 for an empty slot
    // The size bytes of an unused directory entry as read: they describe nothing, but a file
    // is written back as it came.
    std::uint16_t idleSize = 0;
    StyleRecord record{};
    Bytes events;  // size - 70 bytes for a used slot

    bool IsEmpty() const { return record.IsEmpty(); }
};

// A set's .STY file in memory.
struct SetStyles {
    std::array<std::uint8_t, kStyHeaderSize> header{};
    int blockCount = kStyleBlocks;
    std::uint8_t slotCount = kUserStyles;  // byte 21 as read; blockCount = slotCount div 4
    std::array<StyleSlot, kUserStyles> slots{};
    Bytes gap;       // bytes between the end of the directory and offset 224, kept as read
    Bytes trailing;  // bytes past the last style's data, kept as read
};

LoadStatus LoadSty(const ItemFile& file, SetStyles& out);
// Each used slot takes exactly its size: events shorter than size - 70 (a blank style of size
// 1176 holds none) are padded with zero bytes, so the directory always matches the data.
Bytes SerializeSty(const SetStyles& data);

// Events of a used slot: (Size - 1176) div 4, truncated toward zero; 0 for an unused slot.
int StyleEventsUsed(const SetStyles& styles, int slot);
// 15200 minus the events of the four slots of the slot's block.
int BlockEventsFree(const SetStyles& styles, int slot);

inline constexpr int kFirstUserStyle = 256;
// One past the highest style number (C68).
inline constexpr int kStyleNumberLimit = kFirstUserStyle + kUserStyles;
bool IsUserStyle(int number);  // 256 to 303

}  // namespace vx
