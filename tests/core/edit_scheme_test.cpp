// What the edit commands ask, refuse and hold: the texts of their questions and refusals, the
// clipboards, Undo and the notices, each test as a transcript under tests/data/edit. Where calls
// end up after a command, and what Undo gives back, the model test (edit_model_test.cpp) checks
// on random scripts.
#include "core/editing/EditScheme.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Transcript.h"
#include "core/catalogue/Catalogue.h"
#include "core/editing/KbdSetChoices.h"
#include "core/storage/Session.h"

namespace vx {
namespace {

using enum ItemKind;
using enum EditCommand;

// LIVE (1) and GIGS (2) with every KBD set calling no program.
class EditSchemeTest : public test::EditTranscript {
protected:
    void SetUp() override {
        EditTranscript::SetUp();
        for (const int set : {1, 2})
            for (auto& kbd : Data(set).ark.records)
                for (int t = 0; t < KbdSetRecord::kTrackCount; ++t) kbd.SetTrackProgram(t, 0x7FFF);
        ui.events.clear();
    }

    ArrangementRecord& Arr(int set, int slot) { return Data(set).arr.arr[static_cast<std::size_t>(slot)]; }
    ProgramRecord& Prg(int set, int slot) { return Data(set).prg.records[static_cast<std::size_t>(slot)]; }
    BsqRecord& Bsq(int set, int position) { return Data(set).bsq.entries[static_cast<std::size_t>(position)].record; }
    void NameArrangements(int set, int first, int last) {
        for (int slot = first; slot <= last; ++slot) Arr(set, slot).SetName("Arr " + std::to_string(slot));
    }
    // Backing sequence position calls arrangement number.
    void CallArr(int set, int position, int number) {
        Bsq(set, position).SetName("Seq " + std::to_string(position));
        Bsq(set, position).SetArrangement(number);
    }
    void ShowArrCalls(int set) {
        std::vector<int> calls;
        for (int p = 0; p < kSequenceCount; ++p)
            if (!Bsq(set, p).IsEmpty()) calls.push_back(Bsq(set, p).Word(16));  // as stored: 65535 is none
        Show("  arrangements the backing sequences call", calls);
    }
};

// Insert asks about the item it pushes out of the bank, which the clipboard then holds; one
// level of Undo. A program insert asks about F88's callers, the chooser on its neighbour F87;
// one notice per changed kind.
TEST_F(EditSchemeTest, InsertAsksAboutTheItemPushedOutAndHoldsIt) {
    NameArrangements(1, 0, 127);
    CallArr(1, 0, 266);  // C33 = slot 10
    CallArr(1, 1, 319);  // slot 63, pushed out: its caller keeps the number
    Note("copy arr 100", Do(Copy, Arrangement, 1, 100));
    Arr(1, 100).SetName("Spare");
    ui.AnswerTo(QuestionId::ReferencedBy, Answer::No);
    Note("insert arr 10, No", Do(Insert, Arrangement, 1, 10));
    ShowArrCalls(1);
    ShowHeld(Arrangement);
    ShowDirty(1);
    Note("undo arr", Do(Undo, Arrangement, 1, -1));
    ShowHeld(Arrangement);
    Note("undo arr", Do(Undo, Arrangement, 1, -1));

    for (int i = 0; i < 64; ++i) Prg(1, i).SetName("Prg " + std::to_string(i));
    Prg(1, 70).SetName("Spare");
    for (int t = 0; t < ArrangementRecord::kTrackCount; ++t) Arr(1, 0).SetTrackProgram(t, 3);
    Arr(1, 0).SetTrackProgram(0, 831);  // F88
    Note("copy prg 70", Do(Copy, Program, 1, 70));
    Data(1).ark.records[0].SetTrackProgram(4, 768);  // F11
    ui.AnswerTo(QuestionId::ReferencedBy, Answer::Yes);
    ui.pickAnswers = {839};  // G18
    Note("insert prg F11, Yes, G18", Do(Insert, Program, 1, 0));
    Show("  arr C11 track 1, kbd 11 track 5",
         std::vector<int>{Arr(1, 0).TrackProgram(0), Data(1).ark.records[0].TrackProgram(4)});
    ShowHeld(Program);
}

// What a command refuses, and that a refusal changes nothing and announces nothing.
TEST_F(EditSchemeTest, RefusalsChangeNothing) {
    NameArrangements(1, 0, 10);
    Prg(1, 0).SetName("Piano");
    Prg(1, 9).SetName("Organ");
    Prg(1, 128).SetName("Kit");
    Data(1).sty.slots[0].record.SetName("Kept");
    Bsq(1, 0).SetName("Kept");
    Data(1).sng.entries[0].record.SetName("Kept");
    // LIVE's item 3 of one kind dropped on a slot of another.
    auto drop = [&](ItemKind from, ItemKind kind, int slot) {
        Edit edit{.command = Drop, .kind = kind, .set = 1, .slot = slot, .sourceKind = from, .sourceSet = 1};
        edit.sourceSlot = 3;
        return scheme->Apply(edit);
    };
    const SetData before = Data(1);
    Note("drop arr 3 on arr 3", drop(Arrangement, Arrangement, 3));
    Note("drop prg 3 on arr 9", drop(Program, Arrangement, 9));
    Note("drop ark 3 on prg 9", drop(KbdSet, Program, 9));
    Note("drop arr 3 on arr -1", drop(Arrangement, Arrangement, -1));
    Note("cut arr 50", Do(Cut, Arrangement, 1, 50));
    Note("paste arr 2:0", Do(Paste, Arrangement, 2, 0));
    Note("delete prg 128", Do(Delete, Program, 1, 128));
    Note("cut ark 0", Do(Cut, KbdSet, 1, 0));
    Note("delete sty 0", Do(Delete, Style, 1, 0));
    Note("insert sty 0", Do(Insert, Style, 1, 0));
    EXPECT_EQ(Data(1).arr.arr, before.arr.arr);

    // An empty slot is not dragged, within a set or to another; Insert needs a held item.
    const struct {
        ItemKind kind;
        int from, to;
    } empties[] = {{Arrangement, 50, 7}, {Style, 2, 6},           {Program, 10, 11},
                   {Program, 129, 130},  {BackingSequence, 4, 1}, {Song, 2, 5}};
    for (const auto& c : empties) {
        const std::string kind(KindName(c.kind));
        const EditableKind& d = *EditableKindOf(c.kind);
        for (int target : {1, 2}) {
            // A target that holds an item, so that a blank written over it would show.
            ASSERT_TRUE(
                scheme->WriteItem(target, c.kind, c.to, d.Read(Data(1), c.kind == Program ? c.to - 2 : 0)).done);
            const Bytes held = SerializeKind(Data(target), c.kind);
            ui.messages.clear();
            ui.events.clear();
            Note("drop empty " + kind + " on set " + std::to_string(target), DropOn(c.kind, 1, c.from, target, c.to));
            EXPECT_EQ(SerializeKind(Data(target), c.kind), held) << kind;
        }
        if (c.kind == Style) continue;
        const Bytes held = SerializeKind(Data(1), c.kind);
        Note("insert " + kind, Do(Insert, c.kind, 1, c.from == 129 ? 64 : 0));
        EXPECT_EQ(SerializeKind(Data(1), c.kind), held) << kind;
        ShowHeld(c.kind);  // the write's record stays
    }
    // Programs and drum kits keep to their own slots, with a warning.
    const auto programs = Data(1).prg.records;
    const Bytes gigsPrograms = SerializeKind(Data(2), Program);
    for (const auto& [from, to] : {std::pair(128, 5), std::pair(0, 130)}) {
        Note("copy prg " + std::to_string(from), Do(Copy, Program, 1, from));
        Note("paste prg " + std::to_string(to), Do(Paste, Program, 1, to));
        Note("drop on prg 2:" + std::to_string(to), DropOn(Program, 1, from, 2, to));
    }
    EXPECT_EQ(Data(1).prg.records, programs);
    EXPECT_EQ(SerializeKind(Data(2), Program), gigsPrograms);
    // A drum kit into another drum kit slot brings its drum kit data.
    Data(1).prg.drumKits[0].fill(0x5A);
    Note("copy prg 128", Do(Copy, Program, 1, 128));
    Note("paste prg 2:135", Do(Paste, Program, 2, 135));
    EXPECT_EQ(std::pair(Prg(2, 135).Name(), Data(2).prg.drumKits[7]),
              std::pair(std::string("Kit             "), Data(1).prg.drumKits[0]));
}

// The referenced-by question: Yes and a choice redirects every caller; Yes and Cancel in the
// chooser leaves them calling nothing; choosing the leaving item is refused; Cancel abandons.
// The chooser opens on the neighbour: the item leaving its slot is no choice.
TEST_F(EditSchemeTest, CutOfACalledArrangementRedirectsOrCallsNothing) {
    NameArrangements(1, 0, 3);
    Arr(1, 2).SetName("  Ballad  ");
    CallArr(1, 4, 258);
    CallArr(1, 7, 258);
    CallArr(1, 8, 259);
    ui.AnswerTo(QuestionId::ReferencedBy, Answer::Yes);
    ui.pickAnswers = {3};
    Note("cut arr 2, Yes, A14", Do(Cut, Arrangement, 1, 2));
    ShowArrCalls(1);
    ui.AnswerTo(QuestionId::ReferencedBy, Answer::Yes);
    Note("cut arr 3, Yes, cancelled", Do(Cut, Arrangement, 1, 3));
    ShowArrCalls(1);
    Note("undo arr", Do(Undo, Arrangement, 1, -1));
    ShowArrCalls(1);

    ui.AnswerTo(QuestionId::ReferencedBy, Answer::Yes);
    ui.pickAnswers = {259};
    const SetData before = Data(1);
    Note("delete arr 3, Yes, itself", Do(Delete, Arrangement, 1, 3));
    EXPECT_EQ(Data(1).arr.arr, before.arr.arr);
    ShowArrCalls(1);
    ui.AnswerTo(QuestionId::ReferencedBy, Answer::Cancel);
    Note("cut arr 3, Cancel", Do(Cut, Arrangement, 1, 3));
    ShowHeld(Arrangement);
}

// Four duplicate pairs are shown, then the summary; programs and drum kits share one countdown.
TEST_F(EditSchemeTest, DuplicateNamesGiveFourMessagesAtMost) {
    const auto warn = [&](ItemKind kind) {
        log += std::string("warn ") + (scheme->WarnDuplicateNames(1, kind) ? "yes" : "no") + "\n";
        Seen();
    };
    for (int slot : {0, 1, 2, 64, 65}) Arr(1, slot).SetName("Same");
    Arr(1, 70).SetName(" Other");
    Arr(1, 71).SetName("Other ");
    Arr(1, 72).SetName("other");  // case matters
    Note("copy arr 0", Do(Copy, Arrangement, 1, 0));
    Note("paste arr 0", Do(Paste, Arrangement, 1, 0));
    Arr(1, 1).SetName("One");
    Arr(1, 2).SetName("Two");
    Arr(1, 64).SetName("Four");
    warn(Arrangement);
    options.WarnDupl = 0;
    warn(Arrangement);
    options.WarnDupl = 1;
    for (int i : {0, 1, 2}) Prg(1, i).SetName("Pad");
    for (int i : {128, 129, 130}) Prg(1, i).SetName("Kit");
    warn(Program);
}

// A paste into another set asks about each call whose item that set has no item of the name of.
TEST_F(EditSchemeTest, PasteFromAnotherSetAsksAboutMissingItems) {
    ArrangementRecord& source = Arr(1, 0);
    source.SetName("Traveller");
    source.SetStyle(257);
    for (int t = 0; t < ArrangementRecord::kTrackCount; ++t) source.SetTrackProgram(t, 5);  // presets
    source.SetTrackProgram(2, 768);
    source.SetTrackProgram(6, 769);
    Data(1).sty.slots[1].record.SetName("Shuffle");
    Prg(1, 0).SetName("Warm Bass");
    Prg(1, 1).SetName("Lead Synth");
    Data(2).sty.slots[9].record.SetName("Shuffle");
    Prg(2, 70).SetName("Warm Bass");  // G17
    Arr(2, 4).SetName("Old");
    const auto show = [&](int slot) {
        Show("  " + Arr(2, slot).Name() + " style, tracks 3, 7, 1",
             std::vector<int>{Arr(2, slot).Style(), Arr(2, slot).TrackProgram(2), Arr(2, slot).TrackProgram(6),
                              Arr(2, slot).TrackProgram(0)});
    };

    Note("copy arr 0", Do(Copy, Arrangement, 1, 0));
    ui.AnswerTo(QuestionId::MissingCall, Answer::Cancel);
    Note("paste arr 2:4, Cancel", Do(Paste, Arrangement, 2, 4));
    show(4);  // a cancelled check leaves the destination as it was
    ui.AnswerTo(QuestionId::MissingCall, Answer::Yes);
    ui.pickAnswers = {900};
    Note("paste arr 2:4, Yes, R57", Do(Paste, Arrangement, 2, 4));
    show(4);

    Data(2).sty.slots[9].record.SetName("Other");
    Prg(1, 1).SetName("Warm Bass");
    ui.AnswerTo(QuestionId::MissingCall, Answer::No);
    Note("paste arr 2:5, No", Do(Paste, Arrangement, 2, 5));
    show(5);

    Prg(1, 3).SetName("Strings");
    Data(1).ark.records[5].SetTrackProgram(1, 771);
    Note("copy ark 5", Do(Copy, KbdSet, 1, 5));
    ui.AnswerTo(QuestionId::MissingCall, Answer::No);
    Note("paste ark 2:9, No", Do(Paste, KbdSet, 2, 9));
    EXPECT_EQ(Data(2).ark.records[9], Data(1).ark.records[5]);
}

// Erase Bank asks first, refuses preset banks and cannot be undone; Copy drops the kind's Undo
// too; Import forgets the record of its own set; closing a set releases what it held.
TEST_F(EditSchemeTest, EraseCopyImportAndCloseDropTheUndoRecord) {
    NameArrangements(1, 0, 127);
    Edit erase{.command = EraseBank, .kind = Arrangement, .set = 1, .bank = 3};
    ui.AnswerTo(QuestionId::EraseBank, {Answer::Cancel, Answer::OK, Answer::OK});
    Note("erase arr bank 3, Cancel", scheme->Apply(erase));
    erase.bank = 1;
    Note("erase arr bank 1", scheme->Apply(erase));
    Note("erase sty bank 0", Do(EraseBank, Style, 1, -1, 0));
    ShowDirty(1);
    erase.bank = 3;
    Note("erase arr bank 3, OK", scheme->Apply(erase));
    EXPECT_EQ(std::tuple(Arr(1, 63).Name(), Arr(1, 64).IsEmpty(), Arr(1, 127).IsEmpty()),
              std::tuple(std::string("Arr 63          "), true, true));

    const struct {
        EditCommand command;
        ItemKind kind;
        int slot;
    } cases[] = {{Copy, Arrangement, 0},  {EraseBank, Arrangement, 0}, {Copy, Program, 3},
                 {EraseBank, Program, 3}, {Copy, KbdSet, 5},           {EraseBank, BackingSequence, 1}};
    for (const auto& c : cases) {
        const EditableKind& d = *EditableKindOf(c.kind);
        ASSERT_TRUE(scheme->WriteItem(1, c.kind, c.slot, d.Read(Data(1), c.slot)).done);
        ShowHeld(c.kind);
        ui.events.clear();
        const int bank = c.kind == Arrangement ? 2 : c.kind == Program ? 5 : 0;
        Note(std::string(c.command == Copy ? "copy " : "erase ") + std::string(KindName(c.kind)),
             c.command == Copy ? Do(Copy, c.kind, 1, c.slot + 1) : Do(EraseBank, c.kind, 1, -1, bank));
        Note("undo", Do(Undo, c.kind, 1, -1));
    }

    // An import made straight through the session, as the tool makes it, not from a set window.
    ASSERT_TRUE(scheme->WriteItem(1, Song, 0, EditableKindOf(Song)->Read(Data(1), 0)).done);
    const std::string songs = session->Catalogue().templateBase + ".SNG";
    ASSERT_TRUE(session->ImportFromFile(2, Song, songs));
    ShowHeld(Song);
    ASSERT_TRUE(session->ImportFromFile(1, Song, songs));
    Note("undo sng", Do(Undo, Song, 1, -1));

    NameArrangements(1, 0, 0);
    Note("cut arr 0", Do(Cut, Arrangement, 1, 0));
    ShowHeld(Arrangement);
    session->CloseSet(1);
    ShowHeld(Arrangement);
    Note("paste arr 2:0", Do(Paste, Arrangement, 2, 0));
}

// KBD sets dropped in one set land before the target, and Undo restores the order. Double clicks
// on the header and on cells; the split dialog of a key outside its list starts on C4.
TEST_F(EditSchemeTest, KbdSetsMoveByDropAndTakeSplitKeysAndProgramsFromDoubleClicks) {
    for (int i = 0; i < kKbdSetCount; ++i)
        Data(1).ark.records[static_cast<std::size_t>(i)].SetByte(0, static_cast<std::uint8_t>(i));
    const auto showOrder = [&] {
        std::vector<int> order;
        for (int i = 0; i < 5; ++i) order.push_back(Data(1).ark.records[static_cast<std::size_t>(i)].Byte(0));
        Show("  KBD sets 11 to 15", order);
    };
    for (const auto& [from, to] : {std::pair(0, 3), std::pair(3, 0)}) {
        ui.AnswerTo(QuestionId::InsertBefore, Answer::Yes);
        Note("drop ark " + std::to_string(from) + " on " + std::to_string(to), DropOn(KbdSet, 1, from, 1, to));
        showOrder();
        Note("undo", Do(Undo, KbdSet, 1, -1));
        showOrder();
    }
    ui.AnswerTo(QuestionId::InsertBefore, Answer::No);
    Note("drop ark 0 on 3, No", DropOn(KbdSet, 1, 0, 1, 3));

    const auto click = [&](int kbd, int column) {
        log += "click " + std::to_string(kbd) + "/" + std::to_string(column) + ": " +
               (KbdGridDoubleClick(*session, *scheme, 1, kbd, column) ? "changed" : "unchanged") + "\n";
        Seen();
    };
    Data(1).ark.records[2].SetSplit(20);
    ui.pickAnswers = {24, 0, -1, 838};
    click(-1, 1);
    for (const auto& kbd : Data(1).ark.records) EXPECT_EQ(kbd.Split(), 60);
    Data(1).ark.records[2].SetSplit(20);
    click(2, 1);
    click(5, 3);
    click(5, 3);
    Show("  KBD set 13 split, KBD set 16 track 2",
         std::vector<int>{Data(1).ark.records[2].Split(), Data(1).ark.records[5].TrackProgram(1)});
    ShowDirty(1);
    Note("undo", Do(Undo, KbdSet, 1, -1));
    Show("  KBD set 16 track 2", std::vector<int>{Data(1).ark.records[5].TrackProgram(1)});
    // Past the last KBD set nothing is asked; picking the split a KBD set has changes nothing.
    click(64, 1);
    Data(1).ark.records[63].SetSplit(60);
    ui.pickAnswers = {24, 25};
    click(63, 1);
    click(63, 1);
    Show("  KBD set 88 split", std::vector<int>{Data(1).ark.records[63].Split()});
}

}  // namespace
}  // namespace vx
