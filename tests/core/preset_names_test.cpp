#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "core/catalogue/PresetNames.h"
#include "support/TestPaths.h"

namespace vx {
namespace {

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

// The generated file with one piece of text replaced.
std::string Replaced(const std::string& from, const std::string& to) {
    std::string text = MakeNamesFile();
    return text.replace(text.find(from), from.size(), to);
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

TEST(PresetNames, RefusesBadFilesAndKeepsTheTables) {
    const std::pair<const char*, std::string> cases[] = {
        {"no marker line", Replaced("VEMO-X50", "VEMO X50")},
        {"an entry short", Replaced("\"T5 31\",18\n", "")},
        {"nothing after the marker", "Vemo-x50\n"},
        {"the file ends inside the last entry", Replaced("\"T5 31\",18\n", "\"T5 31\"")},
    };
    for (const auto& [what, text] : cases) {
        PresetTables tables;
        tables.styles[0].name = "kept            ";
        EXPECT_FALSE(ParsePresetNames(text, tables)) << what;
        EXPECT_EQ(tables.styles[0].name, "kept            ") << what;
    }
}

// The number of the line of the generated file that holds the text.
int LineOf(const std::string& needle) {
    const std::string text = MakeNamesFile();
    return 1 + static_cast<int>(std::count(text.begin(), text.begin() + static_cast<long>(text.find(needle)), '\n'));
}

TEST(PresetNames, AMalformedEntryIsSkippedAndLeftBlankAndTheOthersStayInPlace) {
    struct Case {
        const char* what;
        std::vector<std::pair<std::string, std::string>> edits;
        std::vector<int> lines;
        std::string blankAndNext;  // the names of the malformed entry's item and the next one
    };
    const auto styles = [](const PresetTables& t) { return t.styles[7].name + t.styles[8].name; };
    const std::string blank(16, ' ');
    const Case cases[] = {
        {"category not a number", {{"\"T1 7\",22", "\"T1 7\",x22"}}, {LineOf("\"T1 7\"")}, blank + "T1 8            "},
        {"category missing", {{"\"T1 7\",22", "\"T1 7\","}}, {LineOf("\"T1 7\"")}, blank + "T1 8            "},
        {"category out of range", {{"\"T1 7\",22", "\"T1 7\",256"}}, {LineOf("\"T1 7\"")}, blank + "T1 8            "},
        // A name written with a line break in it: the entry's two lines go, the next entry is read.
        {"a name broken by a line break",
         {{"\"T1 7\"", "\"T1\n7\""}},
         {LineOf("\"T1 7\"")},
         blank + "T1 8            "},
        {"style not a number and a broken name",
         {{"\"T0 3\",9,259", "\"T0 3\",9,2 59"}, {"\"T1 7\"", "\"T1\r\n7\""}},
         {LineOf("\"T0 3\""), LineOf("\"T1 7\"")},
         blank + "T1 8            "},
    };
    for (const Case& c : cases) {
        std::string text = MakeNamesFile();
        for (const auto& [from, to] : c.edits) text.replace(text.find(from), from.size(), to);
        PresetTables tables;
        std::vector<int> skipped;
        ASSERT_TRUE(ParsePresetNames(text, tables, &skipped)) << c.what;
        EXPECT_EQ(skipped, c.lines) << c.what;
        EXPECT_EQ(styles(tables), c.blankAndNext) << c.what;
        EXPECT_EQ(tables.styles[7].category, 0) << c.what;
        EXPECT_EQ(tables.drumKitsR[31].name + std::to_string(tables.drumKitsR[31].category), "T5 31           18")
            << c.what << ": nothing after it moved";
    }
    EXPECT_EQ(SkippedNamesLinesText("/opt/vx/X50PRSTS.TXT", {12}),
              "Line 12 of the Preset names file /opt/vx/X50PRSTS.TXT is malformed.\n"
              "It was skipped: its entry is left blank.");
    EXPECT_EQ(SkippedNamesLinesText("N.TXT", {3, 5, 8, 13, 21, 34, 55}),
              "Lines 3, 5, 8, 13, 21 and 2 more of the Preset names file N.TXT are malformed.\n"
              "They were skipped: their entries are left blank.");
    EXPECT_EQ(SkippedNamesLinesText("N.TXT", {3, 5}),
              "Lines 3 and 5 of the Preset names file N.TXT are malformed.\n"
              "They were skipped: their entries are left blank.");
}

}  // namespace
}  // namespace vx
