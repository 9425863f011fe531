#pragma once

#include <array>
#include <string>

#include "core/format/ByteRecord.h"

namespace vx {

// The chain number a stored "next" byte stands for.
constexpr int ChainNumber(int stored) { return stored > 9 ? 0 : stored; }

// The chaining fields shared by backing sequences and songs: the number of the entry to chain
// to, and the flags byte with bit 1 "chain to the next one" and bit 0 "AutoStart". Other bits
// of the flags are kept.
template <std::size_t NextOffset, std::size_t N>
struct ChainedRecord : ByteRecord<N> {
    static constexpr std::size_t kNextOffset = NextOffset;
    // The entry to chain to, 0 to 9; a stored byte above 9 names none of them and reads as 0.
    // The stored byte itself is kept and written back as it was.
    int Next() const { return ChainNumber(NextRaw()); }
    int NextRaw() const { return this->Byte(NextOffset); }
    void SetNext(int number) { this->SetByte(NextOffset, static_cast<std::uint8_t>(number)); }
    int ChainFlags() const { return this->Byte(NextOffset + 1); }
    bool Chain() const { return (ChainFlags() & 0x02) != 0; }
    bool AutoStart() const { return (ChainFlags() & 0x01) != 0; }
    void SetChain(bool on) { SetFlag(0x02, on); }
    void SetAutoStart(bool on) { SetFlag(0x01, on); }

private:
    void SetFlag(int mask, bool on) {
        const int flags = on ? (ChainFlags() | mask) : (ChainFlags() & ~mask);
        this->SetByte(NextOffset + 1, static_cast<std::uint8_t>(flags));
    }
};

// One backing sequence record, 230 bytes as in the .BSQ file.
struct BsqRecord : ChainedRecord<79, 230> {
    static constexpr int kTrackCount = 8;
    static constexpr std::size_t kNameOffset = 0;
    // Where the calls sit: the arrangement and style words, and each track's program word, the
    // first three tracks in 8-byte blocks and the others in 15-byte blocks after the chain bytes.
    static constexpr std::size_t kArrangementOffset = 16;
    static constexpr std::size_t kStyleOffset = 18;
    static constexpr int kFirstBlockTracks = 3;
    static constexpr std::size_t TrackOffset(int track) {
        return track < kFirstBlockTracks ? 30 + 8 * static_cast<std::size_t>(track)
                                         : 81 + 15 * static_cast<std::size_t>(track - kFirstBlockTracks);
    }

    std::string Name() const { return Text(kNameOffset, kNameLength); }
    void SetName(std::string_view name) { SetText(kNameOffset, kNameLength, name); }
    bool IsEmpty() const { return TextIsBlank(kNameOffset, kNameLength); }
    int Arrangement() const { return static_cast<std::int16_t>(Word(kArrangementOffset)); }
    void SetArrangement(int number) { SetWord(kArrangementOffset, static_cast<std::uint16_t>(number)); }
    int Style() const { return static_cast<std::int16_t>(Word(kStyleOffset)); }
    void SetStyle(int number) { SetWord(kStyleOffset, static_cast<std::uint16_t>(number)); }
    int TrackProgram(int track) const { return static_cast<std::int16_t>(Word(TrackOffset(track))); }
    void SetTrackProgram(int track, int number) { SetWord(TrackOffset(track), static_cast<std::uint16_t>(number)); }
};

// One song record, 318 bytes as in the .SNG file.
struct SongRecord : ChainedRecord<52, 318> {
    static constexpr int kTrackCount = 16;
    static constexpr std::size_t kNameOffset = 54;
    // Each track's program word, in 13-byte blocks.
    static constexpr std::size_t TrackOffset(int track) { return 100 + 13 * static_cast<std::size_t>(track); }

    std::string Name() const { return Text(kNameOffset, kNameLength); }
    void SetName(std::string_view name) { SetText(kNameOffset, kNameLength, name); }
    bool IsEmpty() const { return TextIsBlank(kNameOffset, kNameLength); }
    int TrackProgram(int track) const { return static_cast<std::int16_t>(Word(TrackOffset(track))); }
    void SetTrackProgram(int track, int number) { SetWord(TrackOffset(track), static_cast<std::uint16_t>(number)); }
};

inline constexpr int kSequenceCount = 10;
inline constexpr int kSections = 17;
inline constexpr int kEventUnitBytes = 16;
inline constexpr int kEventMemoryUnits = 16384;

// A backing sequence or song with its share of the event memory.
template <typename Record>
struct SequenceEntry {
    Record record{};
    std::array<int, kSections> lengths{};  // section lengths in 16-byte units
    int total = 0;                         // sum of the lengths
    Bytes events;                          // total * 16 bytes

    bool IsEmpty() const { return record.IsEmpty(); }
};

using BsqEntry = SequenceEntry<BsqRecord>;
using SongEntry = SequenceEntry<SongRecord>;

}  // namespace vx
