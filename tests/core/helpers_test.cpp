#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/Helpers.h"
#include "document/KindErrors.h"
#include "document/UndoModel.h"
#include "support/ScriptedInteraction.h"

namespace vx {
namespace {

using B = std::vector<std::uint8_t>;

TEST(Helpers, SetNameFromPathAcceptsBothSeparators) {
    const struct {
        const char* path;
        const char* name;
    } cases[] = {
        {"C:\\SETS\\LIVE.SET", "LIVE"},
        {"C:\\SETS\\LIVE.SET\\LIVE", "LIVE"},
        {"C:LIVE", "LIVE"},
        {"C:\\SETS\\gigs.set", "gigs"},
        {"/home/u/sets/live.set", "live"},
        {"/home/u/sets/LIVE.SET/LIVE", "LIVE"},
        {"sets/Demo.Set", "Demo"},
        {"LIVE", "LIVE"},
        {"LIVE.SET", "LIVE"},
        {"", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(SetNameFromPath(c.path), c.name) << c.path;
}

TEST(Helpers, ParentDirOfCutsAtTheLastSeparator) {
    const struct {
        const char* path;
        const char* parent;
    } cases[] = {
        {"C:\\SETS\\LIVE.SET\\LIVE", "C:\\SETS\\LIVE.SET"},
        {"/home/u/sets/LIVE.SET/LIVE", "/home/u/sets/LIVE.SET"},
        {"C:\\SETS/LIVE.SET\\LIVE", "C:\\SETS/LIVE.SET"},
        {"/LIVE", ""},
        {"LIVE", ""},
    };
    for (const auto& c : cases) EXPECT_EQ(ParentDirOf(c.path), c.parent) << c.path;
}

TEST(Helpers, ItemAndNoteLabels) {
    const struct {
        int kind, bank, index;
        const char* label;
    } items[] = {
        {0, 0, 0, "A11"},  {0, 0, 7, "A18"}, {0, 0, 8, "A21"},  {0, 3, 63, "D88"},
        {1, 2, 47, "C68"}, {2, 6, 9, "G22"}, {2, 7, 39, "R58"}, {1, 3, 0, " 11"},
    };
    for (const auto& c : items) EXPECT_EQ(ItemLabel(c.kind, c.bank, c.index), c.label) << c.label;

    const struct {
        int key;
        const char* label;
    } notes[] = {{0, "C-1"},  {11, "B-1"}, {12, "C0"},  {59, "B3"}, {60, "C4"},
                 {61, "C#4"}, {70, "A#4"}, {127, "G9"}, {-1, ""},   {128, ""}};
    for (const auto& c : notes) EXPECT_EQ(NoteLabel(c.key), c.label) << c.key;
}

TEST(Helpers, BitFields) {
    EXPECT_EQ(GetBits(0xB4, 0, 8), 0xB4);
    EXPECT_EQ(GetBits(0xB4, 2, 3), 5);  // 1011 0100 -> bits 2..4 = 101
    EXPECT_EQ(GetBits(0xB4, 7, 1), 1);
    EXPECT_EQ(GetBits(0xB4, 4, 6), 0x0B);
    EXPECT_EQ(GetBits(0xB4, 8, 1), 0);

    EXPECT_EQ(SetBits(0xB4, 2, 3, 2), 0xA8);  // bits 2..4 become 010
    EXPECT_EQ(SetBits(0x00, 6, 2, 0xFF), 0xC0);
    EXPECT_EQ(SetBits(0xFF, 0, 1, 0), 0xFE);
    EXPECT_EQ(SetBits(0x5A, 0, 8, 0x1A5), 0xA5);
    EXPECT_EQ(SetBits(0x5A, 9, 2, 3), 0x5A);
}

TEST(Helpers, WordsInsideBuffersStayInBounds) {
    EXPECT_EQ(GetWord(B{0xFF, 0xFF}, 0), 32767);
    EXPECT_EQ(GetWord(B{0x00, 0x34, 0x12}, 1), 0x1234);
    EXPECT_EQ(GetWord(B{0x34, 0x12}, 1), 0);
    EXPECT_EQ(GetWord(B{0x34, 0x12}, static_cast<std::size_t>(-1)), 0);
    EXPECT_EQ(GetWord(B{}, 0), 0);

    B buffer{0, 0, 0};
    PutWord(buffer, 0, -1);
    EXPECT_EQ(buffer, (B{0xFF, 0xFF, 0}));
    PutWord(buffer, 1, 0x1234);
    EXPECT_EQ(buffer, (B{0xFF, 0x34, 0x12}));
    PutWord(buffer, 2, 0x5555);
    PutWord(buffer, static_cast<std::size_t>(-1), 0x5555);
    EXPECT_EQ(buffer, (B{0xFF, 0x34, 0x12}));
}

TEST(Helpers, BytesEqualSkipsIndexZeroAndNeverReadsPastA) {
    EXPECT_TRUE(BytesEqual(B{0xF0, 0x42, 0x30}, B{0xF7, 0x42, 0x30}));
    EXPECT_TRUE(BytesEqual(B{0xF0, 0x42, 0x30, 0x99}, B{0xF0, 0x42, 0x30}));
    EXPECT_FALSE(BytesEqual(B{0xF0, 0x42, 0x31}, B{0xF0, 0x42, 0x30}));
    EXPECT_FALSE(BytesEqual(B{0xF0, 0x42}, B{0xF0, 0x42, 0x30}));
    EXPECT_TRUE(BytesEqual(B{}, B{0x12}));
}

TEST(Helpers, HexDumpAndTexts) {
    EXPECT_EQ(HexDump(B{0xF0, 0x42, 0x30}), "F0 42 30 ");
    EXPECT_EQ(HexDump(B{0x0A, 0x00, 0xFF}), "0A 00 FF ");
    EXPECT_EQ(HexDump(B{}), "");

    EXPECT_EQ(ToUpper("/tmp/live.set/Live.arr"), "/TMP/LIVE.SET/LIVE.ARR");
    EXPECT_EQ(TrimBlanks("  Piano  1   "), "Piano  1");
    EXPECT_EQ(TrimBlanks("                "), "");
    EXPECT_TRUE(StartsWithIgnoringCase("newset01", "NEWSET"));
    EXPECT_FALSE(StartsWithIgnoringCase("NEWSE", "NEWSET"));
    EXPECT_FALSE(StartsWithIgnoringCase("OLDSET01", "NEWSET"));
}

TEST(KindErrors, TextsAndMessageBoxes) {
    EXPECT_EQ(LoadErrorText(ItemKind::Style, ""), "Error getting Style data.\n");
    EXPECT_EQ(SaveErrorText(ItemKind::Arrangement, "Destination file is Read-Only!"),
              "Error saving Arrangement data.\nDestination file is Read-Only!");
    EXPECT_EQ(EditErrorText(ItemKind::BackingSequence, "Bad length"),
              "Error editing Backing Sequence data.\nBad length\nDon't save this Set to disk!");
    EXPECT_EQ(EditErrorText(ItemKind::KbdSet, ""), "Error editing KBD Set data.\n\nDon't save this Set to disk!");

    test::ScriptedInteraction ui;
    ShowLoadError(ui, ItemKind::ArrangementGlobal, "x");
    ShowSaveError(ui, ItemKind::Global, "");
    ShowEditError(ui, ItemKind::Song, "y");
    ShowError(ui, "plain");
    ASSERT_EQ(ui.messages.size(), 4u);
    EXPECT_EQ(ui.Texts(),
              (std::vector<std::string>{"Error getting Arrangement Global data.\nx", "Error saving Global data.\n",
                                        "Error editing Song data.\ny\nDon't save this Set to disk!", "plain"}));
    for (const Message& m : ui.messages) {
        EXPECT_EQ(m.title, "Error");
        EXPECT_EQ(m.icon, MessageIcon::Critical);
        EXPECT_EQ(m.buttons, MessageButtons::OK);
    }
}

TEST(UndoModel, DispatchPerTab) {
    // One row per tab 0 to 6: the codes 0 to 8 it handles, as a string of 0 and 1.
    const char* expected[] = {
        "010111110",  // arrangements
        "010111000",  // styles
        "010111110",  // programs
        "010111110",  // backing sequences
        "010111110",  // songs
        "000111000",  // KBD sets
        "000000000",  // no such tab
    };
    for (int tab = 0; tab <= 6; ++tab) {
        std::string handled;
        for (int op = 0; op <= 8; ++op) handled += UndoHandles(tab, op) ? '1' : '0';
        EXPECT_EQ(handled, expected[tab]) << "tab " << tab;
    }
    EXPECT_FALSE(UndoHandles(-1, kUndoPaste));
}

}  // namespace
}  // namespace vx
