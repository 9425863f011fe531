#include "selection/BankView.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "presets/PresetNames.h"
#include "storage/SetData.h"

namespace vx {
namespace {

std::string Name16(const std::string& name) { return name + std::string(16 - name.size(), ' '); }

// A set in which nothing is named and nothing calls anything: every name blank, every KBD set
// track calling no program.
std::unique_ptr<SetData> QuietSet() {
    auto data = std::make_unique<SetData>();
    for (auto& arr : data->arr.arr) arr.SetName("");
    for (auto& style : data->sty.slots) style.record.SetName("");
    for (auto& program : data->prg.records) program.SetName("");
    for (auto& bsq : data->bsq.entries) bsq.record.SetName("");
    for (auto& song : data->sng.entries) song.record.SetName("");
    for (auto& kbd : data->ark.records)
        for (int t = 0; t < KbdSetRecord::kTrackCount; ++t) kbd.SetTrackProgram(t, -1);
    return data;
}

PresetTables Presets() {
    PresetTables presets;
    presets.arrangements[0].name = Name16("Preset Arr");
    presets.arrangements[0].style = 5;
    presets.arrangements[1].name = Name16("Other Arr");
    presets.arrangements[1].style = 64;
    presets.styles[0].name = Name16("Preset Style");
    presets.styles[1].name = Name16("Lone Style");
    presets.programsAB[0].name = Name16("Grand Piano");
    presets.programsAB[1].name = Name16("Bright Piano");
    presets.programsAB[0].category = 0;
    presets.programsAB[1].category = 14;
    presets.programsCD[3].category = 14;
    presets.drumKitsR[0].category = 14;
    return presets;
}

// Arrangement C11 plays user style C12 and is called by backing sequence 0; C12 is not called;
// preset arrangement A11 and preset style A11 are called by backing sequence 1. Program F11 is
// called by a KBD set, F12 is named and not called, F13 is empty but called; preset program A12
// is called by a song.
struct CalledSet : ::testing::Test {
    void SetUp() override {
        data = QuietSet();
        data->arr.arr[0].SetName("Pop Ballad");
        data->arr.arr[0].SetStyle(257);
        data->arr.arr[1].SetName("Quiet One");
        data->arr.arr[1].SetStyle(3);
        data->sty.slots[0].record.SetName("Slow Rock");
        data->sty.slots[0].used = 1;
        data->sty.slots[0].size = 1176 + 4 * 100;
        data->sty.slots[1].record.SetName("Fast Rock");
        data->sty.slots[1].used = 1;
        data->sty.slots[1].size = 1176;
        data->bsq.entries[0].record.SetName("Intro");
        data->bsq.entries[0].record.SetArrangement(256);
        data->bsq.entries[0].record.SetStyle(-1);
        data->bsq.entries[1].record.SetName("Verse");
        data->bsq.entries[1].record.SetArrangement(0);
        data->bsq.entries[1].record.SetStyle(0);
        for (auto& bsq : data->bsq.entries)
            for (int t = 0; t < BsqRecord::kTrackCount; ++t) bsq.record.SetTrackProgram(t, -1);
        for (auto& arr : data->arr.arr)
            for (int t = 0; t < ArrangementRecord::kTrackCount; ++t) arr.SetTrackProgram(t, 0x7FFF);
        for (auto& style : data->sty.slots)
            for (int t = 0; t < StyleRecord::kTrackCount; ++t) style.record.SetTrackProgram(t, 0x7FFF);
        data->prg.records[0].SetName("My Piano");
        data->prg.records[1].SetName("My Organ");
        data->ark.records[7].SetTrackProgram(2, 768);
        data->ark.records[9].SetTrackProgram(0, 770);
        data->sng.entries[4].record.SetName("Song");
        for (int t = 0; t < SongRecord::kTrackCount; ++t) data->sng.entries[4].record.SetTrackProgram(t, -1);
        data->sng.entries[4].record.SetTrackProgram(15, 1);
        calls = BuildCallIndex(*data);
    }

    std::unique_ptr<SetData> data;
    PresetTables presets = Presets();
    CallIndex calls;
};

TEST_F(CalledSet, CellTextsAndColoursFollowCallsAndHighCall) {
    struct Case {
        BankedKind kind;
        int number;
        std::string text;
        std::uint32_t off;
        std::uint32_t on;
    };
    const Case cases[] = {
        {BankedKind::Arrangement, 256, "C11 " + Name16("Pop Ballad") + " (C12)U", kColourBlack, 0x0000FF},
        {BankedKind::Arrangement, 257, "C12 " + Name16("Quiet One") + " (A14)", kColourBlack, 0xFF0000},
        {BankedKind::Arrangement, 258, "C13 " + std::string(16, ' '), kColourBlack, 0xFF0000},
        {BankedKind::Arrangement, 0, "A11 " + Name16("Preset Arr") + " (A16)", kColourGreyText, 0x000080},
        {BankedKind::Arrangement, 1, "A12 " + Name16("Other Arr") + " (B11)", kColourGreyText, 0x7F8000},
        {BankedKind::Style, 256, "C11 " + Name16("Slow Rock") + ":100", kColourBlack, 0xFF0000},
        {BankedKind::Style, 257, "C12 " + Name16("Fast Rock") + ":0", kColourBlack, 0x0000FF},
        {BankedKind::Style, 0, "A11 " + Name16("Preset Style"), kColourGreyText, 0x000080},
        {BankedKind::Style, 1, "A12 " + Name16("Lone Style"), kColourGreyText, 0x7F8000},
        {BankedKind::Program, 768, "F11 " + Name16("My Piano"), kColourBlack, 0x0000FF},
        {BankedKind::Program, 769, "F12 " + Name16("My Organ"), kColourBlack, 0xFF0000},
        {BankedKind::Program, 770, "F13 " + std::string(16, ' '), 0xFF0000, 0xFF0000},
        {BankedKind::Program, 1, "A12 " + Name16("Bright Piano"), kColourGreyText, 0x000080},
        {BankedKind::Program, 0, "A11 " + Name16("Grand Piano"), kColourGreyText, 0x7F8000},
        {BankedKind::Program, 128, "", kColourGreyText, 0x7F8000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number);
        switch (c.kind) {
            case BankedKind::Arrangement:
                EXPECT_EQ(ArrCellText(*data, presets, c.number), c.text);
                EXPECT_EQ(ArrCellColour(c.number, nullptr), c.off);
                EXPECT_EQ(ArrCellColour(c.number, &calls), c.on);
                break;
            case BankedKind::Style:
                EXPECT_EQ(StyCellText(*data, presets, c.number), c.text);
                EXPECT_EQ(StyCellColour(c.number, nullptr), c.off);
                EXPECT_EQ(StyCellColour(c.number, &calls), c.on);
                break;
            case BankedKind::Program:
                EXPECT_EQ(PrgCellText(*data, presets, c.number), c.text);
                EXPECT_EQ(PrgCellColour(*data, c.number, nullptr), c.off);
                EXPECT_EQ(PrgCellColour(*data, c.number, &calls), c.on);
                break;
        }
    }
}

TEST_F(CalledSet, CallIndexCountsOnlyNonEmptyCallersAndEveryKbdSet) {
    // An empty backing sequence still holding a number is no caller.
    data->bsq.entries[2].record.SetArrangement(257);
    data->bsq.entries[2].record.SetStyle(256);
    // An empty arrangement calls no style and no program.
    data->arr.arr[5].SetStyle(256);
    data->arr.arr[5].SetTrackProgram(0, 769);
    // A track call pair whose high byte has bit 7 set still calls the program: 0x00 0x84 is R11.
    data->arr.arr[0].bytes[39 + 8 * 4] = 0x00;
    data->arr.arr[0].bytes[39 + 8 * 4 + 1] = 0x84;
    data->sty.slots[0].record.SetTrackProgram(5, 1056);
    data->bsq.entries[1].record.SetTrackProgram(7, 1056);
    data->ark.records[63].SetTrackProgram(4, 1056);
    const CallIndex index = BuildCallIndex(*data);

    EXPECT_TRUE(index.IsArrCalled(256));
    EXPECT_TRUE(index.IsArrCalled(0));
    EXPECT_FALSE(index.IsArrCalled(257));
    EXPECT_TRUE(index.IsStyCalled(257));
    EXPECT_TRUE(index.IsStyCalled(0));
    EXPECT_FALSE(index.IsStyCalled(256));
    EXPECT_FALSE(index.IsPrgCalled(769));
    EXPECT_EQ(CountProgramCallers(*data, 769), 0);
    EXPECT_EQ(index.PrgCallCount(1056), 3);
    EXPECT_EQ(CountProgramCallers(*data, 1056), 3);
    EXPECT_EQ(index.PrgCallCount(768), 1);
    EXPECT_EQ(index.PrgCallCount(1024), 1) << "bit 7 of the call's high byte is ignored";
    EXPECT_EQ(CountProgramCallers(*data, 1024), 1);
    // Numbers outside every range are never called and never overflow the index.
    EXPECT_FALSE(index.IsPrgCalled(-1));
    EXPECT_FALSE(index.IsPrgCalled(0x7FFF));
    EXPECT_FALSE(index.IsArrCalled(65535));

    // A quiet set whose KBD sets keep their zero bytes: all 64 call A11 on all five tracks.
    auto zeros = QuietSet();
    for (auto& kbd : zeros->ark.records) kbd = KbdSetRecord{};
    EXPECT_EQ(BuildCallIndex(*zeros).PrgCallCount(0), 64 * 5);
    EXPECT_EQ(CountProgramCallers(*zeros, 0), 64 * 5);
}

TEST(BankGrid, TwinViewFoldsTheSecondBankOfAPair) {
    struct LayoutCase {
        BankedKind kind;
        int combo;
        bool twin;
        GridLayout expected;
    };
    const LayoutCase layouts[] = {
        {BankedKind::Program, 5, false, {5, 16, false, true}},
        {BankedKind::Program, 5, true, {5, 32, true, true}},
        {BankedKind::Program, 6, true, {5, 32, true, true}},
        {BankedKind::Program, 4, true, {4, 16, false, false}},
        {BankedKind::Program, 7, true, {7, 10, false, false}},
        {BankedKind::Arrangement, 3, true, {2, 32, true, true}},
        {BankedKind::Arrangement, 1, false, {1, 16, false, true}},
        {BankedKind::Style, 2, true, {2, 12, false, false}},
        {BankedKind::Style, 3, false, {-1, 0, false, false}},
    };
    for (const LayoutCase& c : layouts) {
        SCOPED_TRACE(std::to_string(static_cast<int>(c.kind)) + "/" + std::to_string(c.combo));
        const GridLayout got = BankGridLayout(c.kind, c.combo, c.twin);
        EXPECT_EQ(got.bank, c.expected.bank);
        EXPECT_EQ(got.rows, c.expected.rows);
        EXPECT_EQ(got.twin, c.expected.twin);
        EXPECT_EQ(got.twinBoxShown, c.expected.twinBoxShown);
    }

    const GridLayout f = BankGridLayout(BankedKind::Program, 5, true);
    EXPECT_EQ(GridCellNumber(BankedKind::Program, f, 16, 0), 832);  // G11
    EXPECT_EQ(GridCellNumber(BankedKind::Program, f, 31, 3), 895);  // G88
    EXPECT_EQ(GridCellNumber(BankedKind::Program, f, 32, 0), -1);
    EXPECT_EQ(GridCellNumber(BankedKind::Program, BankGridLayout(BankedKind::Program, 5, false), 16, 0), -1);
    const GridLayout r = BankGridLayout(BankedKind::Program, 7, false);
    EXPECT_EQ(GridCellNumber(BankedKind::Program, r, 9, 3), 1063);  // R58
    EXPECT_EQ(GridCellNumber(BankedKind::Program, r, 10, 0), -1);
    EXPECT_EQ(GridCellNumber(BankedKind::Style, BankGridLayout(BankedKind::Style, 2, false), 11, 3), 303);
    EXPECT_EQ(GridCellNumber(BankedKind::Arrangement, BankGridLayout(BankedKind::Arrangement, 2, true), 16, 0), 320);

    struct PositionCase {
        BankedKind kind;
        int number;
        bool twin;
        int bank, row, column;
    };
    const PositionCase positions[] = {
        {BankedKind::Arrangement, 320, true, 2, 16, 0},  // D11 in bank C's grid
        {BankedKind::Arrangement, 320, false, 3, 0, 0},    {BankedKind::Arrangement, 63, true, 0, 15, 3},
        {BankedKind::Program, 1063, true, 7, 9, 3},  // R has no twin
        {BankedKind::Program, 895, true, 5, 31, 3},        {BankedKind::Program, 575, true, 4, 15, 3},
        {BankedKind::Style, 127, true, 1, 15, 3},          {BankedKind::Program, 2000, false, -1, -1, -1},
        {BankedKind::Arrangement, 200, false, -1, -1, -1},
    };
    for (const PositionCase& c : positions) {
        SCOPED_TRACE(c.number);
        const GridPosition got = GridPositionOf(c.kind, c.number, c.twin);
        EXPECT_EQ(got.comboBank, c.bank);
        EXPECT_EQ(got.row, c.row);
        EXPECT_EQ(got.column, c.column);
        if (got.Valid()) {
            EXPECT_EQ(GridCellNumber(c.kind, BankGridLayout(c.kind, got.comboBank, c.twin), got.row, got.column),
                      c.number);
        }
    }
}

TEST_F(CalledSet, KbdGridBlockEventsAndKindDependencies) {
    data->ark.records[7].SetSplit(60);
    data->ark.records[7].SetTrackProgram(0, 1);
    data->ark.records[7].SetTrackProgram(1, 2000);
    EXPECT_EQ(kKbdGridHeader[2], "Main KBD");
    EXPECT_EQ(KbdGridText(*data, presets, 7, 0), "18");
    EXPECT_EQ(KbdGridText(*data, presets, 7, 1), "C4");
    EXPECT_EQ(KbdGridText(*data, presets, 7, 2), "A12 " + Name16("Bright Piano"));
    EXPECT_EQ(KbdGridText(*data, presets, 7, 3), " ");
    EXPECT_EQ(KbdGridText(*data, presets, 7, 4), "F11 " + Name16("My Piano"));
    EXPECT_EQ(KbdGridText(*data, presets, 64, 0), "");

    // Block 0: slots 0-3 use 100 + 0, and the two slots without a style take no room.
    const BlockEvents block0 = StyleBlockEvents(data->sty, 0);
    EXPECT_EQ(block0.used, 100);
    EXPECT_EQ(block0.free, 15200 - block0.used);
    EXPECT_EQ(StyleBlockEvents(data->sty, 12).used, 0);

    EXPECT_TRUE(KindCallsKind(ItemKind::BackingSequence, ItemKind::Arrangement));
    EXPECT_TRUE(KindCallsKind(ItemKind::Arrangement, ItemKind::Style));
    EXPECT_TRUE(KindCallsKind(ItemKind::KbdSet, ItemKind::Program));
    EXPECT_FALSE(KindCallsKind(ItemKind::Program, ItemKind::Program));
    EXPECT_FALSE(KindCallsKind(ItemKind::Style, ItemKind::Arrangement));
    EXPECT_FALSE(KindCallsKind(ItemKind::Global, ItemKind::Program));
}

TEST_F(CalledSet, PickEntriesListABankOrACategoryOverAllBanks) {
    const auto bankR = BankPickEntries(BankedKind::Program, *data, presets, 7);
    ASSERT_EQ(bankR.size(), 40u);
    EXPECT_EQ(bankR[39].number, 1063);
    EXPECT_EQ(bankR[39].text, "R58 " + std::string(16, ' '));
    const auto bankC = BankPickEntries(BankedKind::Arrangement, *data, presets, 2);
    ASSERT_EQ(bankC.size(), 64u);
    EXPECT_EQ(bankC[0].text, "C11 " + Name16("Pop Ballad"));
    EXPECT_TRUE(BankPickEntries(BankedKind::Style, *data, presets, 3).empty());

    data->prg.records[64].SetCategory(14);   // G11
    data->prg.records[129].SetCategory(14);  // R52
    for (auto& program : data->prg.records)
        if (program.Category() != 14) program.SetCategory(15);
    auto drums = CategoryPickEntries(BankedKind::Program, *data, presets, 14);
    std::vector<int> numbers;
    for (const auto& e : drums) numbers.push_back(e.number);
    // Presets of A, D and R and user slots of G and R, in number order; nothing outside the banks.
    EXPECT_EQ(numbers, (std::vector<int>{1, 259, 832, 1024, 1057}));
    EXPECT_EQ(drums[0].text, "A12 " + Name16("Bright Piano"));
    EXPECT_EQ(drums[3].text, "R11 " + std::string(16, ' '));
}

}  // namespace
}  // namespace vx
