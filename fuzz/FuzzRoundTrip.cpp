#include "FuzzRoundTrip.h"

#include <cstdio>
#include <cstdlib>

#include "core/format/ItemFile.h"
#include "core/sequences/SequenceFiles.h"
#include "core/storage/SetData.h"

namespace vx::fuzz {

Bytes ExpectedSave(ItemKind kind, const Bytes& input) {
    Bytes expected = input;
    if (kind != ItemKind::BackingSequence) return expected;
    SetData data;
    if (!LoadKind(ItemFile("FUZZ", input), kind, data)) return expected;
    for (int b = 0; b < kSequenceCount; ++b) {
        const std::size_t at = 44 + 4 * static_cast<std::size_t>(b);
        const auto total = static_cast<std::uint16_t>(data.bsq.entries[b].total);
        expected[at] = static_cast<std::uint8_t>(total & 0xFF);
        expected[at + 1] = static_cast<std::uint8_t>(total >> 8);
    }
    return expected;
}

void Finding(const char* what) {
    std::fprintf(stderr, "finding: %s\n", what);
    std::abort();
}

bool CheckRoundTrip(ItemKind kind, const std::uint8_t* data, std::size_t size) {
    const Bytes input(data, data + size);
    SetData loaded;
    if (!LoadKind(ItemFile("FUZZ", input), kind, loaded)) return false;
    if (SerializeKind(loaded, kind) != ExpectedSave(kind, input)) Finding("the save differs from the file");

    // The offsets as loaded are already packed: a rebuild after an edit that changed nothing
    // keeps every event, and what it writes loads again with the same sections.
    if (kind == ItemKind::BackingSequence || kind == ItemKind::Song) {
        SetData rebuilt = loaded;
        if (kind == ItemKind::BackingSequence) RebuildOffsets(rebuilt.bsq);
        if (kind == ItemKind::Song) RebuildOffsets(rebuilt.sng);
        SetData again;
        if (!LoadKind(ItemFile("FUZZ", SerializeKind(rebuilt, kind)), kind, again))
            Finding("a rebuilt file does not load");
        for (int s = 0; s < kSequenceCount; ++s) {
            const bool same = kind == ItemKind::Song
                                  ? again.sng.entries[s].events == loaded.sng.entries[s].events &&
                                        again.sng.entries[s].lengths == loaded.sng.entries[s].lengths
                                  : again.bsq.entries[s].events == loaded.bsq.entries[s].events &&
                                        again.bsq.entries[s].lengths == loaded.bsq.entries[s].lengths;
            if (!same) Finding("a rebuild changed the sections");
        }
        if (kind == ItemKind::Song && again.sng.patternData != loaded.sng.patternData)
            Finding("a rebuild changed the pattern bytes");
    }
    return true;
}

}  // namespace vx::fuzz
