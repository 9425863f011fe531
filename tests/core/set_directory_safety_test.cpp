// A set directory is untrusted input: a save journal planted in it must not reach anything outside
// it, and reading a set changes nothing on disk unless the person agrees and may write there. Drives
// the built vx50 and a session; links of a set are met by the session's save tests.
#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "core/format/ItemFileSave.h"
#include "core/storage/Session.h"
#include "support/ScriptedInteraction.h"
#include "support/SetBuilder.h"
#include "support/TestPaths.h"
#include "support/TestSession.h"

namespace vx {
namespace {

namespace fs = std::filesystem;
using test::ReadFileBytes;
using test::WriteFileBytes;

Bytes BytesOf(const std::string& text) { return {text.begin(), text.end()}; }
std::string TextOf(const Bytes& bytes) { return {bytes.begin(), bytes.end()}; }

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

class SetDirectorySafetyTest : public ::testing::Test {
protected:
    void TearDown() override { SetSaveKillAfterRenamesForTesting(-1); }

    // vx50 with arguments; as the unprivileged user "nobody" when asked.
    ToolRun Vx50(const std::string& arguments, bool asNobody = false) {
        const fs::path out = temp.Path() / "stdout.txt", err = temp.Path() / "stderr.txt";
        const std::string runAs = asNobody ? "setpriv --reuid=65534 --regid=65534 --clear-groups " : "";
        const std::string command =
            runAs + test::ProgramDir() + "/vx50 " + arguments + " >" + out.string() + " 2>" + err.string();
        const int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, TextOf(ReadFileBytes(out)), TextOf(ReadFileBytes(err))};
    }

    fs::path WriteRandomSet(const fs::path& parent, const std::string& name, std::uint32_t seed) {
        const fs::path directory = parent / (name + ".SET");
        test::WriteSet(test::RandomSet(seed), directory.string(), name);
        return directory;
    }

    static std::vector<Bytes> Files(const fs::path& directory, const std::string& name) {
        std::vector<Bytes> files;
        for (const std::string& file : test::SetFileNames(name)) files.push_back(ReadFileBytes(directory / file));
        return files;
    }

    test::TempDirectory temp;
};

// A journal planted in a set directory, with the files it names: recovery ignores it, says why,
// and nothing inside or outside the set changes, not even when the person agrees to everything.
TEST_F(SetDirectorySafetyTest, APlantedJournalIsIgnoredAndReportedAndChangesNothing) {
    struct Case {
        const char* what;
        std::string journal;  // "{set}" and "{victim}" stand for absolute paths
        std::string reason;
        std::string plain;  // a plain file planted in the set
        std::string link;   // a link planted in the set, to ../victim
    };
    const std::string temporary = ".E.ARR.4000002.0.tmp";
    const Case cases[] = {
        {"absolute paths, as older journals held", "VXSAVE 1\n{set}/p\n{victim}\nEND\n",
         "it is not a complete save journal", "p", ""},
        {"a name leaving the set", "VXSAVE 2\np\n../victim\nEND\n",
         "it names ../victim, which is not a file of the set directory", "p", ""},
        {"an absolute name", "VXSAVE 2\np\n{victim}\nEND\n",
         "it names {victim}, which is not a file of the set directory", "p", ""},
        {"a temporary file that is a link", "VXSAVE 2\n" + temporary + "\nE.ARR\nEND\n",
         "it names " + temporary + ", which is a link", "", temporary},
        {"a destination that is a link", "VXSAVE 2\n.ln.4000002.0.tmp\nln\nEND\n", "it names ln, which is a link",
         ".ln.4000002.0.tmp", "ln"},
        {"a file that is not a save's temporary file", "VXSAVE 2\np\nE.ARR\nEND\n",
         "it names p, which is not a temporary file of a save of E.ARR", "p", ""},
        {"no end", "VXSAVE 2\n" + temporary + "\nE.ARR\n", "it is not a complete save journal", temporary, ""},
        {"more after its end", "VXSAVE 2\n" + temporary + "\nE.ARR\nEND\nmore\n", "it is not a complete save journal",
         temporary, ""},
        {"control characters", "VXSAVE 2\np\n\x1F\x7F\nEND\n",
         "it names ??, which is not a file of the set directory", "p", ""},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const fs::path parent = temp.Path() / std::to_string(n++);
        fs::create_directories(parent);
        const fs::path set = WriteRandomSet(parent, "E", 3);
        const fs::path victim = parent / "victim";
        WriteFileBytes(victim, BytesOf("private"));
        if (!c.plain.empty()) WriteFileBytes(set / c.plain, BytesOf("planted"));
        if (!c.link.empty()) fs::create_symlink("../victim", set / c.link);
        const auto expand = [&](std::string text) {
            for (const auto& [key, value] :
                 {std::pair{std::string("{set}"), set.string()}, std::pair{std::string("{victim}"), victim.string()}})
                for (std::size_t at; (at = text.find(key)) != std::string::npos;) text.replace(at, key.size(), value);
            return text;
        };
        const fs::path journal = set / ".E.4000001.journal";
        WriteFileBytes(journal, BytesOf(expand(c.journal)));
        const std::vector<Bytes> before = Files(set, "E");
        const std::vector<std::string> listing = test::Listing(set);
        const std::string warning = "The save journal " + journal.string() + " was ignored: " + expand(c.reason) + ".";

        const ToolRun info = Vx50("--yes info " + set.string());
        EXPECT_EQ(info.status, 0);
        EXPECT_EQ(info.err, warning + "\n");
        EXPECT_EQ(test::Listing(set), listing);

        // The editor's open and save: warned once, and the save does not act on it either.
        test::ScriptedInteraction ui;
        Options options;
        auto session = test::MakeSession(ui, options);
        const int opened = session->OpenOrNewSet(false, set.string());
        ASSERT_EQ(opened, 1);
        session->MarkDirty(opened, ItemKind::Song);
        EXPECT_TRUE(session->Save(opened));
        ASSERT_EQ(ui.Texts(), std::vector<std::string>{warning});
        EXPECT_EQ(ui.Last().icon, MessageIcon::Exclamation);

        EXPECT_EQ(TextOf(ReadFileBytes(victim)), "private");
        EXPECT_EQ(Files(set, "E"), before);
        EXPECT_FALSE(fs::is_symlink(set / "E.ARR"));
        EXPECT_TRUE(fs::exists(journal));
    }
}

// A normal user, in directories that user cannot write to: an interrupted save is left as it is
// with a reason.
TEST_F(SetDirectorySafetyTest, AnInterruptedSaveAnUnprivilegedUserCannotFinishIsReadAsItIs) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
    if (std::system("command -v setpriv >/dev/null 2>&1") != 0) GTEST_SKIP() << "setpriv is missing";
    if (Vx50("--version", true).status != 0) GTEST_SKIP() << "nobody can't run " << test::ProgramDir() << "/vx50";
    const fs::path set = WriteRandomSet(temp.Path(), "E", 8);
    test::ScriptedInteraction ui;
    Options options;
    auto session = test::MakeSession(ui, options);
    ASSERT_EQ(session->OpenOrNewSet(false, set.string()), 1);
    session->Data(1).prg.records[0].SetName("New Piano");
    session->Data(1).gbl.record.SetByte(3, 7);
    session->MarkDirty(1, ItemKind::Program);
    session->MarkDirty(1, ItemKind::Global);
    SetSaveKillAfterRenamesForTesting(1);
    ASSERT_FALSE(session->Save(1));
    SetSaveKillAfterRenamesForTesting(-1);
    // As left by a program that no longer runs: its lock gone, its journal of another process.
    session->Slot(1).lock.reset();
    for (const auto& entry : fs::directory_iterator(set))
        if (entry.path().extension() == ".journal") fs::rename(entry.path(), set / ".E.4000001.journal");
    const std::vector<Bytes> mixed = Files(set, "E");
    fs::permissions(temp.Path(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                     fs::perms::others_read | fs::perms::others_exec);

    const ToolRun readOnly = Vx50("--yes info " + set.string(), true);
    EXPECT_EQ(readOnly.status, 0);
    EXPECT_EQ(readOnly.err, "E was being saved when the program stopped: some of its files are new, some old.\n" +
                                set.string() +
                                " can't be written, so that save can't be finished: the files are read as they are.\n");
    EXPECT_EQ(Files(set, "E"), mixed);
}

}  // namespace
}  // namespace vx
