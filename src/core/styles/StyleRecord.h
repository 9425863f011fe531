#pragma once

#include <string>

#include "core/format/ByteRecord.h"

namespace vx {

// The 70-byte record at the start of a used style's data.
struct StyleRecord : ByteRecord<70> {
    static constexpr int kTrackCount = 6;
    static constexpr std::size_t kNameOffset = 0;
    // Program call of accompaniment track 0 to 5: bytes 0 and 1 of its 4-byte block.
    static constexpr std::size_t TrackOffset(int track) { return 46 + 4 * static_cast<std::size_t>(track); }

    std::string Name() const { return Text(0, kNameLength); }
    void SetName(std::string_view name) { SetText(0, kNameLength, name); }
    bool IsEmpty() const { return TextIsBlank(0, kNameLength); }
    int Category() const { return Byte(16); }
    void SetCategory(int category) { SetByte(16, static_cast<std::uint8_t>(category)); }
    int TrackProgram(int track) const { return CallPair(TrackOffset(track)); }
    void SetTrackProgram(int track, int number) { SetCallPair(TrackOffset(track), number); }
};

}  // namespace vx
