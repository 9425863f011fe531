#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "document/Helpers.h"
#include "storage/ItemFileSave.h"
#include "support/ScriptedInteraction.h"
#include "support/TestPaths.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

void WriteFile(const fs::path& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

Bytes ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

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

TEST_F(ItemFileSaveTest, NewFileGetsTheUpperCaseName) {
    const Bytes content = Opaque(300, 1);
    EXPECT_TRUE(SaveItemFile(setDir.string(), "live", ItemKind::Arrangement, content, ui));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(Listing(), std::vector<std::string>{"LIVE.ARR"});
    EXPECT_EQ(ReadFile(setDir / "LIVE.ARR"), content);
}

TEST_F(ItemFileSaveTest, ExistingFileKeepsItsNameAndPermissions) {
    WriteFile(setDir / "live.arr", Opaque(5000, 2));
    fs::permissions(setDir / "live.arr", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);

    // A shorter file leaves nothing of the longer one behind.
    const Bytes content = Opaque(40, 3);
    EXPECT_TRUE(SaveItemFile(setDir.string(), "LIVE", ItemKind::Arrangement, content, ui));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(Listing(), std::vector<std::string>{"live.arr"});
    EXPECT_EQ(ReadFile(setDir / "live.arr"), content);
    EXPECT_EQ(fs::status(setDir / "live.arr").permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(ItemFileSaveTest, ReadOnlyDestinationIsLeftAlone) {
    const Bytes old = Opaque(100, 4);
    WriteFile(setDir / "LIVE.ARR", old);
    fs::permissions(setDir / "LIVE.ARR", fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);

    EXPECT_FALSE(SaveItemFile(setDir.string(), "LIVE", ItemKind::Arrangement, Opaque(10, 5), ui));
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.Last().text, "Error saving Arrangement data.\nDestination file is Read-Only!");
    EXPECT_EQ(ui.Last().title, "Error");
    EXPECT_EQ(ui.Last().icon, MessageIcon::Critical);
    EXPECT_EQ(ui.Last().buttons, MessageButtons::OK);
    EXPECT_EQ(ReadFile(setDir / "LIVE.ARR"), old);
    EXPECT_EQ(Listing(), std::vector<std::string>{"LIVE.ARR"});
}

TEST_F(ItemFileSaveTest, FailureAtAnyStepLeavesTheOldFile) {
    const Bytes old = Opaque(2000, 6);
    WriteFile(setDir / "LIVE.STY", old);
    const struct {
        SaveStep step;
        std::string text;
    } cases[] = {
        {SaveStep::CreateTemporary, "Error saving Style data.\nCan't create the temporary file"},
        {SaveStep::Write, "Error saving Style data.\nError writing the temporary file"},
        {SaveStep::Flush, "Error saving Style data.\nError flushing the temporary file"},
        {SaveStep::Rename, "Error saving Style data.\nCan't replace " + ToUpper((setDir / "LIVE.STY").string())},
    };
    for (const auto& c : cases) {
        SetSaveFaultForTesting(c.step);
        test::ScriptedInteraction one;
        EXPECT_FALSE(SaveItemFile(setDir.string(), "LIVE", ItemKind::Style, Opaque(700, 7), one)) << c.text;
        EXPECT_EQ(one.Texts(), std::vector<std::string>{c.text});
        EXPECT_EQ(ReadFile(setDir / "LIVE.STY"), old) << c.text;
        EXPECT_EQ(Listing(), std::vector<std::string>{"LIVE.STY"}) << c.text;
    }

    // Without the fault the same save goes through.
    SetSaveFaultForTesting(SaveStep::None);
    EXPECT_TRUE(SaveItemFile(setDir.string(), "LIVE", ItemKind::Style, Opaque(700, 7), ui));
    EXPECT_EQ(ReadFile(setDir / "LIVE.STY"), Opaque(700, 7));
}

TEST_F(ItemFileSaveTest, MissingDirectoryIsNotCreated) {
    EXPECT_FALSE(SaveItemFile((dir.Path() / "GONE.SET").string(), "GONE", ItemKind::Song, Opaque(10, 8), ui));
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{"Error saving Song data.\nCan't create the temporary file"});
    EXPECT_FALSE(fs::exists(dir.Path() / "GONE.SET"));
}

TEST_F(ItemFileSaveTest, WriteFileAtomicallyReportsTheReason) {
    std::string error;
    EXPECT_TRUE(WriteFileAtomically((setDir / "X.SYX").string(), Bytes{0xF0, 0xF7}, error));
    EXPECT_EQ(error, "");
    EXPECT_EQ(ReadFile(setDir / "X.SYX"), (Bytes{0xF0, 0xF7}));
    EXPECT_TRUE(WriteFileAtomically((setDir / "X.SYX").string(), Bytes{}, error));
    EXPECT_EQ(ReadFile(setDir / "X.SYX"), Bytes{});

    // A directory in the way cannot be replaced by a file.
    fs::create_directories(setDir / "D.SYX" / "inner");
    EXPECT_FALSE(WriteFileAtomically((setDir / "D.SYX").string(), Bytes{1}, error));
    EXPECT_EQ(error, "Can't replace " + ToUpper((setDir / "D.SYX").string()));
    EXPECT_EQ(Listing(), (std::vector<std::string>{"D.SYX", "X.SYX"}));
}

}  // namespace
}  // namespace vx
