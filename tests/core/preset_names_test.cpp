#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "presets/PresetNames.h"
#include "support/TestPaths.h"

namespace vx {
namespace {

constexpr std::array<int, 6> kTableSizes = {128, 128, 128, 128, 64, 32};

std::string GeneratedName(int table, int index) { return "T" + std::to_string(table) + " " + std::to_string(index); }
int GeneratedCategory(int table, int index) { return (index * 3 + table) % 40; }

// A names file as the shipped one is laid out: junk before the marker, a section title every
// eight entries, and a few entries written the unusual ways a hand-edited file may hold.
std::string MakeNamesFile(int entriesToWrite = 608) {
    std::string text = "\"Junk\",1,2\r\nThis is the VEMO-X50 preset names file\r\n";
    int written = 0;
    for (int table = 0; table < 6; ++table) {
        for (int i = 0; i < kTableSizes[table] && written < entriesToWrite; ++i, ++written) {
            if (i % 8 == 0) text += "/ Section " + std::to_string(table) + ", group " + std::to_string(i / 8) + "\n";
            std::string name = "\"" + GeneratedName(table, i) + "\"";
            std::string category = std::to_string(GeneratedCategory(table, i));
            if (table == 0 && i == 0) name = "\"Pop Ballad      \"";
            if (table == 0 && i == 1) name = "\"A Name Longer Than Sixteen\"";
            if (table == 1 && i == 5) name = "  \"Rock, Hard\"  ";
            if (table == 2 && i == 9) {
                text += "\n" + name + "\r\n   " + category + "   \r\n";  // one field a line
                continue;
            }
            text += name + "," + category;
            if (table == 0) text += "," + std::to_string(256 + i);
            text += table == 3 ? "\r\n" : "\n";
        }
    }
    return text;
}

TEST(PresetNames, ParsesAGeneratedFileIntoTheSixTables) {
    PresetTables tables;
    ASSERT_TRUE(ParsePresetNames(MakeNamesFile(), tables));

    EXPECT_EQ(tables.arrangements[0].name, "Pop Ballad      ");
    EXPECT_EQ(tables.arrangements[1].name, "A Name Longer Th");
    EXPECT_EQ(tables.arrangements[127].name, "T0 127          ");
    EXPECT_EQ(tables.arrangements[127].category, GeneratedCategory(0, 127));
    EXPECT_EQ(tables.arrangements[127].style, 383);
    EXPECT_EQ(tables.styles[5].name, "Rock, Hard      ");
    EXPECT_EQ(tables.styles[5].category, GeneratedCategory(1, 5));
    EXPECT_EQ(tables.programsAB[9].name, "T2 9            ");
    EXPECT_EQ(tables.programsAB[9].category, GeneratedCategory(2, 9));
    EXPECT_EQ(tables.drumKitsR[31].name, "T5 31           ");

    // Every entry, in table order: nothing skipped or shifted by the titles and line endings.
    auto check = [](const auto& items, int table) {
        for (int i = 0; i < static_cast<int>(items.size()); ++i) {
            EXPECT_EQ(items[i].name.size(), 16u);
            EXPECT_EQ(items[i].category, GeneratedCategory(table, i)) << table << "/" << i;
        }
    };
    check(tables.arrangements, 0);
    check(tables.styles, 1);
    check(tables.programsAB, 2);
    check(tables.programsCD, 3);
    check(tables.programsE, 4);
    check(tables.drumKitsR, 5);
    for (int i = 2; i < 128; ++i) EXPECT_EQ(tables.arrangements[i].style, 256 + i);
    EXPECT_EQ(tables.programsCD[64].name, "T3 64           ");
    EXPECT_EQ(tables.programsE[63].name, "T4 63           ");
}

TEST(PresetNames, RefusesBadFilesAndKeepsTheTables) {
    std::string full = MakeNamesFile();
    auto replaced = [&full](const std::string& from, const std::string& to) {
        std::string text = full;
        text.replace(text.find(from), from.size(), to);
        return text;
    };
    struct Case {
        const char* what;
        std::string text;
    };
    const Case cases[] = {
        {"no marker line", replaced("VEMO-X50", "VEMO X50")},
        {"an entry short", MakeNamesFile(607)},
        {"nothing after the marker", "Vemo-x50\n"},
        {"empty file", ""},
        {"category not a number", replaced("\"T1 7\",", "\"T1 7\",x")},
        {"category missing", replaced("\"T1 7\",22", "\"T1 7\",")},
        {"category out of range", replaced("\"T1 7\",22", "\"T1 7\",256")},
        {"style not a number", replaced("\"T0 3\",9,259", "\"T0 3\",9,2 59")},
    };
    for (const auto& c : cases) {
        PresetTables tables;
        tables.styles[0].name = "kept            ";
        EXPECT_FALSE(ParsePresetNames(c.text, tables)) << c.what;
        EXPECT_EQ(tables.styles[0].name, "kept            ") << c.what;
    }
}

TEST(PresetNames, ReadsTheFileFromDisk) {
    test::TempDirectory dir;
    std::string path = dir.Str() + "/X50PRSTS.TXT";
    std::ofstream(path, std::ios::binary) << MakeNamesFile();
    PresetTables tables;
    ASSERT_TRUE(ReadPresetNames(path, tables));
    EXPECT_EQ(tables.arrangements[0].name, "Pop Ballad      ");
    EXPECT_FALSE(ReadPresetNames(dir.Str() + "/MISSING.TXT", tables));
    EXPECT_EQ(PresetNamesErrorText(), "Error getting Preset names from file X50PRSTS.TXT\nEnding program!");
}

}  // namespace
}  // namespace vx
