#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "ShippedFiles.h"

namespace vxmk {
namespace {

TEST(ShippedFiles, NamesAndDeterministicContent) {
    const auto data = DataFiles();
    std::vector<std::string> paths;
    for (const auto& file : data) paths.push_back(file.path);
    EXPECT_EQ(paths, (std::vector<std::string>{
                         "X50EMPTY.SET/X50EMPTY.ARR", "X50EMPTY.SET/X50EMPTY.STY", "X50EMPTY.SET/X50EMPTY.PRG",
                         "X50EMPTY.SET/X50EMPTY.BSQ", "X50EMPTY.SET/X50EMPTY.SNG", "X50EMPTY.SET/X50EMPTY.ARK",
                         "X50EMPTY.SET/X50EMPTY.ARG", "X50EMPTY.SET/X50EMPTY.GBL", "X50PRSTS.TXT", "X50TIPS.TXT"}));
    const auto examples = ExampleFiles();
    ASSERT_EQ(examples.size(), 8u);
    EXPECT_EQ(examples[1].path, "DEMO.SET/DEMO.STY");

    // A second run gives the same bytes.
    const auto again = ExampleFiles();
    for (std::size_t i = 0; i < examples.size(); ++i) EXPECT_EQ(examples[i].content, again[i].content) << i;
}

TEST(ShippedFiles, CheckNamesEveryMissingOrChangedFile) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::path(::testing::TempDir()) / "vxmkdata_check";
    fs::remove_all(dir);
    const auto files = DataFiles();
    std::string error;
    ASSERT_TRUE(WriteFiles(dir.string(), files, error)) << error;
    EXPECT_TRUE(DifferingFiles(dir.string(), files).empty());

    {
        std::fstream prg(dir / "X50EMPTY.SET" / "X50EMPTY.PRG", std::ios::in | std::ios::out | std::ios::binary);
        prg.seekp(100);
        prg.put('x');
    }
    fs::remove(dir / "X50TIPS.TXT");
    EXPECT_EQ(DifferingFiles(dir.string(), files),
              (std::vector<std::string>{(dir / "X50EMPTY.SET/X50EMPTY.PRG").string(), (dir / "X50TIPS.TXT").string()}));
    fs::remove_all(dir);
}

}  // namespace
}  // namespace vxmk
