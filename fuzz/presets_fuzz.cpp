// Parses arbitrary text as a preset names file; whatever it holds, the parse must end cleanly
// and a successful one must fill every name to 16 characters.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "presets/PresetNames.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vx::PresetTables tables;
    if (!vx::ParsePresetNames(std::string_view(reinterpret_cast<const char*>(data), size), tables)) return 0;
    for (const auto& item : tables.arrangements)
        if (item.name.size() != 16 || item.category < 0 || item.category > 255) std::abort();
    for (const auto& item : tables.drumKitsR)
        if (item.name.size() != 16 || item.category < 0 || item.category > 255) std::abort();
    return 0;
}
