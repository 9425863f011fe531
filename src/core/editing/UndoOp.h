#pragma once

#include <cstdint>

namespace vx {

// What the last edit of a kind was, for its one level of undo.
enum UndoOp : std::int32_t {
    kUndoNothing = 0,
    kUndoCut = 1,
    kUndoCopy = 2,  // accepted, does nothing
    kUndoPaste = 3,
    kUndoMoveInSet = 4,
    kUndoCopyBetweenSets = 5,
    kUndoDelete = 6,
    kUndoInsert = 7,
};

}  // namespace vx
