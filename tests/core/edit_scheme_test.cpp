#include "core/editing/EditScheme.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/editing/KbdSetChoices.h"
#include "core/storage/Session.h"
#include "support/ScriptedInteraction.h"
#include "support/TestSession.h"

namespace vx {
namespace {

using enum ItemKind;
using test::ScriptedInteraction;

// Two new sets, LIVE (1) and GIGS (2), with every KBD set calling no program.
class EditSchemeTest : public ::testing::Test {
protected:
    void SetUp() override {
        session = test::MakeSession(ui, options);
        ASSERT_TRUE(session);
        scheme = std::make_unique<EditScheme>(*session);
        for (const char* name : {"LIVE", "GIGS"}) {
            const int set = session->OpenOrNewSet(true, "");
            session->Slot(set).name = name;
            session->Slot(set).dirty.fill(false);
            for (auto& kbd : Data(set).ark.records)
                for (int t = 0; t < KbdSetRecord::kTrackCount; ++t) kbd.SetTrackProgram(t, 0x7FFF);
        }
        ui.events.clear();
    }

    SetData& Data(int set) { return session->Data(set); }
    ArrangementRecord& Arr(int set, int slot) { return Data(set).arr.arr[static_cast<std::size_t>(slot)]; }
    BsqRecord& Bsq(int set, int position) { return Data(set).bsq.entries[static_cast<std::size_t>(position)].record; }
    void NameArrangements(int set, int first, int last, const std::string& prefix) {
        for (int slot = first; slot <= last; ++slot) Arr(set, slot).SetName(prefix + std::to_string(slot));
    }
    // Backing sequence position calls arrangement number.
    void CallArr(int set, int position, int number) {
        Bsq(set, position).SetName("Seq " + std::to_string(position));
        Bsq(set, position).SetArrangement(number);
    }
    std::vector<int> ArrCalls(int set) {
        std::vector<int> calls;
        for (int p = 0; p < kSequenceCount; ++p)
            if (!Bsq(set, p).IsEmpty()) calls.push_back(Bsq(set, p).Word(16));
        return calls;
    }
    EditResult Do(EditCommand command, ItemKind kind, int set, int slot) {
        Edit edit;
        edit.command = command;
        edit.kind = kind;
        edit.set = set;
        edit.slot = slot;
        return Shown(scheme->Apply(edit));
    }
    EditResult DropOn(ItemKind kind, int sourceSet, int sourceSlot, int set, int slot, ItemKind sourceKind) {
        Edit edit;
        edit.command = EditCommand::Drop;
        edit.kind = kind;
        edit.set = set;
        edit.slot = slot;
        edit.sourceKind = sourceKind;
        edit.sourceSet = sourceSet;
        edit.sourceSlot = sourceSlot;
        return Shown(scheme->Apply(edit));
    }
    // Shows the result's warning as the set window does.
    EditResult Shown(EditResult result) {
        ShowNotice(ui, result);
        return result;
    }

    ScriptedInteraction ui;
    Options options;
    std::unique_ptr<Session> session;
    std::unique_ptr<EditScheme> scheme;
};

const std::string kArrQuestionTail =
    " Arrangement is referenced by\none or more Backing Sequences.\nChange references to another Arrangement?";

TEST_F(EditSchemeTest, InsertAtC10ShiftsTheBankAndUndoPutsEveryRecordAndCallBack) {
    NameArrangements(1, 0, 127, "Arr ");
    CallArr(1, 0, 266);  // C33 = slot 10
    CallArr(1, 1, 319);  // slot 63, pushed out: its caller keeps the number
    CallArr(1, 2, 330);  // bank D does not move
    ASSERT_TRUE(Do(EditCommand::Copy, Arrangement, 1, 100).done);
    Arr(1, 100).SetName("Spare");  // the clipboard keeps what was copied
    ui.AnswerTo(QuestionId::ReferencedBy, Answer::No);
    const SetData before = Data(1);

    ASSERT_TRUE(Do(EditCommand::Insert, Arrangement, 1, 10).done);
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{"Arr 63" + kArrQuestionTail});
    EXPECT_EQ(Arr(1, 10).Name(), "Arr 100         ");
    EXPECT_EQ(Arr(1, 11).Name(), "Arr 10          ");
    EXPECT_EQ(Arr(1, 63).Name(), "Arr 62          ");
    EXPECT_EQ(Arr(1, 64).Name(), "Arr 64          ");
    EXPECT_EQ(ArrCalls(1), (std::vector<int>{267, 319, 330}));
    const Clipboard& clipboard = scheme->ClipboardOf(Arrangement);
    EXPECT_EQ(std::pair(clipboard.set, clipboard.slot), std::pair(1, 10));
    EXPECT_EQ(std::get<ArrangementRecord>(*clipboard.item).Name(), "Arr 63          ");
    EXPECT_EQ(scheme->UndoOf(Arrangement).op, 7);
    EXPECT_TRUE(session->Slot(1).dirty[0] && session->Slot(1).dirty[3]);

    ASSERT_TRUE(Do(EditCommand::Undo, Arrangement, 1, -1).done);
    EXPECT_EQ(Data(1).arr.arr, before.arr.arr);
    EXPECT_EQ(ArrCalls(1), (std::vector<int>{266, 319, 330}));
    EXPECT_TRUE(scheme->UndoOf(Arrangement).Empty());
    EXPECT_FALSE(Do(EditCommand::Undo, Arrangement, 1, -1).done) << "one level only";
}

TEST_F(EditSchemeTest, DragOfThreeOntoSevenMovesItsCallersAndUndoPutsBothBack) {
    NameArrangements(1, 0, 10, "Arr ");
    CallArr(1, 0, 259);  // slot 3
    CallArr(1, 1, 263);  // slot 7: answered No, so its caller stays on 7
    const SetData before = Data(1);
    ui.AnswerTo(QuestionId::ReferencedBy, Answer::No);
    ASSERT_TRUE(DropOn(Arrangement, 1, 3, 1, 7, Arrangement).done);
    EXPECT_EQ(std::pair(Arr(1, 7).Name(), Arr(1, 3).IsEmpty()), std::pair(std::string("Arr 3           "), true));
    EXPECT_EQ(ArrCalls(1), (std::vector<int>{263, 263}));
    EXPECT_EQ(scheme->UndoOf(Arrangement).op, 4);
    EXPECT_EQ(ui.events.back(), "Undo 1 on");
    ASSERT_TRUE(Do(EditCommand::Undo, Arrangement, 1, -1).done);
    EXPECT_EQ(ArrCalls(1), (std::vector<int>{259, 263}));
    EXPECT_EQ(Data(1).arr.arr, before.arr.arr);

    // Drops that change nothing: on itself, from another kind's view, onto no user slot.
    ui.events.clear();
    EXPECT_EQ(DropOn(Arrangement, 1, 3, 1, 3, Arrangement).reason, "The item was dropped on itself.");
    EXPECT_EQ(DropOn(Arrangement, 1, 3, 1, 9, Program).reason,
              "An item can only be dropped on a view of its own kind.");
    EXPECT_EQ(DropOn(Program, 1, 3, 1, 9, KbdSet).reason, "An item can only be dropped on a view of its own kind.");
    EXPECT_EQ(DropOn(Arrangement, 1, 3, 1, -1, Arrangement).reason, "No item can be dropped there.");
    EXPECT_TRUE(ui.events.empty());
    EXPECT_EQ(Data(1).arr.arr, before.arr.arr);
}

TEST_F(EditSchemeTest, CutOfATwiceCalledArrangementRedirectsOrCallsNothing) {
    NameArrangements(1, 0, 3, "Arr ");
    Arr(1, 2).SetName("  Ballad  ");
    CallArr(1, 4, 258);
    CallArr(1, 7, 258);
    CallArr(1, 8, 259);
    // Yes and a choice: both callers call the chosen arrangement.
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
    EXPECT_TRUE(Arr(1, 2).IsEmpty());

    // Yes, then Cancel in the selection dialog: the callers call no arrangement.
    ui.AnswerTo(QuestionId::ReferencedBy, Answer::Yes);
    ASSERT_TRUE(Do(EditCommand::Cut, Arrangement, 1, 3).done);
    EXPECT_EQ(ArrCalls(1), (std::vector<int>{3, 3, 65535}));
    // Undo takes the redirect back with the record.
    ASSERT_TRUE(Do(EditCommand::Undo, Arrangement, 1, -1).done);
    EXPECT_EQ(ArrCalls(1), (std::vector<int>{3, 3, 259}));
    EXPECT_EQ(Arr(1, 3).Name(), "Arr 3           ");

    // Chosen all the same, it is refused and nothing changes.
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

    // Cancel abandons; an empty slot is not cut and leaves the clipboard as it was.
    ui.AnswerTo(QuestionId::ReferencedBy, Answer::Cancel);
    EXPECT_EQ(Do(EditCommand::Cut, Arrangement, 1, 3).reason, "Cancelled.");
    EXPECT_EQ(Do(EditCommand::Cut, Arrangement, 1, 50).reason, "The slot is empty.");
    EXPECT_EQ(scheme->ClipboardOf(Arrangement).slot, 3);
}

TEST_F(EditSchemeTest, FiveDuplicatePairsGiveThreeMessagesAndTheSummary) {
    for (int slot : {0, 1, 2, 64, 65}) Arr(1, slot).SetName("Same");
    Arr(1, 70).SetName(" Other");
    Arr(1, 71).SetName("Other ");
    Arr(1, 72).SetName("other");  // case matters
    ASSERT_TRUE(Do(EditCommand::Copy, Arrangement, 1, 0).done);
    ASSERT_TRUE(Do(EditCommand::Paste, Arrangement, 1, 0).done);
    const std::vector<std::string> expected = {
        "Arrangement duplicate name\nC12 - C11  (Same)",
        "Arrangement duplicate name\nC13 - C11  (Same)",
        "Arrangement duplicate name\nC13 - C12  (Same)",
        "More than 4 Arrangement duplicate names !",
    };
    EXPECT_EQ(ui.Texts(), expected);
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
}

// LIVE's arrangement C11 plays user style C12 and user programs; GIGS has a style and one program
// of the same names in other slots, and no program of the other name.
TEST_F(EditSchemeTest, PasteFromAnotherSetRepointsCallsByName) {
    ArrangementRecord& source = Arr(1, 0);
    source.SetName("Traveller");
    source.SetStyle(257);
    for (int t = 0; t < ArrangementRecord::kTrackCount; ++t) source.SetTrackProgram(t, 5);  // presets
    source.SetTrackProgram(2, 768);
    source.SetTrackProgram(6, 769);
    Data(1).sty.slots[1].record.SetName("Shuffle");
    Data(1).prg.records[0].SetName("Warm Bass");
    Data(1).prg.records[1].SetName("Lead Synth");
    Data(2).sty.slots[9].record.SetName("Shuffle");
    Data(2).prg.records[70].SetName("Warm Bass");  // G17
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

    // Without the program in LIVE's way, nothing is asked; the style is missing now.
    Data(2).sty.slots[9].record.SetName("Other");
    Data(1).prg.records[1].SetName("Warm Bass");
    ui.messages.clear();
    ui.AnswerTo(QuestionId::MissingCall, Answer::No);
    ASSERT_TRUE(Do(EditCommand::Paste, Arrangement, 2, 5).done);
    EXPECT_EQ(ui.Texts(), (std::vector<std::string>{"Arrangement 'Traveller' calls Style 'Shuffle' non-existent in "
                                                    "'GIGS'\nRedirect this Arrangement to an existing Style?",
                                                    "Arrangement duplicate name\nC16 - C15  (Traveller)"}));
    EXPECT_EQ(std::pair(Arr(2, 5).Style(), Arr(2, 5).TrackProgram(6)), std::pair(257, 838));
}

TEST_F(EditSchemeTest, ErasingABankAsksFirstAndLeavesPresetBanksAlone) {
    NameArrangements(1, 0, 127, "Arr ");
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
    EXPECT_FALSE(session->Slot(1).dirty[0]);
    erase.bank = 3;
    ASSERT_TRUE(scheme->Apply(erase).done);
    EXPECT_EQ(std::tuple(Arr(1, 63).Name(), Arr(1, 64).IsEmpty(), Arr(1, 127).IsEmpty()),
              std::tuple(std::string("Arr 63          "), true, true));
    EXPECT_EQ(ui.events.back(), "Undo 1 off");
}

TEST_F(EditSchemeTest, ClosingASetReleasesItsClipboardsAndUndo) {
    NameArrangements(1, 0, 3, "Arr ");
    ASSERT_TRUE(Do(EditCommand::Cut, Arrangement, 1, 0).done);
    ASSERT_FALSE(scheme->UndoOf(Arrangement).Empty());
    session->CloseSet(1);
    EXPECT_TRUE(scheme->ClipboardOf(Arrangement).Empty());
    EXPECT_TRUE(scheme->UndoOf(Arrangement).Empty());
    EXPECT_EQ(Do(EditCommand::Paste, Arrangement, 2, 0).reason, "The clipboard is empty.");
}

ProgramRecord& Prg(SetData& data, int index) { return data.prg.records[static_cast<std::size_t>(index)]; }

TEST_F(EditSchemeTest, InsertAtF11WithF88CalledAsksAboutF88AndShiftsTheCallers) {
    for (int i = 0; i < 64; ++i) Prg(Data(1), i).SetName("Prg " + std::to_string(i));
    Prg(Data(1), 70).SetName("Spare");
    Arr(1, 0).SetName("Caller");
    for (int t = 0; t < ArrangementRecord::kTrackCount; ++t) Arr(1, 0).SetTrackProgram(t, 3);
    Arr(1, 0).SetTrackProgram(0, 831);               // F88
    Data(1).ark.records[0].SetTrackProgram(4, 768);  // F11
    Data(1).ark.records[1].SetTrackProgram(0, 830);  // F87
    ASSERT_TRUE(Do(EditCommand::Copy, Program, 1, 70).done);
    Prg(Data(1), 70).SetName("Other");
    const SetData before = Data(1);
    ui.events.clear();
    ui.AnswerTo(QuestionId::ReferencedBy, Answer::Yes);
    ui.pickAnswers = {839};  // G18
    ASSERT_TRUE(Do(EditCommand::Insert, Program, 1, 0).done);
    EXPECT_EQ(ui.Texts(),
              std::vector<std::string>{"Program 'Prg 63' is referenced by one or more\nArrangements, Styles, "
                                       "Backing Sequences, etc.\n\nRedirect them to another Program?"});
    EXPECT_EQ(std::pair(ui.picks[0].what, ui.picks[0].start),
              std::pair(std::string("Program"), 830));  // its neighbour F87
    EXPECT_EQ(std::vector<int>({Arr(1, 0).TrackProgram(0), Data(1).ark.records[0].TrackProgram(4),
                                Data(1).ark.records[1].TrackProgram(0)}),
              std::vector<int>({839, 769, 831}));
    EXPECT_EQ(
        std::tuple(Prg(Data(1), 0).Name(), Prg(Data(1), 1).Name(), Prg(Data(1), 63).Name()),
        std::tuple(std::string("Spare           "), std::string("Prg 0           "), std::string("Prg 62          ")));
    EXPECT_EQ(std::get<ProgramItem>(*scheme->ClipboardOf(Program).item).record.Name(), "Prg 63          ");
    // One notice per changed kind.
    EXPECT_EQ(ui.events,
              (std::vector<std::string>{"KindChanged 1 0", "KindChanged 1 2", "KindChanged 1 5", "Undo 1 on"}));
    ASSERT_TRUE(Do(EditCommand::Undo, Program, 1, -1).done);
    EXPECT_EQ(Data(1).prg.records, before.prg.records);
    EXPECT_EQ(Data(1).arr.arr, before.arr.arr);
    EXPECT_EQ(Data(1).ark.records, before.ark.records);
}

// Every arrangement and every program of bank F named, and every call of every caller made to
// the programs of bank F in turn; backing sequence p calls arrangement 256 + 7p mod 64.
void FillBanksAndCallers(SetData& data) {
    int next = 0;
    auto program = [&next] { return 768 + next++ % 64; };
    for (int i = 0; i < kUserArrangements; ++i) {
        ArrangementRecord& arr = data.arr.arr[static_cast<std::size_t>(i)];
        arr.SetName("Arr " + std::to_string(i));
        for (int t = 0; t < ArrangementRecord::kTrackCount; ++t) arr.SetTrackProgram(t, program());
    }
    for (int i = 0; i < 64; ++i) Prg(data, i).SetName("Prg " + std::to_string(i));
    Prg(data, 70).SetName("Spare");
    for (auto& style : data.sty.slots) {
        style.record.SetName("Sty");
        for (int t = 0; t < StyleRecord::kTrackCount; ++t) style.record.SetTrackProgram(t, program());
    }
    for (int p = 0; p < kSequenceCount; ++p) {
        BsqRecord& bsq = data.bsq.entries[static_cast<std::size_t>(p)].record;
        bsq.SetName("Seq");
        bsq.SetArrangement(256 + 7 * p % 64);
        for (int t = 0; t < BsqRecord::kTrackCount; ++t) bsq.SetTrackProgram(t, program());
    }
    for (auto& song : data.sng.entries) {
        song.record.SetName("Song");
        for (int t = 0; t < SongRecord::kTrackCount; ++t) song.record.SetTrackProgram(t, program());
    }
    for (auto& kbd : data.ark.records)
        for (int t = 0; t < KbdSetRecord::kTrackCount; ++t) kbd.SetTrackProgram(t, program());
}

// Arrangement C11 tracks 1 and 2, C16 track 9, style C68 track 6, backing sequence 9 track 8,
// song 9 track 16, KBD set 88 track 5; the arrangements of backing sequences 0, 1 and 9.
std::vector<int> SampleCalls(const SetData& data) {
    const auto& arr = data.arr.arr;
    const auto& bsq = data.bsq.entries;
    return {arr[0].TrackProgram(0),
            arr[0].TrackProgram(1),
            arr[5].TrackProgram(8),
            data.sty.slots[47].record.TrackProgram(5),
            bsq[9].record.TrackProgram(7),
            data.sng.entries[9].record.TrackProgram(15),
            data.ark.records[63].TrackProgram(4),
            bsq[0].record.Arrangement(),
            bsq[1].record.Arrangement(),
            bsq[9].record.Arrangement()};
}

// A Delete or an Insert on a full bank moves every caller of every kind with its item, and
// Undo gives back the very bytes of every file of the set.
TEST_F(EditSchemeTest, ShiftsOfFullBanksUndoToTheSameBytes) {
    FillBanksAndCallers(Data(1));
    const std::vector<int> callsBefore = {768, 769, 831, 799, 815, 783, 783, 256, 263, 319};
    ASSERT_EQ(SampleCalls(Data(1)), callsBefore);
    const std::string programQuestion =
        "' is referenced by one or more\nArrangements, Styles, Backing Sequences, etc.\n\nRedirect them to another "
        "Program?";
    struct Case {
        EditCommand command;
        ItemKind kind;
        std::vector<std::string> messages;
        std::string firstName;  // of slot 0 afterwards
        std::vector<int> calls;
    };
    const Case cases[] = {
        {EditCommand::Delete,
         Program,
         {"Program 'Prg 0" + programQuestion},
         "Prg 1",
         {768, 768, 830, 798, 814, 782, 782, 256, 263, 319}},
        {EditCommand::Insert,
         Program,
         // The copy of G17 makes two programs of one name.
         {"Program 'Prg 63" + programQuestion, "Program duplicate name\nG17 - F11  (Spare)"},
         "Spare",
         {769, 770, 831, 800, 816, 784, 784, 256, 263, 319}},
        {EditCommand::Delete,
         Arrangement,
         {"Arr 0" + kArrQuestionTail},
         "Arr 1",
         // C11 and C16 hold what were C12 and C17, with their own calls.
         {779, 780, 778, 799, 815, 783, 783, 256, 262, 318}},
    };
    std::vector<Bytes> files;
    for (int k = 0; k < kSetKindCount; ++k) files.push_back(SerializeKind(Data(1), KindFromIndex(k)));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.messages[0]);
        if (c.command == EditCommand::Insert) {
            ASSERT_TRUE(Do(EditCommand::Copy, c.kind, 1, 70).done);
        }
        ui.messages.clear();
        ui.AnswerTo(QuestionId::ReferencedBy, Answer::No);
        ASSERT_TRUE(Do(c.command, c.kind, 1, 0).done);
        EXPECT_EQ(ui.Texts(), c.messages);
        const std::string first = c.kind == Program ? Prg(Data(1), 0).Name() : Arr(1, 0).Name();
        EXPECT_EQ(first.substr(0, c.firstName.size()), c.firstName);
        EXPECT_EQ(SampleCalls(Data(1)), c.calls);

        ASSERT_TRUE(Do(EditCommand::Undo, c.kind, 1, -1).done);
        for (int k = 0; k < kSetKindCount; ++k)
            EXPECT_EQ(SerializeKind(Data(1), KindFromIndex(k)), files[static_cast<std::size_t>(k)]) << k;
    }
}

TEST_F(EditSchemeTest, ProgramsAndDrumKitsKeepToTheirOwnSlots) {
    Prg(Data(1), 0).SetName("Piano");
    Prg(Data(1), 128).SetName("Kit");
    Data(1).prg.drumKits[0].fill(0x5A);
    const SetData before = Data(1);
    // Drum kit slot index, program slot index, what may be pasted where.
    const std::tuple<int, int, std::string> cases[] = {
        {128, 5, "A Drum Kit can't be pasted into a Program slot."},
        {0, 130, "A Program can't be pasted into a Drum Kit slot."},
    };
    for (const auto& [from, to, warning] : cases) {
        ui.messages.clear();
        ASSERT_TRUE(Do(EditCommand::Copy, Program, 1, from).done);
        EXPECT_EQ(Do(EditCommand::Paste, Program, 1, to).reason, warning);
        EXPECT_EQ(DropOn(Program, 1, from, 2, to, Program).reason, warning);
        ASSERT_EQ(ui.messages.size(), 2u);
        EXPECT_EQ(std::tuple(ui.Last().text, ui.Last().title, ui.Last().icon),
                  std::tuple(warning, std::string("Warning"), MessageIcon::Exclamation));
    }
    EXPECT_EQ(Data(1).prg.records, before.prg.records);
    EXPECT_TRUE(Prg(Data(2), 5).IsEmpty() && Prg(Data(2), 130).IsEmpty());
    // A drum kit into another drum kit slot brings its drum kit data.
    ASSERT_TRUE(Do(EditCommand::Copy, Program, 1, 128).done);
    ASSERT_TRUE(Do(EditCommand::Paste, Program, 2, 135).done);
    EXPECT_EQ(std::pair(Prg(Data(2), 135).Name(), Data(2).prg.drumKits[7]),
              std::pair(std::string("Kit             "), Data(1).prg.drumKits[0]));
    // Drum kits neither delete nor insert.
    EXPECT_EQ(Do(EditCommand::Delete, Program, 1, 128).reason, "This item can't be deleted.");
}

TEST_F(EditSchemeTest, DragOfF11ToG11MovesEveryCallAndUndoRestoresBoth) {
    Prg(Data(1), 0).SetName("Piano");
    Data(1).sng.entries[2].record.SetName("Tune");
    for (int t = 0; t < SongRecord::kTrackCount; ++t) Data(1).sng.entries[2].record.SetTrackProgram(t, 768);
    Data(1).ark.records[9].SetTrackProgram(1, 768);
    const SetData before = Data(1);
    ASSERT_TRUE(DropOn(Program, 1, 0, 1, 64, Program).done);
    EXPECT_EQ(std::pair(Prg(Data(1), 64).Name(), Prg(Data(1), 0).IsEmpty()),
              std::pair(std::string("Piano           "), true));
    EXPECT_EQ(std::pair(Data(1).sng.entries[2].record.TrackProgram(15), Data(1).ark.records[9].TrackProgram(1)),
              std::pair(832, 832));
    ASSERT_TRUE(Do(EditCommand::Undo, Program, 1, -1).done);
    EXPECT_EQ(Data(1).prg.records, before.prg.records);
    EXPECT_EQ(Data(1).sng.entries[2].record, before.sng.entries[2].record);
    EXPECT_EQ(Data(1).ark.records, before.ark.records);
}

TEST_F(EditSchemeTest, ProgramAndDrumKitDuplicatesShareOneCountdown) {
    for (int i : {0, 1, 2}) Prg(Data(1), i).SetName("Pad");
    for (int i : {128, 129, 130}) Prg(Data(1), i).SetName("Kit");
    EXPECT_TRUE(scheme->WarnDuplicateNames(1, Program));
    EXPECT_EQ(ui.Texts(), (std::vector<std::string>{
                              "Program duplicate name\nF12 - F11  (Pad)", "Program duplicate name\nF13 - F11  (Pad)",
                              "Program duplicate name\nF13 - F12  (Pad)", "More than 4 Program duplicate names !"}));
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
        ASSERT_TRUE(DropOn(KbdSet, 1, from, 1, to, KbdSet).done);
        EXPECT_EQ(std::tuple(ui.Last().text, ui.Last().icon, ui.Last().buttons),
                  std::tuple(question, MessageIcon::Question, MessageButtons::YesNo));
        EXPECT_EQ(KbdOrder(Data(1)), order);
        ASSERT_TRUE(Do(EditCommand::Undo, KbdSet, 1, -1).done);
        EXPECT_EQ(KbdOrder(Data(1)), (std::vector<int>{0, 1, 2, 3, 4}));
    }
    ui.AnswerTo(QuestionId::InsertBefore, Answer::No);
    EXPECT_FALSE(DropOn(KbdSet, 1, 0, 1, 3, KbdSet).done);
    EXPECT_EQ(Do(EditCommand::Cut, KbdSet, 1, 0).reason, "This command is not available for this kind.");
}

TEST_F(EditSchemeTest, KbdSetPastedFromAnotherSetAsksAboutAMissingProgram) {
    Prg(Data(1), 3).SetName("Strings");
    Data(1).ark.records[5].SetTrackProgram(1, 771);
    ASSERT_TRUE(Do(EditCommand::Copy, KbdSet, 1, 5).done);
    ui.AnswerTo(QuestionId::MissingCall, Answer::No);
    ASSERT_TRUE(Do(EditCommand::Paste, KbdSet, 2, 9).done);
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{"Track 'SubKBD' of KBD Set '22' calls Program 'Strings' "
                                                   "non-existent in 'GIGS'\n\nRedirect this track to an existing "
                                                   "Program?"});
    EXPECT_EQ(Data(2).ark.records[9], Data(1).ark.records[5]);
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
