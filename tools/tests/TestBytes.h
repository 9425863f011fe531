#pragma once

#include <cstddef>
#include <string>

#include "core/catalogue/ItemKind.h"
#include "core/format/ByteRecord.h"
#include "core/format/ItemFile.h"
#include "core/storage/SetData.h"

namespace vxmk::test {

inline int Word(const vx::Bytes& bytes, std::size_t offset) { return bytes.at(offset) | (bytes.at(offset + 1) << 8); }

inline std::string Text(const vx::Bytes& bytes, std::size_t offset, std::size_t length) {
    return std::string(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                       bytes.begin() + static_cast<std::ptrdiff_t>(offset + length));
}

// Reads one kind's file image the way the editor does.
inline bool Load(const vx::Bytes& image, vx::ItemKind kind, vx::SetData& out) {
    return static_cast<bool>(vx::LoadKind(vx::ItemFile("TEST", image), kind, out));
}

// User index of a program number: F/G 0-127, R51-R58 128-135, else -1.
inline int UserIndex(int number) {
    if (number >= 768 && number <= 895) return number - 768;
    if (number >= 1056 && number <= 1063) return number - 928;
    return -1;
}

inline bool IsPresetProgram(int number) {
    return (number >= 0 && number <= 127) || (number >= 256 && number <= 383) || (number >= 512 && number <= 575) ||
           (number >= 1024 && number <= 1055);
}

}  // namespace vxmk::test
