#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "core/catalogue/ItemKind.h"
#include "core/format/ByteRecord.h"
#include "core/format/StagedWrites.h"

namespace vx {

struct SetData;

// Where the preset banks lie in a preset data file (.PRD), an image of the instrument's preset
// memory with records in their item-file layouts.
inline constexpr std::size_t kPrdArrangementBank = 10496;  // 64 arrangements of 164 bytes
inline constexpr std::size_t kPrdDrumDataStart = 32768;
inline constexpr std::size_t kPrdDrumDataRange = 7040;  // 8 drum kits of 880 bytes
inline constexpr std::size_t kPrdProgramStart = 65536;
inline constexpr std::size_t kPrdProgramBank = 11008;  // 64 programs of 172 bytes
inline constexpr std::size_t kPrdDrumRecordStart = 120576;
inline constexpr std::size_t kPrdDrumRecordRange = 1376;  // 8 programs of 172 bytes

// Preset banks an export may write: arrangements A and B, programs A to E, drum ranges
// R11-R18 to R41-R48 (index 0 to 3).
inline constexpr int kPresetArrangementBanks = 2;
inline constexpr int kPresetProgramBanks = 5;
inline constexpr int kPresetDrumRanges = 4;
inline constexpr int kUserDrumBank = 7;  // program bank R: the user drum kits R51-R58

// One piece of a preset data file.
struct PrdRange {
    std::size_t offset = 0;
    Bytes bytes;
};

// Whether a bank of the kind holds user items that can be exported: arrangement banks C and D,
// program banks F, G and R (the user drum kits).
bool IsExportableBank(BankedKind kind, int bank);
// The names of the preset banks an export of that bank may go to: "A", "B" for arrangements,
// "A" to "E" for programs, "R11-R18" to "R41-R48" for the drum kits.
std::vector<std::string> PresetDestinations(BankedKind kind, int sourceBank);
// What an export writes: the 64 records of a user bank at the preset bank's offset, or the 8
// drum kit records and their 8 data blocks at the drum range's two offsets.
std::vector<PrdRange> ExportRanges(const SetData& data, BankedKind kind, int sourceBank, int destination);

// The new content of a preset data file, written beside it (see WritePresetData); nothing with
// the reason when the file can't be changed or the temporary file can't be written.
std::optional<StagedWrite> StagePresetData(const std::string& path, const std::vector<PrdRange>& ranges,
                                           std::string& error);

// Writes the ranges into a preset data file. An existing file keeps every other byte and its
// length when longer; a new one is as long as its highest range needs, zero elsewhere. A link
// is written through; a read-only file or one that is not a plain file is refused. The file is
// replaced through a temporary one, so a failure leaves it as it was. False with the reason.
bool WritePresetData(const std::string& path, const std::vector<PrdRange>& ranges, std::string& error);

}  // namespace vx
