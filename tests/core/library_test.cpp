// The library of sets (vx50 library as a user sees it is tests/data/tool/library.txt): what a
// search finds, a killed scan, and a set of the library read as the source of a drop.
#include <gtest/gtest.h>

#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "core/library/Library.h"
#include "core/library/LibrarySource.h"
#include "core/library/SetIndex.h"
#include "support/ScriptedInteraction.h"
#include "support/SetBuilder.h"
#include "support/TestPaths.h"
#include "support/TestSession.h"

namespace vx {
namespace {

namespace fs = std::filesystem;
using library::Library;
using library::LibraryItem;

// "KIND:LABEL NAME @ SET" for each item, the set by its directory name.
std::vector<std::string> Lines(const std::vector<LibraryItem>& items) {
    std::vector<std::string> lines;
    for (const LibraryItem& item : items)
        lines.push_back(std::to_string(KindIndex(item.kind)) + ":" + item.label + " " + item.name + " @ " +
                        fs::path(item.setPath).filename().string());
    return lines;
}

std::string Summary(const library::ScanSummary& s) {
    return std::to_string(s.sets) + " sets: " + std::to_string(s.read) + " read, " + std::to_string(s.unchanged) +
           " unchanged" + (s.cancelled ? ", cancelled" : "");
}

// The demo set copied to parent/NAME.SET, its files renamed NAME.*.
void CopyDemo(const fs::path& parent, const std::string& name) {
    fs::create_directories(parent / (name + ".SET"));
    for (const std::string& extension : test::SetFileExtensions())
        fs::copy_file(test::SourceDir() + "/examples/DEMO.SET/DEMO" + extension,
                      parent / (name + ".SET") / (name + extension));
}

std::unique_ptr<Library> OpenIndex(const fs::path& file) {
    std::string error;
    auto index = Library::Open(file, error);
    EXPECT_NE(index, nullptr) << error;
    return index;
}

TEST(Library, FindsWhatAPlainComparisonFinds) {
    test::TempDirectory temp;
    CopyDemo(temp.Path() / "sets", "DEMO");
    CopyDemo(temp.Path() / "sets", "LIVE");
    auto index = OpenIndex(temp.Path() / "library.sqlite");
    std::string error;
    ASSERT_TRUE(index->AddFolder(temp.Path() / "sets", error)) << error;
    // A cancelled scan keeps what it did; the next one reads the rest.
    int calls = 0;
    EXPECT_EQ(Summary(index->Scan([&](const library::ScanProgress&) { return ++calls < 2; })),
              "2 sets: 1 read, 0 unchanged, cancelled");
    EXPECT_EQ(index->Find({}).size(), 132u);
    EXPECT_EQ(Summary(index->Scan()), "2 sets: 1 read, 1 unchanged");

    // A part of a name in any case, through the trigram index or without it (fewer than three
    // characters), finds exactly what a plain comparison finds.
    const auto all = index->Find({});
    for (const char* text : {"a", "Wa", "ltz", "GROOVE", "o n", "zzz", "Fiddle", "my grand piano", "%", "_"}) {
        std::vector<std::string> expected, found = Lines(index->Find({text, std::nullopt, std::nullopt, 0}));
        for (const LibraryItem& item : all)
            if (library::FoldKey(item.name).find(library::FoldKey(text)) != std::string::npos)
                expected.push_back(Lines({item})[0]);
        std::sort(expected.begin(), expected.end());
        std::sort(found.begin(), found.end());
        EXPECT_EQ(found, expected) << text;
    }
    EXPECT_EQ(library::FoldKey("\xC3\x89T\xC3\x89 \xC3\x97"), "\xC3\xA9t\xC3\xA9 \xC3\x97");
    EXPECT_EQ(Lines(index->Find({"", ItemKind::Program, std::string("drum/PERC."), 3})),
              (std::vector<std::string>{"2:R53 Ballad Brushes @ DEMO.SET", "2:R53 Ballad Brushes @ LIVE.SET",
                                        "2:G22 Conga Groove @ DEMO.SET"}));
    EXPECT_GT(all[0].setTime, 1700000000);
}

// A scan killed while it writes leaves an index that opens, checks out and completes.
TEST(Library, AScanKilledMidwayLeavesAValidIndexThatARescanCompletes) {
    test::TempDirectory temp;
    const fs::path sets = temp.Path() / "sets", file = temp.Path() / "library.sqlite";
    for (int n = 0; n < 150; ++n) CopyDemo(sets / ("shelf" + std::to_string(n % 7)), "S" + std::to_string(n));
    // The shell prints its process number, then becomes vx50.
    FILE* out = ::popen(("echo $$; exec " + test::ProgramDir() + "/vx50 library add " + sets.string() +
                         " --progress --library " + file.string() + " 2>&1")
                            .c_str(),
                        "r");
    int pid = 0;
    char line[256] = "";
    ASSERT_TRUE(std::fscanf(out, "%d\n", &pid) == 1 && std::fgets(line, sizeof line, out));
    ::kill(pid, SIGKILL);
    ASSERT_TRUE(WIFSIGNALED(::pclose(out)));
    EXPECT_EQ(std::string(line).substr(0, 14), "Scanning 1/150");
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
    std::string integrity;
    sqlite3_exec(
        db, "PRAGMA integrity_check",
        [](void* text, int, char** values, char**) { return *static_cast<std::string*>(text) += values[0], 0; },
        &integrity, nullptr);
    sqlite3_close(db);
    EXPECT_EQ(integrity, "ok");

    auto index = OpenIndex(file);
    const auto summary = index->Scan();
    EXPECT_EQ(summary.sets, 150u);
    EXPECT_EQ(summary.read + summary.unchanged, 150u);
    EXPECT_GT(summary.read, 0u);  // the killed scan had not finished
    EXPECT_EQ(summary.failed + summary.removed, 0u);
    EXPECT_EQ(index->Find({}).size(), 150u * 132);
    EXPECT_EQ(Summary(index->Scan()), "150 sets: 0 read, 150 unchanged");
}

// A set of the library as the source of a drop (the open set itself is the Library window's
// test too): read from disk without its lock and gone again without a trace, or the loader's reason.
TEST(Library, ASourceSetIsReadFromDiskAndLeavesNoTrace) {
    test::TempDirectory temp;
    SetData studio = test::EmptySet();
    studio.arr.arr[2].SetName("From Disk");
    test::WriteSet(studio, temp.Str() + "/STUDIO.SET", "STUDIO");
    test::WriteSet(studio, temp.Str() + "/CUT.SET", "CUT");
    fs::resize_file(temp.Path() / "CUT.SET" / "CUT.PRG", 40);
    test::ScriptedInteraction ui;
    Options options;
    auto session = test::MakeSession(ui, options);
    ASSERT_TRUE(session);
    options.OldSetNam = "/sets/LAST.SET";
    int read = 0;
    {
        const library::SourceSet source(*session, temp.Str() + "/studio.set");  // found whatever its case
        read = source.Set();
        ASSERT_GT(read, 0) << source.Error();
        EXPECT_TRUE(source.ReadFromDisk());
        EXPECT_EQ(session->Slot(read).name + "|" + session->Data(read).arr.arr[2].Name(), "STUDIO|From Disk       ");
        // Never locked: nothing but the eight files in the set's directory.
        EXPECT_EQ(std::distance(fs::directory_iterator(temp.Path() / "STUDIO.SET"), fs::directory_iterator()), 8);
    }
    EXPECT_FALSE(session->Sets().IsOpen(read));
    EXPECT_EQ(options.OldSetNam, "/sets/LAST.SET");
    const library::SourceSet cut(*session, temp.Str() + "/CUT.SET");  // a gone set is the window's test
    EXPECT_EQ(std::to_string(cut.Set()) + "|" + cut.Error().substr(0, 28), "0|Error getting Program data.\n");
    EXPECT_FALSE(session->AnySetOpen());
    EXPECT_TRUE(ui.Texts().empty());
    // A set open in the session is the source as it is there, unsaved edits and all.
    const int open = session->OpenOrNewSet(false, temp.Str() + "/STUDIO.SET");
    const library::SourceSet opened(*session, temp.Str() + "/STUDIO.SET");
    EXPECT_EQ(std::to_string(opened.Set()) + "|" + std::to_string(opened.ReadFromDisk()), std::to_string(open) + "|0");
}

}  // namespace
}  // namespace vx
