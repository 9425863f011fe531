#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "core/calls/CallSites.h"
#include "core/editing/Callers.h"
#include "support/SetBuilder.h"

namespace vx {
namespace {

using enum ItemKind;

std::vector<std::pair<std::string, std::string>> Pairs(const std::vector<CallerEntry>& entries) {
    std::vector<std::pair<std::string, std::string>> pairs;
    for (const CallerEntry& entry : entries) pairs.emplace_back(entry.reference, entry.track);
    return pairs;
}

// Program F11 (768) is called from every calling kind, arrangement C11 and style C12 by a
// backing sequence and an arrangement; empty items holding the same numbers are no callers.
struct CallingSet : ::testing::Test {
    void SetUp() override {
        for (auto& kbd : data.ark.records) test::CallFromAllTracks(kbd, 0x7FFF);
        data.arr.arr[0].SetName("Pop");
        data.arr.arr[0].SetStyle(257);
        test::CallFromAllTracks(data.arr.arr[0], 0x7FFF);
        data.arr.arr[0].SetTrackProgram(0, 768);
        data.arr.arr[0].SetTrackProgram(10, 768);
        data.arr.arr[66].SetName("Rock");  // D13
        data.arr.arr[66].SetStyle(257);
        test::CallFromAllTracks(data.arr.arr[66], 0x7FFF);
        data.arr.arr[5].SetStyle(257);  // empty
        data.arr.arr[5].SetTrackProgram(0, 768);
        data.sty.slots[1].record.SetName("Swing");
        test::CallFromAllTracks(data.sty.slots[1].record, 0x7FFF);
        data.sty.slots[1].record.SetTrackProgram(5, 768);
        data.bsq.entries[3].record.SetName("Intro");
        data.bsq.entries[3].record.SetArrangement(256);
        data.bsq.entries[3].record.SetStyle(257);
        test::CallFromAllTracks(data.bsq.entries[3].record, 0x7FFF);
        data.bsq.entries[3].record.SetTrackProgram(7, 768);
        data.bsq.entries[4].record.SetArrangement(256);  // empty
        data.sng.entries[0].record.SetName("Song");
        test::CallFromAllTracks(data.sng.entries[0].record, 0x7FFF);
        data.sng.entries[0].record.SetTrackProgram(15, 768);
        data.sng.entries[1].record.SetTrackProgram(0, 768);  // empty
        data.ark.records[63].SetTrackProgram(4, 768);
    }
    SetData data = test::EmptySet();
};

TEST_F(CallingSet, CallerListsNameEveryCallerInWalkOrder) {
    const std::vector<std::pair<std::string, std::string>> programCallers = {
        {"Arr C11", "DRUMS  "},  {"Arr C11", "K.Bass "}, {"Sty C12", "ACC3   "},
        {"BSeq  3", "Extra 8 "}, {"Song  0", "Trk 16"},  {"KSet 88", "K.Bass "},
    };
    EXPECT_EQ(Pairs(FindProgramCallers(data, 768)), programCallers);
    EXPECT_EQ(ArrCalledBy(data, 256), (std::vector<std::string>{"BSeq 3"}));
    EXPECT_EQ(StyleCalledBy(data, 257), (std::vector<std::string>{"Arr C11", "Arr D13", "BSeq  3"}));
    EXPECT_TRUE(ArrCalledBy(data, 257).empty());
    EXPECT_TRUE(FindProgramCallers(data, 769).empty());
}

TEST_F(CallingSet, OneRedirectionShiftsABankInOnePassAndIsReversible) {
    const SetData before = data;
    // Bit 7 of a track call's high byte is a flag the rewrite keeps: 0x00 0x83 calls F11.
    data.arr.arr[0].SetByte(39 + 1, 0x83);
    Redirection shift(Program, 1064);
    for (int n = 768; n < 831; ++n) shift.Add(n + 1, n);  // a Delete of F11: F12..F88 move down
    shift.Add(768, 1063);
    CallJournal journal;
    const KindMask changed = Redirect(data, shift, &journal);
    EXPECT_EQ(changed, MaskOf(Arrangement) | MaskOf(Style) | MaskOf(BackingSequence) | MaskOf(Song) | MaskOf(KbdSet));
    ASSERT_EQ(journal.Size(), 6u);
    const std::vector<int> pair = {data.arr.arr[0].Byte(39), data.arr.arr[0].Byte(40)};
    EXPECT_EQ(pair, (std::vector<int>{0x27, 0x84}));
    EXPECT_EQ(data.ark.records[63].TrackProgram(4), 1063);
    EXPECT_EQ(data.arr.arr[5].TrackProgram(0), 768);  // an empty arrangement calls nothing
    EXPECT_EQ(data.sng.entries[1].record.TrackProgram(0), 768);

    EXPECT_EQ(journal.Restore(data), changed);
    data.arr.arr[0].SetByte(40, 0x03);
    EXPECT_EQ(data.arr.arr[0], before.arr.arr[0]);
    EXPECT_EQ(data.sty.slots[1].record, before.sty.slots[1].record);
    EXPECT_EQ(data.bsq.entries[3].record, before.bsq.entries[3].record);
    EXPECT_EQ(data.sng.entries[0].record, before.sng.entries[0].record);
    EXPECT_EQ(data.ark.records[63], before.ark.records[63]);
}

// Every place a call can sit, as the journal keeps it: the site comes back exactly, the signed
// numbers of backing sequences, songs and KBD sets and the 16-bit numbers of arrangements alike.
TEST_F(CallingSet, TheJournalKeepsEveryPlaceOfACallExactly) {
    const CallSite sites[] = {
        {Arrangement, 127, -1, Style, 65535}, {Arrangement, 66, 10, Program, 32767},
        {Style, 47, 5, Program, 768},         {BackingSequence, 9, -1, Arrangement, 383},
        {BackingSequence, 3, -1, Style, -1},  {BackingSequence, 3, 7, Program, -32768},
        {Song, 0, 15, Program, -1},           {KbdSet, 63, 4, Program, 1063},
    };
    CallJournal journal;
    for (const CallSite& site : sites) journal.Add(site);
    ASSERT_EQ(journal.Size(), std::size(sites));
    for (std::size_t i = 0; i < std::size(sites); ++i) {
        const CallSite at = journal.At(i);
        EXPECT_EQ(std::tuple(at.caller, at.slot, at.track, at.called, at.number),
                  std::tuple(sites[i].caller, sites[i].slot, sites[i].track, sites[i].called, sites[i].number))
            << i;
    }
}

// Undo writes back the calls of the items that still call; an arrangement emptied since then
// keeps what it holds, and the other kinds are put back byte for byte.
TEST_F(CallingSet, RestoringSkipsACallerEmptiedSince) {
    const SetData before = data;
    Redirection away(Program, 1064);
    away.Add(768, 1000);
    CallJournal journal;
    Redirect(data, away, &journal);
    ASSERT_EQ(journal.Size(), 6u);
    data.arr.arr[0].SetName("");
    EXPECT_EQ(journal.Restore(data), MaskOf(Style) | MaskOf(BackingSequence) | MaskOf(Song) | MaskOf(KbdSet));
    EXPECT_EQ(std::pair(data.arr.arr[0].TrackProgram(0), data.arr.arr[0].TrackProgram(10)), std::pair(1000, 1000));
    EXPECT_EQ(data.sty.slots[1].record, before.sty.slots[1].record);
    EXPECT_EQ(data.bsq.entries[3].record, before.bsq.entries[3].record);
    EXPECT_EQ(data.sng.entries[0].record, before.sng.entries[0].record);
    EXPECT_EQ(data.ark.records, before.ark.records);
}

TEST_F(CallingSet, WholeItemCallsAreRedirectedToNoItem) {
    Redirection none(Arrangement, 384);
    none.Add(256, 65535);
    EXPECT_EQ(Redirect(data, none), MaskOf(BackingSequence));
    EXPECT_EQ(data.bsq.entries[3].record.Word(16), 65535);
    EXPECT_EQ(data.bsq.entries[4].record.Arrangement(), 256);
    Redirection styles(Style, 304);
    styles.Add(257, 300);
    EXPECT_EQ(Redirect(data, styles), MaskOf(Arrangement) | MaskOf(BackingSequence));
    EXPECT_EQ(std::vector<int>({data.arr.arr[0].Style(), data.arr.arr[66].Style(), data.arr.arr[5].Style(),
                                data.bsq.entries[3].record.Style()}),
              std::vector<int>({300, 300, 257, 300}));
}

}  // namespace
}  // namespace vx
