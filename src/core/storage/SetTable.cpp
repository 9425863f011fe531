#include "core/storage/SetTable.h"

#include <algorithm>

#include "core/storage/SetLock.h"
#include "core/text/Helpers.h"

namespace vx {

bool SetSlot::AnyDirty() const {
    return std::any_of(dirty.begin(), dirty.end(), [](bool d) { return d; });
}

SetTable::SetTable() { slots_.emplace_back(); }

int SetTable::GetFreeSlot() {
    for (std::size_t i = 0; i < slots_.size(); ++i) {
        if (slots_[i].free) {
            slots_[i].free = false;
            return static_cast<int>(i + 1);
        }
    }
    slots_.emplace_back();
    slots_.back().free = false;
    return static_cast<int>(slots_.size());
}

void SetTable::Free(int set) {
    if (set < 1 || set > HighestNumber()) return;
    SetSlot& slot = (*this)[set];
    slot.free = true;
    slot.name.clear();
    slot.directory.clear();
    slot.dirty = {};
    slot.neverSaved = false;
    slot.data = std::make_unique<SetData>();
    slot.lock.reset();
    slot.stamps.clear();
    slot.declined.clear();
}

bool SetTable::AnySetOpen() const {
    return std::any_of(slots_.begin(), slots_.end(), [](const SetSlot& s) { return !s.free; });
}

bool SetTable::IsOpen(int set) const { return set >= 1 && set <= HighestNumber() && !(*this)[set].free; }

int SetTable::FindByDirectory(const std::string& directory) const {
    const std::string wanted = ToUpper(directory);
    for (int set = 1; set <= HighestNumber(); ++set) {
        const SetSlot& slot = (*this)[set];
        if (!slot.free && ToUpper(slot.directory) == wanted) return set;
    }
    return 0;
}

}  // namespace vx
