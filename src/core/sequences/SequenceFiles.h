#pragma once

#include <algorithm>
#include <array>
#include <string>

#include "core/format/LoadError.h"
#include "core/sequences/SequenceRecords.h"

namespace vx {

class ItemFile;

inline constexpr int kSeqHeaderSize = 96;
inline constexpr int kBsqEventsStart = 2738;
inline constexpr int kSngEventsStart = 4018;
inline constexpr int kPatternCount = 100;

using OffsetTable = std::array<std::array<int, kSections>, kSequenceCount>;

// A set's .BSQ file in memory.
struct SetBackingSequences {
    std::array<std::uint8_t, kSeqHeaderSize> header{};
    std::array<BsqEntry, kSequenceCount> entries{};
    OffsetTable offsets{};
    int endOffset = 0;
    Bytes trailing;  // bytes past the last event block, kept as read
};

// A set's .SNG file in memory.
struct SetSongs {
    std::array<std::uint8_t, kSeqHeaderSize> header{};
    std::array<SongEntry, kSequenceCount> entries{};
    std::array<std::uint8_t, 2 * kPatternCount> values{};  // the 100 values before the offsets, kept as read
    OffsetTable offsets{};
    std::array<int, kPatternCount> patternOffsets{};
    int endOffset = 0;
    Bytes patternData;  // up to PatternRegionUnits * 16 bytes after the song events, as many as the file holds
    Bytes trailing;     // bytes past the pattern data, kept as read
};

LoadStatus LoadBsq(const ItemFile& file, SetBackingSequences& out);
// Writes the ten totals into the header (offsets 44 + 4 b) as the file stores them.
Bytes SerializeBsq(const SetBackingSequences& data);
// Loads a song file whatever pattern bytes it carries: none, fewer than the offsets say, or
// with an end offset below the first pattern offset (as a save after a song edit leaves it).
// Only offsets that go backwards or events past the end of the file fail the load.
LoadStatus LoadSng(const ItemFile& file, SetSongs& out);
Bytes SerializeSng(const SetSongs& data);

// Packs the sections back to back from the first one's start after an edit; the end offset
// follows. For songs the pattern offsets and the end offset move with the songs' new end,
// so the pattern region stays where the offsets say it is.
void RebuildOffsets(SetBackingSequences& data);
void RebuildOffsets(SetSongs& data);

// Where the last song section ends: the first pattern offset, or the end offset when that
// lies below it (the pattern table of a file saved after a song edit is stale).
int SongsEnd(const SetSongs& data);
// The pattern memory the counters show, in units: end offset minus first pattern offset, and 0
// where a save after a song edit left the end offset below the first pattern offset.
int PatternUnits(const SetSongs& data);
// The pattern memory behind the songs' end, in units: from the first pattern offset, or from the
// songs' end when they reach past it, to the end offset; never below 0. The pattern bytes a file
// carries and the room an edit keeps for them.
int PatternRegionUnits(const SetSongs& data);

// What the song file holds beside its songs: the table of 100 values and the pattern map, the
// map counted from where the songs start, so that it can be put where the songs start elsewhere.
struct SongTables {
    std::array<std::uint8_t, 2 * kPatternCount> values{};
    std::array<int, kPatternCount> patternOffsets{};
    int endOffset = 0;
    int PatternUnits() const { return std::max(endOffset - patternOffsets[0], 0); }
};
SongTables TablesOf(const SetSongs& data);
void PutTables(SetSongs& data, const SongTables& tables);

// The five counters, in 16-byte units (shown multiplied by 4 as events).
struct EventCounters {
    int backSeqs = 0;
    int songs = 0;
    int patterns = 0;
    int Total() const { return backSeqs + songs + patterns; }
    int Free() const { return kEventMemoryUnits - Total(); }
};
EventCounters CountEvents(const SetBackingSequences& bsq, const SetSongs& sng);

// List lines: "BSeq 0: NAME             :    0" and "Song 0: ...".
std::string BsqListLine(const SetBackingSequences& bsq, int number);
std::string SongListLine(const SetSongs& sng, int number);
// The five labels: "BackSeqs: 0", "Songs: 0", "Patterns: 0", "Total: 0", "Free: 65536".
std::array<std::string, 5> CounterLabels(const EventCounters& counters);

}  // namespace vx
