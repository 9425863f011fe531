// Styles: the event budget of their blocks, the calls of them, and items pasted from XStyle
// files, each test as a transcript under tests/data/edit.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "Transcript.h"
#include "core/editing/EditScheme.h"
#include "core/programs/ProgramNumbers.h"
#include "core/storage/Session.h"
#include "core/text/Helpers.h"
#include "support/TestPaths.h"

namespace vx {
namespace {

using enum ItemKind;
using enum EditCommand;

class EditStylesTest : public test::EditTranscript {
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
    void ShowStyles(int set, int first, int last) {
        std::vector<std::string> styles;
        for (int s = first; s <= last; ++s)
            styles.push_back(Sty(set, s).used
                                 ? std::to_string(Sty(set, s).size) + " " + TrimBlanks(Sty(set, s).record.Name())
                                 : "unused");
        Show("  styles " + std::to_string(set) + ":" + std::to_string(first) + "-" + std::to_string(last), styles);
    }
};

// The destination block's budget: what its other styles leave plus the destination's own style.
// Needed events round to the nearest, a half to the even neighbour (sizes 1178 to 1186: 0.5,
// 1.25, 1.5 and 2.5 events). A drag inside one block is not budget-checked; a drag to another
// block is. Callers follow.
TEST_F(EditStylesTest, PasteAndDragRespectTheBlockBudget) {
    PutEvents(1, 4, "A", 5000);
    PutEvents(1, 5, "B", 5000);
    PutEvents(1, 6, "Dest", 500);
    PutEvents(1, 7, "C", 4000);
    PutEvents(2, 0, "Huge", 2000);
    Note("copy sty 2:0", Do(Copy, Style, 2, 0));
    Note("paste sty 6", Do(Paste, Style, 1, 6));
    ShowStyles(1, 6, 6);
    ShowDirty(1);

    PutEvents(1, 8, "Full", 15199);  // block 2 has 1 event free
    for (const int size : {1176 + 2, 1176 + 5, 1176 + 6, 1176 + 10}) {
        PutStyle(2, 1, "Small", size);
        Sty(1, 9) = {};
        Note("copy sty 2:1 of size " + std::to_string(size), Do(Copy, Style, 2, 1));
        Note("paste sty 9", Do(Paste, Style, 1, 9));
    }

    for (int s = 4; s < 12; ++s) Sty(1, s) = {};
    PutEvents(1, 4, "Big", 10000);
    PutEvents(1, 5, "Mid", 5000);
    PutEvents(1, 9, "Other", 12000);
    session->Data(1).arr.arr[0].SetName("Caller");
    session->Data(1).arr.arr[0].SetStyle(260);
    Note("drop sty 4 on 6", DropOn(Style, 1, 4, 1, 6));
    Note("drop sty 5 on 8", DropOn(Style, 1, 5, 1, 8));
    ShowStyles(1, 4, 8);
    Show("  style of arr C11", std::vector<int>{session->Data(1).arr.arr[0].Style()});
    ShowHeld(Style);
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
    Note("cut sty 0, Yes, C55", Do(Cut, Style, 1, 0));
    for (int a = 0; a < 3; ++a) EXPECT_EQ(session->Data(1).arr.arr[static_cast<std::size_t>(a)].Style(), 300);
    Note("undo", Do(Undo, Style, 1, -1));

    // Into GIGS, which has no program of that name.
    session->Data(1).prg.records[3].SetName("Slap");
    Sty(1, 0).record.SetTrackProgram(2, NumberOfUserIndex(3));
    ui.AnswerTo(QuestionId::MissingCall, Answer::Cancel);
    Note("drop sty 0 on 2:0, Cancel", DropOn(Style, 1, 0, 2, 0));
    EXPECT_TRUE(Sty(2, 0).IsEmpty());

    Note("erase sty bank 2", Do(EraseBank, Style, 1, -1, 2));
    for (int s = 0; s < kUserStyles; ++s) ASSERT_TRUE(Sty(1, s).IsEmpty()) << s;
    ShowHeld(Style);
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
    const auto paste = [&](ItemKind kind, int slot, const std::string& file) {
        Note("xstyle " + std::string(KindName(kind)) + " " + std::to_string(slot) + " from " +
                 file.substr(file.rfind('/') + 1),
             Shown(scheme->PasteFromXStyle(1, kind, slot, file)));
    };
    paste(Style, 0, write("tiny.xsf", "VEMOX", 75));
    paste(Style, 4, write("FULL.XSF", "VEMOX", 75 + 60800));
    paste(Style, 8, write("big.XSF", "VEMOX", 75 + 60801));
    ShowStyles(1, 0, 8);
    EXPECT_EQ(Sty(1, 0).events.size(), 0u);
    ShowHeld(Style);

    // The arrangement's call of user style 260 stays, though slot 4 holds another style.
    Bytes arrangement(5 + 164, 0);
    std::copy_n("VEMOXSong Arr        ", 21, arrangement.begin());
    arrangement[5 + 17] = 4;
    arrangement[5 + 18] = 1;
    test::WriteFileBytes(dir.Path() / "SONG.XAF", arrangement);
    paste(Arrangement, 3, (dir.Path() / "SONG.XAF").string());
    Show("  arr 3", std::vector<std::string>{session->Data(1).arr.arr[3].Name(),
                                             std::to_string(session->Data(1).arr.arr[3].Style())});

    // A drum kit file into a drum kit slot carries its 880 bytes.
    Bytes kit(5 + 172 + 880, 0x21);
    std::copy_n("VEMOXKit             ", 21, kit.begin());
    test::WriteFileBytes(dir.Path() / "KIT.XDK", kit);
    paste(Program, 128, (dir.Path() / "KIT.XDK").string());
    DrumKitData expected;
    expected.fill(0x21);
    EXPECT_EQ(session->Data(1).prg.drumKits[0], expected);
    EXPECT_EQ(TrimBlanks(session->Data(1).prg.records[128].Name()), "Kit");

    // The chooser, cancelled: nothing is shown. A broken file: its own message, then the kind's.
    Note("xstyle Arrangement 0, chooser cancelled", Shown(scheme->PasteFromXStyle(1, Arrangement, 0)));
    paste(Arrangement, 0, write("SHORT.XAF", "VEMOX", 100));
    EXPECT_TRUE(session->Data(1).arr.arr[0].IsEmpty());
}

}  // namespace
}  // namespace vx
