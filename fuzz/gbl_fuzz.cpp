// Loads any bytes as a global file; whatever loads must be written back byte for byte.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "globals/GlobalFiles.h"
#include "format/ItemFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const vx::ItemFile file("FUZZ.GBL", vx::Bytes(data, data + size));
    vx::SetGlobal loaded;
    if (!vx::LoadGbl(file, loaded)) return 0;
    if (vx::SerializeGbl(loaded) != file.ReadAll()) std::abort();
    return 0;
}
