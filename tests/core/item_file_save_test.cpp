#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "core/format/ItemFileSave.h"
#include "core/format/PathLookup.h"
#include "core/format/SaveJournal.h"
#include "core/text/Helpers.h"
#include "support/ScriptedInteraction.h"
#include "support/TestPaths.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

Bytes Opaque(std::size_t size, std::uint8_t seed) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 31 + seed);
    return bytes;
}

class ItemFileSaveTest : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(setDir); }
    void TearDown() override { SetSaveFaultForTesting(SaveStep::None); }

    // The names in the set directory, sorted: shows any temporary file left behind.
    std::vector<std::string> Listing() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(setDir)) names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    test::TempDirectory dir;
    fs::path setDir = dir.Path() / "LIVE.SET";
    test::ScriptedInteraction ui;
};

TEST_F(ItemFileSaveTest, NewFilesGetUpperCaseNamesExistingOnesKeepNameAndPermissions) {
    const auto perms = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    test::WriteFileBytes(setDir / "live.arr", Opaque(5000, 2));
    fs::permissions(setDir / "live.arr", perms);
    // A shorter file leaves nothing of the longer one behind.
    EXPECT_TRUE(SaveItemFile(setDir.string(), "LIVE", ItemKind::Arrangement, Opaque(40, 3), ui));
    EXPECT_TRUE(SaveItemFile(setDir.string(), "live", ItemKind::Style, Opaque(300, 1), ui));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(Listing(), (std::vector<std::string>{"LIVE.STY", "live.arr"}));
    EXPECT_EQ(test::ReadFileBytes(setDir / "live.arr"), Opaque(40, 3));
    EXPECT_EQ(test::ReadFileBytes(setDir / "LIVE.STY"), Opaque(300, 1));
    EXPECT_EQ(fs::status(setDir / "live.arr").permissions(), perms);
}

TEST_F(ItemFileSaveTest, ReadOnlyDestinationIsLeftAlone) {
    test::WriteFileBytes(setDir / "LIVE.ARR", Opaque(100, 4));
    fs::permissions(setDir / "LIVE.ARR", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_FALSE(SaveItemFile(setDir.string(), "LIVE", ItemKind::Arrangement, Opaque(10, 5), ui));
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{"Error saving Arrangement data.\nDestination file is Read-Only!"});
    EXPECT_TRUE(ui.Last().title == "Error" && ui.Last().icon == MessageIcon::Critical &&
                ui.Last().buttons == MessageButtons::OK);
    EXPECT_EQ(test::ReadFileBytes(setDir / "LIVE.ARR"), Opaque(100, 4));
    EXPECT_EQ(Listing(), std::vector<std::string>{"LIVE.ARR"});
}

TEST_F(ItemFileSaveTest, FailureAtAnyStepLeavesTheOldFile) {
    test::WriteFileBytes(setDir / "LIVE.STY", Opaque(2000, 6));
    const std::string file = (setDir / "LIVE.STY").string();
    const std::pair<SaveStep, std::string> cases[] = {
        {SaveStep::CreateTemporary,
         "Error saving Style data.\nCan't create the temporary file for " + file + ": Input/output error"},
        {SaveStep::Write,
         "Error saving Style data.\nError writing the temporary file for " + file + ": No space left on device"},
        {SaveStep::Flush,
         "Error saving Style data.\nError flushing the temporary file for " + file + ": No space left on device"},
        {SaveStep::Rename, "Error saving Style data.\nCan't replace " + file + ": Input/output error"},
    };
    for (const auto& [step, text] : cases) {
        SetSaveFaultForTesting(step);
        test::ScriptedInteraction one;
        EXPECT_FALSE(SaveItemFile(setDir.string(), "LIVE", ItemKind::Style, Opaque(700, 7), one)) << text;
        EXPECT_EQ(one.Texts(), std::vector<std::string>{text});
        EXPECT_EQ(test::ReadFileBytes(setDir / "LIVE.STY"), Opaque(2000, 6)) << text;
        EXPECT_EQ(Listing(), std::vector<std::string>{"LIVE.STY"}) << text;
    }
    // A missing set directory is not created.
    SetSaveFaultForTesting(SaveStep::None);
    EXPECT_FALSE(SaveItemFile((dir.Path() / "GONE.SET").string(), "GONE", ItemKind::Song, Opaque(10, 8), ui));
    EXPECT_EQ(ui.Texts(),
              std::vector<std::string>{"Error saving Song data.\nCan't create the temporary file for " +
                                       (dir.Path() / "GONE.SET/GONE.SNG").string() + ": No such file or directory"});
    EXPECT_FALSE(fs::exists(dir.Path() / "GONE.SET"));
}

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
    EXPECT_EQ(Listing(), (std::vector<std::string>{"D.SYX", "F.SYX", "X.SYX"}));
}

// Which names are set directories, which processes count as running, and which journals a
// recovery takes: one written to its end and no further, its names shown without control characters.
TEST_F(ItemFileSaveTest, SetNamesProcessesAndJournalsAreTakenOnlyWhenWhole) {
    std::string names;
    for (const char* path : {"LIVE.SET", "/x/live.set//", "C:\\SETS\\A.Set", ".SET", "/.SET", "SET", "A.SETX"})
        names += IsSetDirectoryName(path) ? "1" : "0";
    EXPECT_EQ(names, "1110000");
    EXPECT_EQ(std::tuple(ProcessIsRunning(0), ProcessIsRunning(-1), ProcessIsRunning(CurrentProcessId())),
              std::tuple(false, false, true));

    const std::pair<std::string, std::string> journals[] = {
        {"VXSAVE 2\n.E.ARR.4000002.0.tmp\nE.ARR\nEND\n", ""},
        {"VXSAVE 2\n.E.ARR.4000002.0.tmp\nE.ARR\nEND\nmore\n", "it is not a complete save journal"},
        {"VXSAVE 2\np\n\x1F\x7F\nEND\n", "it names ??, which is not a file of the set directory"},
    };
    const fs::path journal = setDir / ".E.4000001.journal";
    for (const auto& [text, reason] : journals) {
        test::WriteFileBytes(journal, Bytes(text.begin(), text.end()));
        const JournalScan scan = ScanSetDirectory(setDir.string(), "E");
        EXPECT_EQ(scan.ignored.empty() ? "" : scan.ignored[0].reason, reason) << text;
    }
}

}  // namespace
}  // namespace vx
