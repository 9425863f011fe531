// Loads any bytes as a style file; whatever loads must be written back byte for byte.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "format/ItemFile.h"
#include "styles/StyleFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const vx::ItemFile file("FUZZ.STY", vx::Bytes(data, data + size));
    vx::SetStyles loaded;
    if (!vx::LoadSty(file, loaded)) return 0;
    if (vx::SerializeSty(loaded) != file.ReadAll()) std::abort();
    return 0;
}
