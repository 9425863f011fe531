#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "core/catalogue/Catalogue.h"
#include "core/catalogue/PresetNames.h"
#include "core/programs/ProgramNumbers.h"
#include "core/selection/ItemNumbers.h"
#include "core/storage/DataDirectory.h"
#include "core/storage/TemplateSet.h"
#include "core/text/Helpers.h"
#include "support/Golden.h"
#include "support/ScriptedInteraction.h"
#include "support/SetBuilder.h"
#include "support/TestPaths.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

// "VEMOX", the kind byte at 6, then bytes counting up so every offset is recognisable.
Bytes ItemBytes(std::uint8_t kindByte, std::size_t size) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + 1);
    std::copy_n("VEMOX", 5, bytes.begin());
    bytes[6] = kindByte;
    return bytes;
}

// The style record past its name and category comes from the template, zeros where it ends; the
// first KBD set too. The template is found whatever the case of its names.
TEST(Catalogue, BlanksComeFromTheTemplateFoundWhateverTheCaseOfItsNames) {
    const Bytes ark = ItemBytes(8, 32 + 56);
    test::TempDirectory dir;
    fs::create_directories(dir.Path() / "x50empty.set");
    test::WriteFileBytes(dir.Path() / "x50empty.set" / "X50Empty.Ark", ark);
    for (std::size_t size : {std::size_t{8}, std::size_t{224}, std::size_t{250}, std::size_t{294}}) {
        const Bytes sty = ItemBytes(4, size);
        test::WriteFileBytes(dir.Path() / "x50empty.set" / "x50empty.sty", sty);
        test::ScriptedInteraction one;
        auto state = InitCatalogue(dir.Str(), "/scratch", one);
        ASSERT_TRUE(state.has_value()) << size;
        EXPECT_TRUE(one.messages.empty()) << size;
        Bytes expected(70, 0);
        for (std::size_t i = 224; i < size; ++i) expected[i - 224] = sty[i];
        std::fill_n(expected.begin(), 16, ' ');
        expected[16] = 15;
        const StyleSlot& style = state->blank.style;
        EXPECT_EQ(Bytes(style.record.bytes.begin(), style.record.bytes.end()), expected) << size;
        EXPECT_EQ(std::tuple(style.used, style.size, style.events), std::tuple(1, 1176, Bytes(1106, 0)));
        if (size < 294) continue;
        EXPECT_EQ(state->tempFilePath, "/scratch/VEMOX50.TMP");
        EXPECT_EQ(state->templateBase, dir.Str() + "/X50EMPTY.SET/X50EMPTY");
        EXPECT_EQ(state->modeMessage, (std::array<std::uint8_t, 6>{0xF0, 0x42, 0x30, 0x49, 0x23, 0xF7}));
        EXPECT_TRUE(std::equal(ark.begin() + 32, ark.end(), state->blank.kbdSet.bytes.begin()));
        ArrangementRecord arrangement;
        arrangement.SetName(kBlankName);
        arrangement.SetCategory(15);
        EXPECT_EQ(state->blank.arrangement, arrangement);
        SongRecord song;
        song.SetName(kBlankName);  // the song name lies at offset 54
        EXPECT_EQ(state->blank.song.record, song);
    }
}

// Each case's style and KBD set files (none when empty), then what the person saw, in
// catalogue/template_failures.txt.
TEST(Catalogue, TemplateFailuresShowTheFileMessageThenTheLoadError) {
    test::TempDirectory dir;
    fs::create_directories(dir.Path() / "X50EMPTY.SET");
    const std::pair<Bytes, Bytes> cases[] = {{{}, ItemBytes(8, 88)},
                                             {ItemBytes(0, 294), ItemBytes(8, 88)},
                                             {ItemBytes(4, 294), {}},
                                             {ItemBytes(4, 294), ItemBytes(8, 87)}};
    std::string out;
    for (const auto& [sty, ark] : cases) {
        for (const auto& [extension, bytes] : {std::pair{".STY", sty}, {".ARK", ark}}) {
            const fs::path path = dir.Path() / "X50EMPTY.SET" / ("X50EMPTY" + std::string(extension));
            fs::remove(path);
            if (!bytes.empty()) test::WriteFileBytes(path, bytes);
        }
        test::ScriptedInteraction ui;
        EXPECT_FALSE(InitCatalogue(dir.Str(), nullptr, ui).has_value());
        const auto file = [](const Bytes& bytes) {
            return bytes.empty() ? std::string("none")
                                 : "kind " + std::to_string(bytes[6]) + ", " + std::to_string(bytes.size()) + " bytes";
        };
        out += ".STY " + file(sty) + "; .ARK " + file(ark) + "; busy " + std::to_string(ui.busyDepth) + "\n" +
               ui.TakeTranscript();
    }
    out = test::Shorten(out, dir.Str(), "DIR");
    EXPECT_EQ(out, test::Golden("catalogue/template_failures.txt", out));
}

// The programs find the shipped data beside them in a build tree and in ../share/vxeditr when
// installed; the installed layout must work under any root a package was unpacked into.
TEST(Catalogue, DataDirectoryBesideTheProgramOrInstalled) {
    // What, the program's directory, the directories given an X50EMPTY.SET, the one expected.
    const std::tuple<const char*, const char*, std::vector<std::string>, const char*> cases[] = {
        {"beside", "opt/bin", {"opt/bin", "opt/share/vxeditr"}, "opt/bin"},
        {"installed", "usr/bin", {"usr/share/vxeditr"}, "usr/share/vxeditr"},
        {"installed elsewhere", "opt/bin", {"usr/share/vxeditr", "opt/share/vxeditr"}, "opt/share/vxeditr"},
        {"neither", "usr/bin", {"usr/share/other"}, "usr/bin"},
        {"a file named like the template is not one", "usr/bin", {}, "usr/bin"},
    };
    for (const auto& [what, program, templates, expected] : cases) {
        test::TempDirectory root;
        for (const char* directory : {"usr/bin", "opt/bin", "usr/share/vxeditr"})
            fs::create_directories(root.Path() / directory);
        for (const std::string& directory : templates) fs::create_directories(root.Path() / directory / "X50EMPTY.SET");
        if (templates.empty()) test::WriteFileBytes(root.Path() / "usr/share/vxeditr/X50EMPTY.SET", Bytes{1});
        EXPECT_EQ(FindDataDirectory((root.Path() / program).string()), (root.Path() / expected).string()) << what;
    }
}

int GeneratedCategory(int table, int index) { return (index * 3 + table) % 40; }

// A names file laid out as the shipped one: junk before the marker, a title every eight entries,
// and entries written the odd ways a hand-edited file may hold (one is one field a line).
std::string MakeNamesFile() {
    constexpr int kTableSizes[] = {128, 128, 128, 128, 64, 32};
    std::string text = "\"Junk\",1,2\r\nThis is the VEMO-X50 preset names file\r\n";
    for (int table = 0; table < 6; ++table) {
        for (int i = 0; i < kTableSizes[table]; ++i) {
            if (i % 8 == 0) text += "/ Section " + std::to_string(table) + ", group " + std::to_string(i / 8) + "\n";
            std::string name = "\"T" + std::to_string(table) + " " + std::to_string(i) + "\"";
            const std::string category = std::to_string(GeneratedCategory(table, i));
            if (table == 0 && i < 2) name = i == 0 ? "\"Pop Ballad      \"" : "\"A Name Longer Than Sixteen\"";
            if (table == 1 && i == 5) name = "  \"Rock, Hard\"  ";
            text += table == 2 && i == 9 ? "\n" + name + "\r\n   " + category + "   " : name + "," + category;
            if (table == 0) text += "," + std::to_string(256 + i);
            text += table == 3 ? "\r\n" : "\n";
        }
    }
    return text;
}

TEST(PresetNames, ReadsAGeneratedFileIntoTheSixTables) {
    test::TempDirectory dir;
    std::ofstream(dir.Str() + "/X50PRSTS.TXT", std::ios::binary) << MakeNamesFile();
    PresetTables tables;
    ASSERT_TRUE(ReadPresetNames(dir.Str() + "/X50PRSTS.TXT", tables));
    EXPECT_EQ(tables.arrangements[0].name + tables.arrangements[1].name + tables.styles[5].name,
              "Pop Ballad      A Name Longer ThRock, Hard      ");
    EXPECT_EQ(tables.programsAB[9].name + tables.programsE[63].name + tables.drumKitsR[31].name,
              "T2 9            T4 63           T5 31           ");
    // Every category in table order: nothing skipped or shifted by the titles and line endings.
    const auto wrong = [](const auto& items, int table) {
        int count = 0;
        for (int i = 0; i < static_cast<int>(items.size()); ++i)
            count += items[i].category != GeneratedCategory(table, i);
        return count;
    };
    EXPECT_EQ(wrong(tables.arrangements, 0) + wrong(tables.styles, 1) + wrong(tables.programsAB, 2) +
                  wrong(tables.programsCD, 3) + wrong(tables.programsE, 4) + wrong(tables.drumKitsR, 5),
              0);
    for (int i = 2; i < 128; ++i) EXPECT_EQ(tables.arrangements[i].style, 256 + i);

    EXPECT_FALSE(ReadPresetNames(dir.Str() + "/MISSING.TXT", tables));
    EXPECT_EQ(tables.arrangements[0].name, "Pop Ballad      ");
    EXPECT_EQ(PresetNamesErrorText(), "Error getting Preset names from file X50PRSTS.TXT\nEnding program!");
}

// Each case's edits of the generated file, then the lines skipped, styles 7 and 8 (the malformed
// entry's and the next) and the last drum kit, in catalogue/skipped_names.txt; a file refused
// whole leaves the tables as they were (style 7 "kept").
TEST(PresetNames, AMalformedEntryIsSkippedAndLeftBlankAndABadFileRefused) {
    const std::vector<std::pair<std::string, std::vector<std::pair<std::string, std::string>>>> cases = {
        {"category not a number", {{"\"T1 7\",22", "\"T1 7\",x22"}}},
        {"category missing", {{"\"T1 7\",22", "\"T1 7\","}}},
        {"category out of range", {{"\"T1 7\",22", "\"T1 7\",256"}}},
        // A name written with a line break in it: the entry's two lines go, the next entry is read.
        {"a name broken by a line break", {{"\"T1 7\"", "\"T1\n7\""}}},
        {"style not a number and a broken name", {{"\"T0 3\",9,259", "\"T0 3\",9,2 59"}, {"\"T1 7\"", "\"T1\r\n7\""}}},
        {"no marker line", {{"VEMO-X50", "VEMO X50"}}},
        {"an entry short", {{"\"T5 31\",18\n", ""}}},
        {"the file ends inside the last entry", {{"\"T5 31\",18\n", "\"T5 31\""}}},
        {"nothing after the marker", {{"VEMO-X50", "VEMO X50"}, {"\"T5 31\",18\n", "\"T5 31\",18\nVemo-x50\n"}}},
    };
    std::string out;
    for (const auto& [what, edits] : cases) {
        std::string text = MakeNamesFile();
        for (const auto& [from, to] : edits) text.replace(text.find(from), from.size(), to);
        PresetTables tables;
        tables.styles[7].name = "kept            ";
        std::vector<int> skipped;
        out += what + (ParsePresetNames(text, tables, &skipped) ? ": lines" : ": refused, lines");
        for (int line : skipped) out += " " + std::to_string(line);
        for (const PresetItem& item : {tables.styles[7], tables.styles[8], tables.drumKitsR[31]})
            out += " [" + item.name + "] " + std::to_string(item.category);
        out += "\n";
    }
    for (const std::vector<int>& lines : {std::vector<int>{12}, {3, 5}, {3, 5, 8, 13, 21, 34, 55}})
        out += SkippedNamesLinesText("/opt/vx/X50PRSTS.TXT", lines) + "\n";
    EXPECT_EQ(out, test::Golden("catalogue/skipped_names.txt", out));
}

std::string Text(BankSlot place) { return std::to_string(place.bank) + "/" + std::to_string(place.slot); }
std::string Text(int value) { return std::to_string(value); }

// Every numbering function of programs, arrangements and styles at the edges of their banks, with the
// names and categories of a set over preset tables: one line an input, in catalogue/numbers.txt.
TEST(ItemNumbers, LabelsBanksIndexesNamesAndCategoriesOfEveryKind) {
    PresetTables presets;
    presets.programsAB[0] = {"PIANO", 0};
    presets.programsAB[127] = {"B88 PRESET", 16};
    presets.programsCD[127] = {"D88 PRESET", 15};
    presets.programsE[63] = {"E88 PRESET", 4};
    presets.drumKitsR[31] = {"R48 KIT", 14};
    presets.arrangements[64] = {{"B11 ARR", 2}, 5};
    presets.styles[127] = {"B88 STYLE", 200};
    SetData set = test::EmptySet();
    for (auto [index, name] : {std::pair{0, "MY F11"}, {135, "MY KIT"}, {130, "TWIN"}, {70, "TWIN"}, {5, "TWINS"}})
        set.prg.records[static_cast<std::size_t>(index)].SetName(name);
    set.prg.records[132].SetName("KIT ONLY");
    set.prg.records[0].SetCategory(7);
    set.prg.records[127].SetCategory(16);
    set.arr.arr[0].SetName("MY ARR");
    set.arr.arr[0].SetCategory(3);
    set.arr.arr[127].SetName("MY ARR");
    set.arr.arr[127].SetCategory(16);
    set.sty.slots[47].record.SetName("LAST STYLE");
    set.sty.slots[47].record.SetCategory(9);

    std::string out = "number: program label bank/slot user [name] category | arrangement ... | style ...\n";
    for (int n : {-1,  0,   8,   63,  64,  127, 128, 200, 255, 256,  303,  304,  319,  320,  383,  384,  511,
                  512, 575, 576, 767, 768, 831, 832, 895, 896, 1023, 1024, 1055, 1056, 1060, 1063, 1064, 65535})
        out += Text(n) + ": " + ProgramLabel(n) + " " + Text(ProgramBankSlotOf(n)) + " " + Text(UserIndexOf(n)) + " [" +
               ProgramNameOf(set.prg, presets, n) + "] " + Text(ProgramCategoryOf(set.prg, presets, n)) + " | " +
               ArrLabel(n) + " " + Text(ArrBankSlotOf(n)) + " " + Text(ArrUserIndexOf(n)) + " [" +
               ArrNameOf(set.arr, presets, n) + "] " + Text(ArrCategoryOf(set.arr, presets, n)) + " | " + StyLabel(n) +
               " " + Text(StyBankSlotOf(n)) + " " + Text(StyUserIndexOf(n)) + " [" + StyNameOf(set.sty, presets, n) +
               "] " + Text(StyCategoryOf(set.sty, presets, n)) + "\n";
    out += "user index: program number label [name] empty | arrangement number | style number\n";
    for (int i : {-1, 0, 1, 47, 48, 63, 64, 127, 128, 135, 136})
        out += Text(i) + ": " + Text(NumberOfUserIndex(i)) + " " + ProgramLabelOfUserIndex(i) + " [" +
               UserProgramName(set.prg, i) + "] " + Text(IsProgramEmpty(set.prg, i)) + " | " +
               Text(ArrNumberOfUserIndex(i)) + " | " + Text(StyNumberOfUserIndex(i)) + "\n";
    // The slot is not checked by the number functions; the twin grid's lower half is bank D.
    out += "bank/slot: program number user | arrangement number user | style number\n";
    const int banksAndSlots[] = {// bank, slot, bank, slot ...
                                 1, 5, 1,  63, 2,  5, 2,  47, 2,  64, 3,  0, 3,  5, 3,  63, 3,  64, 4,
                                 0, 5, -1, 5,  64, 6, 63, 6,  64, 7,  31, 7, 32, 7, 39, 7,  40, 8,  0};
    for (std::size_t i = 0; i < std::size(banksAndSlots); i += 2) {
        const int bank = banksAndSlots[i], slot = banksAndSlots[i + 1];
        out += Text(bank) + "/" + Text(slot) + ": " + Text(ProgramNumberOf(bank, slot)) + " " +
               Text(UserIndexInBank(bank, slot)) + " | " + Text(ArrNumberOf(bank, slot)) + " " +
               Text(ArrUserIndexInBank(bank, slot)) + " | " + Text(StyNumberOf(bank, slot)) + "\n";
    }
    // The first user program whose sixteen characters match, F and G before R.
    out += "found by name:";
    for (const std::string name : {"TWIN            ", "KIT ONLY        ", "TWIN", "twin            "})
        out += " " + Text(FindProgramByName(set.prg, name));
    out += " " + Text(FindArrangementByName(set.arr, "MY ARR          ")) + "\n";
    EXPECT_EQ(out, test::Golden("catalogue/numbers.txt", out));
}

}  // namespace
}  // namespace vx
