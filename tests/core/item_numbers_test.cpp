#include <gtest/gtest.h>

#include "presets/PresetNames.h"
#include "programs/ProgramNumbers.h"
#include "selection/ItemNumbers.h"
#include "support/SetBuilder.h"

namespace vx {
namespace {

std::string Name16(const std::string& name) { return name + std::string(16 - name.size(), ' '); }

PresetTables Presets() {
    PresetTables presets;
    presets.programsAB[0] = {Name16("PIANO"), 0};
    presets.programsAB[127] = {Name16("B88 PRESET"), 16};
    presets.programsCD[0] = {Name16("C11 PRESET"), 3};
    presets.programsCD[127] = {Name16("D88 PRESET"), 15};
    presets.programsE[63] = {Name16("E88 PRESET"), 4};
    presets.drumKitsR[31] = {Name16("R48 KIT"), 14};
    presets.arrangements[64] = {{Name16("B11 ARR"), 2}, 5};
    presets.styles[127] = {Name16("B88 STYLE"), 200};
    return presets;
}

TEST(ProgramNumbers, LabelsOfEveryBankEdge) {
    const std::pair<int, const char*> cases[] = {
        {0, "A11"},    {7, "A18"},   {8, "A21"},   {63, "A88"},   {64, "B11"},   {127, "B88"},
        {256, "C11"},  {320, "D11"}, {383, "D88"}, {512, "E11"},  {575, "E88"},  {768, "F11"},
        {831, "F88"},  {832, "G11"}, {895, "G88"}, {1024, "R11"}, {1055, "R48"}, {1056, "R51"},
        {1063, "R58"}, {-1, ""},     {128, ""},    {255, ""},     {384, ""},     {511, ""},
        {576, ""},     {767, ""},    {896, ""},    {1023, ""},    {1064, ""},    {65535, ""},
    };
    for (const auto& [number, label] : cases) EXPECT_EQ(ProgramLabel(number), label) << number;
    EXPECT_EQ(ProgramLabelOfUserIndex(0), "F11");
    EXPECT_EQ(ProgramLabelOfUserIndex(128), "R51");
    EXPECT_EQ(ProgramLabelOfUserIndex(136), "");
}

TEST(ProgramNumbers, UserIndexesBothWays) {
    const std::pair<int, int> numberToIndex[] = {{768, 0},    {831, 63}, {832, 64}, {895, 127}, {1056, 128},
                                                 {1063, 135}, {767, -1}, {896, -1}, {1055, -1}, {1064, -1},
                                                 {0, -1},     {512, -1}, {-1, -1}};
    for (const auto& [number, index] : numberToIndex) EXPECT_EQ(UserIndexOf(number), index) << number;
    const std::pair<int, int> indexToNumber[] = {{0, 768}, {127, 895}, {128, 1056}, {135, 1063}, {136, -1}, {-1, -1}};
    for (const auto& [index, number] : indexToNumber) EXPECT_EQ(NumberOfUserIndex(index), number) << index;

    struct InBank {
        int bank, slot, index;
    };
    const InBank inBank[] = {{5, 0, 0},   {5, 63, 63},  {5, 64, 64},  {6, 0, 64},   {6, 63, 127},
                             {6, 64, -1}, {7, 31, -1},  {7, 32, 128}, {7, 39, 135}, {7, 40, -1},
                             {4, 0, -1},  {4, 256, -1}, {0, 768, -1}, {8, 0, -1},   {5, -1, -1}};
    for (const auto& c : inBank) EXPECT_EQ(UserIndexInBank(c.bank, c.slot), c.index) << c.bank << "/" << c.slot;

    struct Where {
        int index, bank, slot;
    };
    const Where where[] = {{0, 5, 0}, {63, 5, 63}, {64, 6, 0}, {127, 6, 63}, {128, 7, 32}, {135, 7, 39}, {136, -1, -1}};
    for (const auto& c : where) {
        const BankSlot got = BankSlotOfUserIndex(c.index);
        EXPECT_EQ(got.bank, c.bank) << c.index;
        EXPECT_EQ(got.slot, c.slot) << c.index;
    }
}

TEST(ProgramNumbers, BankAndSlotBothWays) {
    struct Case {
        int number, bank, slot;
    };
    const Case cases[] = {{0, 0, 0},    {127, 1, 63}, {256, 2, 0},   {383, 3, 63},  {512, 4, 0},    {768, 5, 0},
                          {895, 6, 63}, {1024, 7, 0}, {1063, 7, 39}, {128, -1, -1}, {1064, -1, -1}, {-1, -1, -1}};
    for (const auto& c : cases) {
        const BankSlot got = ProgramBankSlotOf(c.number);
        EXPECT_EQ(got.bank, c.bank) << c.number;
        EXPECT_EQ(got.slot, c.slot) << c.number;
        if (c.bank >= 0) {
            EXPECT_EQ(ProgramNumberOf(c.bank, c.slot), c.number);
        }
    }
    EXPECT_EQ(ProgramNumberOf(5, 64), 832);  // slots are not checked: F's 64 is G11
    EXPECT_EQ(ProgramNumberOf(8, 0), -1);
    EXPECT_EQ(ProgramNumberOf(-1, 0), -1);
}

TEST(ProgramNumbers, NamesAndCategoriesFromSetAndPresets) {
    const PresetTables presets = Presets();
    SetPrograms programs = test::EmptySet().prg;
    programs.records[0].SetName("MY F11");
    programs.records[0].SetCategory(7);
    programs.records[127].SetCategory(16);
    programs.records[135].SetName("MY KIT");
    programs.records[135].SetCategory(255);
    struct Case {
        int number;
        std::string name;
        int category;
    };
    const Case cases[] = {
        {0, Name16("PIANO"), 0},
        {127, Name16("B88 PRESET"), 255},
        {256, Name16("C11 PRESET"), 3},
        {383, Name16("D88 PRESET"), 15},
        {575, Name16("E88 PRESET"), 4},
        {1055, Name16("R48 KIT"), 14},
        {768, Name16("MY F11"), 7},
        {895, kBlankName, 255},
        {1063, Name16("MY KIT"), 255},
        {1056, kBlankName, 15},
        {128, "", 255},
        {-1, "", 255},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ProgramNameOf(programs, presets, c.number), c.name) << c.number;
        EXPECT_EQ(ProgramCategoryOf(programs, presets, c.number), c.category) << c.number;
    }
    EXPECT_EQ(UserProgramName(programs, 135), Name16("MY KIT"));
    EXPECT_EQ(UserProgramName(programs, 136), kBlankName);
    EXPECT_TRUE(IsProgramEmpty(programs, 1));
    EXPECT_FALSE(IsProgramEmpty(programs, 0));
    EXPECT_FALSE(IsProgramEmpty(programs, 136));
    EXPECT_FALSE(IsProgramEmpty(programs, -1));
}

TEST(ProgramNumbers, FindByNameComparesAllSixteenCharactersInOrder) {
    SetPrograms programs = test::EmptySet().prg;
    programs.records[130].SetName("TWIN");  // R53
    programs.records[70].SetName("TWIN");   // G17
    programs.records[5].SetName("TWINS");
    programs.records[132].SetName("KIT ONLY");
    const std::pair<std::string, int> cases[] = {
        {Name16("TWIN"), 838}, {Name16("KIT ONLY"), 1060}, {"TWIN", -1}, {Name16("twin"), -1}, {Name16("NOBODY"), -1}};
    for (const auto& [name, number] : cases) EXPECT_EQ(FindProgramByName(programs, name), number) << name;
}

TEST(ItemNumbers, ArrangementFamily) {
    struct Case {
        int number, bank, slot, index;
        const char* label;
    };
    const Case cases[] = {{0, 0, 0, -1, "A11"},     {63, 0, 63, -1, "A88"},  {64, 1, 0, -1, "B11"},
                          {256, 2, 0, 0, "C11"},    {319, 2, 63, 63, "C88"}, {320, 3, 0, 64, "D11"},
                          {383, 3, 63, 127, "D88"}, {128, -1, -1, -1, ""},   {384, -1, -1, -1, ""},
                          {-1, -1, -1, -1, ""}};
    for (const Case& c : cases) {
        const BankSlot got = ArrBankSlotOf(c.number);
        EXPECT_EQ(got.bank, c.bank) << c.number;
        EXPECT_EQ(got.slot, c.slot) << c.number;
        EXPECT_EQ(ArrUserIndexOf(c.number), c.index) << c.number;
        EXPECT_EQ(ArrLabel(c.number), c.label) << c.number;
        if (c.bank >= 0) {
            EXPECT_EQ(ArrNumberOf(c.bank, c.slot), c.number);
        }
        if (c.index >= 0) {
            EXPECT_EQ(ArrNumberOfUserIndex(c.index), c.number);
        }
    }
    EXPECT_EQ(ArrNumberOf(4, 0), -1);
    EXPECT_EQ(ArrNumberOfUserIndex(128), -1);
    EXPECT_EQ(ArrUserIndexInBank(2, 5), 5);
    EXPECT_EQ(ArrUserIndexInBank(3, 5), 69);
    EXPECT_EQ(ArrUserIndexInBank(2, 64), 64);  // the twin grid's lower half is bank D
    EXPECT_EQ(ArrUserIndexInBank(3, 64), -1);
    EXPECT_EQ(ArrUserIndexInBank(1, 5), -1);

    const PresetTables presets = Presets();
    SetArrangements arr = test::EmptySet().arr;
    arr.arr[0].SetName("MY ARR");
    arr.arr[0].SetCategory(3);
    arr.arr[127].SetName("MY ARR");
    arr.arr[127].SetCategory(16);
    EXPECT_EQ(ArrNameOf(arr, presets, 64), Name16("B11 ARR"));
    EXPECT_EQ(ArrCategoryOf(arr, presets, 64), 2);
    EXPECT_EQ(ArrNameOf(arr, presets, 256), Name16("MY ARR"));
    EXPECT_EQ(ArrCategoryOf(arr, presets, 256), 3);
    EXPECT_EQ(ArrCategoryOf(arr, presets, 383), 255);
    EXPECT_EQ(ArrNameOf(arr, presets, 384), "");
    EXPECT_EQ(ArrCategoryOf(arr, presets, 200), 255);
    EXPECT_EQ(FindArrangementByName(arr, Name16("MY ARR")), 256);
    EXPECT_EQ(FindArrangementByName(arr, "MY ARR"), -1);
}

TEST(ItemNumbers, StyleFamily) {
    struct Case {
        int number, bank, slot, index;
        const char* label;
    };
    const Case cases[] = {{0, 0, 0, -1, "A11"},    {127, 1, 63, -1, "B88"}, {256, 2, 0, 0, "C11"},
                          {303, 2, 47, 47, "C68"}, {304, -1, -1, -1, ""},   {320, -1, -1, -1, ""}};
    for (const Case& c : cases) {
        const BankSlot got = StyBankSlotOf(c.number);
        EXPECT_EQ(got.bank, c.bank) << c.number;
        EXPECT_EQ(got.slot, c.slot) << c.number;
        EXPECT_EQ(StyUserIndexOf(c.number), c.index) << c.number;
        EXPECT_EQ(StyLabel(c.number), c.label) << c.number;
        if (c.bank >= 0) {
            EXPECT_EQ(StyNumberOf(c.bank, c.slot), c.number);
        }
        if (c.index >= 0) {
            EXPECT_EQ(StyNumberOfUserIndex(c.index), c.number);
        }
    }
    EXPECT_EQ(StyNumberOf(3, 0), -1);
    EXPECT_EQ(StyNumberOfUserIndex(48), -1);
    EXPECT_EQ(StyUserIndexInBank(2, 47), 47);
    EXPECT_EQ(StyUserIndexInBank(2, 48), -1);
    EXPECT_EQ(StyUserIndexInBank(0, 3), -1);

    const PresetTables presets = Presets();
    SetStyles sty = test::EmptySet().sty;
    sty.slots[47].record.SetName("LAST STYLE");
    sty.slots[47].record.SetCategory(9);
    EXPECT_EQ(StyNameOf(sty, presets, 127), Name16("B88 STYLE"));
    EXPECT_EQ(StyCategoryOf(sty, presets, 127), 255);
    EXPECT_EQ(StyNameOf(sty, presets, 303), Name16("LAST STYLE"));
    EXPECT_EQ(StyCategoryOf(sty, presets, 303), 9);
    EXPECT_EQ(StyNameOf(sty, presets, 256), kBlankName);
    EXPECT_EQ(StyNameOf(sty, presets, 304), "");
    EXPECT_EQ(FindStyleByName(sty, Name16("LAST STYLE")), 303);
    EXPECT_EQ(FindStyleByName(sty, Name16("NONE")), -1);
}

}  // namespace
}  // namespace vx
