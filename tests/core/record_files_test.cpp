// The set's record files: what a save writes where, files written here byte by byte from the
// layouts as another program would write them, and the files a load refuses.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <numeric>
#include <random>
#include <tuple>
#include <utility>

#include "core/arrangements/ArrangementFile.h"
#include "core/calls/CallSites.h"
#include "core/catalogue/Catalogue.h"
#include "core/format/ItemFile.h"
#include "core/globals/GlobalFiles.h"
#include "core/kbdsets/KbdSetFile.h"
#include "core/programs/ProgramFile.h"
#include "core/sequences/SequenceFiles.h"
#include "core/storage/SetData.h"
#include "core/styles/StyleFile.h"
#include "core/styles/StyleRecord.h"
#include "core/text/Helpers.h"
#include "support/Golden.h"
#include "support/SetBuilder.h"

namespace vx {
namespace {

using Lengths = std::array<std::array<int, kSections>, kSequenceCount>;

constexpr ItemKind kRecordKinds[] = {ItemKind::Arrangement,       ItemKind::Style, ItemKind::Program,
                                     ItemKind::BackingSequence,   ItemKind::Song,  ItemKind::KbdSet,
                                     ItemKind::ArrangementGlobal, ItemKind::Global};

void StoreWord(Bytes& bytes, std::size_t at, int value) {
    bytes[at] = static_cast<std::uint8_t>(value & 0xFF);
    bytes[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}
// The file with a word or a byte replaced, bytes added, or cut to size.
Bytes With(Bytes file, std::size_t at, int word) {
    StoreWord(file, at, word);
    return file;
}
Bytes WithByte(Bytes file, std::size_t at, std::uint8_t value) {
    file[at] = value;
    return file;
}
Bytes Plus(Bytes file, const Bytes& more) {
    file.insert(file.end(), more.begin(), more.end());
    return file;
}
Bytes Cut(const Bytes& file, std::size_t size) { return Bytes(file.begin(), file.begin() + static_cast<long>(size)); }
Bytes Count(int from, int to) {
    Bytes bytes;
    for (int i = from; i <= to; ++i) bytes.push_back(static_cast<std::uint8_t>(i));
    return bytes;
}

// An empty set's file of a kind with the header's data length (at 24) replaced.
Bytes EmptyWithLength(ItemKind kind, int dataLength) {
    return With(SerializeKind(test::EmptySet(), kind), 24, dataLength);
}

// A style file of chosen slot sizes (0 = unused), record bytes all 0x11, event bytes 0x22.
Bytes StyFile(const std::vector<int>& sizes, std::uint8_t count = 48) {
    Bytes bytes(21, 0);
    bytes.push_back(count);
    for (int slot = 0; slot < 48; ++slot) {
        const int size = slot < static_cast<int>(sizes.size()) ? sizes[static_cast<std::size_t>(slot)] : 0;
        bytes.insert(bytes.end(), {static_cast<std::uint8_t>(slot), static_cast<std::uint8_t>(size > 0 ? 1 : 0),
                                   static_cast<std::uint8_t>(size & 0xFF), static_cast<std::uint8_t>(size >> 8)});
    }
    bytes.resize(224, 0);
    for (int size : sizes) {
        if (size <= 0) continue;
        bytes.insert(bytes.end(), 70, 0x11);
        if (size > 70) bytes.insert(bytes.end(), static_cast<std::size_t>(size - 70), 0x22);
    }
    return bytes;
}

Lengths RandomLengths(std::mt19937& random) {
    Lengths lengths{};
    for (auto& sequence : lengths)
        for (int& length : sequence) length = static_cast<int>(random() % 4);
    return lengths;
}

int TotalOf(const Lengths& lengths, int b) { return std::accumulate(lengths[b].begin(), lengths[b].end(), 0); }

// A .BSQ image of random bytes, its offsets packing the sections from start and its header's totals
// matching, so a load and save reproduce it; trailing random bytes follow the events.
Bytes BsqFile(std::mt19937& random, const Lengths& lengths, int start, std::size_t trailing) {
    int units = 0;
    for (int b = 0; b < kSequenceCount; ++b) units += TotalOf(lengths, b);
    Bytes file(static_cast<std::size_t>(kBsqEventsStart + units * 16) + trailing);
    for (auto& byte : file) byte = static_cast<std::uint8_t>(random());
    std::size_t at = 2396;
    int position = start;
    for (int b = 0; b < kSequenceCount; ++b) {
        StoreWord(file, 44 + 4 * static_cast<std::size_t>(b), TotalOf(lengths, b));
        for (int length : lengths[b])
            StoreWord(file, std::exchange(at, at + 2), std::exchange(position, position + length));
    }
    StoreWord(file, at, position);
    return file;
}

// A song file as the instrument's own save writes it, word by word from the layout: header,
// ten records, the 100 values, the song offsets from `start`, the pattern offsets (all
// `patternStart`), the end offset, the song events, then `extra` bytes (pattern bytes or not).
Bytes SongFileAsSaved(const Lengths& lengths, int start, int patternStart, int end, std::size_t extra) {
    Bytes file(static_cast<std::size_t>(kSngEventsStart));
    std::copy_n("VEMOX", 5, file.begin());
    file[6] = 1;
    for (std::size_t s = 0; s < 10; ++s) {
        std::fill_n(file.begin() + 96 + 318 * static_cast<long>(s) + 54, 16, 'A' + s);
        file[96 + 318 * s + 52] = static_cast<std::uint8_t>(s + 1);  // next song
    }
    for (std::size_t v = 0; v < 200; ++v) file[3276 + v] = static_cast<std::uint8_t>(v);
    std::size_t at = 3476;
    int position = start;
    for (const auto& song : lengths)
        for (int length : song) StoreWord(file, std::exchange(at, at + 2), std::exchange(position, position + length));
    for (int p = 0; p < kPatternCount; ++p) StoreWord(file, std::exchange(at, at + 2), patternStart);
    StoreWord(file, at, end);
    for (int unit = 0; unit < position - start; ++unit)
        for (int i = 0; i < 16; ++i) file.push_back(static_cast<std::uint8_t>(unit * 3 + i));
    for (std::size_t i = 0; i < extra; ++i) file.push_back(static_cast<std::uint8_t>(0xE0 + i % 16));
    return file;
}

std::string Slice(const Bytes& bytes, std::size_t at, std::size_t count) {
    return at + count <= bytes.size()
               ? HexDump(Bytes(bytes.begin() + static_cast<long>(at), bytes.begin() + static_cast<long>(at + count)))
               : "past the end";
}

// Where a save puts each part: the file sizes of an empty set, and chosen fields at their offsets,
// in records/offsets.txt. A style file ends where its last slot's data does.
TEST(RecordFiles, SavesPutEachPartAtItsOffset) {
    std::string out = "sizes:";
    for (ItemKind kind : kRecordKinds) out += " " + std::to_string(SerializeKind(test::EmptySet(), kind).size());
    const struct {
        const char* what;
        ItemKind kind;
        std::function<void(SetData&)> change;
        std::size_t at, count;
    } cases[] = {
        {"arrangement data length", ItemKind::Arrangement, [](SetData&) {}, 24, 2},
        {"last arrangement's name", ItemKind::Arrangement, [](SetData& s) { s.arr.arr[127].SetName("LAST ONE"); },
         32 + 164 * 127, 9},
        {"a style number at the odd offset 17", ItemKind::Arrangement,
         [](SetData& s) { s.arr.arr[1].SetStyle(0x1234); }, 32 + 164 + 17, 2},
        {"last program's name", ItemKind::Program, [](SetData& s) { s.prg.records[127].SetName("G88"); },
         48 + 172 * 127, 4},
        {"last drum kit's name", ItemKind::Program, [](SetData& s) { s.prg.records[135].SetName("R58 KIT"); },
         22064 + 172 * 7, 8},
        {"first drum kit's first byte", ItemKind::Program, [](SetData& s) { s.prg.drumKits[0][0] = 0xD0; }, 23440, 1},
        {"last drum kit's last byte", ItemKind::Program, [](SetData& s) { s.prg.drumKits[7][879] = 0xD7; }, 30479, 1},
        {"a KBD set's split", ItemKind::KbdSet, [](SetData& s) { s.ark.records[63].SetSplit(60); }, 32 + 56 * 63 + 1,
         1},
        {"a KBD set track's program R51", ItemKind::KbdSet,
         [](SetData& s) { s.ark.records[63].SetTrackProgram(4, 1056); }, 32 + 56 * 63 + 48, 2},
        {"an empty set's style file is the directory alone", ItemKind::Style, [](SetData&) {}, 21, 203},
        {"a blank style without events is written at its full size", ItemKind::Style,
         [](SetData& s) {
             s.sty.slots[3].used = 1;
             s.sty.slots[3].size = 1176;
         },
         224 + 70, 1106},
    };
    for (const auto& c : cases) {
        SetData set = test::EmptySet();
        c.change(set);
        const Bytes bytes = SerializeKind(set, c.kind);
        out += std::string("\n") + c.what + " at " + std::to_string(c.at) + ": " + Slice(bytes, c.at, c.count);
        if (c.kind == ItemKind::Style) out += "| file size " + std::to_string(bytes.size());
    }
    out += "\n";
    EXPECT_EQ(out, test::Golden("records/offsets.txt", out));
}

// Files written here from the layouts load as they say (records/layouts.txt) and save back unchanged.
TEST(RecordFiles, FilesWrittenFromTheLayoutsLoadAsTheySay) {
    const auto tails = [](const auto& records) { return HexDump(records.tail) + "| " + HexDump(records.trailing); };
    // What a load read, of the kind: tails and trailing bytes, the global record, or the style slots.
    const auto probe = [&](const SetData& s, ItemKind kind) {
        if (kind == ItemKind::Arrangement) return tails(s.arr);
        if (kind == ItemKind::KbdSet) return tails(s.ark);
        if (kind == ItemKind::ArrangementGlobal)
            return std::to_string(s.arg.record.Byte(0)) + " " + std::to_string(s.arg.record.Byte(47));
        std::string text = std::to_string(s.sty.blockCount) + " blocks;";
        for (int slot = 0; slot < 5; ++slot) {
            const StyleSlot& style = s.sty.slots[static_cast<std::size_t>(slot)];
            text += " " + std::to_string(style.size) + "/" + std::to_string(style.events.size());
        }
        return text + "; " + HexDump(s.sty.slots[1].events) + "| " + HexDump(s.sty.trailing);
    };
    // Six slots: one block is read, the entries of slots 4 and 5 stay in the gap. No slots: byte
    // 22 is gap, not slot 0's slot byte. An unused entry carrying size bytes, and bytes after the data.
    const Bytes six = WithByte(WithByte(StyFile({}, 6), 22 + 4 * 4 + 1, 1), 22 + 4 * 4 + 2, 0x99);
    const Bytes idle = Plus(WithByte(WithByte(StyFile({100}), 22 + 4 * 2 + 2, 0x34), 22 + 4 * 2 + 3, 0x12), {9, 8, 7});
    const struct {
        const char* what;
        ItemKind kind;
        Bytes file;
    } cases[] = {
        {"arrangements: a tail of 3 to the data length, then trailing bytes", ItemKind::Arrangement,
         Plus(EmptyWithLength(ItemKind::Arrangement, 20992 + 3), Count(1, 7))},
        {"KBD sets: no tail", ItemKind::KbdSet, Plus(EmptyWithLength(ItemKind::KbdSet, 3584), Count(1, 2))},
        {"KBD sets: a tail of 6", ItemKind::KbdSet, Plus(EmptyWithLength(ItemKind::KbdSet, 3590), Count(1, 8))},
        {"KBD sets: a length below the records", ItemKind::KbdSet,
         Plus(EmptyWithLength(ItemKind::KbdSet, 100), Count(1, 1))},
        {"KBD sets: a negative length", ItemKind::KbdSet, EmptyWithLength(ItemKind::KbdSet, -5)},
        {"arrangement global: the record lies after the 32-byte header", ItemKind::ArrangementGlobal, Count(0, 79)},
        {"styles: data follows the directory in slot order", ItemKind::Style, StyFile({0, 80, 0, 70, 1180})},
        {"styles: six slots", ItemKind::Style, six},
        {"styles: no slots", ItemKind::Style, WithByte(StyFile({}, 0), 22, 0x55)},
        {"styles: an idle entry with a size, and trailing bytes", ItemKind::Style, idle},
    };
    std::string out;
    for (const auto& c : cases) {
        SetData loaded;
        ASSERT_TRUE(LoadKind(ItemFile("T", c.file), c.kind, loaded)) << c.what;
        out += std::string(c.what) + ":\n  " + probe(loaded, c.kind) + "\n";
        if (c.kind != ItemKind::ArrangementGlobal) {
            EXPECT_EQ(SerializeKind(loaded, c.kind), c.file) << c.what;
        }
    }
    EXPECT_EQ(out, test::Golden("records/layouts.txt", out));
}

// Files a load refuses: the set it was to go into stays as it was, every kind of it.
TEST(RecordFiles, RefusedFilesLeaveTheSetAlone) {
    std::mt19937 random(9);
    const Lengths lengths = RandomLengths(random);
    const Bytes bsq = BsqFile(random, lengths, 8192, 0);
    int songsEnd = 8192;
    for (int s = 0; s < kSequenceCount; ++s) songsEnd += TotalOf(lengths, s);
    const Bytes sng = SongFileAsSaved(lengths, 8192, songsEnd, songsEnd + 4, 64);
    const Bytes prg = SerializeKind(test::EmptySet(), ItemKind::Program);
    const auto arr = [](int dataLength, std::size_t size) {
        Bytes bytes = EmptyWithLength(ItemKind::Arrangement, dataLength);
        bytes.resize(size, 0xAA);
        return bytes;
    };
    const auto ark = [](int dataLength, const Bytes& after) {
        return Plus(EmptyWithLength(ItemKind::KbdSet, dataLength), after);
    };
    std::vector<std::tuple<std::string, ItemKind, Bytes>> cases = {
        {"arrangements: a length below the records", ItemKind::Arrangement, arr(20991, 21024)},
        {"arrangements: a negative length", ItemKind::Arrangement, arr(-1, 21024)},
        {"arrangements: a zero length", ItemKind::Arrangement, arr(0, 21024)},
        {"arrangements: a tail beyond the file", ItemKind::Arrangement, arr(20992 + 10, 21024 + 9)},
        {"arrangements: the largest length", ItemKind::Arrangement, arr(32767, 21024)},
        {"arrangements: the records cut", ItemKind::Arrangement, arr(20992, 21023)},
        {"arrangements: a header only", ItemKind::Arrangement, arr(20992, 32)},
        {"arrangements: less than a header", ItemKind::Arrangement, arr(20992, 20)},
        {"programs: the header only", ItemKind::Program, Cut(prg, 48)},
        {"programs: no drum kits", ItemKind::Program, Cut(prg, 23440)},
        {"programs: the last drum kit cut", ItemKind::Program, Cut(prg, 30479)},
        {"styles: 49 slots", ItemKind::Style, StyFile({}, 49)},
        {"styles: 255 slots", ItemKind::Style, StyFile({}, 255)},
        {"styles: a slot byte not the slot number", ItemKind::Style, WithByte(StyFile({100}), 22 + 4 * 5, 6)},
        {"styles: used with size 69", ItemKind::Style, StyFile({69})},
        {"styles: used with size 0", ItemKind::Style, WithByte(StyFile({}), 22 + 1, 1)},
        {"styles: data past the end", ItemKind::Style, WithByte(StyFile({100, 200}), 22 + 4 + 2, 201)},
        {"styles: the directory cut", ItemKind::Style, Cut(StyFile({}), 223)},
        {"styles: no directory", ItemKind::Style, Bytes(21, 0)},
        {"KBD sets: a tail one byte short", ItemKind::KbdSet, ark(3590, {1, 2, 3, 4, 5})},
        {"KBD sets: the largest length", ItemKind::KbdSet, ark(32767, {})},
        {"KBD sets: the records cut", ItemKind::KbdSet, Bytes(32 + 3583, 0)},
        {"KBD sets: a header only", ItemKind::KbdSet, Bytes(32, 0)},
        {"arrangement global: one byte short", ItemKind::ArrangementGlobal, Bytes(79, 1)},
        {"global: one byte short", ItemKind::Global, Bytes(447, 1)},
        {"backing sequences: an offset below the one before", ItemKind::BackingSequence,
         With(bsq, 2396 + 2 * (3 * kSections + 5), 8191)},
        {"backing sequences: the end below the last section", ItemKind::BackingSequence, With(bsq, 2736, 8187)},
        {"backing sequences: the end negative as stored", ItemKind::BackingSequence, With(bsq, 2736, 0x8000)},
        {"backing sequences: the end far past the file", ItemKind::BackingSequence, With(bsq, 2736, 0x7FFF)},
        {"backing sequences: the last block cut short", ItemKind::BackingSequence, Cut(bsq, bsq.size() - 1)},
        {"backing sequences: no end offset", ItemKind::BackingSequence, Cut(bsq, 2737)},
        {"songs: an offset below the one before", ItemKind::Song, With(sng, 3476 + 2 * 50, 100)},
        {"songs: events cut short", ItemKind::Song, Cut(sng, static_cast<std::size_t>(kSngEventsStart) + 16)},
        {"songs: a section far past the file", ItemKind::Song, With(With(sng, 3476 + 2 * 169, 0x7000), 4016, 0x7000)},
        {"songs: a pattern offset and the end before the last section", ItemKind::Song,
         With(With(sng, 3816, 8000), 4016, 8000)},
        {"songs: short pattern offsets", ItemKind::Song, Cut(sng, 4015)},
    };
    for (ItemKind kind : kRecordKinds)
        cases.emplace_back(std::string(KindName(kind)) + ": 20 zero bytes", kind, Bytes(20, 0));

    const SetData before = test::RandomSet(4);
    std::string reasons;  // each shows as the detail line of "Error getting <kind> data."
    for (const auto& [what, kind, file] : cases) {
        SetData data = before;
        const LoadStatus loaded = LoadKind(ItemFile("T", file), kind, data);
        ASSERT_FALSE(loaded) << what;
        EXPECT_EQ(loaded.Error().kind, kind) << what;
        reasons += what + "\n  " + loaded.Error().Text() + "\n";
        for (ItemKind other : kRecordKinds) EXPECT_EQ(SerializeKind(data, other), SerializeKind(before, other)) << what;
    }
    EXPECT_EQ(reasons, test::Golden("records/refused.txt", reasons));
    SetData data;
    EXPECT_FALSE(LoadKind(ItemFile("T.XAF", Bytes(100, 0)), ItemKind::XStyleArrangement, data));
    EXPECT_TRUE(SerializeKind(data, ItemKind::XStyleStyle).empty());
}

// Backing sequence files of random bytes with their offsets starting anywhere and bytes after the data.
TEST(RecordFiles, BackingSequenceFilesTakeTheirLengthsFromTheOffsetsAndRoundTrip) {
    std::mt19937 random(7);
    for (std::size_t trailing : {std::size_t{0}, std::size_t{37}}) {
        Lengths lengths = RandomLengths(random);
        lengths[4].fill(0);
        lengths[9][16] = 300;  // a total that needs the high byte
        const Bytes file = BsqFile(random, lengths, -100, trailing);
        SetBackingSequences bsq;
        ASSERT_TRUE(LoadBsq(ItemFile("X.BSQ", file), bsq));
        for (int b = 0; b < kSequenceCount; ++b) EXPECT_EQ(bsq.entries[b].lengths, lengths[b]);
        EXPECT_EQ(bsq.entries[3].record.Name(), std::string(file.begin() + 96 + 230 * 3, file.begin() + 112 + 230 * 3));
        EXPECT_EQ(SerializeBsq(bsq), file);
        // Lengths come from the offsets only; the save rewrites the header's totals, not the bytes after.
        Bytes stale = file;
        for (std::size_t at = 44; at < 84; at += 4) stale = With(stale, at, 0x5A5A);
        ASSERT_TRUE(LoadBsq(ItemFile("X.BSQ", stale), bsq));
        EXPECT_EQ(SerializeBsq(bsq), file);
    }
}

TEST(RecordFiles, SongFilesWithoutOrWithFewerPatternBytesLoadAndSaveBackUnchanged) {
    Lengths lengths{};
    lengths[0] = {2, 0, 1};
    lengths[6][4] = 3;
    lengths[9][16] = 4;
    const int songsEnd = 8192 + 10;
    const struct {
        const char* what;
        int patternStart, end;
        std::size_t extra;
        std::size_t patternBytes;
        int patternsCounted;
    } cases[] = {
        {"fresh: patterns start at the songs' end, none stored", songsEnd, songsEnd, 0, 0, 0},
        {"offsets promise 6 pattern units, the file holds none", songsEnd, songsEnd + 6, 0, 0, 6},
        {"offsets promise 6 pattern units, the file holds 2 and a half", songsEnd, songsEnd + 6, 40, 40, 6},
        {"all 6 pattern units, then 5 trailing bytes", songsEnd, songsEnd + 6, 101, 96, 6},
        {"saved after songs shrank: end below the stale pattern offsets", songsEnd + 30, songsEnd, 0, 0, 0},
        {"the same with trailing bytes", songsEnd + 30, songsEnd, 7, 0, 0},
        {"saved after songs grew: patterns before song 9's last section", 8192 + 3, songsEnd, 0, 0, 7},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Bytes file = SongFileAsSaved(lengths, 8192, c.patternStart, c.end, c.extra);
        SetSongs songs;
        ASSERT_TRUE(LoadSng(ItemFile("X.SNG", file), songs));
        for (int s = 0; s < kSequenceCount; ++s) EXPECT_EQ(songs.entries[s].lengths, lengths[s]) << s;
        EXPECT_EQ(songs.entries[9].events.size(), 64u);
        EXPECT_EQ(songs.entries[9].events[0], 18);  // unit 6 of the song memory
        EXPECT_EQ(songs.patternData.size(), c.patternBytes);
        EXPECT_EQ(songs.patternData.size() + songs.trailing.size(), c.extra);
        EXPECT_EQ(CountEvents(SetBackingSequences{}, songs).patterns, c.patternsCounted);
        EXPECT_EQ(SongListLine(songs, 0), "Song 0: AAAAAAAAAAAAAAAA :   12");
        EXPECT_EQ(SerializeSng(songs), file);
    }
}

TEST(RecordFiles, RecordFieldsReadTheStoredBytes) {
    ArrangementRecord record;
    // Track 2's block starts at 39 + 16; bit 7 of its second byte is not part of the number.
    record.SetByte(56, 0x80);
    record.SetByte(57, 0x5A);
    EXPECT_EQ(record.TrackProgram(2), 0);
    // Written by the record, or by a parameter dialog through the writer of every rewrite, the flag stays.
    record.SetTrackProgram(2, 768);
    EXPECT_EQ(std::tuple(record.Byte(55), record.Byte(56), record.Byte(57)), std::tuple(0x00, 0x83, 0x5A));
    // An arrangement track, a style track and an arrangement's style.
    StyleRecord style;
    style.SetByte(47 + 4 * 3, 0x80);
    EXPECT_TRUE(SetCall(record, ItemKind::Arrangement, ItemKind::Program, 2, 0x1FF) &&
                SetCall(style, ItemKind::Style, ItemKind::Program, 3, 0x7F01) &&
                SetCall(record, ItemKind::Arrangement, ItemKind::Style, -1, 0x8001));
    EXPECT_EQ(HexDump(Bytes{record.Byte(55), record.Byte(56), style.Byte(58), style.Byte(59), record.Byte(17),
                            record.Byte(18)}),
              "FF 81 01 FF 01 80 ");
    EXPECT_FALSE(SetCall(record, ItemKind::Arrangement, ItemKind::Program, 11, 5)) << "there is no twelfth track";

    // A chain number above 9 reads as 0 and is kept.
    for (const auto& [stored, shown] : {std::pair{0, 0}, {9, 9}, {10, 0}, {255, 0}}) {
        BsqRecord bsq;
        SongRecord song;
        bsq.SetByte(79, static_cast<std::uint8_t>(stored));
        song.SetByte(52, static_cast<std::uint8_t>(stored));
        EXPECT_EQ(std::tuple(bsq.Next(), bsq.NextRaw(), song.Next(), song.NextRaw()),
                  std::tuple(shown, stored, shown, stored));
    }
}

// Style events count per block of four, truncated toward zero, and a block's free events; the list
// lines of backing sequences and songs, long names and large totals, and the counters: records/counts.txt.
TEST(RecordFiles, StyleEventCountsListLinesAndCounters) {
    std::string out = "events of a style of size:";
    SetStyles styles;
    styles.slots[10].used = 1;
    for (int size : {70, 1171, 1175, 1176, 1183, 65535}) {
        styles.slots[10].size = static_cast<std::uint16_t>(size);
        out += " " + std::to_string(size) + "=" + std::to_string(StyleEventsUsed(styles, 10));
    }
    styles.slots[10] = StyleSlot{};
    out += "; no style " + std::to_string(StyleEventsUsed(styles, 10)) + "\nfree events of slots 3 to 8:";
    StyleSlot full;
    full.used = 1;
    full.size = 1176 + 4 * 1000;  // 1000 events
    styles.slots.fill(full);
    styles.slots[4].size = 1176 + 4 * 100;
    styles.slots[5].size = 70;
    styles.slots[6] = StyleSlot{};
    styles.slots[7].size = 1176 + 4 * 3;
    for (int slot = 3; slot <= 8; ++slot) out += " " + std::to_string(BlockEventsFree(styles, slot));

    SetBackingSequences bsq;
    SetSongs songs;
    bsq.entries[0].record.SetName("Short");
    bsq.entries[1].record.SetName("Long");
    bsq.entries[3].record.SetName("Intro Groove");
    bsq.entries[0].total = 25;
    bsq.entries[1].total = 30000;
    songs.entries[2].record.SetName("A very long song name");
    songs.entries[2].total = 7;
    songs.entries[9].record.SetName("");
    songs.endOffset += 40;
    for (int b : {0, 1, 3, 10}) out += "\n" + BsqListLine(bsq, b);  // there is no backing sequence 10
    for (int s : {2, 9}) out += "\n" + SongListLine(songs, s);
    for (const std::string& label : CounterLabels(CountEvents(bsq, songs))) out += "\n" + label;
    out += "\n";
    EXPECT_EQ(out, test::Golden("records/counts.txt", out));
}

// A file whose pattern table was left behind by a save after the songs shrank: an edit brings the
// table to the songs' new end, with no pattern memory behind it.
TEST(RecordFiles, RebuildAfterAnEditBringsAStalePatternTableToTheSongsEnd) {
    SetSongs songs, reloadedSongs;
    Lengths few{};
    few[1][3] = 5;
    ASSERT_TRUE(LoadSng(ItemFile("X.SNG", SongFileAsSaved(few, 8192, 8192 + 40, 8192 + 5, 0)), songs));
    songs.entries[1].lengths[3] = 2;
    songs.entries[1].events.resize(32);
    RebuildOffsets(songs);
    EXPECT_EQ(std::tuple(songs.patternOffsets[0], songs.patternOffsets[99], songs.endOffset),
              std::tuple(8194, 8194, 8194));
    ASSERT_TRUE(LoadSng(ItemFile("X.SNG", SerializeSng(songs)), reloadedSongs));
    EXPECT_EQ(reloadedSongs.entries[1].lengths[3], 2);
    EXPECT_EQ(CountEvents(SetBackingSequences{}, reloadedSongs).songs, 2);
}

}  // namespace
}  // namespace vx
