#pragma once

#include <string>

#include "format/ByteRecord.h"

namespace vx {

// One user arrangement, 164 bytes as in the .ARR file.
struct ArrangementRecord : ByteRecord<164> {
    static constexpr int kTrackCount = 11;

    std::string Name() const { return Text(0, kNameLength); }
    void SetName(std::string_view name) { SetText(0, kNameLength, name); }
    bool IsEmpty() const { return TextIsBlank(0, kNameLength); }
    int Category() const { return Byte(16); }
    void SetCategory(int category) { SetByte(16, static_cast<std::uint8_t>(category)); }
    int Style() const { return Word(17); }  // note the odd offset
    void SetStyle(int number) { SetWord(17, static_cast<std::uint16_t>(number)); }
    int Tempo() const { return Byte(21) + 30; }
    int Split() const { return Byte(23); }
    void SetSplit(int key) { SetByte(23, static_cast<std::uint8_t>(key)); }
    int Transpose() const { return static_cast<std::int8_t>(Byte(25)); }
    // Program call of track 0 to 10 (bytes 0 and 1 of its 8-byte block at offset 39).
    int TrackProgram(int track) const { return CallPair(39 + 8 * static_cast<std::size_t>(track)); }
    void SetTrackProgram(int track, int number) { SetCallPair(39 + 8 * static_cast<std::size_t>(track), number); }
};

}  // namespace vx
