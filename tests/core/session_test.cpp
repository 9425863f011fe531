#include <gtest/gtest.h>

#include <errno.h>
#include <unistd.h>

#include <cctype>
#include <filesystem>

#include "Transcript.h"
#include "core/format/ItemFile.h"
#include "core/format/ItemFileSave.h"
#include "core/storage/Session.h"
#include "core/storage/SetFileStamps.h"
#include "core/text/Helpers.h"
#include "support/TestSession.h"

namespace vx {
namespace {

namespace fs = std::filesystem;
using test::ScriptedInteraction;

using test::ReadFileBytes;
using test::WriteFileBytes;

class SessionTest : public ::testing::Test {
protected:
    // A program directory of the test's own, so that a save over its template changes no shipped file.
    void SetUp() override {
        fs::create_directories(temp.Path() / "program");
        session = test::StartTestSession(ui, options, temp.Str() + "/program");
        ASSERT_TRUE(session);
        options.PathNam = temp.Str();
    }

    // A copy of the template set as dir/NAME.SET; extensions in lower case when asked.
    std::string MakeSet(const std::string& directoryName, const std::string& name, bool lowerCaseFiles = false) {
        const fs::path directory = temp.Path() / directoryName;
        fs::create_directories(directory);
        for (const std::string& extension : test::SetFileExtensions()) {
            std::string fileName = name + extension;
            if (lowerCaseFiles)
                for (char& c : fileName) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            fs::copy_file(test::ProgramDir() + "/X50EMPTY.SET/X50EMPTY" + extension, directory / fileName);
        }
        return directory.string();
    }
    // Shows an import's messages as the set window does.
    bool Shown(const ImportResult& result) {
        ShowNotices(ui, result);
        return result.done;
    }
    // One step of the transcript: what it returned, the open sets with their changed kinds (*.ARR),
    // then what the person saw and the changes that followed (test::Seen). The test's directory is
    // "<dir>", this process's number in a file name "<pid>".
    void Step(const std::string& what, bool result) { Log(what, result ? "true" : "false"); }
    void Step(const std::string& what, int result) { Log(what, std::to_string(result)); }
    void Step(const std::string& what, const std::string& result) { Log(what, '"' + result + '"'); }
    void Log(const std::string& what, const std::string& result) {
        std::string text = "== " + what + ": " + result + "\n  sets:";
        for (int set = 1; set <= session->Sets().HighestNumber(); ++set) {
            if (!session->Sets().IsOpen(set)) continue;
            const SetSlot& slot = session->Slot(set);
            text += " " + std::to_string(set) + " " + slot.name + " " + slot.directory;
            for (int k = 0; k < kSetKindCount; ++k)
                if (slot.dirty[static_cast<std::size_t>(k)])
                    text += " *" + std::string(KindExtension(KindFromIndex(k)));
        }
        text = test::Shorten(text + "\n", temp.Str(), "<dir>") + test::Seen(ui, temp.Str());
        transcript += test::Shorten(text, "." + std::to_string(CurrentProcessId()) + ".", ".<pid>.");
    }

    ScriptedInteraction ui;
    Options options;
    test::TempDirectory temp;
    std::unique_ptr<Session> session;
    std::string transcript;
};

// Sets opened, made, saved, imported into and closed, step by step as the person sees them.
TEST_F(SessionTest, OpeningSavingImportingAndClosingAsThePersonSeesThem) {
    // New sets are numbered among themselves and reuse freed numbers.
    Step("new set", session->OpenOrNewSet(true, ""));
    EXPECT_FALSE(fs::exists(session->Slot(1).directory)) << "a new set has no directory before its first save";
    Step("new set", session->OpenOrNewSet(true, ""));
    options.OldSetNam = "/somewhere/LIVE.SET";
    session->CloseSet(1);
    EXPECT_EQ(options.OldSetNam, "/somewhere/LIVE.SET") << "closing a NEWSET keeps the last set";
    Step("close 1, new set", session->OpenOrNewSet(true, ""));
    session->CloseSet(1);
    session->CloseSet(2);
    const std::string live = MakeSet("live.set", "live", true);
    Step("close both, open <tmp>/LIVE.SET of lower-case files", session->OpenOrNewSet(false, temp.Str() + "/LIVE.SET"));
    // An open set holds its lock, naming this program, until it is closed; a second program is
    // refused (what it is told, and a save over a held set: tests/data/tool/refusals.txt).
    char host[256] = {};
    gethostname(host, sizeof host - 1);
    const std::string lock = live + "/.LIVE.lock";
    EXPECT_EQ(test::ReadFileText(lock),
              std::string(program_invocation_short_name) + "\n" + std::to_string(getpid()) + "\n" + host + "\n");
    ScriptedInteraction secondUi;
    Options secondOptions;
    auto second = test::MakeSession(secondUi, secondOptions);
    second->SetLockWait(0);
    EXPECT_EQ(second->OpenOrNewSet(false, live), 0);
    Step("new set beside it", session->OpenOrNewSet(true, ""));
    Step("save it, the destination chooser cancelled", session->Save(2));
    session->CloseSet(2);
    // A save writes into the files as they are named on disk and keeps their permissions.
    const auto perms = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
    fs::permissions(fs::path(live) / "live.sty", perms);
    session->MarkDirty(1, ItemKind::Style);
    Step("save LIVE", session->Save(1));
    EXPECT_FALSE(fs::exists(fs::path(live) / "LIVE.STY"));
    EXPECT_EQ(fs::status(fs::path(live) / "live.sty").permissions(), perms);

    // A missing file stops the opening and frees the slot (bad files of each kind, as the tool shows
    // them: tests/data/tool/sets.txt).
    const std::string gigs = MakeSet("GIGS.SET", "GIGS");
    fs::remove(fs::path(gigs) / "GIGS.SNG");
    Step("open GIGS without its song file", session->OpenOrNewSet(false, gigs));

    // A second set of the same name, and the open dialog's refusals.
    const std::string other = MakeSet("B/LIVE.SET", "LIVE");
    ui.AnswerTo(QuestionId::NameInUse, Answer::Cancel);
    Step("open B/LIVE.SET, Cancel", session->OpenOrNewSet(false, other));
    ui.AnswerTo(QuestionId::NameInUse, Answer::OK);
    Step("open B/LIVE.SET, OK", session->OpenOrNewSet(false, other));
    Step("open dialog on nothing", session->CheckOpenCandidate(temp.Str(), "nothing"));
    Step("open dialog on gigs", session->CheckOpenCandidate(temp.Str(), "gigs"));
    Step("open dialog on live", session->CheckOpenCandidate(temp.Str(), "live"));
    EXPECT_EQ(ui.beeps, 2);
    session->CloseSet(2);

    // Closing asks about a changed set only.
    Step("close LIVE unchanged", session->QueryClose(1));
    session->Data(1).arr.arr[3].SetName("Changed");
    session->MarkDirty(1, ItemKind::Arrangement);
    for (const auto& [answer, name] : {std::pair{Answer::Cancel, "Cancel"}, {Answer::No, "No"}, {Answer::Yes, "Yes"}}) {
        ui.AnswerTo(QuestionId::SaveChanges, answer);
        Step(std::string("close LIVE changed, ") + name, session->QueryClose(1));
    }
    session->CloseSet(1);
    EXPECT_EQ(options.OldSetNam, live);
    EXPECT_FALSE(fs::exists(lock));

    // The open dialog offers to create missing files, the save dialog asks before overwriting.
    const std::string miss = MakeSet("MISS.SET", "MISS");
    fs::remove(fs::path(miss) / "MISS.ARK");
    fs::remove(fs::path(miss) / "MISS.GBL");
    ui.AnswerTo(QuestionId::CreateMissingFile, {Answer::OK, Answer::Cancel});
    Step("open dialog on MISS without ARK and GBL, OK then Cancel", session->OfferMissingFiles(miss));
    EXPECT_EQ(ReadFileBytes(fs::path(miss) / "MISS.ARK"),
              ReadFileBytes(test::ProgramDir() + "/X50EMPTY.SET/X50EMPTY.ARK"));
    ui.AnswerTo(QuestionId::CreateMissingFile, Answer::OK);
    Step("again, OK", session->OfferMissingFiles(miss));
    EXPECT_TRUE(fs::exists(fs::path(miss) / "MISS.GBL"));
    ui.AnswerTo(QuestionId::OverwriteSet, Answer::Cancel);
    Step("save dialog on live, Cancel", session->CheckSaveCandidate(temp.Str(), "live"));
    Step("save dialog on new", session->CheckSaveCandidate(temp.Str(), "new"));
    EXPECT_TRUE(fs::is_directory(temp.Path() / "NEW.SET"));

    // An import replaces a kind only when the whole file loads (a file of another kind:
    // tests/data/tool/sets.txt).
    const int set = session->OpenOrNewSet(false, live);
    const SetStyles before = session->Data(set).sty;
    Step("import all styles, the chooser cancelled", Shown(session->ImportAll(set, ItemKind::Style)));
    Bytes styles = ReadFileBytes(fs::path(other) / "LIVE.STY");
    styles[22 + 4 * 5] = 9;  // slot 5's directory entry names slot 9
    WriteFileBytes(fs::path(other) / "BROKEN.STY", styles);
    Step("import broken.sty", Shown(session->ImportFromFile(set, ItemKind::Style, other + "/broken.sty")));
    EXPECT_EQ(SerializeSty(session->Data(set).sty), SerializeSty(before));
    styles[22 + 4 * 5] = 5;
    styles.push_back('Z');  // bytes past the data are carried as they are
    WriteFileBytes(fs::path(other) / "good.sty", styles);
    Step("import good.sty", Shown(session->ImportFromFile(set, ItemKind::Style, other + "/good.sty")));

    // A read-only file blocks the whole save: new styles beside old programs would disagree.
    const fs::path programs = fs::path(live) / "live.prg";
    const Bytes programsBefore = ReadFileBytes(programs), stylesBefore = ReadFileBytes(fs::path(live) / "live.sty");
    const auto arrangementsTime = fs::last_write_time(fs::path(live) / "live.arr");
    fs::permissions(programs, fs::perms::owner_write, fs::perm_options::remove);
    session->Data(set).prg.records[0].SetName("Changed");
    session->MarkDirty(set, ItemKind::Program);
    Step("save LIVE, its programs read-only", session->Save(set));
    EXPECT_EQ(ReadFileBytes(programs), programsBefore);
    EXPECT_EQ(ReadFileBytes(fs::path(live) / "live.sty"), stylesBefore);
    EXPECT_EQ(test::Listing(live).size(), 8u) << "no temporary file is left";
    fs::permissions(programs, fs::perms::owner_write, fs::perm_options::add);
    Step("save LIVE, writable", session->Save(set));
    EXPECT_EQ(ReadFileBytes(fs::path(live) / "live.sty"), styles);
    EXPECT_EQ(ReadFileBytes(programs).at(48), 'C');
    EXPECT_EQ(fs::last_write_time(fs::path(live) / "live.arr"), arrangementsTime) << "clean kinds untouched";

    // Save As moves the set, keeping its number, and writes every kind (their bytes, as the tool's
    // save-as compares them: tests/data/tool/sets.txt).
    fs::create_directories(temp.Path() / "COPY.SET");
    ui.setAnswers = {temp.Str() + "/COPY.SET/COPY"};
    Step("save as COPY", session->SaveAs(set));
    EXPECT_EQ(test::Listing(temp.Path() / "COPY.SET"), test::SetFileNames("COPY"));

    // Names of any letters keep them; a new set loads under the template's name.
    const std::string uber = MakeSet("über.SET", "über");
    Step("open über", session->OpenOrNewSet(false, uber));
    session->MarkDirty(2, ItemKind::Song);
    Step("save über", session->Save(2));
    EXPECT_EQ(test::Listing(uber), test::SetFileNames("über"));
    Step("new set", session->OpenOrNewSet(true, ""));

    // A plain save of the template set asks first: Cancel saves nothing, No asks where to save it.
    const fs::path shipped = temp.Path() / "program/X50EMPTY.SET/X50EMPTY.PRG";
    const Bytes shippedBytes = ReadFileBytes(shipped);
    Step("open the template", session->OpenOrNewSet(false, temp.Str() + "/program/x50empty.set"));
    session->Data(4).prg.records[0].SetName("Changed");
    session->MarkDirty(4, ItemKind::Program);
    for (const auto& [answer, name] : {std::pair{Answer::Cancel, "Cancel"}, {Answer::No, "No"}, {Answer::Yes, "Yes"}}) {
        ui.AnswerTo(QuestionId::OverwriteTemplate, answer);
        Step(std::string("save the template, ") + name, session->Save(4));
        EXPECT_EQ(ReadFileBytes(shipped) == shippedBytes, answer != Answer::Yes);
    }
    EXPECT_EQ(transcript, test::Golden("session/transcript.txt", transcript));
}

// What a save of LIVE with two changed kinds writes, and the set as it was before.
class SetSaveTest : public SessionTest {
protected:
    void SetUp() override {
        SessionTest::SetUp();
        directory = MakeSet("LIVE.SET", "LIVE");
        set = session->OpenOrNewSet(false, directory);
        ASSERT_EQ(set, 1);
        before = Files();
        session->Data(set).prg.records[0].SetName("New Piano");
        session->Data(set).gbl.record.SetByte(3, 7);
        session->MarkDirty(set, ItemKind::Program);
        session->MarkDirty(set, ItemKind::Global);
        ui.messages.clear();
    }
    void TearDown() override {
        SetSaveFaultForTesting(SaveStep::None);
        SetSaveKillAfterRenamesForTesting(-1);
    }
    std::vector<Bytes> Files(const std::string& where = "") const {
        std::vector<Bytes> files;
        for (const std::string& name : test::SetFileNames("LIVE"))
            files.push_back(ReadFileBytes((where.empty() ? directory : where) + "/" + name));
        return files;
    }

    std::string directory;
    int set = 0;
    std::vector<Bytes> before;
};

// Saves that fail, saves of a new set and of a set with a link, in tests/data/session/saves.txt
// (leftovers of killed saves are tests/data/tool/journals.txt). A failure replaces no file and keeps the edits.
TEST_F(SetSaveTest, SavesThatFailOrMeetLeftoversAndLinksAsThePersonSeesThem) {
    // The save order is Program before Global: a failure of either leaves both files old.
    const std::pair<SaveStep, const char*> faults[] = {{SaveStep::CreateTemporary, "creating"},
                                                       {SaveStep::Write, "writing"},
                                                       {SaveStep::Flush, "flushing"},
                                                       {SaveStep::Journal, "the journal"},
                                                       {SaveStep::Rename, "renaming"}};
    for (const auto& [step, name] : faults) {
        SetSaveFaultForTesting(step);
        Step(std::string("save LIVE, failing at ") + name, session->Save(set));
        EXPECT_EQ(Files(), before) << name;
        EXPECT_EQ(test::Listing(directory), test::SetFileNames("LIVE")) << name;
    }
    SetSaveFaultForTesting(SaveStep::None);
    Step("save LIVE", session->Save(set));
    EXPECT_EQ(ReadFileBytes(directory + "/LIVE.PRG").at(48), 'N');
    EXPECT_EQ(ReadFileBytes(directory + "/LIVE.GBL").at(35), 7);

    // A new set whose first save fails leaves no directory and keeps its name.
    const int fresh = session->OpenOrNewSet(true, "");
    Step("save dialog on gigs", session->CheckSaveCandidate(temp.Str(), "gigs"));
    SetSaveFaultForTesting(SaveStep::Flush);
    Step("save the new set as GIGS, failing at flushing", session->SaveSet(fresh, temp.Str() + "/GIGS.SET/GIGS", true));
    EXPECT_FALSE(fs::exists(temp.Path() / "GIGS.SET"));
    SetSaveFaultForTesting(SaveStep::None);
    fs::create_directories(temp.Path() / "GIGS.SET");
    Step("save the new set as GIGS", session->SaveSet(fresh, temp.Str() + "/GIGS.SET/GIGS", true));
    EXPECT_EQ(test::Listing(temp.Path() / "GIGS.SET"), test::SetFileNames("GIGS"));
    EXPECT_EQ(ReadFileBytes(temp.Path() / "GIGS.SET/GIGS.STY").size(), 224u);
    session->CloseSet(fresh);

    // LIVE.PRG as a link: to a file of the set it is followed; to anything else, or nothing, the
    // save asks, and either replaces the link by a file (OK) or saves nothing (Cancel).
    const fs::path dir(directory), shared = temp.Path() / "shared";
    fs::create_directories(shared);
    fs::create_directories(dir / "sub");
    for (const auto& [target, answer] : {std::pair{"programs.prg", Answer::OK},
                                         {"sub/programs.prg", Answer::Cancel},
                                         {"../shared/programs.prg", Answer::Cancel},
                                         {"../shared/programs.prg", Answer::OK},
                                         {"../shared/none.prg", Answer::Cancel},
                                         {"../shared/none.prg", Answer::OK}}) {
        for (const fs::path& file : {shared / "programs.prg", dir / "programs.prg", dir / "sub/programs.prg"})
            WriteFileBytes(file, before[5]);
        WriteFileBytes(dir / "LIVE.GBL", before[4]);
        fs::remove(dir / "LIVE.PRG");
        fs::create_symlink(target, dir / "LIVE.PRG");
        // Made by hand after the set was read: not a change of the program's.
        session->Slot(set).stamps = ReadSetStamps(directory, "LIVE");
        session->MarkDirty(set, ItemKind::Program);
        session->MarkDirty(set, ItemKind::Global);
        const std::vector<std::string> listing = test::Listing(directory);
        ui.AnswerTo(QuestionId::LinkWrite, answer);
        const bool saved = session->Save(set), inside = std::string(target) == "programs.prg";
        Step(std::string("save LIVE, its programs a link to ") + target + (answer == Answer::OK ? ", OK" : ", Cancel"),
             saved);
        EXPECT_EQ(fs::is_symlink(dir / "LIVE.PRG"), inside || answer == Answer::Cancel);
        EXPECT_EQ(saved ? ReadFileBytes(dir / "LIVE.PRG").at(48) : 'N', 'N');
        EXPECT_EQ(ReadFileBytes(dir / "LIVE.GBL").at(35), saved ? 7 : before[4].at(35));
        EXPECT_EQ(ReadFileBytes(shared / "programs.prg"), before[5]);
        EXPECT_EQ(test::Listing(shared), std::vector<std::string>{"programs.prg"});
        EXPECT_EQ(test::Listing(directory), listing);
    }
    EXPECT_EQ(transcript, test::Golden("session/saves.txt", transcript));
}

// A save killed during its renames, its set perhaps moved since (a stick mounted elsewhere): the
// next open asks, and finishes it to the whole new set only when told so.
TEST_F(SetSaveTest, ASaveKilledDuringItsRenamesIsFinishedByTheNextOpenWhenAgreed) {
    std::vector<Bytes> whole = before;
    whole[5] = SerializeKind(session->Data(set), ItemKind::Program);
    whole[4] = SerializeKind(session->Data(set), ItemKind::Global);
    const fs::path moved = temp.Path() / "stick" / "LIVE.SET";
    fs::create_directories(moved.parent_path());
    for (const bool move : {false, true}) {
        for (int renames = 0; renames <= 1; ++renames) {
            SCOPED_TRACE(std::to_string(renames) + (move ? " moved" : ""));
            SetSaveKillAfterRenamesForTesting(renames);
            Step("save LIVE, killed after " + std::to_string(renames) + " renames", session->Save(set));
            SetSaveKillAfterRenamesForTesting(-1);
            session->Slot(set).lock.reset();  // the killed program's lock dies with it
            const std::vector<Bytes> mixed = Files();
            EXPECT_EQ(mixed[5] != before[5], renames >= 1) << "the program file is renamed first";
            if (move) fs::rename(directory, moved);
            const std::string place = move ? moved.string() : directory;

            // A fresh start of the program opens the set: No leaves it as it is, Yes makes it
            // wholly the new set. Unfinished, the journal and the temporary files not yet renamed stay.
            for (const auto& [answer, name] : {std::pair{Answer::No, "No"}, {Answer::Yes, "Yes"}}) {
                ScriptedInteraction other;
                other.AnswerTo(QuestionId::InterruptedSave, answer);
                Options otherOptions;
                auto reopened = test::MakeSession(other, otherOptions);
                ASSERT_EQ(reopened->OpenOrNewSet(false, place), 1);
                EXPECT_EQ(Files(place), answer == Answer::Yes ? whole : mixed);
                transcript += "== open it in another program" + std::string(move ? " elsewhere, " : ", ") + name +
                              ": " + std::to_string(test::Listing(place).size()) + " files\n" +
                              test::Seen(other, temp.Str());
            }
            if (move) fs::rename(moved, directory);
            // Back to the old files for the next round.
            for (std::size_t i = 0; i < before.size(); ++i)
                WriteFileBytes(directory + "/" + test::SetFileNames("LIVE")[i], before[i]);
            session->Slot(set).stamps = ReadSetStamps(directory, "LIVE");
        }
    }
    EXPECT_EQ(transcript, test::Golden("session/killed.txt", transcript));
}

// LIVE's arrangements as they are on disk, read by the core's own reader.
SetData ArrangementsOnDisk(const std::string& directory) {
    SetData data;
    auto file = OpenItemFile(directory + "/LIVE", ItemKind::Arrangement);
    EXPECT_TRUE(file && LoadKind(*file, ItemKind::Arrangement, data));
    return data;
}

// Another program renames arrangement 3 of LIVE while it is open with changes, then changes its
// styles: in tests/data/session/changed_on_disk.txt. The editor's test of the watch shows the offers.
TEST_F(SessionTest, ChangesOnDiskAreOfferedForReloadAndNeverOverwrittenUnasked) {
    for (const auto& [answer, name] :
         {std::pair{Answer::Cancel, "Cancel"}, {Answer::Overwrite, "Overwrite"}, {Answer::Reload, "Reload"}}) {
        const std::string directory = MakeSet("LIVE.SET", "LIVE");
        const int set = session->OpenOrNewSet(false, directory);
        ASSERT_NE(set, 0);
        session->Data(set).arr.arr[3].SetName("Ours");
        session->Data(set).prg.records[0].SetName("Ours too");
        session->MarkDirty(set, ItemKind::Arrangement);
        session->MarkDirty(set, ItemKind::Program);
        // The same size, and maybe within the same clock tick.
        SetData theirs = ArrangementsOnDisk(directory);
        theirs.arr.arr[3].SetName("Theirs");
        const fs::path arrangements = fs::path(directory) / "LIVE.ARR", programs = fs::path(directory) / "LIVE.PRG";
        const auto time = fs::last_write_time(arrangements);
        WriteFileBytes(arrangements, SerializeKind(theirs, ItemKind::Arrangement));
        fs::last_write_time(arrangements, time);
        const Bytes programsBefore = ReadFileBytes(programs);

        ui.AnswerTo(QuestionId::SaveOverChangedSet, answer);
        Step(std::string("save, ") + name, session->Save(set));
        transcript += "  arrangement C14 here [" + session->Data(set).arr.arr[3].Name() + "], on disk [" +
                      ArrangementsOnDisk(directory).arr.arr[3].Name() + "]\n";
        EXPECT_EQ(ReadFileBytes(programs) == programsBefore, answer != Answer::Overwrite);
        // Closing asks to save; a save that is cancelled keeps the window and the edits. After an
        // Overwrite or a Reload, what this program wrote or read last is what it compares with.
        ui.AnswerTo(QuestionId::SaveChanges, Answer::Yes);
        ui.AnswerTo(QuestionId::SaveOverChangedSet, Answer::Cancel);
        session->MarkDirty(set, ItemKind::Program);
        Step("close, Yes", session->QueryClose(set));
        session->CloseSet(set);
        fs::remove_all(directory);
    }
    // Our own saves are not offered for a reload; another program's change is, once.
    const std::string directory = MakeSet("LIVE.SET", "LIVE");
    const int set = session->OpenOrNewSet(false, directory);
    session->Data(set).prg.records[0].SetName("Ours");
    session->MarkDirty(set, ItemKind::Program);
    ASSERT_TRUE(session->Save(set));
    Step("offer a reload after our own save", session->OfferReload(set));
    const fs::path styles = fs::path(directory) / "LIVE.STY";
    Bytes bytes = ReadFileBytes(styles);
    for (const auto& [answer, name] : {std::pair{Answer::No, "No"}, {Answer::Yes, "Yes"}}) {
        bytes.push_back(1);
        WriteFileBytes(styles, bytes);
        ui.AnswerTo(QuestionId::ReloadChangedSet, answer);
        Step(std::string("offer a reload after a change on disk, ") + name, session->OfferReload(set));
        Step("offer again", session->OfferReload(set));
    }
    EXPECT_EQ(session->Data(set).prg.records[0].Name(), "Ours            ");
    EXPECT_EQ(transcript, test::Golden("session/changed_on_disk.txt", transcript));
}

}  // namespace
}  // namespace vx
