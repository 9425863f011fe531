// vxmkdata: writes the data that ships beside the programs (the template set, the preset
// names, the tips) and the demo set, or checks committed copies against them.
//
//   vxmkdata --data DIR --examples DIR   write both
//   vxmkdata --check DATA_DIR EXAMPLES_DIR   exit 1 naming every file that differs
//   vxmkdata --fuzz-seeds DIR   write the fuzz targets' extra seeds, a folder per target
#include <exception>
#include <iostream>
#include <string>
#include <string_view>

#include "FuzzSeeds.h"
#include "ShippedFiles.h"

namespace {

constexpr int kUsageError = 2;

int Usage() {
    std::cerr << "usage: vxmkdata --data DIR --examples DIR\n"
                 "       vxmkdata --check DATA_DIR EXAMPLES_DIR\n"
                 "       vxmkdata --fuzz-seeds DIR\n";
    return kUsageError;
}

int Check(const std::string& dataDir, const std::string& examplesDir) {
    auto differing = vxmk::DifferingFiles(dataDir, vxmk::DataFiles());
    const auto examples = vxmk::DifferingFiles(examplesDir, vxmk::ExampleFiles());
    differing.insert(differing.end(), examples.begin(), examples.end());
    for (const auto& path : differing)
        std::cerr << "vxmkdata: " << path << " is missing or differs from the generated file\n";
    return differing.empty() ? 0 : 1;
}

int Write(const std::string& dataDir, const std::string& examplesDir) {
    std::string error;
    if (!vxmk::WriteFiles(dataDir, vxmk::DataFiles(), error) ||
        !vxmk::WriteFiles(examplesDir, vxmk::ExampleFiles(), error)) {
        std::cerr << "vxmkdata: " << error << "\n";
        return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        if (argc == 4 && std::string_view(argv[1]) == "--check") return Check(argv[2], argv[3]);
        if (argc == 3 && std::string_view(argv[1]) == "--fuzz-seeds") {
            std::string error;
            if (vxmk::WriteFiles(argv[2], vxmk::FuzzSeedFiles(), error)) return 0;
            std::cerr << "vxmkdata: " << error << "\n";
            return 1;
        }
        if (argc == 5 && std::string_view(argv[1]) == "--data" && std::string_view(argv[3]) == "--examples")
            return Write(argv[2], argv[4]);
        return Usage();
    } catch (const std::exception& e) {
        // A name in the tables that resolves to nothing: a fault of this program's data.
        std::cerr << "vxmkdata: " << e.what() << "\n";
        return 1;
    }
}
