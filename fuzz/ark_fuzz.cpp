// Loads any bytes as a KBD set file; whatever loads must be written back byte for byte.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "kbdsets/KbdSetFile.h"
#include "format/ItemFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const vx::ItemFile file("FUZZ.ARK", vx::Bytes(data, data + size));
    vx::SetKbdSets loaded;
    if (!vx::LoadArk(file, loaded)) return 0;
    if (vx::SerializeArk(loaded) != file.ReadAll()) std::abort();
    return 0;
}
