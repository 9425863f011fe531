#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vx {

// What a set file was like when the program last read or wrote it.
struct FileStamp {
    std::string path;  // as found on disk, whatever the case of its name
    bool exists = false;
    std::uintmax_t size = 0;
    std::int64_t modified = 0;  // the file system's modification time, in its own units
    std::uint64_t hash = 0;     // of the whole content

    bool operator==(const FileStamp&) const = default;
};

// The eight files of a set, in kind order; empty for a set that was never read from disk.
using SetStamps = std::vector<FileStamp>;

// Stamps the files NAME.ARR ... NAME.GBL of directory as they are now.
SetStamps ReadSetStamps(const std::string& directory, const std::string& name);

// The names of the files ("LIVE.ARR") whose stamps differ; nothing when either is empty.
std::vector<std::string> ChangedFileNames(const SetStamps& recorded, const SetStamps& current);

}  // namespace vx
