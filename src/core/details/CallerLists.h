#pragma once

#include <string>
#include <vector>

#include "catalogue/ItemKind.h"

namespace vx {

struct SetData;

// The callers the Details dialogs list, in scan order.
// Backing sequences calling an arrangement: "BSeq 3".
std::vector<std::string> ArrCalledBy(const SetData& data, int number);
// Arrangements ("Arr C11"), then backing sequences ("BSeq  3") calling a style.
std::vector<std::string> StyleCalledBy(const SetData& data, int number);

// One calling track of a program: "Arr C11", "Sty C11", "BSeq  0", "Song  0" or "KSet 11",
// and the track's name.
struct ProgramCaller {
    std::string reference;
    std::string track;
};
// Non-empty arrangements, styles, backing sequences and songs, then all KBD sets.
std::vector<ProgramCaller> FindProgramCallers(const SetData& data, int number);
// Every call of from, in the same items, becomes a call of to. Returns the kinds that changed.
std::vector<ItemKind> RedirectProgramCalls(SetData& data, int from, int to);

}  // namespace vx
