// Loads arbitrary bytes as a .SNG file; a file that loads must be written back byte for byte.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "sequences/SequenceFiles.h"
#include "format/ItemFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vx::Bytes input(data, data + size);
    vx::ItemFile file("FUZZ.SNG", input);
    vx::SetSongs songs;
    if (!vx::LoadSng(file, songs)) return 0;
    if (vx::SerializeSng(songs) != input) std::abort();

    // The loaded offsets are already packed, so a rebuild keeps the file as it is.
    vx::RebuildOffsets(songs);
    if (vx::SerializeSng(songs) != input) std::abort();
    return 0;
}
