#pragma once

#include <array>
#include <string>

#include "core/format/ByteRecord.h"
#include "core/format/LoadError.h"

namespace vx {

class ItemFile;

// One KBD set, 56 bytes as in the .ARK file.
struct KbdSetRecord : ByteRecord<56> {
    static constexpr int kTrackCount = 5;
    // Each track's program call: the first word of its 8-byte block.
    static constexpr std::size_t TrackOffset(int track) { return 16 + 8 * static_cast<std::size_t>(track); }

    int Split() const { return Byte(1); }
    void SetSplit(int key) { SetByte(1, static_cast<std::uint8_t>(key)); }
    int TrackProgram(int track) const { return static_cast<std::int16_t>(Word(TrackOffset(track))); }
    void SetTrackProgram(int track, int number) { SetWord(TrackOffset(track), static_cast<std::uint16_t>(number)); }
};

inline constexpr int kKbdSetCount = 64;
inline constexpr int kArkHeaderSize = 32;
inline constexpr int kArkRecordsSize = kKbdSetCount * static_cast<int>(KbdSetRecord::kSize);  // 3584

// A set's .ARK file in memory.
struct SetKbdSets {
    std::array<std::uint8_t, kArkHeaderSize> header{};
    std::int16_t dataLength = kArkRecordsSize;
    std::array<KbdSetRecord, kKbdSetCount> records{};
    Bytes tail;      // dataLength - 3584 bytes after the records
    Bytes trailing;  // bytes past all that, kept as read
};

LoadStatus LoadArk(const ItemFile& file, SetKbdSets& out);
Bytes SerializeArk(const SetKbdSets& data);

// "11" for KBD set 0, "88" for 63.
std::string KbdLabel(int number);

}  // namespace vx
