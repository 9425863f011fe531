#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/arrangements/ArrangementRecord.h"
#include "core/kbdsets/KbdSetFile.h"
#include "core/programs/ProgramRecord.h"
#include "core/sequences/SequenceRecords.h"
#include "core/styles/StyleFile.h"

namespace vx {

class Interaction;

// What the edit commands write into a slot that is cut, deleted or erased.
struct BlankItems {
    ArrangementRecord arrangement;  // blank name, category 15, all else zero
    StyleSlot style;                // the template's style record; used, size 1176, 1106 zero event bytes
    ProgramRecord program;          // blank name, category 15, all else zero
    BsqEntry backingSequence;       // blank name, all else zero, no events
    SongEntry song;                 // blank name, all else zero, no events
    KbdSetRecord kbdSet;            // the template's first KBD set
};

// The paths and items the catalogue prepares at start-up.
struct CatalogueState {
    std::string programDirectory;
    std::string tempDirectory;
    std::string tempFilePath;
    std::string templateBase;  // programDirectory/X50EMPTY.SET/X50EMPTY
    BlankItems blank;
    std::array<std::uint8_t, 6> modeMessage{};  // F0 42 30 49 23 F7
};

// TEMP when set and not empty, else the program directory.
std::string TempDir(const std::string& programDirectory, const char* tempVariable);
std::string TemplateDirectory(const std::string& programDirectory);  // .../X50EMPTY.SET
std::string TemplateBase(const std::string& programDirectory);

// Prepares the catalogue from the template set beside the program. A missing or invalid
// template shows the file's message and then the kind's load error; the caller ends the program.
std::optional<CatalogueState> InitCatalogue(const std::string& programDirectory, const char* tempVariable,
                                            Interaction& ui);

}  // namespace vx
