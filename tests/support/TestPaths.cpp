#include "support/TestPaths.h"

#include <algorithm>
#include <atomic>
#include <fstream>
#include <iterator>
#include <random>

#include <unistd.h>

namespace vx::test {

std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFileBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::string> Listing(const std::filesystem::path& directory) {
    std::vector<std::string> names;
    std::error_code ignored;
    for (const auto& entry : std::filesystem::directory_iterator(directory, ignored)) {
        const std::string name = entry.path().filename().string();
        // The lock of a set the test has open is no leftover; tests of the lock look for it by name.
        if (!(name.starts_with('.') && name.ends_with(".lock"))) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::vector<std::string> SetFileNames(const std::string& name) {
    std::vector<std::string> names;
    for (const char* extension : {".ARG", ".ARK", ".ARR", ".BSQ", ".GBL", ".PRG", ".SNG", ".STY"})
        names.push_back(name + extension);
    return names;
}

TempDirectory::TempDirectory() {
    static std::atomic<int> counter{0};
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() /
            ("vxtest-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-" + std::to_string(random()));
    std::filesystem::create_directories(path_);
}

TempDirectory::~TempDirectory() {
    std::error_code ignored;
    // Read-only files made by a test must not stop the clean-up.
    for (auto& entry : std::filesystem::recursive_directory_iterator(path_, ignored))
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

}  // namespace vx::test
