#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "core/catalogue/ItemKind.h"

namespace vx {
struct SetData;
}

namespace vx::library {

// One user item of a set as the index records it, with the names of the items it calls.
struct IndexedItem {
    ItemKind kind = ItemKind::Arrangement;
    int slot = 0;
    std::string label;
    std::string name;                // trimmed, UTF-8
    std::string category;            // empty for kinds without categories
    std::string hash;                // 16 hex digits
    std::vector<std::string> calls;  // the names of the set's own items it calls, each once
};

// What one read of a set gave: its items, or the reason it could not be read.
struct IndexedSet {
    std::string stamps;  // as StampSetFiles gave it before the read
    std::int64_t setTime = 0;
    std::vector<IndexedItem> items;
    std::optional<std::string> failure;
};

// The size and modification time of each of the set's eight files, as one text that changes
// when any of them changes (a missing file included); `newest` is the latest modification time,
// in seconds since the epoch.
std::string StampSetFiles(const std::filesystem::path& setDirectory, std::int64_t& newest);

// Reads a set directory without locking it and without writing anything. A set whose files
// change while they are read is read again, twice at most; then it is a failure.
IndexedSet ReadSetForIndex(const std::filesystem::path& setDirectory);

// The items of set data, as ReadSetForIndex records them.
std::vector<IndexedItem> IndexItems(const SetData& data);

// Every set directory (a directory named *.SET, any case) under the folders, not looking
// inside sets; a directory reached twice (links, loops) is taken once, by the path found first.
// Sorted; unreadable directories are passed over.
std::vector<std::filesystem::path> FindSetDirectories(const std::vector<std::filesystem::path>& folders);

// A name or a searched text folded for comparison: ASCII and Latin-1 capitals in lower case.
std::string FoldKey(const std::string& utf8);

}  // namespace vx::library
