#pragma once

#include <string>
#include <vector>

#include "core/calls/CallSites.h"

namespace vx {

// One caller as the lists of the questions, the dialogs and the reports show it.
struct CallerEntry {
    std::string reference;  // "Arr C11", "Sty C12", "BSeq  0", "Song  3", "KSet 11"
    std::string track;      // the calling track's name; empty for a call of the whole item
};

// The callers of one item number of a kind, in walk order. The reference of a backing sequence
// that calls an arrangement has one blank ("BSeq 3"); every other list has two ("BSeq  3").
std::vector<CallerEntry> CallersOf(const SetData& data, ItemKind called, int number);

// The backing sequences that call an arrangement: "BSeq 3".
std::vector<std::string> ArrCalledBy(const SetData& data, int number);
// The arrangements, then the backing sequences, that call a style: "Arr C11", "BSeq  3".
std::vector<std::string> StyleCalledBy(const SetData& data, int number);
// Every track that calls a program, over all five calling kinds.
std::vector<CallerEntry> FindProgramCallers(const SetData& data, int number);

// The name of a calling track: arrangement and style tracks by StyleTrackName, the others by
// their kind's table.
std::string CallingTrackName(ItemKind caller, int track);

}  // namespace vx
