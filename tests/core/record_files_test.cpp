// The set's record files: what a save writes where, files written here byte by byte from the
// layouts as another program would write them, and the set a refused file leaves alone. What each
// load refuses and what it takes from the offsets of the sequence files: tool/records.txt.
#include <gtest/gtest.h>

#include <functional>
#include <tuple>

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

constexpr ItemKind kRecordKinds[] = {ItemKind::Arrangement,       ItemKind::Style, ItemKind::Program,
                                     ItemKind::BackingSequence,   ItemKind::Song,  ItemKind::KbdSet,
                                     ItemKind::ArrangementGlobal, ItemKind::Global};

void StoreWord(Bytes& bytes, std::size_t at, int value) {
    bytes[at] = static_cast<std::uint8_t>(value & 0xFF);
    bytes[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}
// The file with a word or a byte replaced, or bytes added.
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

// A refused file leaves the set it was to go into as it was, every kind of it: here each kind's
// file of another set cut to half its size. Why each file is refused: tool/records.txt.
TEST(RecordFiles, RefusedFilesLeaveTheSetAlone) {
    const SetData before = test::RandomSet(4), other = test::RandomSet(5);
    for (ItemKind kind : kRecordKinds) {
        Bytes file = SerializeKind(other, kind);
        file.resize(file.size() / 2);
        SetData data = before;
        const LoadStatus loaded = LoadKind(ItemFile("T", file), kind, data);
        ASSERT_FALSE(loaded) << KindName(kind);
        EXPECT_EQ(loaded.Error().kind, kind);
        for (ItemKind each : kRecordKinds)
            EXPECT_EQ(SerializeKind(data, each), SerializeKind(before, each)) << KindName(kind);
    }
    SetData data;
    EXPECT_FALSE(LoadKind(ItemFile("T.XAF", Bytes(100, 0)), ItemKind::XStyleArrangement, data));
    EXPECT_TRUE(SerializeKind(data, ItemKind::XStyleStyle).empty());
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

}  // namespace
}  // namespace vx
