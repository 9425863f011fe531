#pragma once

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "core/catalogue/ItemKind.h"
#include "core/storage/SetData.h"
#include "core/storage/SetFileStamps.h"

namespace vx {

class SetLock;

// One entry of the table of open sets.
struct SetSlot {
    std::string name;       // upper case, without ".SET"; the document window's caption
    std::string directory;  // full path of the set directory
    std::array<bool, kSetKindCount> dirty{};
    bool neverSaved = false;  // a new set (NEWSETnn) that has no directory of its own yet
    bool free = true;
    std::unique_ptr<SetData> data = std::make_unique<SetData>();
    std::shared_ptr<SetLock> lock;  // held from open to close; shared by sets open from one directory
    SetStamps stamps;               // the files as last read or saved
    SetStamps declined;             // a change on disk the user chose not to reload

    bool AnyDirty() const;
};

// The open sets, numbered from 1. Slots are reused and the table never shrinks.
class SetTable {
public:
    SetTable();  // one free slot, number 1

    // The first free set number, marked in use; grows the table when none is free.
    int GetFreeSlot();
    void Free(int set);
    bool AnySetOpen() const;
    bool IsOpen(int set) const;
    int HighestNumber() const { return static_cast<int>(slots_.size()); }
    // Set number whose directory is this one (compared ignoring case), or 0.
    int FindByDirectory(const std::string& directory) const;

    SetSlot& operator[](int set) { return slots_.at(static_cast<std::size_t>(set - 1)); }
    const SetSlot& operator[](int set) const { return slots_.at(static_cast<std::size_t>(set - 1)); }

private:
    std::vector<SetSlot> slots_;
};

}  // namespace vx
