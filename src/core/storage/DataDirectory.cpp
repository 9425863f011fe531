#include "core/storage/DataDirectory.h"

#include <filesystem>

#include "core/storage/TemplateSet.h"

namespace vx {

namespace fs = std::filesystem;

std::string FindDataDirectory(const std::string& programDirectory) {
    std::error_code error;
    if (fs::is_directory(TemplateDirectory(programDirectory), error)) return programDirectory;
    const fs::path installed = (fs::path(programDirectory) / ".." / "share" / "vxeditr").lexically_normal();
    if (fs::is_directory(TemplateDirectory(installed.string()), error)) return installed.string();
    return programDirectory;
}

}  // namespace vx
