// Loads any bytes as an arrangement file; whatever loads must be written back byte for byte.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "arrangements/ArrangementFile.h"
#include "format/ItemFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const vx::ItemFile file("FUZZ.ARR", vx::Bytes(data, data + size));
    vx::SetArrangements loaded;
    if (!vx::LoadArr(file, loaded)) return 0;
    if (vx::SerializeArr(loaded) != file.ReadAll()) std::abort();
    return 0;
}
