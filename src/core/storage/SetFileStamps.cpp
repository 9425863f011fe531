#include "core/storage/SetFileStamps.h"

#include <filesystem>
#include <fstream>

#include "core/catalogue/Catalogue.h"
#include "core/catalogue/ItemKind.h"
#include "core/format/PathLookup.h"

namespace vx {

namespace fs = std::filesystem;

namespace {

// FNV-1a: no cryptography is needed to notice that another program wrote the file.
std::uint64_t ContentHash(const std::string& path) {
    std::uint64_t hash = 0xcbf29ce484222325ULL;
    std::ifstream in(path, std::ios::binary);
    char buffer[1 << 16];
    while (in) {
        in.read(buffer, sizeof buffer);
        for (std::streamsize i = 0; i < in.gcount(); ++i) {
            hash ^= static_cast<unsigned char>(buffer[i]);
            hash *= 0x100000001b3ULL;
        }
    }
    return hash;
}

FileStamp StampOf(const std::string& wanted) {
    FileStamp stamp;
    const auto found = FindPathIgnoringCase(wanted);
    stamp.path = found ? *found : wanted;
    std::error_code error;
    if (!found || !fs::is_regular_file(stamp.path, error)) return stamp;
    stamp.exists = true;
    stamp.size = fs::file_size(stamp.path, error);
    stamp.modified = static_cast<std::int64_t>(fs::last_write_time(stamp.path, error).time_since_epoch().count());
    stamp.hash = ContentHash(stamp.path);
    return stamp;
}

}  // namespace

SetStamps ReadSetStamps(const std::string& directory, const std::string& name) {
    SetStamps stamps;
    for (int k = 0; k < kSetKindCount; ++k)
        stamps.push_back(StampOf(directory + "/" + name + std::string(KindExtension(KindFromIndex(k)))));
    return stamps;
}

std::vector<std::string> ChangedFileNames(const SetStamps& recorded, const SetStamps& current) {
    std::vector<std::string> names;
    if (recorded.empty() || current.size() != recorded.size()) return names;
    for (std::size_t i = 0; i < recorded.size(); ++i)
        if (!(recorded[i] == current[i])) names.push_back(fs::path(current[i].path).filename().string());
    return names;
}

}  // namespace vx
