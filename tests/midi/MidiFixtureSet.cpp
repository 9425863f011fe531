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
    vx::test::FillStyleBlock(set, 0);
    // Small pattern counts, as the instrument keeps them.
    for (std::size_t i = 0; i < set.sng.values.size(); ++i) set.sng.values[i] = i % 2 == 0 ? 1 : 0;
    vx::test::WriteSet(set, argv[1], argv[2]);
    return EXIT_SUCCESS;
}
