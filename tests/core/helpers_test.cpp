#include <gtest/gtest.h>

#include <clocale>

#include <string>
#include <tuple>
#include <vector>

#include "document/Helpers.h"
#include "document/KindErrors.h"
#include "document/UndoModel.h"
#include "support/ScriptedInteraction.h"

namespace vx {
namespace {

using B = std::vector<std::uint8_t>;

TEST(Helpers, PathsAcceptBothSeparators) {
    std::string names, parents;
    for (const char* path : {"C:\\SETS\\LIVE.SET", "C:\\SETS\\LIVE.SET\\LIVE", "C:LIVE", "/home/u/sets/live.set",
                             "/home/u/sets/LIVE.SET/LIVE", "sets/Demo.Set", "LIVE", ""})
        names += SetNameFromPath(path) + "|";
    EXPECT_EQ(names, "LIVE|LIVE|LIVE|live|LIVE|Demo|LIVE||");
    for (const char* path :
         {"C:\\SETS\\LIVE.SET\\LIVE", "/home/u/sets/LIVE.SET/LIVE", "C:\\SETS/LIVE.SET\\LIVE", "/LIVE", "LIVE"})
        parents += ParentDirOf(path) + "|";
    EXPECT_EQ(parents, "C:\\SETS\\LIVE.SET|/home/u/sets/LIVE.SET|C:\\SETS/LIVE.SET|||");
}

TEST(Helpers, ItemAndNoteLabels) {
    const std::tuple<int, int, int, const char*> items[] = {
        {0, 0, 0, "A11"}, {0, 0, 8, "A21"}, {0, 3, 63, "D88"}, {1, 2, 47, "C68"}, {2, 7, 39, "R58"}, {1, 3, 0, " 11"},
    };
    for (const auto& [kind, bank, index, label] : items) EXPECT_EQ(ItemLabel(kind, bank, index), label) << label;
    const std::pair<int, const char*> notes[] = {{0, "C-1"},  {11, "B-1"}, {12, "C0"}, {60, "C4"},
                                                 {70, "A#4"}, {127, "G9"}, {-1, ""},   {128, ""}};
    for (const auto& [key, label] : notes) EXPECT_EQ(NoteLabel(key), label) << key;
}

TEST(Helpers, BitsWordsAndTextsStayInBounds) {
    // 0xB4 is 1011 0100: bits 2..4 hold 101; a field past bit 7 reads 0 and writes nothing.
    EXPECT_EQ(std::tuple(GetBits(0xB4, 2, 3), GetBits(0xB4, 4, 6), GetBits(0xB4, 8, 1)), std::tuple(5, 0x0B, 0));
    EXPECT_EQ(std::tuple(SetBits(0xB4, 2, 3, 2), SetBits(0x5A, 0, 8, 0x1A5), SetBits(0x5A, 9, 2, 3)),
              std::tuple(0xA8, 0xA5, 0x5A));
    // Bit 7 of the high byte is not part of a word; a word not wholly inside the buffer reads 0.
    EXPECT_EQ(std::tuple(GetWord(B{0xFF, 0xFF}, 0), GetWord(B{0x00, 0x34, 0x12}, 1), GetWord(B{0x34, 0x12}, 1),
                         GetWord(B{0x34, 0x12}, static_cast<std::size_t>(-1))),
              std::tuple(32767, 0x1234, 0, 0));
    B buffer{0, 0, 0};
    PutWord(buffer, 1, 0x1234);
    PutWord(buffer, 2, 0x5555);
    PutWord(buffer, static_cast<std::size_t>(-1), 0x5555);
    EXPECT_EQ(buffer, (B{0, 0x34, 0x12}));
    // Index 0 is not compared, and a shorter first buffer never matches.
    EXPECT_EQ(std::tuple(BytesEqual(B{0xF0, 0x42, 0x30, 0x99}, B{0xF7, 0x42, 0x30}),
                         BytesEqual(B{0xF0, 0x42, 0x31}, B{0xF0, 0x42, 0x30}),
                         BytesEqual(B{0xF0, 0x42}, B{0xF0, 0x42, 0x30})),
              std::tuple(true, false, false));

    EXPECT_EQ(HexDump(B{0x0A, 0x00, 0xFF}) + ToUpper("/tmp/live.set/Live.arr"), "0A 00 FF /TMP/LIVE.SET/LIVE.ARR");
    EXPECT_EQ(TrimBlanks("  Piano  1   ") + "|" + TrimBlanks("                "), "Piano  1|");
    EXPECT_TRUE(StartsWithIgnoringCase("newset01", "NEWSET") && !StartsWithIgnoringCase("NEWSE", "NEWSET"));
}

TEST(Helpers, UpperCasingChangesAsciiLettersOnlyWhateverTheLocale) {
    // Under a single-byte locale the C library would upper-case bytes of UTF-8 letters too.
    for (const char* locale : {"C", "de_DE.ISO-8859-1", "en_US.ISO-8859-1", "C.UTF-8"}) {
        if (!std::setlocale(LC_CTYPE, locale)) continue;
        EXPECT_EQ(ToUpper("\xC3\xBC"
                          "ber.set \xE2\x82\xAC \xE9t\xE9"),
                  "\xC3\xBC"
                  "BER.SET \xE2\x82\xAC \xE9T\xE9")
            << locale;
        EXPECT_TRUE(StartsWithIgnoringCase("\xE9newset", "\xE9NEWSET") && !StartsWithIgnoringCase("\xE9", "\xC9"))
            << locale;
    }
    std::setlocale(LC_CTYPE, "C");
}

TEST(KindErrors, TextsAndMessageBoxes) {
    EXPECT_EQ(EditErrorText(ItemKind::KbdSet, ""), "Error editing KBD Set data.\n\nDon't save this Set to disk!");
    test::ScriptedInteraction ui;
    ShowLoadError(ui, ItemKind::ArrangementGlobal, "x");
    ShowSaveError(ui, ItemKind::Global, "");
    ShowEditError(ui, ItemKind::Song, "y");
    ShowError(ui, "plain");
    EXPECT_EQ(ui.Texts(),
              (std::vector<std::string>{"Error getting Arrangement Global data.\nx", "Error saving Global data.\n",
                                        "Error editing Song data.\ny\nDon't save this Set to disk!", "plain"}));
    for (const Message& m : ui.messages)
        EXPECT_TRUE(m.title == "Error" && m.icon == MessageIcon::Critical && m.buttons == MessageButtons::OK) << m.text;
}

TEST(UndoModel, DispatchPerTab) {
    // Per tab -1 to 6, the codes 0 to 8 it handles.
    std::string handled;
    for (int tab = -1; tab <= 6; ++tab, handled += " ")
        for (int op = 0; op <= 8; ++op) handled += UndoHandles(tab, op) ? '1' : '0';
    EXPECT_EQ(handled, "000000000 010111110 010111000 010111110 010111110 010111110 000111000 000000000 ");
}

}  // namespace
}  // namespace vx
