// What the edit commands ask, refuse and hold: the texts of their questions and refusals, the
// clipboards, Undo and the notices. Where calls end up after a command, and what Undo gives
// back, the model test (edit_model_test.cpp) checks on random scripts.
#include "core/editing/EditScheme.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/catalogue/Catalogue.h"
#include "core/editing/KbdSetChoices.h"
#include "core/storage/Session.h"
#include "support/EditFixture.h"

namespace vx {
namespace {

using enum ItemKind;

// LIVE (1) and GIGS (2) with every KBD set calling no program.
class EditSchemeTest : public test::EditFixture {
protected:
    void SetUp() override {
        EditFixture::SetUp();
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
    std::vector<int> ArrCalls(int set) {
        std::vector<int> calls;
        for (int p = 0; p < kSequenceCount; ++p)
            if (!Bsq(set, p).IsEmpty()) calls.push_back(Bsq(set, p).Word(16));  // as stored: 65535 is none
        return calls;
    }
};

const std::string kArrQuestionTail =
    " Arrangement is referenced by\none or more Backing Sequences.\nChange references to another Arrangement?";
const std::string kPrgQuestionTail =
    "' is referenced by one or more\nArrangements, Styles, Backing Sequences, etc.\n\nRedirect them to another "
    "Program?";

// Insert asks about the item it pushes out of the bank, which the clipboard then holds; one
// level of Undo.
TEST_F(EditSchemeTest, InsertAsksAboutTheItemPushedOutAndHoldsIt) {
    NameArrangements(1, 0, 127);
    CallArr(1, 0, 266);  // C33 = slot 10
    CallArr(1, 1, 319);  // slot 63, pushed out: its caller keeps the number
    ASSERT_TRUE(Do(EditCommand::Copy, Arrangement, 1, 100).done);
    Arr(1, 100).SetName("Spare");
    ui.AnswerTo(QuestionId::ReferencedBy, Answer::No);
    ASSERT_TRUE(Do(EditCommand::Insert, Arrangement, 1, 10).done);
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{"Arr 63" + kArrQuestionTail});
    EXPECT_EQ(ArrCalls(1), (std::vector<int>{267, 319}));
    const Clipboard& clipboard = scheme->ClipboardOf(Arrangement);
    EXPECT_EQ(std::pair(clipboard.set, clipboard.slot), std::pair(1, 10));
    EXPECT_EQ(std::get<ArrangementRecord>(*clipboard.item).Name(), "Arr 63          ");
    EXPECT_EQ(scheme->UndoOf(Arrangement).op, 7);
    EXPECT_TRUE(session->Slot(1).dirty[0] && session->Slot(1).dirty[3]);
    ASSERT_TRUE(Do(EditCommand::Undo, Arrangement, 1, -1).done);
    EXPECT_TRUE(scheme->UndoOf(Arrangement).Empty());
    EXPECT_FALSE(Do(EditCommand::Undo, Arrangement, 1, -1).done) << "one level only";

    // A program insert asks about F88's callers, the chooser on its neighbour F87; one notice
    // per changed kind.
    for (int i = 0; i < 64; ++i) Prg(1, i).SetName("Prg " + std::to_string(i));
    Prg(1, 70).SetName("Spare");
    for (int t = 0; t < ArrangementRecord::kTrackCount; ++t) Arr(1, 0).SetTrackProgram(t, 3);
    Arr(1, 0).SetTrackProgram(0, 831);  // F88
    ASSERT_TRUE(Do(EditCommand::Copy, Program, 1, 70).done);
    Data(1).ark.records[0].SetTrackProgram(4, 768);  // F11
    ui.messages.clear();
    ui.events.clear();
    ui.AnswerTo(QuestionId::ReferencedBy, Answer::Yes);
    ui.pickAnswers = {839};  // G18
    ASSERT_TRUE(Do(EditCommand::Insert, Program, 1, 0).done);
    EXPECT_EQ(ui.Texts(), (std::vector<std::string>{"Program 'Prg 63" + kPrgQuestionTail,
                                                    "Program duplicate name\nG17 - F11  (Spare)"}));
    EXPECT_EQ(std::pair(ui.picks[0].what, ui.picks[0].start), std::pair(std::string("Program"), 830));
    EXPECT_EQ(std::pair(Arr(1, 0).TrackProgram(0), Data(1).ark.records[0].TrackProgram(4)), std::pair(839, 769));
    EXPECT_EQ(std::get<ProgramItem>(*scheme->ClipboardOf(Program).item).record.Name(), "Prg 63          ");
    EXPECT_EQ(ui.events,
              (std::vector<std::string>{"KindChanged 1 0", "KindChanged 1 2", "KindChanged 1 5", "Undo 1 on"}));
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
    auto drop = [&](ItemKind sourceKind, ItemKind kind, int slot) {
        Edit edit;
        edit.command = EditCommand::Drop;
        edit.sourceKind = sourceKind;
        edit.kind = kind;
        edit.set = edit.sourceSet = 1;
        edit.sourceSlot = 3;
        edit.slot = slot;
        return scheme->Apply(edit).reason;
    };
    const SetData before = Data(1);
    EXPECT_EQ(drop(Arrangement, Arrangement, 3), "The item was dropped on itself.");
    EXPECT_EQ(drop(Program, Arrangement, 9), "An item can only be dropped on a view of its own kind.");
    EXPECT_EQ(drop(KbdSet, Program, 9), "An item can only be dropped on a view of its own kind.");
    EXPECT_EQ(drop(Arrangement, Arrangement, -1), "No item can be dropped there.");
    EXPECT_EQ(Do(EditCommand::Cut, Arrangement, 1, 50).reason, "The slot is empty.");
    EXPECT_EQ(Do(EditCommand::Paste, Arrangement, 2, 0).reason, "The clipboard is empty.");
    EXPECT_EQ(Do(EditCommand::Delete, Program, 1, 128).reason, "This item can't be deleted.");
    EXPECT_EQ(Do(EditCommand::Cut, KbdSet, 1, 0).reason, "This command is not available for this kind.");
    for (EditCommand command : {EditCommand::Delete, EditCommand::Insert})
        EXPECT_EQ(Do(command, Style, 1, 0).reason, "This command is not available for this kind.");
    EXPECT_TRUE(ui.events.empty());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(Data(1).arr.arr, before.arr.arr);

    // An empty slot is not dragged, within a set or to another; Insert needs a held item.
    const struct {
        ItemKind kind;
        int from, to;
    } empties[] = {{Arrangement, 50, 7}, {Style, 2, 6},           {Program, 10, 11},
                   {Program, 129, 130},  {BackingSequence, 4, 1}, {Song, 2, 5}};
    for (const auto& c : empties) {
        SCOPED_TRACE(std::string(KindName(c.kind)));
        const EditableKind& d = *EditableKindOf(c.kind);
        for (int target : {1, 2}) {
            // A target that holds an item, so that a blank written over it would show.
            ASSERT_TRUE(
                scheme->WriteItem(target, c.kind, c.to, d.Read(Data(1), c.kind == Program ? c.to - 2 : 0)).done);
            const Bytes held = SerializeKind(Data(target), c.kind);
            ui.events.clear();
            EXPECT_EQ(DropOn(c.kind, 1, c.from, target, c.to).reason, "The slot is empty.");
            EXPECT_EQ(SerializeKind(Data(target), c.kind), held);
            EXPECT_TRUE(ui.events.empty());
        }
        if (c.kind == Style) continue;
        const Bytes held = SerializeKind(Data(1), c.kind);
        EXPECT_EQ(Do(EditCommand::Insert, c.kind, 1, c.from == 129 ? 64 : 0).reason, "The clipboard is empty.");
        EXPECT_EQ(SerializeKind(Data(1), c.kind), held);
        EXPECT_EQ(scheme->UndoOf(c.kind).op, 3) << "the write's record stays";
    }
    // Programs and drum kits keep to their own slots, with a warning.
    const auto programs = Data(1).prg.records;
    const Bytes gigsPrograms = SerializeKind(Data(2), Program);
    const std::tuple<int, int, std::string> cases[] = {
        {128, 5, "A Drum Kit can't be pasted into a Program slot."},
        {0, 130, "A Program can't be pasted into a Drum Kit slot."},
    };
    for (const auto& [from, to, warning] : cases) {
        ui.messages.clear();
        ASSERT_TRUE(Do(EditCommand::Copy, Program, 1, from).done);
        EXPECT_EQ(Do(EditCommand::Paste, Program, 1, to).reason, warning);
        EXPECT_EQ(DropOn(Program, 1, from, 2, to).reason, warning);
        EXPECT_EQ(ui.Texts().front(), warning);
        EXPECT_EQ(std::tuple(ui.Last().text, ui.Last().title, ui.Last().icon),
                  std::tuple(warning, std::string("Warning"), MessageIcon::Exclamation));
    }
    EXPECT_EQ(Data(1).prg.records, programs);
    EXPECT_EQ(SerializeKind(Data(2), Program), gigsPrograms);
    // A drum kit into another drum kit slot brings its drum kit data.
    Data(1).prg.drumKits[0].fill(0x5A);
    ASSERT_TRUE(Do(EditCommand::Copy, Program, 1, 128).done);
    ASSERT_TRUE(Do(EditCommand::Paste, Program, 2, 135).done);
    EXPECT_EQ(std::pair(Prg(2, 135).Name(), Data(2).prg.drumKits[7]),
              std::pair(std::string("Kit             "), Data(1).prg.drumKits[0]));
}

// The referenced-by question: Yes and a choice redirects every caller; Yes and Cancel in the
// chooser leaves them calling nothing; choosing the leaving item is refused; Cancel abandons.
TEST_F(EditSchemeTest, CutOfACalledArrangementRedirectsOrCallsNothing) {
    NameArrangements(1, 0, 3);
    Arr(1, 2).SetName("  Ballad  ");
    CallArr(1, 4, 258);
    CallArr(1, 7, 258);
    CallArr(1, 8, 259);
    ui.AnswerTo(QuestionId::ReferencedBy, Answer::Yes);
    ui.pickAnswers = {3};
    ASSERT_TRUE(Do(EditCommand::Cut, Arrangement, 1, 2).done);
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{"Ballad" + kArrQuestionTail});
    EXPECT_EQ(ui.Last().icon, MessageIcon::Exclamation);
    EXPECT_EQ(ui.Last().defaultButton, Answer::Cancel);
    ASSERT_EQ(ui.picks.size(), 1u);
    // The chooser opens on the neighbour: the item leaving its slot is no choice.
    EXPECT_EQ(std::pair(ui.picks[0].what, ui.picks[0].start), std::pair(std::string("Arrangement"), 259));
    EXPECT_EQ(ArrCalls(1), (std::vector<int>{3, 3, 259}));

    ui.AnswerTo(QuestionId::ReferencedBy, Answer::Yes);
    ASSERT_TRUE(Do(EditCommand::Cut, Arrangement, 1, 3).done);
    EXPECT_EQ(ArrCalls(1), (std::vector<int>{3, 3, 65535}));
    ASSERT_TRUE(Do(EditCommand::Undo, Arrangement, 1, -1).done);
    EXPECT_EQ(ArrCalls(1), (std::vector<int>{3, 3, 259}));

    ui.AnswerTo(QuestionId::ReferencedBy, Answer::Yes);
    ui.pickAnswers = {259};
    const SetData before = Data(1);
    const std::string refusal =
        "The callers of Arrangement 'Arr 3' can't be changed to call it: it is the one leaving its slot.";
    EXPECT_EQ(Do(EditCommand::Delete, Arrangement, 1, 3).reason, refusal);
    EXPECT_EQ(ui.Last().text, refusal);
    EXPECT_EQ(ui.picks.back().start, 260);
    EXPECT_EQ(Data(1).arr.arr, before.arr.arr);
    EXPECT_EQ(ArrCalls(1), (std::vector<int>{3, 3, 259}));

    ui.AnswerTo(QuestionId::ReferencedBy, Answer::Cancel);
    EXPECT_EQ(Do(EditCommand::Cut, Arrangement, 1, 3).reason, "Cancelled.");
    EXPECT_EQ(scheme->ClipboardOf(Arrangement).slot, 3);
}

// Four duplicate pairs are shown, then the summary; programs and drum kits share one countdown.
TEST_F(EditSchemeTest, DuplicateNamesGiveFourMessagesAtMost) {
    for (int slot : {0, 1, 2, 64, 65}) Arr(1, slot).SetName("Same");
    Arr(1, 70).SetName(" Other");
    Arr(1, 71).SetName("Other ");
    Arr(1, 72).SetName("other");  // case matters
    ASSERT_TRUE(Do(EditCommand::Copy, Arrangement, 1, 0).done);
    ASSERT_TRUE(Do(EditCommand::Paste, Arrangement, 1, 0).done);
    EXPECT_EQ(ui.Texts(),
              (std::vector<std::string>{
                  "Arrangement duplicate name\nC12 - C11  (Same)", "Arrangement duplicate name\nC13 - C11  (Same)",
                  "Arrangement duplicate name\nC13 - C12  (Same)", "More than 4 Arrangement duplicate names !"}));
    EXPECT_EQ(std::tuple(ui.Last().title, ui.Last().icon, ui.Last().buttons),
              std::tuple(std::string(), MessageIcon::Exclamation, MessageButtons::OK));

    ui.messages.clear();
    Arr(1, 1).SetName("One");
    Arr(1, 2).SetName("Two");
    Arr(1, 64).SetName("Four");
    EXPECT_TRUE(scheme->WarnDuplicateNames(1, Arrangement));
    EXPECT_EQ(ui.Texts(), (std::vector<std::string>{"Arrangement duplicate name\nD12 - C11  (Same)",
                                                    "Arrangement duplicate name\nD18 - D17  (Other)"}));
    options.WarnDupl = 0;
    EXPECT_FALSE(scheme->WarnDuplicateNames(1, Arrangement));
    options.WarnDupl = 1;

    ui.messages.clear();
    for (int i : {0, 1, 2}) Prg(1, i).SetName("Pad");
    for (int i : {128, 129, 130}) Prg(1, i).SetName("Kit");
    EXPECT_TRUE(scheme->WarnDuplicateNames(1, Program));
    EXPECT_EQ(ui.Texts(), (std::vector<std::string>{
                              "Program duplicate name\nF12 - F11  (Pad)", "Program duplicate name\nF13 - F11  (Pad)",
                              "Program duplicate name\nF13 - F12  (Pad)", "More than 4 Program duplicate names !"}));
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

    ASSERT_TRUE(Do(EditCommand::Copy, Arrangement, 1, 0).done);
    ui.AnswerTo(QuestionId::MissingCall, Answer::Cancel);
    EXPECT_FALSE(Do(EditCommand::Paste, Arrangement, 2, 4).done);
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{"Track 'MainKBD' of Arrangement 'Traveller' calls Program 'Lead "
                                                   "Synth' non-existent in 'GIGS'\nRedirect this track to an existing "
                                                   "Program?"});
    EXPECT_EQ(Arr(2, 4).Name(), "Old             ") << "a cancelled check leaves the destination as it was";

    ui.messages.clear();
    ui.AnswerTo(QuestionId::MissingCall, Answer::Yes);
    ui.pickAnswers = {900};
    ASSERT_TRUE(Do(EditCommand::Paste, Arrangement, 2, 4).done);
    EXPECT_EQ(ui.picks.back().caption, "for track 'MainKBD'");
    EXPECT_EQ(std::vector<int>(
                  {Arr(2, 4).Style(), Arr(2, 4).TrackProgram(2), Arr(2, 4).TrackProgram(6), Arr(2, 4).TrackProgram(0)}),
              std::vector<int>({265, 838, 900, 5}));
    EXPECT_EQ(ui.messages.size(), 1u);

    Data(2).sty.slots[9].record.SetName("Other");
    Prg(1, 1).SetName("Warm Bass");
    ui.messages.clear();
    ui.AnswerTo(QuestionId::MissingCall, Answer::No);
    ASSERT_TRUE(Do(EditCommand::Paste, Arrangement, 2, 5).done);
    EXPECT_EQ(ui.Texts(), (std::vector<std::string>{"Arrangement 'Traveller' calls Style 'Shuffle' non-existent in "
                                                    "'GIGS'\nRedirect this Arrangement to an existing Style?",
                                                    "Arrangement duplicate name\nC16 - C15  (Traveller)"}));
    EXPECT_EQ(std::pair(Arr(2, 5).Style(), Arr(2, 5).TrackProgram(6)), std::pair(257, 838));

    Prg(1, 3).SetName("Strings");
    Data(1).ark.records[5].SetTrackProgram(1, 771);
    ASSERT_TRUE(Do(EditCommand::Copy, KbdSet, 1, 5).done);
    ui.messages.clear();
    ui.AnswerTo(QuestionId::MissingCall, Answer::No);
    ASSERT_TRUE(Do(EditCommand::Paste, KbdSet, 2, 9).done);
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{"Track 'SubKBD' of KBD Set '22' calls Program 'Strings' "
                                                   "non-existent in 'GIGS'\n\nRedirect this track to an existing "
                                                   "Program?"});
    EXPECT_EQ(Data(2).ark.records[9], Data(1).ark.records[5]);
}

// Erase Bank asks first, refuses preset banks and cannot be undone; Copy drops the kind's Undo
// too; Import forgets the record of its own set; closing a set releases what it held.
TEST_F(EditSchemeTest, EraseCopyImportAndCloseDropTheUndoRecord) {
    NameArrangements(1, 0, 127);
    Edit erase;
    erase.command = EditCommand::EraseBank;
    erase.kind = Arrangement;
    erase.set = 1;
    erase.bank = 3;
    ui.AnswerTo(QuestionId::EraseBank, {Answer::Cancel, Answer::OK, Answer::OK});
    EXPECT_FALSE(scheme->Apply(erase).done);
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{"Bank Erasing can't be undone\nContinue?"});
    erase.bank = 1;
    EXPECT_EQ(scheme->Apply(erase).reason, "A preset bank can't be erased.");
    EXPECT_EQ(Do(EditCommand::EraseBank, Style, 1, -1, 0).reason, "A preset bank can't be erased.");
    EXPECT_FALSE(session->Slot(1).dirty[0]);
    erase.bank = 3;
    ASSERT_TRUE(scheme->Apply(erase).done);
    EXPECT_EQ(std::tuple(Arr(1, 63).Name(), Arr(1, 64).IsEmpty(), Arr(1, 127).IsEmpty()),
              std::tuple(std::string("Arr 63          "), true, true));
    EXPECT_EQ(ui.events.back(), "Undo 1 off");

    const struct {
        const char* what;
        ItemKind kind;
        int cutSlot;
    } cases[] = {{"copy", Arrangement, 0}, {"erase", Arrangement, 0}, {"copy", Program, 3},
                 {"erase", Program, 3},    {"copy", KbdSet, 5},       {"erase", BackingSequence, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.what) + " " + std::string(KindName(c.kind)));
        const EditableKind& d = *EditableKindOf(c.kind);
        ASSERT_TRUE(scheme->WriteItem(1, c.kind, c.cutSlot, d.Read(Data(1), c.cutSlot)).done);
        ASSERT_FALSE(scheme->UndoOf(c.kind).Empty());
        ui.events.clear();
        const bool copy = std::string(c.what) == "copy";
        const int bank = c.kind == Arrangement ? 2 : c.kind == Program ? 5 : 0;
        ASSERT_TRUE(
            (copy ? Do(EditCommand::Copy, c.kind, 1, c.cutSlot + 1) : Do(EditCommand::EraseBank, c.kind, 1, -1, bank))
                .done);
        EXPECT_TRUE(scheme->UndoOf(c.kind).Empty());
        EXPECT_EQ(ui.events.back(), "Undo 1 off");
        EXPECT_FALSE(Do(EditCommand::Undo, c.kind, 1, -1).done);
    }

    // An import made straight through the session, as the tool makes it, not from a set window.
    ASSERT_TRUE(scheme->WriteItem(1, Song, 0, EditableKindOf(Song)->Read(Data(1), 0)).done);
    const std::string songs = session->Catalogue().templateBase + ".SNG";
    ASSERT_TRUE(session->ImportFromFile(2, Song, songs));
    EXPECT_EQ(scheme->UndoOf(Song).set, 1);
    ASSERT_TRUE(session->ImportFromFile(1, Song, songs));
    EXPECT_TRUE(scheme->UndoOf(Song).Empty());
    EXPECT_EQ(Do(EditCommand::Undo, Song, 1, -1).reason, "Nothing to undo.");

    NameArrangements(1, 0, 0);
    ASSERT_TRUE(Do(EditCommand::Cut, Arrangement, 1, 0).done);
    ASSERT_FALSE(scheme->UndoOf(Arrangement).Empty());
    session->CloseSet(1);
    EXPECT_TRUE(scheme->ClipboardOf(Arrangement).Empty());
    EXPECT_TRUE(scheme->UndoOf(Arrangement).Empty());
    EXPECT_EQ(Do(EditCommand::Paste, Arrangement, 2, 0).reason, "The clipboard is empty.");
}

std::vector<int> KbdOrder(const SetData& data) {
    std::vector<int> order;
    for (int i = 0; i < 5; ++i) order.push_back(data.ark.records[static_cast<std::size_t>(i)].Byte(0));
    return order;
}

TEST_F(EditSchemeTest, KbdSetsDroppedInOneSetLandBeforeTheTargetAndUndoRestoresTheOrder) {
    for (int i = 0; i < kKbdSetCount; ++i)
        Data(1).ark.records[static_cast<std::size_t>(i)].SetByte(0, static_cast<std::uint8_t>(i));
    // From, to, the question, the order of KBD sets 11 to 15 afterwards.
    const std::tuple<int, int, std::string, std::vector<int>> moves[] = {
        {0, 3, "Insert KBD Set 11 before 14 ?", {1, 2, 0, 3, 4}},
        {3, 0, "Insert KBD Set 14 before 11 ?", {3, 0, 1, 2, 4}},
    };
    for (const auto& [from, to, question, order] : moves) {
        ui.messages.clear();
        ui.AnswerTo(QuestionId::InsertBefore, Answer::Yes);
        ASSERT_TRUE(DropOn(KbdSet, 1, from, 1, to).done);
        EXPECT_EQ(std::tuple(ui.Last().text, ui.Last().icon, ui.Last().buttons),
                  std::tuple(question, MessageIcon::Question, MessageButtons::YesNo));
        EXPECT_EQ(KbdOrder(Data(1)), order);
        ASSERT_TRUE(Do(EditCommand::Undo, KbdSet, 1, -1).done);
        EXPECT_EQ(KbdOrder(Data(1)), (std::vector<int>{0, 1, 2, 3, 4}));
    }
    ui.AnswerTo(QuestionId::InsertBefore, Answer::No);
    EXPECT_FALSE(DropOn(KbdSet, 1, 0, 1, 3).done);
}

TEST_F(EditSchemeTest, DoubleClicksOnTheKbdGridSetSplitKeysAndPrograms) {
    // Kbd set (-1 the header), column, picked answer, the dialog's caption and preselection,
    // what changed.
    Data(1).ark.records[2].SetSplit(20);  // outside the list: the dialog starts on C4
    ui.pickAnswers = {24, 0, -1, 838};
    EXPECT_TRUE(KbdGridDoubleClick(*session, *scheme, 1, -1, 1));
    EXPECT_EQ(std::pair(ui.picks[0].caption, ui.picks[0].entries.size()),
              std::pair(std::string("Set All KBD Sets Split Key"), std::size_t{61}));
    EXPECT_EQ(std::pair(ui.picks[0].entries.front(), ui.picks[0].entries.back()),
              std::pair(std::string("C2"), std::string("C7")));
    for (const auto& kbd : Data(1).ark.records) EXPECT_EQ(kbd.Split(), 60);
    Data(1).ark.records[2].SetSplit(20);
    EXPECT_TRUE(KbdGridDoubleClick(*session, *scheme, 1, 2, 1));
    EXPECT_EQ(std::tuple(ui.picks[1].caption, ui.picks[1].start, Data(1).ark.records[2].Split()),
              std::tuple(std::string("Set KBD Set 13 Split Key"), 24, 36));
    EXPECT_FALSE(KbdGridDoubleClick(*session, *scheme, 1, 5, 3));  // cancelled
    EXPECT_TRUE(KbdGridDoubleClick(*session, *scheme, 1, 5, 3));
    EXPECT_EQ(std::tuple(ui.picks[3].what, ui.picks[3].start, Data(1).ark.records[5].TrackProgram(1)),
              std::tuple(std::string("Program"), 0x7FFF, 838));
    EXPECT_TRUE(session->Slot(1).dirty[KindIndex(KbdSet)]);
    ASSERT_TRUE(Do(EditCommand::Undo, KbdSet, 1, -1).done);
    EXPECT_EQ(Data(1).ark.records[5].TrackProgram(1), 0x7FFF);
}

}  // namespace
}  // namespace vx
