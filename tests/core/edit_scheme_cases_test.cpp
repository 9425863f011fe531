#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/catalogue/Catalogue.h"
#include "core/editing/EditScheme.h"
#include "core/selection/ItemNumbers.h"
#include "core/storage/SetData.h"
#include "support/EditFixture.h"

namespace vx {
namespace {

using enum ItemKind;

class EditSchemeCasesTest : public test::EditFixture {
protected:
    ArrangementRecord& Arr(int set, int slot) { return Data(set).arr.arr[static_cast<std::size_t>(slot)]; }
    BsqRecord& Bsq(int set, int position) { return Data(set).bsq.entries[static_cast<std::size_t>(position)].record; }
    std::vector<int> BsqArrangements(int set) {
        std::vector<int> calls;
        for (int p = 0; p < kSequenceCount; ++p)
            if (!Bsq(set, p).IsEmpty()) calls.push_back(Bsq(set, p).Word(16));  // as stored: 65535 is no arrangement
        return calls;
    }
};

// Insert with nothing in the kind's clipboard changes no byte, announces nothing and keeps
// what Undo would restore.
TEST_F(EditSchemeCasesTest, InsertWithAnEmptyClipboardChangesNothing) {
    const struct {
        ItemKind kind;
        int slot;
    } cases[] = {{Arrangement, 0}, {Program, 0}, {Program, 64}, {BackingSequence, 2}, {Song, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(KindName(c.kind)));
        const EditableKind& d = *EditableKindOf(c.kind);
        ASSERT_TRUE(scheme->WriteItem(1, c.kind, c.slot + 1, d.Read(Data(1), c.slot + 1)).done);
        const Bytes before = SerializeKind(Data(1), c.kind);
        ui.events.clear();
        EXPECT_EQ(Do(EditCommand::Insert, c.kind, 1, c.slot).reason, "The clipboard is empty.");
        EXPECT_EQ(SerializeKind(Data(1), c.kind), before);
        EXPECT_TRUE(ui.events.empty());
        EXPECT_TRUE(ui.messages.empty());
        EXPECT_EQ(scheme->UndoOf(c.kind).op, 3);
    }
}

// Copy and Erase Bank leave nothing to undo, and say so; Import has the record of its set and
// kind forgotten, and no other.
TEST_F(EditSchemeCasesTest, CopyEraseBankAndImportDropTheStaleUndoRecord) {
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
        EXPECT_EQ(Do(EditCommand::Undo, c.kind, 1, -1).done, false);
    }

    // An import made straight through the session, as the tool makes it, not from a set window.
    ASSERT_TRUE(scheme->WriteItem(1, Song, 0, EditableKindOf(Song)->Read(Data(1), 0)).done);
    const std::string songs = session->Catalogue().templateBase + ".SNG";
    ASSERT_TRUE(session->ImportFromFile(2, Song, songs));
    EXPECT_EQ(scheme->UndoOf(Song).set, 1);
    ASSERT_TRUE(session->ImportFromFile(1, Song, songs));
    EXPECT_TRUE(scheme->UndoOf(Song).Empty());
    EXPECT_EQ(Do(EditCommand::Undo, Song, 1, -1).reason, "Nothing to undo.");
}

// An empty slot dragged within a set or to another set is refused before anything changes.
TEST_F(EditSchemeCasesTest, DraggingAnEmptySlotIsRefused) {
    const struct {
        ItemKind kind;
        int from, to;
    } cases[] = {{Arrangement, 5, 7}, {Style, 2, 6},           {Program, 10, 11},
                 {Program, 129, 130}, {BackingSequence, 4, 1}, {Song, 2, 5}};
    for (const auto& c : cases) {
        for (int target : {1, 2}) {
            SCOPED_TRACE(std::string(KindName(c.kind)) + " into set " + std::to_string(target));
            // A target that holds an item, so that a blank written over it would show.
            if (c.kind == Arrangement) Arr(target, c.to).SetName("Kept");
            if (c.kind == Style) Data(target).sty.slots[static_cast<std::size_t>(c.to)].record.SetName("Kept");
            if (c.kind == Program) Data(target).prg.records[static_cast<std::size_t>(c.to)].SetName("Kept");
            if (c.kind == BackingSequence)
                Data(target).bsq.entries[static_cast<std::size_t>(c.to)].record.SetName("Kept");
            if (c.kind == Song) Data(target).sng.entries[static_cast<std::size_t>(c.to)].record.SetName("Kept");
            const Bytes before = SerializeKind(Data(target), c.kind);
            ui.events.clear();
            EXPECT_EQ(DropOn(c.kind, 1, c.from, target, c.to).reason, "The slot is empty.");
            EXPECT_EQ(SerializeKind(Data(target), c.kind), before);
            EXPECT_TRUE(ui.events.empty());
            EXPECT_TRUE(scheme->ClipboardOf(c.kind).Empty());
        }
    }
}

// Yes to the referenced-by question, then Cancel in the arrangement selection dialog: every
// caller of the deleted arrangement calls no arrangement; the others follow their arrangement
// down; Undo puts every call back.
TEST_F(EditSchemeCasesTest, YesThenCancelMakesEveryCallerCallNoArrangement) {
    for (int slot = 0; slot < 4; ++slot) Arr(1, slot).SetName("Arr " + std::to_string(slot));
    const std::vector<int> calls = {258, 258, 259, 258, 256};
    for (int p = 0; p < static_cast<int>(calls.size()); ++p) {
        Bsq(1, p).SetName("Seq " + std::to_string(p));
        Bsq(1, p).SetArrangement(calls[static_cast<std::size_t>(p)]);
    }
    ui.AnswerTo(QuestionId::ReferencedBy, Answer::Yes);
    ASSERT_TRUE(Do(EditCommand::Delete, Arrangement, 1, 2).done);
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{"Arr 2 Arrangement is referenced by\none or more Backing "
                                                   "Sequences.\nChange references to another Arrangement?"});
    ASSERT_EQ(ui.picks.size(), 1u);
    EXPECT_EQ(BsqArrangements(1), (std::vector<int>{65535, 65535, 258, 65535, 256}));
    EXPECT_EQ(Arr(1, 2).Name(), "Arr 3           ");

    ASSERT_TRUE(Do(EditCommand::Undo, Arrangement, 1, -1).done);
    EXPECT_EQ(BsqArrangements(1), calls);
    EXPECT_EQ(Arr(1, 2).Name(), "Arr 2           ");
}

}  // namespace
}  // namespace vx
