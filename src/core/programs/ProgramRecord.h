#pragma once

#include <array>
#include <string>

#include "core/format/ByteRecord.h"

namespace vx {

// One user program or user drum kit, 172 bytes as in the .PRG file.
struct ProgramRecord : ByteRecord<172> {
    std::string Name() const { return Text(0, kNameLength); }
    void SetName(std::string_view name) { SetText(0, kNameLength, name); }
    bool IsEmpty() const { return TextIsBlank(0, kNameLength); }
    int Category() const { return Byte(16); }
    void SetCategory(int category) { SetByte(16, static_cast<std::uint8_t>(category)); }
};

inline constexpr std::size_t kDrumKitDataSize = 880;
using DrumKitData = std::array<std::uint8_t, kDrumKitDataSize>;

}  // namespace vx
