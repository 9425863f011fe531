#include "core/sequences/EventMemory.h"

#include <algorithm>

namespace vx {

bool LayOutAfterBackingSequences(SetBackingSequences& bsq, SetSongs& sng) {
    const int oldEnd = bsq.endOffset;
    RebuildOffsets(bsq);
    const int delta = bsq.endOffset - oldEnd;
    if (delta == 0) return false;
    sng.offsets[0][0] += delta;
    LayOutAfterSongs(sng);
    return true;
}

void LayOutAfterSongs(SetSongs& sng) { RebuildOffsets(sng); }

std::optional<std::string> EventMemoryRefusal(const SetBackingSequences& bsq, const SetSongs& sng,
                                              bool backingSequences, int unitsIn, int unitsOut, std::string_view what) {
    const int growth = unitsIn - unitsOut;
    if (growth <= 0) return std::nullopt;
    const std::string incoming = std::string(what) + " (" + std::to_string(unitsIn * 4) + " events)";
    const int available = CountEvents(bsq, sng).Free() + unitsOut;
    if (unitsIn > available)
        return incoming + " is too big for the\nevent memory, where only " + std::to_string(available * 4) +
               " events are available.";
    // Everything from the growing region on moves up by the growth.
    int highest = sng.endOffset;
    for (int offset : sng.patternOffsets) highest = std::max(highest, offset);
    if (backingSequences) highest = std::max(highest, bsq.endOffset);
    if (highest + growth > kHighestEventOffset)
        return incoming + " would move the event memory\npast its highest offset, " +
               std::to_string(kHighestEventOffset) + ".";
    return std::nullopt;
}

}  // namespace vx
