#pragma once

#include <cstddef>
#include <cstdint>

#include "core/catalogue/ItemKind.h"
#include "core/format/ByteRecord.h"

namespace vx::fuzz {

// The bytes a save must write for a file that loaded: the file itself, apart from the fields
// the save rewrites (the ten totals in a backing sequence header).
Bytes ExpectedSave(ItemKind kind, const Bytes& input);

// Says what went wrong and stops the program, so the fuzzer keeps the input.
[[noreturn]] void Finding(const char* what);

// Loads bytes as a file of kind; when they load, serialises them again and stops the program
// (a finding) unless the bytes come back as ExpectedSave says. True when they loaded.
bool CheckRoundTrip(ItemKind kind, const std::uint8_t* data, std::size_t size);

}  // namespace vx::fuzz
