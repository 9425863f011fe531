#include <gtest/gtest.h>

#include <tuple>

#include "core/catalogue/PresetNames.h"
#include "core/programs/ProgramNumbers.h"
#include "core/selection/ItemNumbers.h"
#include "support/SetBuilder.h"

namespace vx {
namespace {

std::string Name16(const std::string& name) { return name + std::string(16 - name.size(), ' '); }

std::string Text(const std::string& text) { return text; }
std::string Text(int value) { return std::to_string(value); }
std::string Text(BankSlot place) { return Text(place.bank) + "/" + Text(place.slot); }

// f's answer for each input, joined by "|": a whole table in one line.
template <typename F>
std::string Each(std::initializer_list<int> inputs, F f) {
    std::string out;
    for (int input : inputs) out += Text(f(input)) + "|";
    return out;
}

PresetTables Presets() {
    PresetTables presets;
    presets.programsAB[0] = {Name16("PIANO"), 0};
    presets.programsAB[127] = {Name16("B88 PRESET"), 16};
    presets.programsCD[127] = {Name16("D88 PRESET"), 15};
    presets.programsE[63] = {Name16("E88 PRESET"), 4};
    presets.drumKitsR[31] = {Name16("R48 KIT"), 14};
    presets.arrangements[64] = {{Name16("B11 ARR"), 2}, 5};
    presets.styles[127] = {Name16("B88 STYLE"), 200};
    return presets;
}

TEST(ProgramNumbers, LabelsBanksAndUserIndexes) {
    EXPECT_EQ(Each({0, 8, 63, 64, 127, 256, 383, 512, 575, 768, 831, 832, 895, 1024, 1055, 1056, 1063}, ProgramLabel),
              "A11|A21|A88|B11|B88|C11|D88|E11|E88|F11|F88|G11|G88|R11|R48|R51|R58|");
    EXPECT_EQ(Each({-1, 128, 255, 384, 511, 576, 767, 896, 1023, 1064, 65535}, ProgramLabel), "|||||||||||");
    EXPECT_EQ(Each({0, 127, 256, 383, 512, 895, 1024, 1063, 128, 1064, -1}, ProgramBankSlotOf),
              "0/0|1/63|2/0|3/63|4/0|6/63|7/0|7/39|-1/-1|-1/-1|-1/-1|");
    for (const auto& [bank, slot, number] : {std::tuple{1, 63, 127}, {7, 39, 1063}, {5, 64, 832}, {8, 0, -1}})
        EXPECT_EQ(ProgramNumberOf(bank, slot), number) << bank << "/" << slot;  // the slot is not checked
    // User programs are F11-G88, then R51-R58.
    EXPECT_EQ(Each({768, 831, 832, 895, 1056, 1063, 767, 896, 1055, 1064, 0, -1}, UserIndexOf),
              "0|63|64|127|128|135|-1|-1|-1|-1|-1|-1|");
    EXPECT_EQ(Each({0, 127, 128, 135, 136, -1}, NumberOfUserIndex), "768|895|1056|1063|-1|-1|");
    EXPECT_EQ(Each({0, 127, 128, 136}, ProgramLabelOfUserIndex), "F11|G88|R51||");
    const std::tuple<int, int, int> inBank[] = {{5, 64, 64},  {6, 63, 127}, {6, 64, -1}, {7, 31, -1}, {7, 32, 128},
                                                {7, 39, 135}, {7, 40, -1},  {4, 0, -1},  {8, 0, -1},  {5, -1, -1}};
    for (const auto& [bank, slot, index] : inBank) EXPECT_EQ(UserIndexInBank(bank, slot), index) << bank << "/" << slot;
}

TEST(ProgramNumbers, NamesAndCategoriesFromSetAndPresets) {
    const PresetTables presets = Presets();
    SetPrograms programs = test::EmptySet().prg;
    programs.records[0].SetName("MY F11");
    programs.records[0].SetCategory(7);
    programs.records[127].SetCategory(16);
    programs.records[135].SetName("MY KIT");
    programs.records[130].SetName("TWIN");  // R53
    programs.records[70].SetName("TWIN");   // G17
    programs.records[5].SetName("TWINS");
    programs.records[132].SetName("KIT ONLY");
    const auto name = [&](int number) { return ProgramNameOf(programs, presets, number); };
    EXPECT_EQ(Each({575, 1055, 768, 1063}, name),
              "E88 PRESET      |R48 KIT         |MY F11          |MY KIT          |");
    EXPECT_EQ(Each({895, 1056, 128, -1}, name), kBlankName + "|" + kBlankName + "|||");
    EXPECT_EQ(Each({0, 127, 383, 575, 1055, 768, 895, 1063, 1056, 128, -1},
                   [&](int number) { return ProgramCategoryOf(programs, presets, number); }),
              "0|255|15|4|14|7|255|15|15|255|255|");
    EXPECT_EQ(Each({135, 136}, [&](int index) { return UserProgramName(programs, index); }),
              Name16("MY KIT") + "|" + kBlankName + "|");
    EXPECT_EQ(Each({1, 0, 136, -1}, [&](int index) { return IsProgramEmpty(programs, index); }), "1|0|0|0|");
    // The first user program whose sixteen characters match, F and G before R.
    for (const auto& [text, number] :
         {std::pair{Name16("TWIN"), 838}, {Name16("KIT ONLY"), 1060}, {"TWIN", -1}, {Name16("twin"), -1}})
        EXPECT_EQ(FindProgramByName(programs, text), number) << text;
}

TEST(ItemNumbers, ArrangementAndStyleNumbers) {
    EXPECT_EQ(Each({0, 63, 64, 256, 319, 320, 383, 128, 384, -1}, ArrLabel), "A11|A88|B11|C11|C88|D11|D88||||");
    EXPECT_EQ(Each({0, 64, 256, 383, 128, -1}, ArrBankSlotOf), "0/0|1/0|2/0|3/63|-1/-1|-1/-1|");
    EXPECT_EQ(Each({0, 63, 256, 319, 320, 383, 384}, ArrUserIndexOf), "-1|-1|0|63|64|127|-1|");
    EXPECT_EQ(Each({0, 64, 127, 128}, ArrNumberOfUserIndex), "256|320|383|-1|");
    EXPECT_EQ(std::pair(ArrNumberOf(3, 63), ArrNumberOf(4, 0)), std::pair(383, -1));
    // The twin grid's lower half is bank D.
    for (const auto& [bank, slot, index] : {std::tuple{2, 5, 5}, {3, 5, 69}, {2, 64, 64}, {3, 64, -1}, {1, 5, -1}})
        EXPECT_EQ(ArrUserIndexInBank(bank, slot), index) << bank << "/" << slot;

    EXPECT_EQ(Each({0, 127, 256, 303, 304, 320}, StyLabel), "A11|B88|C11|C68|||");
    EXPECT_EQ(Each({127, 303, 304}, StyBankSlotOf), "1/63|2/47|-1/-1|");
    EXPECT_EQ(Each({0, 256, 303, 304}, StyUserIndexOf), "-1|0|47|-1|");
    EXPECT_EQ(Each({47, 48}, StyNumberOfUserIndex), "303|-1|");
    EXPECT_EQ(std::pair(StyNumberOf(2, 47), StyNumberOf(3, 0)), std::pair(303, -1));
}

TEST(ItemNumbers, ArrangementAndStyleNamesFromSetAndPresets) {
    const PresetTables presets = Presets();
    SetArrangements arr = test::EmptySet().arr;
    arr.arr[0].SetName("MY ARR");
    arr.arr[0].SetCategory(3);
    arr.arr[127].SetName("MY ARR");
    arr.arr[127].SetCategory(16);
    EXPECT_EQ(Each({64, 256, 384}, [&](int number) { return ArrNameOf(arr, presets, number); }),
              Name16("B11 ARR") + "|" + Name16("MY ARR") + "||");
    EXPECT_EQ(Each({64, 256, 383, 200}, [&](int number) { return ArrCategoryOf(arr, presets, number); }),
              "2|3|255|255|");
    EXPECT_EQ(FindArrangementByName(arr, Name16("MY ARR")), 256);

    SetStyles sty = test::EmptySet().sty;
    sty.slots[47].record.SetName("LAST STYLE");
    sty.slots[47].record.SetCategory(9);
    EXPECT_EQ(Each({127, 303, 256, 304}, [&](int number) { return StyNameOf(sty, presets, number); }),
              Name16("B88 STYLE") + "|" + Name16("LAST STYLE") + "|" + kBlankName + "||");
    EXPECT_EQ(Each({127, 303}, [&](int number) { return StyCategoryOf(sty, presets, number); }), "255|9|");
}

}  // namespace
}  // namespace vx
