// Writes the set the MIDI end-to-end test sends: random contents with the first style block
// full (four styles of the largest size), so that the largest dump goes through.
#include <cstdlib>
#include <iostream>

#include "support/SetBuilder.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: vx_midi_fixture DIRECTORY NAME\n";
        return 2;
    }
    vx::test::RandomSetOptions options;
    options.styleUsedPercent = 100;
    options.maxStyleSize = 4000;
    vx::SetData set = vx::test::RandomSet(11, options);
    for (int slot = 0; slot < vx::kStylesPerBlock; ++slot) {
        auto& style = set.sty.slots[static_cast<std::size_t>(slot)];
        style.used = 1;
        style.size = 65535;
        style.record.SetName("Full Block " + std::to_string(slot + 1));
        style.events.resize(style.size - vx::StyleRecord::kSize);
        for (std::size_t i = 0; i < style.events.size(); ++i)
            style.events[i] = static_cast<std::uint8_t>((i * 31 + static_cast<std::size_t>(slot) * 7) & 0xFF);
    }
    // Small pattern counts, as the instrument keeps them.
    for (std::size_t i = 0; i < set.sng.values.size(); ++i) set.sng.values[i] = i % 2 == 0 ? 1 : 0;
    vx::test::WriteSet(set, argv[1], argv[2]);
    return EXIT_SUCCESS;
}
