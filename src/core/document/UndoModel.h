#pragma once

#include <cstdint>

namespace vx {

// One level of undo per editable kind, shared by all open sets.
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

// Whether Undo on a tab (0 Arrangements ... 5 KBD Sets) handles an operation code.
bool UndoHandles(int tab, std::int32_t op);

// The transfer record of a clipboard or an undo snapshot: the operation, the owner set
// (0 = empty, -1 = an item read from an XStyle file), the slot it came from and the item.
template <typename Item>
struct TransferRecord {
    std::int32_t op = kUndoNothing;
    int set = 0;
    int slot = 0;
    Item item{};

    bool Empty() const { return set == 0; }
    // A closed set releases what it owned.
    void Release(int closedSet) {
        if (set == closedSet) set = 0;
    }
};

}  // namespace vx
