#include "support/Golden.h"

#include <cstdlib>
#include <filesystem>

#include "support/TestPaths.h"

namespace vx::test {

std::string Golden(const std::string& name, const std::string& actual) {
    const std::filesystem::path path = SourceDir() + "/tests/data/" + name;
    if (const char* update = std::getenv("VX_UPDATE_GOLDEN"); update != nullptr && std::string(update) == "1") {
        std::filesystem::create_directories(path.parent_path());
        WriteFileBytes(path, std::vector<std::uint8_t>(actual.begin(), actual.end()));
    }
    const std::vector<std::uint8_t> bytes = ReadFileBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace vx::test
