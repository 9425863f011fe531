// Loads any bytes as an arrangement global file; whatever loads must be written back byte for byte.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "globals/GlobalFiles.h"
#include "format/ItemFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const vx::ItemFile file("FUZZ.ARG", vx::Bytes(data, data + size));
    vx::SetArrangementGlobal loaded;
    if (!vx::LoadArg(file, loaded)) return 0;
    if (vx::SerializeArg(loaded) != file.ReadAll()) std::abort();
    return 0;
}
