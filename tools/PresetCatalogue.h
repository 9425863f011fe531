#pragma once

#include <array>
#include <string>
#include <string_view>

namespace vxmk {

struct PresetName {
    std::string_view name;
    int category;
};

// The instrument's preset items as the names file lists them. Preset arrangement i carries
// the name and category of preset style i and plays that style.
extern const std::array<PresetName, 128> kPresetStyles;      // A11-B88
extern const std::array<PresetName, 128> kPresetProgramsAB;  // numbers 0-127
extern const std::array<PresetName, 128> kPresetProgramsCD;  // numbers 256-383
extern const std::array<PresetName, 64> kPresetProgramsE;    // numbers 512-575
extern const std::array<PresetName, 32> kPresetDrumKits;     // R11-R48, numbers 1024-1055

// Program number of a preset program or drum kit by its name; -1 when there is none.
int PresetProgram(std::string_view name);
// Style number (0-127) of a preset style by its name; -1 when there is none.
int PresetStyle(std::string_view name);

// The names file X50PRSTS.TXT, lines ending with CR LF.
std::string PresetNamesText();

}  // namespace vxmk
