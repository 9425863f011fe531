#pragma once

#include "core/catalogue/ItemKind.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vx::library {

// One user item of one set, as the index holds it.
struct LibraryItem {
    std::string setPath;    // the set directory, absolute
    ItemKind kind = ItemKind::Arrangement;
    std::string label;      // the slot label the editor shows ("A01", "12")
    int slot = 0;           // the user slot index within the kind, for selecting it in a set window
    std::string name;
    std::string category;   // empty for kinds without categories
    std::string hash;       // hex content hash; equal for the same item saved in two sets
    std::int64_t setTime = 0;  // the newest modification time of the set's item files, seconds since the epoch
};

// A set the last scan could not load, with the reason the loader gave.
struct LibraryFailure {
    std::string setPath;
    std::string reason;
};

struct ScanProgress {
    std::size_t done = 0;   // sets looked at so far
    std::size_t total = 0;  // sets found under the folders
    std::string current;    // the set being read
};

struct ScanSummary {
    std::size_t sets = 0;       // sets found
    std::size_t read = 0;       // sets read again because their files changed or were new
    std::size_t unchanged = 0;  // sets skipped because nothing changed
    std::size_t removed = 0;    // sets that disappeared and left the index
    std::size_t failed = 0;     // sets that could not be loaded (recorded with their reason)
    bool cancelled = false;
    std::string error;          // why the index could not be written; the scan stopped there
};

struct FindQuery {
    std::string text;                 // a part of the name, any case; empty finds everything
    std::optional<ItemKind> kind;
    std::optional<std::string> category;
    std::size_t limit = 0;            // 0: no limit
};

// The index of every set under the folders the user added. It lives in one SQLite file; every
// change is made in a transaction, so a program killed during a scan leaves the file as it was
// before the set being written. It never writes into a set and takes no lock on one.
class Library {
public:
    // Opens (creating when missing) the index file. nullptr with `error` set when it can't.
    static std::unique_ptr<Library> Open(const std::filesystem::path& file, std::string& error);
    // $XDG_DATA_HOME/vxeditr/library.sqlite, or ~/.local/share/vxeditr/library.sqlite.
    static std::filesystem::path DefaultFile();

    virtual ~Library() = default;

    virtual std::vector<std::string> Folders() const = 0;
    // Remembers a folder (stored absolute). False with `error` set when it is not a directory.
    virtual bool AddFolder(const std::filesystem::path& folder, std::string& error) = 0;
    // Forgets a folder and the sets found only under it. False when it was not remembered.
    virtual bool RemoveFolder(const std::filesystem::path& folder) = 0;

    // Scans the remembered folders. `progress` is called before each set; returning false cancels
    // the scan between two sets (what was scanned so far stays in the index).
    virtual ScanSummary Scan(const std::function<bool(const ScanProgress&)>& progress = {}) = 0;

    virtual std::vector<LibraryItem> Find(const FindQuery& query) const = 0;
    // Groups of two or more items with the same kind and content hash, in different slots or sets.
    virtual std::vector<std::vector<LibraryItem>> Duplicates(std::optional<ItemKind> kind) const = 0;
    // Every item that calls an item named `name` (any kind it calls).
    virtual std::vector<LibraryItem> WhereUsed(const std::string& name) const = 0;
    virtual std::vector<LibraryFailure> Failures() const = 0;
};

}  // namespace vx::library
