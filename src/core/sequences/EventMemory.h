#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/sequences/SequenceFiles.h"

namespace vx {

// The instrument's sequencer memory holds the backing sequences, then the songs, then the style
// patterns kept in the song file, back to back. Offsets are signed 16-bit unit numbers.
inline constexpr int kHighestEventOffset = 32767;
// Where the backing sequences start again after all of them were erased.
inline constexpr int kErasedSequencesStart = 8192;

// Packs the backing sequences from their start and moves the songs and the pattern region by
// the change of the sequences' end, so that no region overlaps another and the song and pattern
// bytes stay as they are. True when the songs moved.
bool LayOutAfterBackingSequences(SetBackingSequences& bsq, SetSongs& sng);
// Packs the songs from their start; the pattern region follows their end.
void LayOutAfterSongs(SetSongs& sng);

// Why a change that puts unitsIn where unitsOut were, in the backing sequences (or the songs),
// can't be made: Free would go below 0, or an offset past 32767. `what` names the incoming item
// ("Pasted Backing Sequence"). Nothing when the change fits or does not grow the memory.
std::optional<std::string> EventMemoryRefusal(const SetBackingSequences& bsq, const SetSongs& sng,
                                              bool backingSequences, int unitsIn, int unitsOut, std::string_view what);

}  // namespace vx
