// A set of the library as the source of a drop: read from disk without its lock, or the open set
// itself, and gone again without a trace in the session.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/library/LibrarySource.h"
#include "core/storage/Session.h"
#include "support/ScriptedInteraction.h"
#include "support/SetBuilder.h"
#include "support/TestPaths.h"
#include "support/TestSession.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

TEST(LibrarySource, ReadsFromDiskOrTakesTheOpenSetAndLeavesNoTrace) {
    test::TempDirectory temp;
    SetData studio = test::EmptySet();
    studio.arr.arr[2].SetName("From Disk");
    test::WriteSet(studio, (temp.Path() / "STUDIO.SET").string(), "STUDIO");
    test::ScriptedInteraction ui;
    Options options;
    auto session = test::MakeSession(ui, options);
    ASSERT_TRUE(session);
    options.OldSetNam = "/sets/LAST.SET";

    const std::string directory = (temp.Path() / "studio.set").string();  // found whatever its case
    int read = 0;
    {
        const library::SourceSet source(*session, directory);
        read = source.Set();
        ASSERT_GT(read, 0) << source.Error();
        EXPECT_TRUE(source.ReadFromDisk());
        EXPECT_EQ(session->Slot(read).name, "STUDIO");
        EXPECT_EQ(session->Data(read).arr.arr[2].Name(), "From Disk       ");
        // Never locked: nothing but the eight files in the set's directory.
        EXPECT_EQ(std::distance(fs::directory_iterator(temp.Path() / "STUDIO.SET"), fs::directory_iterator()), 8);
    }
    EXPECT_FALSE(session->Sets().IsOpen(read));
    EXPECT_EQ(options.OldSetNam, "/sets/LAST.SET");

    // Open in the session: that set is the source, and stays open.
    const int open = session->OpenOrNewSet(false, (temp.Path() / "STUDIO.SET").string());
    ASSERT_GT(open, 0);
    {
        const library::SourceSet source(*session, directory);
        EXPECT_EQ(source.Set(), open);
        EXPECT_FALSE(source.ReadFromDisk());
    }
    EXPECT_TRUE(session->Sets().IsOpen(open));
    EXPECT_TRUE(ui.Texts().empty());
}

TEST(LibrarySource, ASetThatCannotBeReadGivesTheLoadersReason) {
    test::TempDirectory temp;
    test::WriteSet(test::EmptySet(), (temp.Path() / "CUT.SET").string(), "CUT");
    fs::resize_file(temp.Path() / "CUT.SET" / "CUT.PRG", 40);
    test::ScriptedInteraction ui;
    Options options;
    auto session = test::MakeSession(ui, options);
    ASSERT_TRUE(session);
    const struct {
        std::string directory;
        std::string error;
    } cases[] = {
        {(temp.Path() / "CUT.SET").string(), "Error getting Program data.\n"},
        {(temp.Path() / "GONE.SET").string(),
         "The set " + (temp.Path() / "GONE.SET").string() + " is not there any more."},
    };
    for (const auto& c : cases) {
        const library::SourceSet source(*session, c.directory);
        EXPECT_EQ(source.Set(), 0) << c.directory;
        EXPECT_EQ(source.Error().substr(0, c.error.size()), c.error) << source.Error();
    }
    EXPECT_FALSE(session->AnySetOpen());
    EXPECT_TRUE(ui.Texts().empty());
}

}  // namespace
}  // namespace vx
