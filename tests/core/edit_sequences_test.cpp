#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/editing/EditScheme.h"
#include "core/format/ItemFile.h"
#include "core/programs/ProgramNumbers.h"
#include "core/selection/ItemNumbers.h"
#include "core/sequences/EventMemory.h"
#include "core/storage/Session.h"
#include "core/text/Helpers.h"
#include "support/EditFixture.h"

namespace vx {
namespace {

using enum ItemKind;

// New sets start backing sequences, songs and patterns all at unit 8192.
class EditSequencesTest : public test::EditFixture {
protected:
    BsqEntry& Bsq(int set, int n) { return Data(set).bsq.entries[static_cast<std::size_t>(n)]; }
    SongEntry& Sng(int set, int n) { return Data(set).sng.entries[static_cast<std::size_t>(n)]; }

    // An entry of `units` 16-byte units in sections 0 and 16, its event bytes all `fill`.
    template <typename Entry>
    static Entry Sequence(const std::string& name, int units, std::uint8_t fill, int next = 0) {
        Entry entry;
        entry.record.SetName(name);
        entry.lengths[0] = units - units / 2;
        entry.lengths[16] = units / 2;
        entry.total = units;
        entry.events.assign(static_cast<std::size_t>(units) * kEventUnitBytes, fill);
        entry.record.SetByte(std::is_same_v<Entry, BsqEntry> ? 79 : 52, static_cast<std::uint8_t>(next));
        return entry;
    }
    // Places entries and a pattern region of `patternUnits` (pattern p starting p units in),
    // laid out as a loaded file would be.
    void Fill(int set, const std::vector<int>& bsqUnits, const std::vector<int>& songUnits, int patternUnits) {
        for (std::size_t n = 0; n < bsqUnits.size(); ++n)
            Bsq(set, static_cast<int>(n)) = Sequence<BsqEntry>(
                "Seq " + std::to_string(n), bsqUnits[n], static_cast<std::uint8_t>(0x10 + n), static_cast<int>(n));
        for (std::size_t n = 0; n < songUnits.size(); ++n)
            Sng(set, static_cast<int>(n)) =
                Sequence<SongEntry>("Song " + std::to_string(n), songUnits[n], static_cast<std::uint8_t>(0x60 + n));
        SetSongs& sng = Data(set).sng;
        Data(set).bsq.offsets[0][0] = 8192;
        RebuildOffsets(Data(set).bsq);
        sng.offsets[0][0] = Data(set).bsq.endOffset;
        RebuildOffsets(sng);
        for (int p = 0; p < kPatternCount; ++p) sng.patternOffsets[p] = sng.endOffset + std::min(p, patternUnits);
        sng.endOffset += patternUnits;
        sng.patternData.assign(static_cast<std::size_t>(patternUnits) * kEventUnitBytes, 0xAB);
    }
    std::vector<std::string> BsqNames(int set) {
        std::vector<std::string> names;
        for (const auto& e : Data(set).bsq.entries) names.push_back(TrimBlanks(e.record.Name()));
        return names;
    }
    std::vector<int> BsqNexts(int set) {
        std::vector<int> nexts;
        for (const auto& e : Data(set).bsq.entries) nexts.push_back(e.record.Byte(79));
        return nexts;
    }
    // Where each region starts and ends: bsq start, bsq end, song start, first pattern, song end offset.
    std::vector<int> Map(int set) {
        const SetData& d = Data(set);
        return {d.bsq.offsets[0][0], d.bsq.endOffset, d.sng.offsets[0][0], d.sng.patternOffsets[0], d.sng.endOffset};
    }
};

// A backing sequence that grows moves the songs and the patterns up by its growth, their bytes
// untouched, and the files it saves load back to the same map; Undo moves them back.
TEST_F(EditSequencesTest, SongsAndPatternsFollowTheBackingSequencesEnd) {
    Fill(1, {10}, {5}, 3);
    const SetData before = Data(1);
    ASSERT_EQ(Map(1), (std::vector<int>{8192, 8202, 8202, 8207, 8210}));

    ASSERT_TRUE(Do(EditCommand::Copy, BackingSequence, 1, 0).done);
    ASSERT_TRUE(Do(EditCommand::Paste, BackingSequence, 1, 1).done);
    EXPECT_EQ(Map(1), (std::vector<int>{8192, 8212, 8212, 8217, 8220}));
    EXPECT_EQ(Data(1).sng.patternOffsets[2], 8219);
    EXPECT_EQ(Data(1).sng.patternOffsets[99], 8220);
    EXPECT_EQ(Data(1).sng.offsets[0][16], 8215);
    EXPECT_EQ(Data(1).sng.patternData, before.sng.patternData);
    EXPECT_EQ(Sng(1, 0).events, before.sng.entries[0].events);
    EXPECT_TRUE(session->Slot(1).dirty[3] && session->Slot(1).dirty[4]);
    EXPECT_EQ(CounterLabels(CountEvents(Data(1).bsq, Data(1).sng)),
              (std::array<std::string, 5>{"BackSeqs: 80", "Songs: 20", "Patterns: 12", "Total: 112", "Free: 65424"}));

    SetData reloaded;
    ASSERT_TRUE(LoadKind(ItemFile("T.BSQ", SerializeKind(Data(1), BackingSequence)), BackingSequence, reloaded));
    ASSERT_TRUE(LoadKind(ItemFile("T.SNG", SerializeKind(Data(1), Song)), Song, reloaded));
    EXPECT_EQ(reloaded.sng.offsets, Data(1).sng.offsets);
    EXPECT_EQ(reloaded.sng.patternData, before.sng.patternData);

    ASSERT_TRUE(Do(EditCommand::Undo, BackingSequence, 1, -1).done);
    EXPECT_EQ(Map(1), (std::vector<int>{8192, 8202, 8202, 8207, 8210}));
    EXPECT_EQ(Data(1).sng.patternOffsets, before.sng.patternOffsets);
}

// Writes that would make Free negative or carry an offset past 32767 are refused before anything
// changes, and so is an Undo that no longer fits; its record stays for later.
TEST_F(EditSequencesTest, EventMemoryOverflowIsRefusedWithTheNumbers) {
    const std::string tooBig = " is too big for the\nevent memory, where only ";
    Fill(1, {16000}, {}, 0);
    ASSERT_TRUE(Do(EditCommand::Copy, BackingSequence, 1, 0).done);
    SetData before = Data(1);
    EditResult result = Do(EditCommand::Paste, BackingSequence, 1, 1);
    EXPECT_FALSE(result.done);
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{"Pasted Backing Sequence (64000 events)" + tooBig +
                                                   "1536 events are available."});
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(Map(1), (std::vector<int>{8192, 24192, 24192, 24192, 24192}));
    EXPECT_TRUE(Bsq(1, 1).IsEmpty());
    EXPECT_FALSE(session->Slot(1).dirty[3]);
    EXPECT_FALSE(Do(EditCommand::Insert, BackingSequence, 1, 0).done) << "entry 9 is empty: nothing is freed";

    // Room enough, but the end would pass the highest offset.
    ui.messages.clear();
    Fill(2, {50}, {}, 0);
    Data(2).bsq.offsets[0][0] = 32700;
    LayOutAfterBackingSequences(Data(2).bsq, Data(2).sng);
    ASSERT_TRUE(Do(EditCommand::Copy, BackingSequence, 2, 0).done);
    EXPECT_FALSE(Do(EditCommand::Paste, BackingSequence, 2, 3).done);
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{"Pasted Backing Sequence (200 events) would move the event memory\n"
                                                   "past its highest offset, 32767."});
    EXPECT_EQ(Map(2), (std::vector<int>{32700, 32750, 32750, 32750, 32750}));

    // A cut frees the memory, a song takes it, and the cut can no longer be undone.
    ui.messages.clear();
    Fill(2, {10000}, {}, 0);
    Sng(2, 0) = Sequence<SongEntry>("Big", 5000, 0x77);
    LayOutAfterSongs(Data(2).sng);
    ASSERT_TRUE(Do(EditCommand::Cut, BackingSequence, 2, 0).done);
    ASSERT_TRUE(Do(EditCommand::Copy, Song, 2, 0).done);
    ASSERT_TRUE(Do(EditCommand::Paste, Song, 2, 1).done);
    before = Data(2);
    EXPECT_FALSE(Do(EditCommand::Undo, BackingSequence, 2, -1).done);
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{"Undo of Backing Sequence (40000 events)" + tooBig +
                                                   "25536 events are available."});
    EXPECT_TRUE(Bsq(2, 0).IsEmpty());
    EXPECT_EQ(Data(2).sng.offsets, before.sng.offsets);
    EXPECT_EQ(scheme->UndoOf(BackingSequence).op, 1);
    ASSERT_TRUE(Do(EditCommand::Cut, Song, 2, 1).done);
    EXPECT_TRUE(Do(EditCommand::Undo, BackingSequence, 2, -1).done);
    EXPECT_EQ(TrimBlanks(Bsq(2, 0).record.Name()), "Seq 0");
}

// Dropping 3 on 4 leaves it where it is; on 6 it goes before 6 and every chain follows its
// entry; a stored chain above 9 stays as stored. Undo puts every entry and chain back.
TEST_F(EditSequencesTest, DropInsideTheListRenumbersTheChains) {
    Fill(1, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, {2}, 1);
    const std::vector<int> nexts = {3, 4, 5, 3, 9, 0, 6, 6, 12, 4};
    for (int n = 0; n < kSequenceCount; ++n) Bsq(1, n).record.SetByte(79, static_cast<std::uint8_t>(nexts[n]));
    const SetData before = Data(1);

    EXPECT_FALSE(DropOn(BackingSequence, 1, 3, 1, 4).done);
    EXPECT_TRUE(ui.messages.empty());

    ui.AnswerTo(QuestionId::InsertBefore, Answer::Yes);
    ASSERT_TRUE(DropOn(BackingSequence, 1, 3, 1, 6).done);
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{"Insert Backing Sequence 3 before 6 ?"});
    EXPECT_EQ(ui.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(BsqNames(1), (std::vector<std::string>{"Seq 0", "Seq 1", "Seq 2", "Seq 4", "Seq 5", "Seq 3", "Seq 6",
                                                     "Seq 7", "Seq 8", "Seq 9"}));
    EXPECT_EQ(BsqNexts(1), (std::vector<int>{5, 3, 4, 9, 0, 5, 6, 6, 12, 3}));
    EXPECT_EQ(Data(1).bsq.offsets[5][0], 8192 + 1 + 2 + 3 + 5 + 6);
    EXPECT_EQ(Data(1).bsq.endOffset, 8192 + 55);
    EXPECT_EQ(scheme->UndoOf(BackingSequence).op, 4);

    ASSERT_TRUE(Do(EditCommand::Undo, BackingSequence, 1, -1).done);
    EXPECT_EQ(BsqNexts(1), nexts);
    EXPECT_EQ(BsqNames(1), (std::vector<std::string>{"Seq 0", "Seq 1", "Seq 2", "Seq 3", "Seq 4", "Seq 5", "Seq 6",
                                                     "Seq 7", "Seq 8", "Seq 9"}));
    EXPECT_EQ(Data(1).bsq.offsets, before.bsq.offsets);

    ui.messages.clear();
    ui.AnswerTo(QuestionId::InsertBefore, Answer::Yes);
    ASSERT_TRUE(DropOn(Song, 1, 0, 1, 2).done);
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{"Insert Song 0 before 2 ?"});
}

// Delete of entry 0, Insert, Erase and the song Erase: entries shift without touching chains,
// the clipboard takes what left, and the memory map stays packed.
TEST_F(EditSequencesTest, DeleteInsertAndEraseKeepTheMemoryMap) {
    Fill(1, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, {4}, 3);
    const std::vector<std::string> shifted = {"Seq 1", "Seq 2", "Seq 3", "Seq 4", "Seq 5",
                                              "Seq 6", "Seq 7", "Seq 8", "Seq 9", ""};
    ASSERT_TRUE(Do(EditCommand::Delete, BackingSequence, 1, 0).done);
    EXPECT_EQ(BsqNames(1), shifted);
    EXPECT_EQ(BsqNexts(1), (std::vector<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 0}));
    EXPECT_EQ(Map(1), (std::vector<int>{8192, 8246, 8246, 8250, 8253}));
    EXPECT_EQ(TrimBlanks(std::get<BsqEntry>(*scheme->ClipboardOf(BackingSequence).item).record.Name()), "Seq 0");
    EXPECT_EQ(scheme->UndoOf(BackingSequence).op, 6);

    Bsq(1, 9) = Sequence<BsqEntry>("Last", 2, 0x55);
    LayOutAfterBackingSequences(Data(1).bsq, Data(1).sng);
    ASSERT_TRUE(Do(EditCommand::Insert, BackingSequence, 1, 2).done);
    EXPECT_EQ(BsqNames(1), (std::vector<std::string>{"Seq 1", "Seq 2", "Seq 0", "Seq 3", "Seq 4", "Seq 5", "Seq 6",
                                                     "Seq 7", "Seq 8", "Seq 9"}));
    const Clipboard& clipboard = scheme->ClipboardOf(BackingSequence);
    EXPECT_EQ(std::pair(clipboard.set, clipboard.slot), std::pair(1, 2));
    EXPECT_EQ(TrimBlanks(std::get<BsqEntry>(*clipboard.item).record.Name()), "Last");
    EXPECT_EQ(Map(1), (std::vector<int>{8192, 8247, 8247, 8251, 8254}));

    const Bytes patterns = Data(1).sng.patternData;
    ASSERT_TRUE(Do(EditCommand::EraseBank, BackingSequence, 1, -1).done);
    for (const auto& row : Data(1).bsq.offsets)
        for (int offset : row) ASSERT_EQ(offset, 8192);
    EXPECT_EQ(Map(1), (std::vector<int>{8192, 8192, 8192, 8196, 8199}));
    EXPECT_TRUE(scheme->UndoOf(BackingSequence).Empty());

    // Songs erased after backing sequences of 10 units: the songs start at their end and the
    // pattern table keeps its spacing behind them.
    Fill(1, {10}, {4, 4}, 3);
    ASSERT_TRUE(Do(EditCommand::EraseBank, Song, 1, -1).done);
    EXPECT_EQ(Map(1), (std::vector<int>{8192, 8202, 8202, 8202, 8205}));
    EXPECT_EQ(Data(1).sng.offsets[9][16], 8202);
    EXPECT_EQ(
        (std::vector<int>{Data(1).sng.patternOffsets[1], Data(1).sng.patternOffsets[2], Data(1).sng.patternOffsets[3]}),
        (std::vector<int>{8203, 8204, 8205}));
    EXPECT_EQ(Data(1).sng.patternData, patterns);
    EXPECT_EQ(CountEvents(Data(1).bsq, Data(1).sng).patterns, 3);
}

// Undo of a Delete brings the deleted entry back from the end of the list, where the Delete
// left it: refused with its numbers while a song holds the memory it freed, done once the
// song lets it go, with every entry back in its place.
TEST_F(EditSequencesTest, UndoOfADeleteIsRefusedWhileItsMemoryIsTaken) {
    Fill(2, {10000, 5}, {}, 0);
    Sng(2, 0) = Sequence<SongEntry>("Big", 5000, 0x77);
    LayOutAfterSongs(Data(2).sng);
    const std::vector<std::string> names = BsqNames(2);
    ASSERT_TRUE(Do(EditCommand::Delete, BackingSequence, 2, 0).done);
    ASSERT_TRUE(Do(EditCommand::Copy, Song, 2, 0).done);
    ASSERT_TRUE(Do(EditCommand::Paste, Song, 2, 1).done);
    ui.messages.clear();
    EXPECT_FALSE(Do(EditCommand::Undo, BackingSequence, 2, -1).done);
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{"Undo of Backing Sequence (40000 events) is too big for the\nevent "
                                                   "memory, where only 25516 events are available."});
    EXPECT_EQ(BsqNames(2)[0], "Seq 1");

    ASSERT_TRUE(Do(EditCommand::Cut, Song, 2, 1).done);
    ASSERT_TRUE(Do(EditCommand::Undo, BackingSequence, 2, -1).done);
    EXPECT_EQ(BsqNames(2), names);
    EXPECT_EQ(Map(2), (std::vector<int>{8192, 8192 + 10005, 8192 + 10005, 8192 + 15005, 8192 + 15005}));
}

// A backing sequence dropped into another set asks about a program that set has no program of
// the name of, and about its arrangement; a song asks about its tracks only.
TEST_F(EditSequencesTest, PasteFromAnotherSetRepointsCallsByName) {
    Fill(1, {2}, {1}, 0);
    Data(1).arr.arr[5].SetName("Ballad");
    Data(2).arr.arr[9].SetName("Ballad");
    Data(1).sty.slots[2].record.SetName("Swing");
    Data(2).sty.slots[7].record.SetName("Swing");
    Data(1).prg.records[3].SetName("Piano");
    Data(1).prg.records[4].SetName("Organ");
    Data(2).prg.records[70].SetName("Organ");
    BsqRecord& seq = Bsq(1, 0).record;
    seq.SetArrangement(ArrNumberOfUserIndex(5));
    seq.SetStyle(StyNumberOfUserIndex(2));
    seq.SetTrackProgram(0, NumberOfUserIndex(3));
    seq.SetTrackProgram(1, NumberOfUserIndex(4));
    seq.SetTrackProgram(2, 5);
    Sng(1, 0).record.SetTrackProgram(15, NumberOfUserIndex(3));

    ui.AnswerTo(QuestionId::MissingCall, Answer::No);
    ASSERT_TRUE(DropOn(BackingSequence, 1, 0, 2, 4).done);
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{"Track 'MainKBD' of BackSeq 'Seq 0' calls Program 'Piano' "
                                                   "non-existent in 'GIGS'\n\nRedirect this track to an existing "
                                                   "Program?"});
    EXPECT_EQ(scheme->UndoOf(BackingSequence).op, 5);
    EXPECT_EQ(Data(2).bsq.endOffset, 8194);

    // The arrangement missing too, and Cancel: nothing stays.
    ui.messages.clear();
    Data(2).arr.arr[9].SetName("Other");
    ui.AnswerTo(QuestionId::MissingCall, Answer::Cancel);
    EXPECT_FALSE(DropOn(BackingSequence, 1, 0, 2, 5).done);
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{"Backing Sequence 'Seq 0' calls Arrangement 'Ballad' non-existent "
                                                   "in 'GIGS'\n\nRedirect this Backing Sequence to an existing "
                                                   "Arrangement?"});
    EXPECT_TRUE(Bsq(2, 5).IsEmpty());
    EXPECT_EQ(Data(2).bsq.endOffset, 8194);

    ui.messages.clear();
    ui.AnswerTo(QuestionId::MissingCall, Answer::No);
    ASSERT_TRUE(DropOn(Song, 1, 0, 2, 0).done);
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{"Track 'Trk 16' of Song 'Song 0' calls Program 'Piano' "
                                                   "non-existent in 'GIGS'\n\nRedirect this track to an existing "
                                                   "Program?"});
}

}  // namespace
}  // namespace vx
