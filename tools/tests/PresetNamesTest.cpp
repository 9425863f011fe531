#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <vector>

#include "PresetCatalogue.h"
#include "Tips.h"
#include "core/catalogue/PresetNames.h"

namespace vxmk {
namespace {

std::vector<std::string> CrLfLines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    EXPECT_EQ(start, text.size()) << "text after the last CR LF";
    return lines;
}

TEST(PresetNames, EveryNameIsFilledFitsAQuotedFieldAndIsUniqueInItsKind) {
    std::set<std::string_view> programs;
    auto check = [](const PresetName& entry, int firstCategory, int lastCategory) {
        EXPECT_FALSE(entry.name.empty());
        EXPECT_LE(entry.name.size(), 16u) << entry.name;
        EXPECT_EQ(entry.name.find_first_of("\","), std::string_view::npos) << entry.name;
        EXPECT_GE(entry.category, firstCategory) << entry.name;
        EXPECT_LE(entry.category, lastCategory) << entry.name;
    };
    std::set<std::string_view> styles;
    for (const auto& entry : kPresetStyles) {
        check(entry, 0, 11);
        EXPECT_TRUE(styles.insert(entry.name).second) << entry.name;
    }
    for (const auto* table : {kPresetProgramsAB.data(), kPresetProgramsCD.data()})
        for (int i = 0; i < 128; ++i) {
            check(table[i], 0, 14);
            EXPECT_TRUE(programs.insert(table[i].name).second) << table[i].name;
        }
    for (const auto& entry : kPresetProgramsE) {
        check(entry, 0, 14);
        EXPECT_TRUE(programs.insert(entry.name).second) << entry.name;
    }
    for (const auto& entry : kPresetDrumKits) {
        check(entry, 14, 14);
        EXPECT_TRUE(programs.insert(entry.name).second) << entry.name;
    }
    EXPECT_EQ(programs.size(), 352u);
}

TEST(PresetNames, NumbersFollowTheBanks) {
    const struct {
        std::string_view name;
        int number;
    } cases[] = {{"Grand Piano", 0},      {"Horn Section", 63},      {"Alto Sax", 64},
                 {"Reverse Cymbal", 127}, {"Concert Grand", 256},    {"Jazz Trumpet", 320},
                 {"Crowd", 383},          {"Grand & Pad", 512},      {"Orchestra Hit", 575},
                 {"Standard Kit", 1024},  {"Drum & Bass Kit", 1055}, {"No Such Sound", -1}};
    for (const auto& c : cases) EXPECT_EQ(PresetProgram(c.name), c.number) << c.name;
    EXPECT_EQ(PresetStyle("Pop 8 Beat"), 0);
    EXPECT_EQ(PresetStyle("Polka"), 64);
    EXPECT_EQ(PresetStyle("Arabic Pop"), 127);
    EXPECT_EQ(PresetStyle("Grand Piano"), -1);
}

TEST(PresetNames, FileHasTheMarkerTheSectionTitlesAnd608Entries) {
    const auto lines = CrLfLines(PresetNamesText());
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines[0], "Vemo-x50 preset names");

    std::vector<std::string> titles;
    std::vector<int> counts;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.rfind("/ ", 0) == 0 && line.size() == 13) {
            titles.push_back(line);
            counts.push_back(0);
        } else if (line[0] == '/') {
            // A comma or quote in a comment would be read as a field.
            EXPECT_EQ(line.find_first_of("\","), std::string::npos) << line;
        } else {
            ASSERT_FALSE(counts.empty()) << line;
            ++counts.back();
            ASSERT_EQ(line[0], '"');
            ASSERT_EQ(line[17], '"') << line;  // the name is padded to 16 characters
        }
    }
    EXPECT_EQ(titles, (std::vector<std::string>{"/ Arr A11-A18", "/ Arr B11-B18", "/ Sty A11-A18", "/ Sty B11-B18",
                                                "/ Prg A11-A18", "/ Prg B11-B18", "/ Prg C11-C18", "/ Prg D11-D18",
                                                "/ Prg E11-E18", "/ Prg R11-R18", "/ Prg R21-R28", "/ Prg R31-R38",
                                                "/ Prg R41-R48"}));
    EXPECT_EQ(counts, (std::vector<int>{64, 64, 64, 64, 64, 64, 64, 64, 64, 8, 8, 8, 8}));
    EXPECT_EQ(lines[4], "\"Pop 8 Beat      \",0,0");
    EXPECT_EQ(lines.back(), "\"Drum & Bass Kit \",14");
}

TEST(PresetNames, TheEditorReadsTheFileIntoItsTables) {
    const auto path = std::filesystem::path(::testing::TempDir()) / "vxmkdata_X50PRSTS.TXT";
    {
        std::ofstream out(path, std::ios::binary);
        out << PresetNamesText();
    }
    vx::PresetTables tables;
    ASSERT_TRUE(vx::ReadPresetNames(path.string(), tables));
    std::filesystem::remove(path);

    EXPECT_EQ(tables.arrangements[0].name, "Pop 8 Beat      ");
    EXPECT_EQ(tables.arrangements[127].name, "Arabic Pop      ");
    EXPECT_EQ(tables.arrangements[127].category, 11);
    EXPECT_EQ(tables.arrangements[127].style, 127);
    EXPECT_EQ(tables.styles[64].name, "Polka           ");
    EXPECT_EQ(tables.styles[64].category, 6);
    EXPECT_EQ(tables.programsAB[127].name, "Reverse Cymbal  ");
    EXPECT_EQ(tables.programsCD[64].name, "Jazz Trumpet    ");
    EXPECT_EQ(tables.programsCD[64].category, 6);
    EXPECT_EQ(tables.programsE[63].name, "Orchestra Hit   ");
    EXPECT_EQ(tables.programsE[63].category, 13);
    EXPECT_EQ(tables.drumKitsR[31].name, "Drum & Bass Kit ");
    EXPECT_EQ(tables.drumKitsR[31].category, 14);
}

TEST(Tips, ADozenOrMoreOneLineTips) {
    const auto lines = CrLfLines(TipsText());
    EXPECT_GE(lines.size(), 12u);
    for (const auto& line : lines) {
        EXPECT_FALSE(line.empty());
        EXPECT_EQ(line.find('\n'), std::string::npos);
    }
}

}  // namespace
}  // namespace vxmk
