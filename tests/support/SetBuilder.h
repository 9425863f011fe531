#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/catalogue/ItemKind.h"
#include "core/format/ItemFile.h"
#include "core/storage/SetData.h"

namespace vx::test {

// What a random set holds. Every byte the editor does not interpret is random.
struct RandomSetOptions {
    int emptyPercent = 25;        // share of empty slots (blank names) among records and styles
    int styleUsedPercent = 75;    // share of used style slots
    int maxStyleSize = 65535;     // largest style (record + events); at least 70
    int maxTail = 48;             // .ARR and .ARK tail bytes after the records
    int maxTrailing = 24;         // bytes past what each file's format describes
    int maxSectionUnits = 3;      // 16-byte units per sequence section
    int maxPatternUnits = 2;      // units per pattern of the song file
};

// A set as a fresh template holds it: "VEMOX" and the kind byte in each header, every other
// header byte zero, all items empty (blank names, category 15), every style slot unused,
// no sequence events.
SetData EmptySet();

// A set with random names, categories, calls, parameters, tails and trailing bytes, and
// styles of random sizes. The same seed gives the same set.
SetData RandomSet(std::uint32_t seed, const RandomSetOptions& options = {});

// Makes the four styles of a block as large as a style can be (65535 bytes each), so that the
// block's dump is the largest message the editor sends. Their events repeat a simple pattern.
void FillStyleBlock(SetData& set, int block);

// Makes a style slot used, named and of size bytes (its record and zero events).
void UseStyle(SetData& set, int slot, const std::string& name, int size);

// Sets every track of a record to call program number (-1 or 0x7FFF: none).
template <typename Record>
void CallFromAllTracks(Record& record, int number) {
    for (int t = 0; t < Record::kTrackCount; ++t) record.SetTrackProgram(t, number);
}

// The extensions of the eight files of a set, in kind order: ".ARR" ... ".GBL".
std::vector<std::string> SetFileExtensions();

// Writes the eight files of the set into directory (created when missing) as NAME.ARR etc.
void WriteSet(const SetData& set, const std::string& directory, const std::string& name);

}  // namespace vx::test
