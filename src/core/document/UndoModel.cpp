#include "document/UndoModel.h"

namespace vx {

bool UndoHandles(int tab, std::int32_t op) {
    switch (tab) {
        case 0:  // arrangements, programs, backing sequences and songs know every operation
        case 2:
        case 3:
        case 4:
            return op == kUndoCut || (op >= kUndoPaste && op <= kUndoInsert);
        case 1:  // styles can be neither deleted nor inserted
            return op == kUndoCut || (op >= kUndoPaste && op <= kUndoCopyBetweenSets);
        case 5:  // KBD sets are only pasted and dragged
            return op >= kUndoPaste && op <= kUndoCopyBetweenSets;
        default:
            return false;
    }
}

}  // namespace vx
