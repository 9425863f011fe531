// The library of sets: what a scan records, how it finds, and that a killed scan leaves an index
// that opens and completes; then vx50 library as a user sees it.
#include <gtest/gtest.h>

#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "core/library/Library.h"
#include "core/library/SetIndex.h"
#include "core/storage/SetLock.h"
#include "support/Golden.h"
#include "support/SetBuilder.h"
#include "support/TestPaths.h"

namespace vx {
namespace {

namespace fs = std::filesystem;
using library::FindQuery;
using library::Library;
using library::LibraryItem;

struct ToolRun {
    int status = -1;
    std::string text;  // standard output and standard error
};

ToolRun RunVx50(const std::string& arguments) {
    const std::string command = test::ProgramDir() + "/vx50 " + arguments + " 2>&1";
    ToolRun run;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) return run;
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.text.append(buffer, got);
    const int raw = ::pclose(pipe);
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return run;
}

// The demo set copied to directory/NAME.SET, its files renamed NAME.*.
fs::path CopyDemo(const fs::path& parent, const std::string& name) {
    const fs::path set = parent / (name + ".SET");
    fs::create_directories(set);
    for (const std::string& extension : test::SetFileExtensions())
        fs::copy_file(test::SourceDir() + "/examples/DEMO.SET/DEMO" + extension, set / (name + extension));
    return set;
}

// "KIND:LABEL NAME @ SET" for each item, the set by its directory name.
std::vector<std::string> Lines(const std::vector<LibraryItem>& items) {
    std::vector<std::string> lines;
    for (const LibraryItem& item : items)
        lines.push_back(std::to_string(KindIndex(item.kind)) + ":" + item.label + " " + item.name + " @ " +
                        fs::path(item.setPath).filename().string());
    return lines;
}

const LibraryItem* Item(const std::vector<LibraryItem>& items, const std::string& set, const std::string& label) {
    for (const LibraryItem& item : items)
        if (fs::path(item.setPath).filename() == set && item.label == label) return &item;
    return nullptr;
}

std::string Summary(const library::ScanSummary& s) {
    return std::to_string(s.sets) + " sets: " + std::to_string(s.read) + " read, " + std::to_string(s.unchanged) +
           " unchanged, " + std::to_string(s.removed) + " removed, " + std::to_string(s.failed) + " failed" +
           (s.cancelled ? ", cancelled" : "");
}

class LibraryTest : public ::testing::Test {
protected:
    test::TempDirectory temp;
    fs::path sets = temp.Path() / "sets";
    fs::path indexFile = temp.Path() / "index" / "library.sqlite";

    std::unique_ptr<Library> OpenIndex() {
        std::string error;
        auto index = Library::Open(indexFile, error);
        EXPECT_NE(index, nullptr) << error;
        return index;
    }
};

TEST_F(LibraryTest, ScanRecordsEveryItemByNameAndHashesItsCallsByTheNamesCalled) {
    const fs::path demo = CopyDemo(sets / "gigs", "DEMO");
    // LIVE keeps the same items, but its piano and its first style sit in other slots.
    const fs::path live = CopyDemo(sets / "gigs" / "old", "LIVE");
    ASSERT_EQ(RunVx50("move " + live.string() + " prg:F11 G31").status, 0);
    ASSERT_EQ(RunVx50("move " + live.string() + " sty:C11 C13").status, 0);
    // A set cut short, a folder that is no set, and a link back up that would loop for ever.
    const fs::path bad = CopyDemo(sets / "broken", "BAD");
    fs::resize_file(bad / "BAD.STY", 100);
    fs::create_directories(sets / "notes" / "misc");
    fs::create_symlink("../..", sets / "gigs" / "old" / "loop");
    const auto listing = test::Listing(live);

    auto index = OpenIndex();
    ASSERT_NE(index, nullptr);
    std::string error;
    EXPECT_FALSE(index->AddFolder(temp.Path() / "missing", error));
    EXPECT_EQ(error, (temp.Path() / "missing").string() + " is not a directory.");
    ASSERT_TRUE(index->AddFolder(sets, error)) << error;
    EXPECT_EQ(index->Folders(), std::vector<std::string>{sets.string()});

    // The editor may hold a set while it is scanned.
    auto held = SetLock::Acquire(live.string(), "LIVE", 0);
    ASSERT_EQ(held.outcome, SetLock::Outcome::Locked);
    std::vector<std::string> seen;
    EXPECT_EQ(Summary(index->Scan([&](const library::ScanProgress& p) {
                  seen.push_back(std::to_string(p.done) + "/" + std::to_string(p.total) + " " +
                                 fs::path(p.current).filename().string());
                  return true;
              })),
              "3 sets: 3 read, 0 unchanged, 0 removed, 1 failed");
    EXPECT_EQ(seen, (std::vector<std::string>{"0/3 BAD.SET", "1/3 DEMO.SET", "2/3 LIVE.SET"}));
    held.lock.reset();
    EXPECT_EQ(test::Listing(live), listing);  // nothing written into a set
    const auto failures = index->Failures();
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_EQ(failures[0].setPath, bad.string());
    EXPECT_EQ(failures[0].reason, "Error getting Style data. " + (bad / "BAD.STY").string() +
                                      " at byte 224: the file is 100 bytes long, too short for the style of slot 0");

    // Every user item of each kind: 20 arrangements, 8 styles, 33 programs, 4 backing sequences,
    // 3 songs and 64 KBD sets, in each good set.
    const auto all = index->Find({});
    EXPECT_EQ(all.size(), 2u * (20 + 8 + 33 + 4 + 3 + 64));

    // The piano in F11 and G31, the arrangement that calls it and the style moved with it hash alike.
    const auto pianos = index->Find({"GRAND", ItemKind::Program, std::nullopt, 0});
    EXPECT_EQ(Lines(pianos),
              (std::vector<std::string>{"2:F11 My Grand Piano @ DEMO.SET", "2:G31 My Grand Piano @ LIVE.SET"}));
    EXPECT_EQ(pianos[0].category, "Keyboard");
    EXPECT_EQ(pianos[0].slot, 0);
    EXPECT_EQ(pianos[0].hash.size(), 16u);
    EXPECT_EQ(pianos[0].hash, pianos[1].hash);
    const auto groove = index->Find({"sunday groove", std::nullopt, std::nullopt, 0});
    ASSERT_EQ(Lines(groove).size(), 4u);
    EXPECT_EQ(Item(groove, "DEMO.SET", "C11")->hash, Item(groove, "LIVE.SET", "C11")->hash);  // arrangement
    EXPECT_EQ(Item(groove, "DEMO.SET", "C11")->category, "16 Beat");
    EXPECT_NE(Item(groove, "DEMO.SET", "C11")->hash, Item(groove, "LIVE.SET", "C13")->hash);
    const auto styles = index->Find({"sunday", ItemKind::Style, std::nullopt, 0});
    EXPECT_EQ(Lines(styles),
              (std::vector<std::string>{"1:C11 Sunday Groove @ DEMO.SET", "1:C13 Sunday Groove @ LIVE.SET"}));
    EXPECT_EQ(styles[0].hash, styles[1].hash);
    EXPECT_GT(styles[0].setTime, 1700000000);

    // A part of a name in any case, through the trigram index or without it (fewer than three
    // characters), finds exactly what a plain comparison finds.
    for (const char* text : {"a", "Wa", "ltz", "GROOVE", "o n", "zzz", "Fiddle", "my grand piano", "%", "_"}) {
        SCOPED_TRACE(text);
        std::vector<LibraryItem> expected;
        for (const LibraryItem& item : all)
            if (library::FoldKey(item.name).find(library::FoldKey(text)) != std::string::npos) expected.push_back(item);
        auto found = index->Find({text, std::nullopt, std::nullopt, 0});
        EXPECT_EQ(Lines(found).size(), expected.size());
        auto sorted = Lines(found), wanted = Lines(expected);
        std::sort(sorted.begin(), sorted.end());
        std::sort(wanted.begin(), wanted.end());
        EXPECT_EQ(sorted, wanted);
    }
    EXPECT_EQ(library::FoldKey("\xC3\x89T\xC3\x89 \xC3\x97"), "\xC3\xA9t\xC3\xA9 \xC3\x97");
    EXPECT_EQ(Lines(index->Find({"", ItemKind::Program, std::string("drum/PERC."), 3})),
              (std::vector<std::string>{"2:R53 Ballad Brushes @ DEMO.SET", "2:R53 Ballad Brushes @ LIVE.SET",
                                        "2:G22 Conga Groove @ DEMO.SET"}));

    // Where the piano is used, by name, in both sets whatever its slot: its callers as the
    // program's own Details list them, each once.
    std::vector<std::string> users;
    for (const char* set : {"DEMO.SET", "LIVE.SET"})
        for (const char* caller :
             {"0:C11 Sunday Groove", "0:C14 Uptown Swing", "0:C18 Doo Wop Night", "0:C21 Wedding Waltz",
              "0:D11 Opening Number", "0:D12 Rainy Ballad", "0:D16 Gospel Sunday", "1:C16 Uptown Swing",
              "3:0 Intro Medley", "4:0 Opening Song", "5:11 "})
            users.push_back(std::string(caller) + " @ " + set);
    EXPECT_EQ(Lines(index->WhereUsed(" my GRAND piano ")), users);
    EXPECT_TRUE(index->WhereUsed("My Grand").empty());

    // Duplicates: same kind and content in other slots or sets, grouped.
    const auto duplicates = index->Duplicates(ItemKind::Style);
    ASSERT_EQ(duplicates.size(), 8u);
    for (const auto& [kind, groups] : {std::pair{ItemKind::Arrangement, 20u}, std::pair{ItemKind::Program, 33u},
                                       std::pair{ItemKind::BackingSequence, 4u}, std::pair{ItemKind::Song, 3u}})
        EXPECT_EQ(index->Duplicates(kind).size(), groups) << KindIndex(kind);
    for (const auto& group : duplicates) {
        SCOPED_TRACE(group.front().name);
        ASSERT_EQ(group.size(), 2u);
        EXPECT_EQ(group[0].hash, group[1].hash);
        EXPECT_EQ(group[0].name, group[1].name);
    }
    EXPECT_EQ(Lines(duplicates.back()),
              (std::vector<std::string>{"1:C16 Uptown Swing @ DEMO.SET", "1:C16 Uptown Swing @ LIVE.SET"}));
}

TEST_F(LibraryTest, RescansReadOnlyWhatChangedAndForgetWhatIsGone) {
    const fs::path demo = CopyDemo(sets, "DEMO");
    const fs::path live = CopyDemo(sets / "deeper" / "still", "LIVE");
    const fs::path other = CopyDemo(temp.Path() / "elsewhere", "OTHER");
    {
        auto index = OpenIndex();
        std::string error;
        ASSERT_TRUE(index->AddFolder(sets, error));
        ASSERT_TRUE(index->AddFolder(other, error));  // a set added by itself
        EXPECT_EQ(Summary(index->Scan()), "3 sets: 3 read, 0 unchanged, 0 removed, 0 failed");
    }
    // The index is kept in its file; nothing changed, nothing is read.
    auto index = OpenIndex();
    EXPECT_EQ(Summary(index->Scan()), "3 sets: 0 read, 3 unchanged, 0 removed, 0 failed");

    ASSERT_EQ(RunVx50("rename " + live.string() + " prg:F12 \"Stage EP\"").status, 0);
    fs::remove_all(demo);
    EXPECT_EQ(Summary(index->Scan()), "2 sets: 1 read, 1 unchanged, 1 removed, 0 failed");
    EXPECT_EQ(Lines(index->Find({"stage ep", std::nullopt, std::nullopt, 0})),
              (std::vector<std::string>{"2:F12 Dry Stage EP @ OTHER.SET", "2:F12 Stage EP @ LIVE.SET"}));
    EXPECT_EQ(index->Find({"", std::nullopt, std::nullopt, 0}).size(), 2u * 132);

    // A set that goes bad is recorded with its reason, and leaves the failures when it is mended.
    const auto arrangements = test::ReadFileBytes(live / "LIVE.ARR");
    fs::remove(live / "LIVE.ARR");
    EXPECT_EQ(Summary(index->Scan()), "2 sets: 1 read, 1 unchanged, 0 removed, 1 failed");
    ASSERT_EQ(index->Failures().size(), 1u);
    EXPECT_EQ(index->Failures()[0].reason, "File " + (live / "LIVE.ARR").string() + " not found");
    EXPECT_EQ(index->Find({"", std::nullopt, std::nullopt, 0}).size(), 132u);
    EXPECT_EQ(Summary(index->Scan()), "2 sets: 0 read, 2 unchanged, 0 removed, 1 failed");
    test::WriteFileBytes(live / "LIVE.ARR", arrangements);
    EXPECT_EQ(Summary(index->Scan()), "2 sets: 1 read, 1 unchanged, 0 removed, 0 failed");
    EXPECT_TRUE(index->Failures().empty());

    // A cancelled scan keeps what it did.
    fs::remove_all(live);
    CopyDemo(sets, "NEW");
    int calls = 0;
    EXPECT_EQ(Summary(index->Scan([&](const library::ScanProgress&) { return ++calls < 2; })),
              "2 sets: 0 read, 1 unchanged, 1 removed, 0 failed, cancelled");
    EXPECT_TRUE(index->Find({"", std::nullopt, std::nullopt, 0}).size() == 132u);

    // Removing a folder forgets the sets found only under it.
    EXPECT_FALSE(index->RemoveFolder(temp.Path() / "nowhere"));
    EXPECT_TRUE(index->RemoveFolder(sets.string() + "/"));
    EXPECT_EQ(index->Folders(), std::vector<std::string>{other.string()});
    std::set<std::string> left;
    for (const LibraryItem& item : index->Find({})) left.insert(fs::path(item.setPath).filename().string());
    EXPECT_EQ(left, std::set<std::string>{"OTHER.SET"});

    // A file that is no index is refused with the reason, and left as it was.
    test::WriteFileBytes(temp.Path() / "notes.txt", std::vector<std::uint8_t>(600, 'x'));
    std::string error;
    EXPECT_EQ(Library::Open(temp.Path() / "notes.txt", error), nullptr);
    EXPECT_EQ(error,
              "The library " + (temp.Path() / "notes.txt").string() + " could not be read: file is not a database");
    EXPECT_EQ(test::ReadFileBytes(temp.Path() / "notes.txt"), std::vector<std::uint8_t>(600, 'x'));

    // An index of the first layout keeps its folders and is read again; one of a later layout
    // is refused.
    const auto older = temp.Path() / "older.sqlite";
    const auto newer = temp.Path() / "newer.sqlite";
    for (const auto& [file, sql] :
         {std::pair{older,
                    "CREATE TABLE folders(path TEXT PRIMARY KEY); CREATE TABLE items(id INTEGER PRIMARY KEY, "
                    "key TEXT); INSERT INTO folders VALUES ('" +
                        other.string() + "'); PRAGMA user_version=1;"},
          std::pair{newer, std::string("PRAGMA user_version=4;")}}) {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(file.c_str(), &db), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
        sqlite3_close(db);
    }
    auto upgraded = Library::Open(older, error);
    ASSERT_NE(upgraded, nullptr) << error;
    EXPECT_EQ(upgraded->Folders(), std::vector<std::string>{other.string()});
    EXPECT_EQ(Summary(upgraded->Scan()), "1 sets: 1 read, 0 unchanged, 0 removed, 0 failed");
    EXPECT_EQ(upgraded->Find({"stage", std::nullopt, std::nullopt, 0}).size(), 1u);
    EXPECT_EQ(Library::Open(newer, error), nullptr);
    EXPECT_EQ(error, "The library " + newer.string() + " was made by a newer version of the program.");
}

// A scan killed while it writes leaves an index that opens, checks out and completes.
TEST_F(LibraryTest, AScanKilledMidwayLeavesAValidIndexThatARescanCompletes) {
    constexpr int kSets = 150;
    for (int n = 0; n < kSets; ++n) CopyDemo(sets / ("shelf" + std::to_string(n % 7)), "S" + std::to_string(n));

    int pipeEnds[2];
    ASSERT_EQ(::pipe(pipeEnds), 0);
    const std::string program = test::ProgramDir() + "/vx50";
    const pid_t child = ::fork();
    if (child == 0) {
        ::dup2(pipeEnds[1], STDERR_FILENO);
        ::close(pipeEnds[0]);
        ::execl(program.c_str(), "vx50", "library", "add", sets.c_str(), "--progress", "--library", indexFile.c_str(),
                static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(pipeEnds[1]);
    std::string firstLine;
    char c = 0;
    while (::read(pipeEnds[0], &c, 1) == 1 && c != '\n') firstLine += c;
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ::close(pipeEnds[0]);
    EXPECT_EQ(firstLine.substr(0, 14), "Scanning 1/150");
    ASSERT_TRUE(WIFSIGNALED(status));

    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(indexFile.c_str(), &db), SQLITE_OK);
    std::string integrity;
    sqlite3_exec(
        db, "PRAGMA integrity_check",
        [](void* out, int, char** values, char**) {
            *static_cast<std::string*>(out) += values[0] ? values[0] : "";
            return 0;
        },
        &integrity, nullptr);
    sqlite3_close(db);
    EXPECT_EQ(integrity, "ok");

    auto index = OpenIndex();
    ASSERT_NE(index, nullptr);
    const auto summary = index->Scan();
    EXPECT_EQ(summary.sets, std::size_t{kSets});
    EXPECT_EQ(summary.read + summary.unchanged, std::size_t{kSets});
    EXPECT_GT(summary.read, 0u);  // the killed scan had not finished
    EXPECT_EQ(summary.failed, 0u);
    EXPECT_EQ(index->Find({}).size(), std::size_t{kSets} * 132);
    EXPECT_EQ(Summary(index->Scan()), "150 sets: 0 read, 150 unchanged, 0 removed, 0 failed");
}

// vx50 library as a user sees it; the paths of this run read $SETS and $INDEX.
TEST_F(LibraryTest, Vx50LibraryTranscript) {
    CopyDemo(sets / "a", "DEMO");
    const fs::path live = CopyDemo(sets / "b", "LIVE");
    ASSERT_EQ(RunVx50("move " + live.string() + " prg:F11 G31").status, 0);
    const fs::path bad = CopyDemo(sets / "c", "BAD");
    fs::resize_file(bad / "BAD.PRG", 40);
    const std::string library = " --library " + indexFile.string();

    std::string transcript;
    for (const std::string& command :
         {"library add " + sets.string() + library, "library scan" + library, "library find piano" + library,
          "library find ballad --kind prg --json" + library, "library find e --category Latin" + library,
          "library where-used 'my grand piano'" + library, "library duplicates --kind sty" + library,
          "library find x --kind gbl" + library, "library remove /nowhere" + library,
          "library add " + (temp.Path() / "missing").string() + library, "library remove " + sets.string() + library,
          "library find piano" + library, "library scan" + library}) {
        const ToolRun run = RunVx50(command);
        transcript += "$ vx50 " + command + "\n" + run.text + "[exit " + std::to_string(run.status) + "]\n";
    }
    transcript = std::regex_replace(transcript, std::regex(indexFile.string()), "$$INDEX");
    transcript = std::regex_replace(transcript, std::regex(sets.string()), "$$SETS");
    transcript = std::regex_replace(transcript, std::regex(temp.Path().string()), "$$TEMP");
    EXPECT_EQ(transcript, test::Golden("library/transcript.txt", transcript));
}

}  // namespace
}  // namespace vx
