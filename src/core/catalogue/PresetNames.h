#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace vx {

struct PresetItem {
    std::string name = std::string(16, ' ');  // always 16 characters
    int category = 0;
};
struct PresetArrangement : PresetItem {
    int style = 0;
};

// The instrument's preset names and categories, from the names file.
struct PresetTables {
    std::array<PresetArrangement, 128> arrangements{};  // A11-B88
    std::array<PresetItem, 128> styles{};               // A11-B88
    std::array<PresetItem, 128> programsAB{};
    std::array<PresetItem, 128> programsCD{};
    std::array<PresetItem, 64> programsE{};
    std::array<PresetItem, 32> drumKitsR{};  // R11-R48
};

// Reads the names file: lines up to and including the first one containing "Vemo-x50" (any
// case) are skipped; then 608 entries of quoted name and category (and style for
// arrangements). Where a name is expected, empty fields are skipped and a field starting with
// "/" skips the rest of its line. An entry whose numbers are missing or wrong is skipped and
// left blank, and the line its name is on goes to skippedLines. False when there is no marker
// line or the file ends before the last entry, and out is then left as it was.
bool ReadPresetNames(const std::string& path, PresetTables& out, std::vector<int>* skippedLines = nullptr);
// The same rules applied to the text of a names file.
bool ParsePresetNames(std::string_view text, PresetTables& out, std::vector<int>* skippedLines = nullptr);

// The one warning about the skipped lines of the names file at path (empty when there are none):
// "Line 12 of the Preset names file PATH is malformed.\nIt was skipped: its entry is left blank."
std::string SkippedNamesLinesText(const std::string& path, const std::vector<int>& lines);

// "Error getting Preset names from file X50PRSTS.TXT\nEnding program!"
std::string PresetNamesErrorText();

}  // namespace vx
