#pragma once

#include <vector>

#include "ShippedFiles.h"

namespace vxmk {

// Seed files for the fuzz targets beyond the shipped sets: files as the instrument's own save
// writes them, which the project's own writer never produces. Paths are <target>/<name>.
std::vector<ShippedFile> FuzzSeedFiles();

}  // namespace vxmk
