// Loads any bytes as a .GBL file; whatever loads must be saved back as it came.
#include <cstddef>
#include <cstdint>

#include "FuzzRoundTrip.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    vx::fuzz::CheckRoundTrip(vx::ItemKind::Global, data, size);
    return 0;
}
