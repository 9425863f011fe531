// Loads any bytes as a program file; whatever loads must be written back byte for byte.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "programs/ProgramFile.h"
#include "format/ItemFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const vx::ItemFile file("FUZZ.PRG", vx::Bytes(data, data + size));
    vx::SetPrograms loaded;
    if (!vx::LoadPrg(file, loaded)) return 0;
    if (vx::SerializePrg(loaded) != file.ReadAll()) std::abort();
    return 0;
}
