#pragma once

#include <array>

#include "core/format/LoadError.h"
#include "core/programs/ProgramRecord.h"

namespace vx {

class ItemFile;

inline constexpr int kUserPrograms = 136;  // F11-G88 (0-127) and the drum kits R51-R58 (128-135)
inline constexpr int kUserDrumKits = 8;
inline constexpr int kFirstDrumKitSlot = kUserPrograms - kUserDrumKits;  // 128
inline constexpr int kPrgHeaderSize = 48;
inline constexpr int kPrgFileSize = 30480;

// A set's .PRG file in memory.
struct SetPrograms {
    std::array<std::uint8_t, kPrgHeaderSize> header{};
    std::array<ProgramRecord, kUserPrograms> records{};
    std::array<DrumKitData, kUserDrumKits> drumKits{};
    Bytes trailing;  // bytes past offset 30480, kept as read
};

LoadStatus LoadPrg(const ItemFile& file, SetPrograms& out);
Bytes SerializePrg(const SetPrograms& data);

}  // namespace vx
