#include "core/sequences/SequenceFiles.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "core/format/ItemFile.h"

namespace vx {

namespace {

constexpr std::size_t kRecordsStart = kSeqHeaderSize;
constexpr std::size_t kOffsetTableBytes = 2 * kSequenceCount * kSections;

constexpr std::size_t kBsqOffsetsStart = kRecordsStart + kSequenceCount * BsqRecord::kSize;
constexpr std::size_t kBsqEndOffsetAt = kBsqOffsetsStart + kOffsetTableBytes;
static_assert(kBsqEndOffsetAt + 2 == kBsqEventsStart);

constexpr std::size_t kSngValuesStart = kRecordsStart + kSequenceCount * SongRecord::kSize;
constexpr std::size_t kSngOffsetsStart = kSngValuesStart + 2 * kPatternCount;
constexpr std::size_t kSngPatternOffsetsStart = kSngOffsetsStart + kOffsetTableBytes;
constexpr std::size_t kSngEndOffsetAt = kSngPatternOffsetsStart + 2 * kPatternCount;
static_assert(kSngEndOffsetAt + 2 == kSngEventsStart);

// Where the save stores each backing sequence's total inside the header: 44 + 4 b.
constexpr std::size_t kHeaderTotalsAt = 44;

// Offsets are stored as signed 16-bit values.
LoadStatus ReadOffset(const ItemFile& file, ItemKind kind, std::size_t at, int& out) {
    std::uint16_t word = 0;
    if (!file.ReadWord(at, word)) return file.ReadFault(kind, at, 2, "the offsets");
    out = static_cast<std::int16_t>(word);
    return {};
}

LoadStatus ReadOffsetTable(const ItemFile& file, ItemKind kind, std::size_t at, OffsetTable& out) {
    for (auto& sequence : out) {
        for (int& offset : sequence) {
            if (auto read = ReadOffset(file, kind, at, offset); !read) return read;
            at += 2;
        }
    }
    return {};
}

template <typename Record>
LoadStatus ReadRecords(const ItemFile& file, ItemKind kind, std::array<SequenceEntry<Record>, kSequenceCount>& entries) {
    std::size_t at = kRecordsStart;
    for (auto& entry : entries) {
        if (!file.Read(at, Record::kSize, entry.record.bytes.data()))
            return file.ReadFault(kind, at, Record::kSize, "the names and settings");
        at += Record::kSize;
    }
    return {};
}

// The section lengths follow from the offsets (a table at tableAt); `closing` ends the last
// section of sequence 9. Offsets that go backwards cannot describe memory, so the file is refused.
template <typename Entry>
LoadStatus DeriveLengths(const ItemFile& file, ItemKind kind, std::size_t tableAt, const OffsetTable& offsets,
                         int closing, std::array<Entry, kSequenceCount>& entries) {
    for (int b = 0; b < kSequenceCount; ++b) {
        int total = 0;
        for (int k = 0; k < kSections; ++k) {
            int next = k + 1 < kSections ? offsets[b][k + 1] : (b + 1 < kSequenceCount ? offsets[b + 1][0] : closing);
            int length = next - offsets[b][k];
            if (length < 0)
                return file.Fault(kind, tableAt + 2 * static_cast<std::size_t>(b * kSections + k),
                                  "the offset " + std::to_string(offsets[b][k]) + " of section " + std::to_string(k) +
                                      " of sequence " + std::to_string(b) + " lies past the next offset, " +
                                      std::to_string(next));
            entries[b].lengths[k] = length;
            total += length;
        }
        entries[b].total = total;
    }
    return {};
}

// Reads count bytes of part at position, checked against the file before anything is allocated.
LoadStatus ReadBlock(const ItemFile& file, ItemKind kind, std::size_t& position, std::size_t count, Bytes& out,
                     const std::string& part) {
    if (position > file.Size() || count > file.Size() - position) return file.ReadFault(kind, position, count, part);
    out.clear();
    out.reserve(count);
    if (count > 0 && !file.ReadInto(position, count, out)) return file.ReadFault(kind, position, count, part);
    position += count;
    return {};
}

template <typename Entry>
LoadStatus ReadEventBlocks(const ItemFile& file, ItemKind kind, std::size_t& position,
                           std::array<Entry, kSequenceCount>& entries) {
    for (std::size_t n = 0; n < entries.size(); ++n) {
        const std::size_t bytes = static_cast<std::size_t>(entries[n].total) * kEventUnitBytes;
        if (auto read = ReadBlock(file, kind, position, bytes, entries[n].events, "the events of sequence " + std::to_string(n));
            !read)
            return read;
    }
    return {};
}

void AppendOffsetTable(Bytes& out, const OffsetTable& offsets) {
    for (const auto& sequence : offsets) {
        for (int offset : sequence) AppendWord(out, static_cast<std::uint16_t>(offset));
    }
}

template <typename Entry>
void AppendRecords(Bytes& out, const std::array<Entry, kSequenceCount>& entries) {
    for (const auto& entry : entries) entry.record.AppendTo(out);
}

template <typename Entry>
void AppendEvents(Bytes& out, const std::array<Entry, kSequenceCount>& entries) {
    for (const auto& entry : entries) AppendBytes(out, entry.events);
}

// Packs the sections from offset[0][0] on and recomputes each total; returns the end of the last section.
template <typename Entry>
int PackSections(OffsetTable& offsets, std::array<Entry, kSequenceCount>& entries) {
    int position = offsets[0][0];
    for (int b = 0; b < kSequenceCount; ++b) {
        int total = 0;
        for (int k = 0; k < kSections; ++k) {
            offsets[b][k] = position;
            position += entries[b].lengths[k];
            total += entries[b].lengths[k];
        }
        entries[b].total = total;
    }
    return position;
}

std::string ListLine(std::string_view prefix, int number, const std::string& name, int total) {
    std::string count = std::to_string(total * 4);
    if (count.size() < 5) count.insert(0, 5 - count.size(), ' ');
    return std::string(prefix) + std::to_string(number) + ": " + name + " :" + count;
}

bool ValidNumber(int number) { return number >= 0 && number < kSequenceCount; }

}  // namespace

LoadStatus LoadBsq(const ItemFile& file, SetBackingSequences& out) {
    constexpr ItemKind kKind = ItemKind::BackingSequence;
    SetBackingSequences data;
    if (!file.Read(0, kSeqHeaderSize, data.header.data())) return file.ReadFault(kKind, 0, kSeqHeaderSize, "the header");
    if (auto step = ReadRecords(file, kKind, data.entries); !step) return step;
    if (auto step = ReadOffsetTable(file, kKind, kBsqOffsetsStart, data.offsets); !step) return step;
    if (auto step = ReadOffset(file, kKind, kBsqEndOffsetAt, data.endOffset); !step) return step;
    if (auto step = DeriveLengths(file, kKind, kBsqOffsetsStart, data.offsets, data.endOffset, data.entries); !step)
        return step;

    std::size_t position = kBsqEventsStart;
    if (auto step = ReadEventBlocks(file, kKind, position, data.entries); !step) return step;
    if (auto step = ReadBlock(file, kKind, position, file.Size() - position, data.trailing, "the bytes past the events");
        !step)
        return step;
    out = std::move(data);
    return {};
}

namespace {
// The event bytes of all entries, so that a file image is sized before it is built.
template <typename Entries>
std::size_t EventBytes(const Entries& entries) {
    std::size_t bytes = 0;
    for (const auto& entry : entries) bytes += entry.events.size();
    return bytes;
}
}  // namespace

Bytes SerializeBsq(const SetBackingSequences& data) {
    Bytes out;
    out.reserve(kBsqEventsStart + EventBytes(data.entries) + data.trailing.size());
    auto header = data.header;
    for (int b = 0; b < kSequenceCount; ++b) {
        std::size_t at = kHeaderTotalsAt + 4 * static_cast<std::size_t>(b);
        auto total = static_cast<std::uint16_t>(data.entries[b].total);
        header[at] = static_cast<std::uint8_t>(total & 0xFF);
        header[at + 1] = static_cast<std::uint8_t>(total >> 8);
    }
    AppendBytes(out, header.data(), header.size());
    AppendRecords(out, data.entries);
    AppendOffsetTable(out, data.offsets);
    AppendWord(out, static_cast<std::uint16_t>(data.endOffset));
    AppendEvents(out, data.entries);
    AppendBytes(out, data.trailing);
    return out;
}

LoadStatus LoadSng(const ItemFile& file, SetSongs& out) {
    constexpr ItemKind kKind = ItemKind::Song;
    SetSongs data;
    if (!file.Read(0, kSeqHeaderSize, data.header.data())) return file.ReadFault(kKind, 0, kSeqHeaderSize, "the header");
    if (auto step = ReadRecords(file, kKind, data.entries); !step) return step;
    if (!file.Read(kSngValuesStart, data.values.size(), data.values.data()))
        return file.ReadFault(kKind, kSngValuesStart, data.values.size(), "the table of values");
    if (auto step = ReadOffsetTable(file, kKind, kSngOffsetsStart, data.offsets); !step) return step;
    for (int p = 0; p < kPatternCount; ++p) {
        if (auto step =
                ReadOffset(file, kKind, kSngPatternOffsetsStart + 2 * static_cast<std::size_t>(p), data.patternOffsets[p]);
            !step)
            return step;
    }
    if (auto step = ReadOffset(file, kKind, kSngEndOffsetAt, data.endOffset); !step) return step;
    if (auto step = DeriveLengths(file, kKind, kSngOffsetsStart, data.offsets, SongsEnd(data), data.entries); !step)
        return step;

    std::size_t position = kSngEventsStart;
    if (auto step = ReadEventBlocks(file, kKind, position, data.entries); !step) return step;
    // Files saved after a song edit carry no pattern bytes, or fewer than the offsets promise;
    // what is there is kept, and whatever follows it is carried as trailing bytes.
    const std::size_t remaining = file.Size() - position;
    const std::size_t patternBytes =
        std::min(static_cast<std::size_t>(PatternRegionUnits(data)) * kEventUnitBytes, remaining);
    if (auto step = ReadBlock(file, kKind, position, patternBytes, data.patternData, "the patterns"); !step) return step;
    if (auto step = ReadBlock(file, kKind, position, file.Size() - position, data.trailing, "the bytes past the events");
        !step)
        return step;
    out = std::move(data);
    return {};
}

Bytes SerializeSng(const SetSongs& data) {
    Bytes out;
    out.reserve(kSngEventsStart + EventBytes(data.entries) + data.patternData.size() + data.trailing.size());
    AppendBytes(out, data.header.data(), data.header.size());
    AppendRecords(out, data.entries);
    AppendBytes(out, data.values.data(), data.values.size());
    AppendOffsetTable(out, data.offsets);
    for (int offset : data.patternOffsets) AppendWord(out, static_cast<std::uint16_t>(offset));
    AppendWord(out, static_cast<std::uint16_t>(data.endOffset));
    AppendEvents(out, data.entries);
    AppendBytes(out, data.patternData);
    AppendBytes(out, data.trailing);
    return out;
}

void RebuildOffsets(SetBackingSequences& data) { data.endOffset = PackSections(data.offsets, data.entries); }

int SongsEnd(const SetSongs& data) {
    const int lastStart = data.offsets[kSequenceCount - 1][kSections - 1];
    const int patterns = data.patternOffsets[0];
    // A save after a song edit stores the songs' end as the end offset and leaves the pattern
    // table as it was, so the songs end at whichever of the two comes first; an end that lies
    // before the last section's start cannot close it, and the other value is taken.
    const int first = std::min(patterns, data.endOffset), second = std::max(patterns, data.endOffset);
    return first >= lastStart ? first : second;
}

int PatternUnits(const SetSongs& data) { return std::max(data.endOffset - data.patternOffsets[0], 0); }

int PatternRegionUnits(const SetSongs& data) {
    return std::max(data.endOffset - std::max(data.patternOffsets[0], SongsEnd(data)), 0);
}

void RebuildOffsets(SetSongs& data) {
    const int patternUnits = PatternRegionUnits(data);
    const int songsEnd = PackSections(data.offsets, data.entries);
    // The pattern region follows the songs: the pattern table moves with the songs' new end,
    // keeping its spacing, and the end offset closes the pattern memory behind it.
    const int delta = songsEnd - data.patternOffsets[0];
    for (int& offset : data.patternOffsets) offset += delta;
    data.endOffset = songsEnd + patternUnits;
}

SongTables TablesOf(const SetSongs& data) {
    SongTables tables;
    const int start = data.offsets[0][0];
    tables.values = data.values;
    for (std::size_t p = 0; p < tables.patternOffsets.size(); ++p)
        tables.patternOffsets[p] = data.patternOffsets[p] - start;
    tables.endOffset = data.endOffset - start;
    return tables;
}

void PutTables(SetSongs& data, const SongTables& tables) {
    const int start = data.offsets[0][0];
    data.values = tables.values;
    for (std::size_t p = 0; p < tables.patternOffsets.size(); ++p)
        data.patternOffsets[p] = tables.patternOffsets[p] + start;
    data.endOffset = tables.endOffset + start;
}

EventCounters CountEvents(const SetBackingSequences& bsq, const SetSongs& sng) {
    EventCounters counters;
    for (const auto& entry : bsq.entries) counters.backSeqs += entry.total;
    for (const auto& entry : sng.entries) counters.songs += entry.total;
    counters.patterns = PatternUnits(sng);
    return counters;
}

std::string BsqListLine(const SetBackingSequences& bsq, int number) {
    if (!ValidNumber(number)) return {};
    const auto& entry = bsq.entries[number];
    return ListLine("BSeq ", number, entry.record.Name(), entry.total);
}

std::string SongListLine(const SetSongs& sng, int number) {
    if (!ValidNumber(number)) return {};
    const auto& entry = sng.entries[number];
    return ListLine("Song ", number, entry.record.Name(), entry.total);
}

std::array<std::string, 5> CounterLabels(const EventCounters& counters) {
    return {"BackSeqs: " + std::to_string(counters.backSeqs * 4), "Songs: " + std::to_string(counters.songs * 4),
            "Patterns: " + std::to_string(counters.patterns * 4), "Total: " + std::to_string(counters.Total() * 4),
            "Free: " + std::to_string(counters.Free() * 4)};
}

}  // namespace vx
