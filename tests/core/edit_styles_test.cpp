#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "core/editing/EditScheme.h"
#include "core/programs/ProgramNumbers.h"
#include "core/storage/Session.h"
#include "core/text/Helpers.h"
#include "support/EditFixture.h"
#include "support/TestPaths.h"

namespace vx {
namespace {

using enum ItemKind;

const std::string kBudgetMiddle = " events) is too big for destination\nBlock, where only ";

class EditStylesTest : public test::EditFixture {
protected:
    StyleSlot& Sty(int set, int slot) { return session->Data(set).sty.slots[static_cast<std::size_t>(slot)]; }
    // A used style of `size` bytes (record and events).
    void PutStyle(int set, int slot, const std::string& name, int size) {
        StyleSlot& style = Sty(set, slot);
        style.used = 1;
        style.size = static_cast<std::uint16_t>(size);
        style.record.SetName(name);
        style.events.assign(static_cast<std::size_t>(size - 70), 0x3C);
    }
    void PutEvents(int set, int slot, const std::string& name, int events) {
        PutStyle(set, slot, name, 1176 + 4 * events);
    }
};

// The destination block's budget: what its other styles leave plus the destination's own style.
// Needed events round to the nearest, a half to the even neighbour.
TEST_F(EditStylesTest, PasteRespectsTheBlockBudget) {
    PutEvents(1, 4, "A", 5000);
    PutEvents(1, 5, "B", 5000);
    PutEvents(1, 6, "Dest", 500);
    PutEvents(1, 7, "C", 4000);
    PutEvents(2, 0, "Huge", 2000);
    ASSERT_TRUE(Do(EditCommand::Copy, Style, 2, 0).done);
    EXPECT_FALSE(Do(EditCommand::Paste, Style, 1, 6).done);
    EXPECT_EQ(ui.Texts(),
              std::vector<std::string>{"Pasted Style (2000" + kBudgetMiddle + "1200 events are available."});
    EXPECT_EQ(TrimBlanks(Sty(1, 6).record.Name()), "Dest");
    EXPECT_FALSE(session->Slot(1).dirty[1]);

    PutEvents(1, 8, "Full", 15199);  // block 2 has 1 event free
    const std::tuple<int, bool, std::string> cases[] = {
        {1176 + 2, true, ""},                                                               // 0.5 -> 0
        {1176 + 5, true, ""},                                                               // 1.25 -> 1
        {1176 + 6, false, "Pasted Style (2" + kBudgetMiddle + "1 events are available."},   // 1.5 -> 2
        {1176 + 10, false, "Pasted Style (2" + kBudgetMiddle + "1 events are available."},  // 2.5 -> 2
    };
    for (const auto& [size, fits, text] : cases) {
        SCOPED_TRACE(size);
        ui.messages.clear();
        PutStyle(2, 1, "Small", size);
        Sty(1, 9) = {};
        ASSERT_TRUE(Do(EditCommand::Copy, Style, 2, 1).done);
        EXPECT_EQ(Do(EditCommand::Paste, Style, 1, 9).done, fits);
        EXPECT_EQ(ui.Texts(), fits ? std::vector<std::string>{} : std::vector<std::string>{text});
    }
}

// A drag inside one block is not budget-checked; a drag to another block is. Callers follow.
TEST_F(EditStylesTest, DragInsideABlockSkipsTheBudget) {
    PutEvents(1, 4, "Big", 10000);
    PutEvents(1, 5, "Mid", 5000);
    PutEvents(1, 9, "Other", 12000);
    session->Data(1).arr.arr[0].SetName("Caller");
    session->Data(1).arr.arr[0].SetStyle(260);

    ASSERT_TRUE(DropOn(Style, 1, 4, 1, 6).done);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(TrimBlanks(Sty(1, 6).record.Name()), "Big");
    EXPECT_TRUE(Sty(1, 4).IsEmpty());
    EXPECT_EQ(session->Data(1).arr.arr[0].Style(), 262);
    EXPECT_EQ(scheme->UndoOf(Style).op, 4);

    EXPECT_FALSE(DropOn(Style, 1, 5, 1, 8).done);
    EXPECT_EQ(ui.Texts(),
              std::vector<std::string>{"Pasted Style (5000" + kBudgetMiddle + "3200 events are available."});
    EXPECT_EQ(TrimBlanks(Sty(1, 5).record.Name()), "Mid");
}

// Cut asks once about a style three arrangements call; Erase Bank blanks the user bank; a style
// dropped into another set has its programs asked about.
TEST_F(EditStylesTest, CutEraseAndCallChecks) {
    PutEvents(1, 0, "Funk", 10);
    for (int a = 0; a < 3; ++a) {
        session->Data(1).arr.arr[static_cast<std::size_t>(a)].SetName("A" + std::to_string(a));
        session->Data(1).arr.arr[static_cast<std::size_t>(a)].SetStyle(256);
    }
    ui.AnswerTo(QuestionId::ReferencedBy, Answer::Yes);
    ui.pickAnswers = {300};
    ASSERT_TRUE(Do(EditCommand::Cut, Style, 1, 0).done);
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{"Funk Style is referenced by one\nor more Arrangements or Backing "
                                                   "Sequences.\nChange references to another Style?"});
    EXPECT_EQ(ui.picks.at(0).what, "Style");
    for (int a = 0; a < 3; ++a) EXPECT_EQ(session->Data(1).arr.arr[static_cast<std::size_t>(a)].Style(), 300);
    ASSERT_TRUE(Do(EditCommand::Undo, Style, 1, -1).done);

    // Into GIGS, which has no program of that name.
    session->Data(1).prg.records[3].SetName("Slap");
    Sty(1, 0).record.SetTrackProgram(2, NumberOfUserIndex(3));
    ui.messages.clear();
    ui.AnswerTo(QuestionId::MissingCall, Answer::Cancel);
    EXPECT_FALSE(DropOn(Style, 1, 0, 2, 0).done);
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{"Track 'BASS' of Style 'Funk' calls Program 'Slap' non-existent in "
                                                   "'GIGS'\nRedirect this track to an existing Program?"});
    EXPECT_TRUE(Sty(2, 0).IsEmpty());

    ASSERT_TRUE(Do(EditCommand::EraseBank, Style, 1, -1, 2).done);
    for (int s = 0; s < kUserStyles; ++s) ASSERT_TRUE(Sty(1, s).IsEmpty()) << s;
    EXPECT_TRUE(scheme->UndoOf(Style).Empty());
}

// Paste from XStyle: the item goes through Paste with its calls as they stand; a style with
// more events than a block holds is refused, not cut.
TEST_F(EditStylesTest, PasteFromXStyleFiles) {
    test::TempDirectory dir;
    auto write = [&](const std::string& name, const std::string& magic, std::size_t size) {
        Bytes bytes(size, 0);
        std::copy(magic.begin(), magic.end(), bytes.begin());
        if (size >= 21) std::copy_n("Loaded Item     ", 16, bytes.begin() + 5);
        test::WriteFileBytes(dir.Path() / name, bytes);
        return (dir.Path() / name).string();
    };

    ASSERT_TRUE(Shown(scheme->PasteFromXStyle(1, Style, 0, write("tiny.xsf", "VEMOX", 75))).done);
    EXPECT_EQ(std::tuple(Sty(1, 0).used, Sty(1, 0).size, Sty(1, 0).events.size()), std::tuple(1, 70, 0u));
    EXPECT_EQ(TrimBlanks(Sty(1, 0).record.Name()), "Loaded Item");
    EXPECT_EQ(scheme->ClipboardOf(Style).set, -1);
    EXPECT_EQ(scheme->UndoOf(Style).op, 3);

    ASSERT_TRUE(Shown(scheme->PasteFromXStyle(1, Style, 4, write("FULL.XSF", "VEMOX", 75 + 60800))).done);
    EXPECT_EQ(Sty(1, 4).size, 60870);
    EXPECT_FALSE(Shown(scheme->PasteFromXStyle(1, Style, 8, write("big.XSF", "VEMOX", 75 + 60801))).done);
    EXPECT_EQ(ui.Texts(), (std::vector<std::string>{
                              "Style duplicate name\nC15 - C11  (Loaded Item)",
                              "The Style in big.XSF has 60801 bytes of events;\na Style holds at most 60800."}));
    EXPECT_TRUE(Sty(1, 8).IsEmpty());

    // The arrangement's call of user style 260 stays, though slot 4 holds another style.
    ui.messages.clear();
    Bytes arrangement(5 + 164, 0);
    std::copy_n("VEMOXSong Arr        ", 21, arrangement.begin());
    arrangement[5 + 17] = 4;
    arrangement[5 + 18] = 1;
    test::WriteFileBytes(dir.Path() / "SONG.XAF", arrangement);
    ASSERT_TRUE(Shown(scheme->PasteFromXStyle(1, Arrangement, 3, (dir.Path() / "SONG.XAF").string())).done);
    EXPECT_EQ(std::pair(session->Data(1).arr.arr[3].Name(), session->Data(1).arr.arr[3].Style()),
              std::pair(std::string("Song Arr        "), 260));
    EXPECT_TRUE(ui.messages.empty());

    // A drum kit file into a drum kit slot carries its 880 bytes.
    Bytes kit(5 + 172 + 880, 0x21);
    std::copy_n("VEMOXKit             ", 21, kit.begin());
    test::WriteFileBytes(dir.Path() / "KIT.XDK", kit);
    ASSERT_TRUE(Shown(scheme->PasteFromXStyle(1, Program, 128, (dir.Path() / "KIT.XDK").string())).done);
    DrumKitData expected;
    expected.fill(0x21);
    EXPECT_EQ(session->Data(1).prg.drumKits[0], expected);
    EXPECT_EQ(TrimBlanks(session->Data(1).prg.records[128].Name()), "Kit");

    // The chooser, cancelled: nothing is shown. A broken file: its own message, then the kind's.
    ASSERT_FALSE(Shown(scheme->PasteFromXStyle(1, Arrangement, 0)).done);
    ASSERT_EQ(ui.fileRequests.size(), 1u);
    const FileRequest& request = ui.fileRequests[0];
    EXPECT_EQ(
        std::tuple(request.title, request.initialName, request.filter, request.defaultExtension, request.mustExist),
        std::tuple(std::string("Load one Arrangement from .XAF file..."), std::string("*.XAF"),
                   std::string("XAF|*.XAF"), std::string(".XAF"), true));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(Shown(scheme->PasteFromXStyle(1, Arrangement, 0, write("SHORT.XAF", "VEMOX", 100))).done);
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{"Error getting Arrangement data.\n"});
    EXPECT_TRUE(session->Data(1).arr.arr[0].IsEmpty());
}

}  // namespace
}  // namespace vx
