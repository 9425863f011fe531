// Loads arbitrary bytes as a .BSQ file; a file that loads must be written back as it was read,
// apart from the ten totals that the save stores in the header.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "sequences/SequenceFiles.h"
#include "format/ItemFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vx::Bytes input(data, data + size);
    vx::ItemFile file("FUZZ.BSQ", input);
    vx::SetBackingSequences bsq;
    if (!vx::LoadBsq(file, bsq)) return 0;

    for (int b = 0; b < vx::kSequenceCount; ++b) {
        std::size_t at = 44 + 4 * static_cast<std::size_t>(b);
        auto total = static_cast<std::uint16_t>(bsq.entries[b].total);
        input[at] = static_cast<std::uint8_t>(total & 0xFF);
        input[at + 1] = static_cast<std::uint8_t>(total >> 8);
    }
    if (vx::SerializeBsq(bsq) != input) std::abort();

    // The loaded offsets are already packed, so a rebuild keeps the file as it is.
    vx::RebuildOffsets(bsq);
    if (vx::SerializeBsq(bsq) != input) std::abort();
    return 0;
}
