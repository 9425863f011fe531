// Backing sequences and songs: the event memory they share, its limits, and the chains between
// entries, each test as a transcript under tests/data/edit.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "Transcript.h"
#include "core/editing/EditScheme.h"
#include "core/programs/ProgramNumbers.h"
#include "core/selection/ItemNumbers.h"
#include "core/sequences/EventMemory.h"
#include "core/storage/Session.h"
#include "core/text/Helpers.h"

namespace vx {
namespace {

using enum ItemKind;
using enum EditCommand;

// New sets start backing sequences, songs and patterns all at unit 8192.
class EditSequencesTest : public test::EditTranscript {
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
    // The backing sequences of a set by name, with the chain byte of each.
    void ShowBsq(int set) {
        std::vector<std::string> entries;
        for (const auto& e : Data(set).bsq.entries)
            entries.push_back(TrimBlanks(e.record.Name()) + " > " + std::to_string(e.record.Byte(79)));
        Show("  backing sequences", entries);
    }
    // Where each region starts and ends: bsq start, bsq end, song start, first pattern, song end offset.
    void ShowMap(int set) {
        const SetData& d = Data(set);
        Show("  map " + std::to_string(set), std::vector<int>{d.bsq.offsets[0][0], d.bsq.endOffset, d.sng.offsets[0][0],
                                                              d.sng.patternOffsets[0], d.sng.endOffset});
    }
};

// A backing sequence that grows moves the songs and the patterns up by its growth, their bytes
// untouched; Undo moves them back. (That saved files load back to the same map, the model test's
// saves and openings check.)
TEST_F(EditSequencesTest, SongsAndPatternsFollowTheBackingSequencesEnd) {
    Fill(1, {10}, {5}, 3);
    const SetData before = Data(1);
    ShowMap(1);
    Note("copy bsq 0", Do(Copy, BackingSequence, 1, 0));
    Note("paste bsq 1", Do(Paste, BackingSequence, 1, 1));
    ShowMap(1);
    const SetSongs& sng = Data(1).sng;
    Show("  pattern 2, pattern 99, song 0 section 16",
         std::vector<int>{sng.patternOffsets[2], sng.patternOffsets[99], sng.offsets[0][16]});
    EXPECT_EQ(sng.patternData, before.sng.patternData);
    EXPECT_EQ(Sng(1, 0).events, before.sng.entries[0].events);
    ShowDirty(1);
    const auto counters = CounterLabels(CountEvents(Data(1).bsq, sng));
    Show("  counters", std::vector<std::string>(counters.begin(), counters.end()));

    Note("undo", Do(Undo, BackingSequence, 1, -1));
    ShowMap(1);
    EXPECT_EQ(sng.patternOffsets, before.sng.patternOffsets);
}

// Writes that would make Free negative or carry an offset past 32767 are refused before anything
// changes, and so is an Undo that no longer fits; its record stays for later. Undo of a Delete
// brings the deleted entry back from the end of the list, where the Delete left it.
TEST_F(EditSequencesTest, EventMemoryOverflowIsRefusedWithTheNumbers) {
    Fill(1, {16000}, {}, 0);
    Note("copy bsq 0", Do(Copy, BackingSequence, 1, 0));
    Note("paste bsq 1", Do(Paste, BackingSequence, 1, 1));
    ShowMap(1);
    EXPECT_TRUE(Bsq(1, 1).IsEmpty());
    ShowDirty(1);
    Note("insert bsq 0 (entry 9 is empty: nothing is freed)", Do(Insert, BackingSequence, 1, 0));

    // Room enough, but the end would pass the highest offset.
    Fill(2, {50}, {}, 0);
    Data(2).bsq.offsets[0][0] = 32700;
    LayOutAfterBackingSequences(Data(2).bsq, Data(2).sng);
    Note("copy bsq 2:0", Do(Copy, BackingSequence, 2, 0));
    Note("paste bsq 2:3", Do(Paste, BackingSequence, 2, 3));
    ShowMap(2);

    // A cut (then a delete) frees the memory, a song takes it, and the command can no longer be
    // undone until the song lets it go.
    for (const EditCommand command : {Cut, Delete}) {
        Fill(2, {10000, 5}, {}, 0);
        Sng(2, 0) = Sequence<SongEntry>("Big", 5000, 0x77);
        Sng(2, 1) = {};
        LayOutAfterSongs(Data(2).sng);
        Note(command == Cut ? "cut bsq 2:0" : "delete bsq 2:0", Do(command, BackingSequence, 2, 0));
        Note("copy sng 2:0", Do(Copy, Song, 2, 0));
        Note("paste sng 2:1", Do(Paste, Song, 2, 1));
        const SetData before = Data(2);
        Note("undo bsq", Do(Undo, BackingSequence, 2, -1));
        EXPECT_EQ(Data(2).sng.offsets, before.sng.offsets);
        ShowBsq(2);
        ShowHeld(BackingSequence);
        Note("cut sng 2:1", Do(Cut, Song, 2, 1));
        Note("undo bsq", Do(Undo, BackingSequence, 2, -1));
        ShowBsq(2);
        ShowMap(2);
    }
}

// Dropping 3 on 4 leaves it where it is; on 6 it goes before 6 and every chain follows its
// entry; a stored chain above 9 stays as stored. Undo puts every entry and chain back.
// Delete of entry 0, Insert, Erase and the song Erase: entries shift without touching chains,
// the clipboard takes what left, and the memory map stays packed. Songs erased after backing
// sequences of 10 units start at their end, and the pattern table keeps its spacing behind them.
TEST_F(EditSequencesTest, DropDeleteInsertAndEraseKeepTheChainsAndTheMemoryMap) {
    Fill(1, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, {2}, 1);
    const std::vector<int> nexts = {3, 4, 5, 3, 9, 0, 6, 6, 12, 4};
    for (int n = 0; n < kSequenceCount; ++n) Bsq(1, n).record.SetByte(79, static_cast<std::uint8_t>(nexts[n]));
    const SetData before = Data(1);
    Note("drop bsq 3 on 4", DropOn(BackingSequence, 1, 3, 1, 4));
    ui.AnswerTo(QuestionId::InsertBefore, Answer::Yes);
    Note("drop bsq 3 on 6, Yes", DropOn(BackingSequence, 1, 3, 1, 6));
    ShowBsq(1);
    Show("  entry 5 from, the end", std::vector<int>{Data(1).bsq.offsets[5][0], Data(1).bsq.endOffset});
    ShowHeld(BackingSequence);
    Note("undo", Do(Undo, BackingSequence, 1, -1));
    ShowBsq(1);
    EXPECT_EQ(Data(1).bsq.offsets, before.bsq.offsets);
    ui.AnswerTo(QuestionId::InsertBefore, Answer::Yes);
    Note("drop sng 0 on 2, Yes", DropOn(Song, 1, 0, 1, 2));

    Fill(1, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10}, {4}, 3);
    Note("delete bsq 0", Do(Delete, BackingSequence, 1, 0));
    ShowBsq(1);
    ShowMap(1);
    ShowHeld(BackingSequence);
    Bsq(1, 9) = Sequence<BsqEntry>("Last", 2, 0x55);
    LayOutAfterBackingSequences(Data(1).bsq, Data(1).sng);
    Note("insert bsq 2", Do(Insert, BackingSequence, 1, 2));
    ShowBsq(1);
    ShowHeld(BackingSequence);
    ShowMap(1);

    const Bytes patterns = Data(1).sng.patternData;
    Note("erase bsq", Do(EraseBank, BackingSequence, 1, -1));
    for (const auto& row : Data(1).bsq.offsets)
        for (int offset : row) ASSERT_EQ(offset, 8192);
    ShowMap(1);
    ShowHeld(BackingSequence);

    Fill(1, {10}, {4, 4}, 3);
    Note("erase sng", Do(EraseBank, Song, 1, -1));
    ShowMap(1);
    const SetSongs& sng = Data(1).sng;
    Show("  song 9 section 16, patterns 1 to 3, pattern units",
         std::vector<int>{sng.offsets[9][16], sng.patternOffsets[1], sng.patternOffsets[2], sng.patternOffsets[3],
                          CountEvents(Data(1).bsq, sng).patterns});
    EXPECT_EQ(sng.patternData, patterns);
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
    Note("drop bsq 0 on 2:4, No", DropOn(BackingSequence, 1, 0, 2, 4));
    ShowHeld(BackingSequence);
    ShowMap(2);
    // The arrangement missing too, and Cancel: nothing stays.
    Data(2).arr.arr[9].SetName("Other");
    ui.AnswerTo(QuestionId::MissingCall, Answer::Cancel);
    Note("drop bsq 0 on 2:5, Cancel", DropOn(BackingSequence, 1, 0, 2, 5));
    EXPECT_TRUE(Bsq(2, 5).IsEmpty());
    ShowMap(2);
    ui.AnswerTo(QuestionId::MissingCall, Answer::No);
    Note("drop sng 0 on 2:0, No", DropOn(Song, 1, 0, 2, 0));
}

}  // namespace
}  // namespace vx
