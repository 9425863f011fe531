#include "core/selection/BankView.h"

#include <gtest/gtest.h>

#include <cstdio>

#include <string>
#include <tuple>

#include "core/catalogue/PresetNames.h"
#include "core/editing/KbdSetChoices.h"
#include "support/EditFixture.h"
#include "support/Golden.h"
#include "support/SetBuilder.h"

namespace vx {
namespace {

using enum BankedKind;
std::string Name16(const std::string& name) { return name + std::string(16 - name.size(), ' '); }

// A cell's text and its colours with HighCall off and on.
std::tuple<std::string, std::uint32_t, std::uint32_t> Cell(const SetData& d, const PresetTables& p, const CallIndex& c,
                                                           BankedKind kind, int n) {
    if (kind == Arrangement) return {ArrCellText(d, p, n), ArrCellColour(n, nullptr), ArrCellColour(n, &c)};
    if (kind == Style) return {StyCellText(d, p, n), StyCellColour(n, nullptr), StyCellColour(n, &c)};
    return {PrgCellText(d, p, n), PrgCellColour(d, n, nullptr), PrgCellColour(d, n, &c)};
}

// Arrangement C11 plays user style C12 and is called by backing sequence 0, C12 is not; preset arrangement
// and style A11 are called by backing sequence 1. Program F11 is called by a KBD set, F12 is named and not
// called, F13 is empty but called, preset A12 is called by a song. Empty items' calls of A11 must not count.
struct CalledSet : ::testing::Test {
    void SetUp() override {
        for (auto& kbd : data.ark.records) test::CallFromAllTracks(kbd, -1);
        data.arr.arr[0].SetName("Pop Ballad");
        data.arr.arr[0].SetStyle(257);
        data.arr.arr[1].SetName("Quiet One");
        data.arr.arr[1].SetStyle(3);
        data.sty.slots[0].record.SetName("Slow Rock");
        data.sty.slots[0].size = 1176 + 4 * 100;
        data.sty.slots[1].record.SetName("Fast Rock");
        data.sty.slots[1].size = 1176;
        data.sty.slots[0].used = data.sty.slots[1].used = 1;
        data.bsq.entries[0].record.SetName("Intro");
        data.bsq.entries[0].record.SetArrangement(256);
        data.bsq.entries[1].record.SetName("Verse");
        for (int i : {0, 1}) {
            test::CallFromAllTracks(data.arr.arr[i], 0x7FFF);
            test::CallFromAllTracks(data.sty.slots[i].record, 0x7FFF);
            test::CallFromAllTracks(data.bsq.entries[i].record, -1);
        }
        data.prg.records[0].SetName("My Piano");
        data.prg.records[1].SetName("My Organ");
        data.ark.records[7].SetTrackProgram(2, 768);
        data.ark.records[9].SetTrackProgram(0, 770);
        data.sng.entries[4].record.SetName("Song");
        test::CallFromAllTracks(data.sng.entries[4].record, -1);
        data.sng.entries[4].record.SetTrackProgram(15, 1);
        calls = BuildCallIndex(data);
        presets.arrangements[0] = {{Name16("Preset Arr"), 0}, 5};
        presets.arrangements[1] = {{Name16("Other Arr"), 0}, 64};
        presets.styles[0].name = Name16("Preset Style");
        presets.styles[1].name = Name16("Lone Style");
        presets.programsAB[0] = {Name16("Grand Piano"), 0};
        presets.programsAB[1] = {Name16("Bright Piano"), 14};
        presets.programsCD[3].category = 14;
        presets.drumKitsR[0].category = 14;
    }

    SetData data = test::EmptySet();
    PresetTables presets;
    CallIndex calls;
};

std::string Hex(std::uint32_t colour) {
    char text[8];
    std::snprintf(text, sizeof text, "%06X", colour);
    return text;
}

// Each cell's text, its colour with HighCall off and on; the grids' layouts, the number in a
// cell and the cell of a number, with Twin View on and off; tests/data/reports/bank_view.txt.
TEST_F(CalledSet, CellsAndGridsAsTheBankViewShowsThem) {
    std::string out;
    for (const auto& [kind, numbers] : {std::pair(Arrangement, std::vector{256, 257, 258, 0, 1}),
                                        {Style, {256, 257, 0, 1}},
                                        {Program, {768, 769, 770, 1, 0, 128}}}) {
        for (const int n : numbers) {
            const auto [text, off, on] = Cell(data, presets, calls, kind, n);
            out += "cell " + std::to_string(static_cast<int>(kind)) + "/" + std::to_string(n) + ": [" + text + "] " +
                   Hex(off) + " " + Hex(on) + "\n";
        }
    }
    for (const BankedKind kind : {Arrangement, Style, Program}) {
        const int banks = kind == Program ? 8 : kind == Style ? 4 : 4;
        for (int combo = 0; combo < banks; ++combo)
            for (const bool twin : {false, true}) {
                const GridLayout layout = BankGridLayout(kind, combo, twin);
                out += "grid " + std::to_string(static_cast<int>(kind)) + "/" + std::to_string(combo) +
                       (twin ? " twin" : "") + ": bank " + std::to_string(layout.bank) + ", " +
                       std::to_string(layout.rows) + " rows" + (layout.twin ? ", folded" : "") +
                       (layout.twinBoxShown ? ", box" : "") + ", cells";
                for (const auto& [row, column] :
                     {std::pair(0, 0), {9, 3}, {10, 0}, {11, 3}, {15, 3}, {16, 0}, {31, 3}, {32, 0}})
                    out += " " + std::to_string(GridCellNumber(kind, layout, row, column));
                out += "\n";
            }
        for (const int number : {0, 63, 127, 200, 303, 320, 575, 832, 895, 1063, 2000})
            for (const bool twin : {false, true}) {
                const GridPosition at = GridPositionOf(kind, number, twin);
                out += "position " + std::to_string(static_cast<int>(kind)) + "/" + std::to_string(number) +
                       (twin ? " twin" : "") + ": bank " + std::to_string(at.comboBank) + " row " +
                       std::to_string(at.row) + " column " + std::to_string(at.column) + "\n";
            }
    }
    EXPECT_EQ(out, test::Golden("reports/bank_view.txt", out));
}

TEST_F(CalledSet, CallIndexCountsOnlyNonEmptyCallersAndEveryKbdSet) {
    data.bsq.entries[2].record.SetArrangement(257);  // an empty backing sequence is no caller
    data.bsq.entries[2].record.SetStyle(256);
    data.arr.arr[5].SetStyle(256);  // nor is an empty arrangement
    // A track call pair whose high byte has bit 7 set still calls the program: 0x00 0x84 is R11.
    data.arr.arr[0].SetWord(39 + 8 * 4, 0x8400);
    data.sty.slots[0].record.SetTrackProgram(5, 1056);
    data.bsq.entries[1].record.SetTrackProgram(7, 1056);
    data.ark.records[63].SetTrackProgram(4, 1056);
    const CallIndex index = BuildCallIndex(data);
    EXPECT_TRUE(index.IsArrCalled(256) && index.IsArrCalled(0) && index.IsStyCalled(257) && index.IsStyCalled(0));
    EXPECT_FALSE(index.IsArrCalled(257) || index.IsStyCalled(256) || index.IsPrgCalled(769));
    EXPECT_TRUE(index.IsPrgCalled(1056) && index.IsPrgCalled(768) && index.IsPrgCalled(1024));
    EXPECT_FALSE(index.IsPrgCalled(-1) || index.IsPrgCalled(0x7FFF) || index.IsArrCalled(65535));
    // KBD sets keeping their zero bytes call A11.
    for (auto& kbd : data.ark.records) kbd = KbdSetRecord{};
    EXPECT_TRUE(BuildCallIndex(data).IsPrgCalled(0));
}

TEST_F(CalledSet, KbdGridPickEntriesBlockEventsAndKindDependencies) {
    data.ark.records[7].SetSplit(60);
    data.ark.records[7].SetTrackProgram(0, 1);
    data.ark.records[7].SetTrackProgram(1, 2000);
    std::string row;
    for (int column = 0; column < 5; ++column) row += KbdGridText(data, presets, 7, column) + "|";
    EXPECT_EQ(row, "18|C4|A12 " + Name16("Bright Piano") + "| |F11 " + Name16("My Piano") + "|");
    EXPECT_EQ(KbdGridText(data, presets, 64, 0), "");
    const auto bankR = BankPickEntries(Program, data, presets, 7);
    ASSERT_EQ(bankR.size(), 40u);
    EXPECT_EQ(std::to_string(bankR[39].number) + " " + bankR[39].text, "1063 R58 " + kBlankName);
    EXPECT_EQ(BankPickEntries(Arrangement, data, presets, 2)[0].text, "C11 " + Name16("Pop Ballad"));
    EXPECT_TRUE(BankPickEntries(Style, data, presets, 3).empty());
    data.prg.records[64].SetCategory(14);   // G11
    data.prg.records[129].SetCategory(14);  // R52
    std::string drums;
    for (const auto& entry : CategoryPickEntries(Program, data, presets, 14))
        drums += std::to_string(entry.number) + " " + entry.text + "|";
    // Presets of A, C and R and user slots of G and R, in number order; nothing outside the banks.
    EXPECT_EQ(drums, "1 A12 " + Name16("Bright Piano") + "|259 C14 " + kBlankName + "|832 G11 " + kBlankName +
                         "|1024 R11 " + kBlankName + "|1057 R52 " + kBlankName + "|");
    // Block 0: slots 0-3 use 100 + 0, and the two slots without a style take no room.
    EXPECT_EQ(std::pair(StyleBlockEvents(data.sty, 0).used, StyleBlockEvents(data.sty, 0).free), std::pair(100, 15100));
    EXPECT_EQ(StyleBlockEvents(data.sty, 12).used, 0);
    using enum ItemKind;
    EXPECT_TRUE(KindCallsKind(BackingSequence, Arrangement) && KindCallsKind(Arrangement, Style) &&
                KindCallsKind(KbdSet, Program));
    EXPECT_FALSE(KindCallsKind(Program, Program) || KindCallsKind(Style, Arrangement) ||
                 KindCallsKind(Global, Program));
}

class KbdGridClicks : public test::EditFixture {};

// Erase Bank on the drum kits empties all eight; a closed set is not open, whatever is open after it.
TEST_F(KbdGridClicks, EraseBankTakesEveryDrumKitAndAClosedSetIsNotOpen) {
    for (int slot = 128; slot < 136; ++slot) Data(1).prg.records[static_cast<std::size_t>(slot)].SetName("KIT");
    ASSERT_TRUE(Do(EditCommand::EraseBank, ItemKind::Program, 1, -1, 7).done);
    std::string names;
    for (int slot = 127; slot < 136; ++slot) names += Data(1).prg.records[static_cast<std::size_t>(slot)].Name() + "|";
    EXPECT_EQ(names.find("KIT"), std::string::npos) << names;
    session->CloseSet(1);
    EXPECT_EQ(std::pair(session->Sets().IsOpen(1), session->Sets().IsOpen(2)), std::pair(false, true));
}

}  // namespace
}  // namespace vx
