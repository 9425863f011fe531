#pragma once

#include <string>

#include "core/format/ByteRecord.h"

namespace vx {

// One user arrangement, 164 bytes as in the .ARR file.
struct ArrangementRecord : ByteRecord<164> {
    static constexpr int kTrackCount = 11;
    static constexpr std::size_t kNameOffset = 0;
    // Where the calls sit: the style number (note the odd offset), and each track's program
    // call in bytes 0 and 1 of its 8-byte block.
    static constexpr std::size_t kStyleOffset = 17;
    static constexpr std::size_t TrackOffset(int track) { return 39 + 8 * static_cast<std::size_t>(track); }

    std::string Name() const { return Text(0, kNameLength); }
    void SetName(std::string_view name) { SetText(0, kNameLength, name); }
    bool IsEmpty() const { return TextIsBlank(0, kNameLength); }
    int Category() const { return Byte(16); }
    void SetCategory(int category) { SetByte(16, static_cast<std::uint8_t>(category)); }
    int Style() const { return Word(kStyleOffset); }
    void SetStyle(int number) { SetWord(kStyleOffset, static_cast<std::uint16_t>(number)); }
    int VarThen() const { return Byte(19); }
    void SetVarThen(int index) { SetByte(19, static_cast<std::uint8_t>(index)); }
    int VarStart() const { return Byte(20); }
    void SetVarStart(int index) { SetByte(20, static_cast<std::uint8_t>(index)); }
    // Beats per minute; the byte holds the tempo minus 30.
    int Tempo() const { return Byte(21) + 30; }
    void SetTempo(int bpm) { SetByte(21, static_cast<std::uint8_t>(bpm - 30)); }
    bool FullKbd() const { return Byte(22) == 1; }
    void SetFullKbd(bool on) { SetByte(22, on ? 1 : 0); }
    int Split() const { return Byte(23); }
    void SetSplit(int key) { SetByte(23, static_cast<std::uint8_t>(key)); }
    int Ensemble() const { return Byte(24); }
    void SetEnsemble(int index) { SetByte(24, static_cast<std::uint8_t>(index)); }
    // Semitones, signed: a negative value is stored as value + 256.
    int Transpose() const { return static_cast<std::int8_t>(Byte(25)); }
    void SetTranspose(int semitones) {
        SetByte(25, static_cast<std::uint8_t>(semitones < 0 ? semitones + 256 : semitones));
    }
    // The chord-scan choice 0 to 4 (Off, Lower (Easy), Lower (Normal), Upper, Full): the mode
    // in bits 0-1, and bit 5 telling the two lower modes apart. Other bits are kept.
    int ChordScan() const;
    void SetChordScan(int index);
    static constexpr int kDrumMaps = 4;
    int DrumMap(int i) const { return Byte(29 + static_cast<std::size_t>(i)); }
    void SetDrumMap(int i, int index) { SetByte(29 + static_cast<std::size_t>(i), static_cast<std::uint8_t>(index)); }
    int Kick() const { return Byte(33); }
    void SetKick(int index) { SetByte(33, static_cast<std::uint8_t>(index)); }
    int Snare() const { return Byte(34); }
    void SetSnare(int index) { SetByte(34, static_cast<std::uint8_t>(index)); }
    static constexpr int kFillVars = 2;
    int FillVar(int i) const { return Byte(37 + static_cast<std::size_t>(i)); }
    void SetFillVar(int i, int index) { SetByte(37 + static_cast<std::size_t>(i), static_cast<std::uint8_t>(index)); }
    int TrackProgram(int track) const { return CallPair(TrackOffset(track)); }
    void SetTrackProgram(int track, int number) { SetCallPair(TrackOffset(track), number); }
};

inline int ArrangementRecord::ChordScan() const {
    switch (Byte(28) & 0x03) {
        case 1:
            return (Byte(28) & 0x20) != 0 ? 1 : 2;
        case 2:
            return 3;
        case 3:
            return 4;
        default:
            return 0;
    }
}

inline void ArrangementRecord::SetChordScan(int index) {
    static constexpr int kModeBits[] = {0, 1, 1, 2, 3};
    if (index < 0 || index > 4) return;
    std::uint8_t value = static_cast<std::uint8_t>((Byte(28) & ~0x03) | kModeBits[index]);
    if (index == 1) value |= 0x20;
    if (index == 2) value &= static_cast<std::uint8_t>(~0x20);
    SetByte(28, value);
}

}  // namespace vx
