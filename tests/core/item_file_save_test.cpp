#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "core/format/ItemFileSave.h"
#include "core/format/PathLookup.h"
#include "core/text/Helpers.h"
#include "support/TestPaths.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

class ItemFileSaveTest : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(setDir); }

    test::TempDirectory dir;
    fs::path setDir = dir.Path() / "LIVE.SET";
};

TEST_F(ItemFileSaveTest, WriteFileAtomicallyReportsTheReason) {
    std::string error;
    EXPECT_TRUE(WriteFileAtomically((setDir / "X.SYX").string(), Bytes{0xF0, 0xF7}, error));
    EXPECT_EQ(test::ReadFileBytes(setDir / "X.SYX"), (Bytes{0xF0, 0xF7}));
    EXPECT_TRUE(WriteFileAtomically((setDir / "X.SYX").string(), Bytes{}, error));
    EXPECT_EQ(test::ReadFileBytes(setDir / "X.SYX"), Bytes{});
    // A directory in the way cannot be replaced by a file.
    fs::create_directories(setDir / "D.SYX" / "inner");
    EXPECT_FALSE(WriteFileAtomically((setDir / "D.SYX").string(), Bytes{1}, error));
    EXPECT_EQ(error, "Can't replace " + (setDir / "D.SYX").string() + ": Is a directory");
    // Nor is a FIFO (or a device): it stays what it is.
    ASSERT_EQ(::mkfifo((setDir / "F.SYX").c_str(), 0644), 0);
    EXPECT_FALSE(WriteFileAtomically((setDir / "F.SYX").string(), Bytes{1}, error));
    EXPECT_EQ(error, "Can't replace " + (setDir / "F.SYX").string() + ": it is not a plain file");
    EXPECT_TRUE(fs::is_fifo(setDir / "F.SYX"));
    EXPECT_EQ(test::Listing(setDir), (std::vector<std::string>{"D.SYX", "F.SYX", "X.SYX"}));
}

TEST(SetDirectories, NamesAndRunningProcesses) {
    std::string names;
    for (const char* path : {"LIVE.SET", "/x/live.set//", "C:\\SETS\\A.Set", ".SET", "/.SET", "SET", "A.SETX"})
        names += IsSetDirectoryName(path) ? "1" : "0";
    EXPECT_EQ(names, "1110000");
    EXPECT_EQ(std::tuple(ProcessIsRunning(0), ProcessIsRunning(-1), ProcessIsRunning(CurrentProcessId())),
              std::tuple(false, false, true));
}

}  // namespace
}  // namespace vx
