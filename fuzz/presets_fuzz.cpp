// Parses arbitrary text as a preset names file; whatever it holds, the parse must end cleanly
// and a successful one must fill every name to 16 characters; the skipped lines it reports are
// lines of the text, in order.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "core/catalogue/PresetNames.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vx::PresetTables tables;
    std::vector<int> skipped;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (!vx::ParsePresetNames(text, tables, &skipped)) return 0;
    const auto lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
    for (std::size_t i = 0; i < skipped.size(); ++i)
        if (skipped[i] < 1 || skipped[i] > lines || (i > 0 && skipped[i] <= skipped[i - 1])) std::abort();
    for (const auto& item : tables.arrangements)
        if (item.name.size() != 16 || item.category < 0 || item.category > 255) std::abort();
    for (const auto& item : tables.drumKitsR)
        if (item.name.size() != 16 || item.category < 0 || item.category > 255) std::abort();
    return 0;
}
