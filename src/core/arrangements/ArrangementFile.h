#pragma once

#include <array>

#include "core/arrangements/ArrangementRecord.h"
#include "core/format/LoadError.h"

namespace vx {

class ItemFile;

inline constexpr int kUserArrangements = 128;
inline constexpr int kArrHeaderSize = 32;
inline constexpr int kArrRecordsSize = kUserArrangements * static_cast<int>(ArrangementRecord::kSize);  // 20992

// A set's .ARR file in memory.
struct SetArrangements {
    std::array<std::uint8_t, kArrHeaderSize> header{};
    std::int16_t dataLength = kArrRecordsSize;  // header offset 24: bytes after the header
    std::array<ArrangementRecord, kUserArrangements> arr{};
    Bytes tail;      // bytes from the end of the records up to 32 + dataLength
    Bytes trailing;  // bytes the file holds past 32 + dataLength, kept as they are
};

// Reads an .ARR file; the reason when the file does not hold what its header promises.
LoadStatus LoadArr(const ItemFile& file, SetArrangements& out);
// The file image: header, records, tail, trailing bytes.
Bytes SerializeArr(const SetArrangements& data);

// Numbering: presets A 0-63, B 64-127; user C 256-319 (slots 0-63), D 320-383 (slots 64-127).
inline constexpr int kFirstUserArrangement = 256;
// One past the highest arrangement number (D88).
inline constexpr int kArrangementNumberLimit = kFirstUserArrangement + kUserArrangements;
bool IsUserArrangement(int number);

}  // namespace vx
