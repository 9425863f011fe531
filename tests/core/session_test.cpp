#include <gtest/gtest.h>

#include <errno.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "core/catalogue/Catalogue.h"
#include "core/catalogue/PresetNames.h"
#include "core/format/ItemFile.h"
#include "core/format/ItemFileSave.h"
#include "core/storage/Session.h"
#include "core/storage/SetFileStamps.h"
#include "core/storage/SetLock.h"
#include "core/storage/TemplateSet.h"
#include "core/text/Helpers.h"
#include "support/ScriptedInteraction.h"
#include "support/SetBuilder.h"
#include "support/TestPaths.h"
#include "support/TestSession.h"

namespace vx {
namespace {

namespace fs = std::filesystem;
using test::ScriptedInteraction;

using test::ReadFileBytes;
using test::WriteFileBytes;

class SessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        options.PathNam = temp.Str();
        session = test::MakeSession(ui, options);
        ASSERT_TRUE(session);
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
    ImportResult Shown(ImportResult result) {
        ShowNotices(ui, result);
        return result;
    }

    ScriptedInteraction ui;
    Options options;
    test::TempDirectory temp;
    std::unique_ptr<Session> session;
};

TEST_F(SessionTest, NewSetsAreNumberedAmongThemselvesAndReuseFreedNumbers) {
    const int first = session->OpenOrNewSet(true, "");
    ASSERT_EQ(first, 1);
    EXPECT_EQ(session->Slot(1).name, "NEWSET01");
    EXPECT_EQ(session->Slot(1).directory, temp.Str() + "/NEWSET01.SET");
    EXPECT_TRUE(session->Slot(1).AnyDirty());
    EXPECT_FALSE(fs::exists(session->Slot(1).directory)) << "a new set has no directory before its first save";

    EXPECT_EQ(session->OpenOrNewSet(true, ""), 2);
    EXPECT_EQ(session->Slot(2).name, "NEWSET02");

    options.OldSetNam = "/somewhere/LIVE.SET";
    session->CloseSet(1);
    EXPECT_EQ(options.OldSetNam, "/somewhere/LIVE.SET") << "closing a NEWSET keeps the last set";
    EXPECT_EQ(session->OpenOrNewSet(true, ""), 1);
    EXPECT_EQ(session->Slot(1).name, "NEWSET01");
    EXPECT_EQ(session->Sets().HighestNumber(), 2);
    // Numbered among the new sets: beside a set from disk the first new set is NEWSET01.
    session->CloseSet(1);
    session->CloseSet(2);
    ASSERT_EQ(session->OpenOrNewSet(false, MakeSet("LIVE.SET", "LIVE")), 1);
    ASSERT_EQ(session->OpenOrNewSet(true, ""), 2);
    EXPECT_EQ(session->Slot(2).name + " " + session->Slot(2).directory, "NEWSET01 " + temp.Str() + "/NEWSET01.SET");
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SessionTest, OpensASetWhateverTheCaseOfItsFiles) {
    const std::string directory = MakeSet("live.set", "live", true);
    const int set = session->OpenOrNewSet(false, temp.Str() + "/LIVE.SET");
    ASSERT_EQ(set, 1) << (ui.messages.empty() ? "" : ui.Last().text);
    EXPECT_EQ(session->Slot(set).name, "LIVE");
    EXPECT_EQ(session->Slot(set).directory, directory);
    EXPECT_FALSE(session->Slot(set).AnyDirty());
    EXPECT_EQ(ui.progressTitles, std::vector<std::string>{"Loading LIVE Files..."});
    EXPECT_EQ(ui.events, (std::vector<std::string>{"SetOpened 1", "Undo 1 off"}));

    // Saving writes back into the files as they are named on disk.
    session->MarkDirty(set, ItemKind::Style);
    ASSERT_TRUE(session->Save(set));
    EXPECT_TRUE(fs::exists(fs::path(directory) / "live.sty"));
    EXPECT_FALSE(fs::exists(fs::path(directory) / "LIVE.STY"));
    EXPECT_FALSE(session->Slot(set).AnyDirty());
}

TEST_F(SessionTest, AMissingOrBadFileStopsTheOpeningAndFreesTheSlot) {
    const std::string directory = MakeSet("GIGS.SET", "GIGS");
    fs::remove(fs::path(directory) / "GIGS.SNG");
    Bytes program = ReadFileBytes(fs::path(directory) / "GIGS.PRG");
    program[6] = 3;  // an arrangement file under the program's name
    WriteFileBytes(fs::path(directory) / "GIGS.PRG", program);

    EXPECT_EQ(session->OpenOrNewSet(false, directory), 0);
    EXPECT_EQ(ui.Texts(), (std::vector<std::string>{directory + "/GIGS.PRG is not a valid file",
                                                    "File " + directory + "/GIGS.SNG not found"}));
    EXPECT_EQ(ui.messages[0].title, "Error");
    EXPECT_EQ(ui.messages[0].icon, MessageIcon::Critical);
    EXPECT_FALSE(session->AnySetOpen());
}

TEST_F(SessionTest, AKindThatFailsToLoadIsReportedAndTheSetIsNotOpened) {
    const std::string directory = MakeSet("BAD.SET", "BAD");
    Bytes arrangements = ReadFileBytes(fs::path(directory) / "BAD.ARR");
    arrangements.resize(arrangements.size() - 100);  // DataLength now promises more than the file holds
    WriteFileBytes(fs::path(directory) / "BAD.ARR", arrangements);

    EXPECT_EQ(session->OpenOrNewSet(false, directory), 0);
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{"Error getting Arrangement data.\n" + directory +
                                                   "/BAD.ARR at byte 32: the file is 20924 bytes long, too short for "
                                                   "the data length 20992"});
    EXPECT_FALSE(session->AnySetOpen());
    EXPECT_EQ(session->OpenOrNewSet(true, ""), 1) << "the slot was released";
}

TEST_F(SessionTest, ASecondSetOfTheSameNameIsOpenedOnlyAfterTheWarning) {
    const std::string first = MakeSet("A/LIVE.SET", "LIVE");
    const std::string second = MakeSet("B/LIVE.SET", "LIVE");
    ASSERT_EQ(session->OpenOrNewSet(false, first), 1);

    ui.AnswerTo(QuestionId::NameInUse, Answer::Cancel);
    EXPECT_EQ(session->OpenOrNewSet(false, second), 0);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.Last().text, "Name LIVE is already in use.\nContinue anyway?");
    EXPECT_EQ(ui.Last().title, "Warning");
    EXPECT_EQ(ui.Last().buttons, MessageButtons::OKCancel);

    ui.AnswerTo(QuestionId::NameInUse, Answer::OK);
    EXPECT_EQ(session->OpenOrNewSet(false, second), 2);
}

TEST_F(SessionTest, SaveWritesTheDirtyKindsAndAReadOnlyFileBlocksTheWholeSave) {
    const std::string directory = MakeSet("LIVE.SET", "LIVE");
    const int set = session->OpenOrNewSet(false, directory);
    ASSERT_EQ(set, 1);
    const fs::path programs = fs::path(directory) / "LIVE.PRG";
    const fs::path styles = fs::path(directory) / "LIVE.STY";
    const Bytes programsBefore = ReadFileBytes(programs), stylesBefore = ReadFileBytes(styles);
    const auto readOnly = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    fs::permissions(programs, readOnly, fs::perm_options::remove);

    session->Data(set).prg.records[0].SetName("Changed");
    StyleSlot& style = session->Data(set).sty.slots[0];
    style.used = 1;
    style.size = 70;
    style.record.SetName("Changed");
    session->MarkDirty(set, ItemKind::Program);
    session->MarkDirty(set, ItemKind::Style);
    const auto arrangementsTimeBefore = fs::last_write_time(fs::path(directory) / "LIVE.ARR");

    // New styles beside old programs would be a set whose files disagree: neither is replaced.
    EXPECT_FALSE(session->Save(set));
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{"Error saving Program data.\nDestination file is Read-Only!"});
    EXPECT_EQ(ReadFileBytes(programs), programsBefore);
    EXPECT_EQ(ReadFileBytes(styles), stylesBefore);
    EXPECT_TRUE(session->Slot(set).dirty[static_cast<std::size_t>(KindIndex(ItemKind::Program))]);
    EXPECT_TRUE(session->Slot(set).dirty[static_cast<std::size_t>(KindIndex(ItemKind::Style))]);
    EXPECT_EQ(session->Data(set).sty.slots[0].record.Name(), "Changed         ") << "the edits stay in memory";
    EXPECT_EQ(test::Listing(directory), test::SetFileNames("LIVE")) << "no temporary file is left";

    fs::permissions(programs, readOnly, fs::perm_options::add);
    EXPECT_TRUE(session->Save(set));
    EXPECT_FALSE(session->Slot(set).AnyDirty());
    EXPECT_EQ(ReadFileBytes(styles).at(224), 'C');
    EXPECT_EQ(ReadFileBytes(programs).at(48), 'C');
    EXPECT_EQ(fs::last_write_time(fs::path(directory) / "LIVE.ARR"), arrangementsTimeBefore) << "clean kinds untouched";
}

TEST_F(SessionTest, SaveAsMovesTheSetKeepingItsNumber) {
    const std::string directory = MakeSet("LIVE.SET", "LIVE");
    const int set = session->OpenOrNewSet(false, directory);
    ASSERT_EQ(set, 1);
    fs::create_directories(temp.Path() / "COPY.SET");
    ui.setAnswers = {temp.Str() + "/COPY.SET/COPY"};

    ASSERT_TRUE(session->SaveAs(set));
    EXPECT_EQ(session->Slot(set).name, "COPY");
    EXPECT_EQ(session->Slot(set).directory, temp.Str() + "/COPY.SET");
    for (const std::string& extension : test::SetFileExtensions())
        EXPECT_EQ(ReadFileBytes(temp.Path() / "COPY.SET" / ("COPY" + extension)),
                  ReadFileBytes(fs::path(directory) / ("LIVE" + extension)))
            << extension;
    EXPECT_NE(std::find(ui.events.begin(), ui.events.end(), "SetRenamed 1"), ui.events.end());
}

TEST_F(SessionTest, SavingANewSetAsksForItsDestination) {
    const int set = session->OpenOrNewSet(true, "");
    ui.setAnswers = {};  // the user cancels the dialog
    EXPECT_FALSE(session->Save(set));
    EXPECT_EQ(ui.events.back(), "ChooseSetDestination NEWSET01");
    EXPECT_TRUE(session->Slot(set).AnyDirty());
}

TEST_F(SessionTest, SavingOverTheTemplateAsksFirst) {
    // A program directory of the test's own, so that the shipped template stays as it is.
    const fs::path program = temp.Path() / "program";
    fs::create_directories(program);
    fs::copy(test::ProgramDir() + "/X50EMPTY.SET", program / "X50EMPTY.SET", fs::copy_options::recursive);
    const fs::path file = program / "X50EMPTY.SET" / "X50EMPTY.PRG";
    const Bytes before = ReadFileBytes(file);
    const struct {
        Answer answer;
        bool saved;
        const char* lastEvent;
    } cases[] = {{Answer::Cancel, false, "Undo 1 off"},
                 {Answer::No, false, "ChooseSetDestination X50EMPTY"},
                 {Answer::Yes, true, "SetRenamed 1"}};
    for (const auto& c : cases) {
        ScriptedInteraction own;
        auto catalogue = InitCatalogue(program.string(), nullptr, own);
        ASSERT_TRUE(catalogue);
        Options ownOptions;
        Session beside(std::move(*catalogue), PresetTables{}, ownOptions, own);
        own.Follow(beside.Changes());
        const int set = beside.OpenOrNewSet(false, (program / "x50empty.set").string());
        ASSERT_EQ(set, 1);
        EXPECT_TRUE(beside.IsTemplateDirectory(beside.Slot(set).directory));
        beside.Data(set).prg.records[0].SetName("Changed");
        beside.MarkDirty(set, ItemKind::Program);
        own.AnswerTo(QuestionId::OverwriteTemplate, c.answer);
        EXPECT_EQ(beside.Save(set), c.saved);
        EXPECT_EQ(own.Texts(), std::vector<std::string>{"X50EMPTY.SET is the template of every new Set.\n"
                                                        "Overwrite it? (No saves the Set elsewhere.)"});
        EXPECT_TRUE(own.Last().buttons == MessageButtons::YesNoCancel && own.Last().defaultButton == Answer::Cancel);
        EXPECT_EQ(own.events.back(), c.lastEvent);
        EXPECT_EQ(ReadFileBytes(file) == before, !c.saved);
    }
    // Any other set is saved without the question.
    const int set = session->OpenOrNewSet(false, MakeSet("LIVE.SET", "LIVE"));
    session->MarkDirty(set, ItemKind::Program);
    EXPECT_TRUE(session->Save(set));
    EXPECT_TRUE(ui.Texts().empty());
}

TEST_F(SessionTest, ClosingAChangedSetAsksYesNoOrCancel) {
    const std::string directory = MakeSet("LIVE.SET", "LIVE");
    const int set = session->OpenOrNewSet(false, directory);
    EXPECT_TRUE(session->QueryClose(set)) << "a clean set closes without a question";
    EXPECT_TRUE(ui.messages.empty());

    session->Data(set).arr.arr[3].SetName("Changed");
    session->MarkDirty(set, ItemKind::Arrangement);
    struct Case {
        Answer answer;
        bool closes;
        bool saved;
    };
    for (const Case& c :
         {Case{Answer::Cancel, false, false}, Case{Answer::No, true, false}, Case{Answer::Yes, true, true}}) {
        ui.messages.clear();
        ui.AnswerTo(QuestionId::SaveChanges, c.answer);
        EXPECT_EQ(session->QueryClose(set), c.closes);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.Last().text, "Save the changes in LIVE ?");
        EXPECT_EQ(ui.Last().buttons, MessageButtons::YesNoCancel);
        EXPECT_EQ(ui.Last().defaultButton, Answer::Cancel);
        EXPECT_EQ(session->Slot(set).AnyDirty(), !c.saved);
    }
    session->CloseSet(set);
    EXPECT_EQ(options.OldSetNam, directory);
    EXPECT_FALSE(session->AnySetOpen());
}

TEST_F(SessionTest, ImportReplacesAKindOnlyWhenTheWholeFileLoads) {
    const std::string live = MakeSet("LIVE.SET", "LIVE");
    const std::string other = MakeSet("OTHER.SET", "OTHER");
    const int set = session->OpenOrNewSet(false, live);
    const SetStyles before = session->Data(set).sty;

    // Cancelled: nothing happens, nothing is said.
    EXPECT_FALSE(Shown(session->ImportAll(set, ItemKind::Style)));
    ASSERT_EQ(ui.fileRequests.size(), 1u);
    EXPECT_EQ(ui.fileRequests[0].title, "Import all Style from...");
    EXPECT_EQ(ui.fileRequests[0].initialName, "*.STY");
    EXPECT_EQ(ui.fileRequests[0].filter, "Style|*.STY");
    EXPECT_EQ(ui.fileRequests[0].initialDirectory, temp.Str());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_FALSE(session->Slot(set).AnyDirty());

    // A file of another kind is refused by its header; the styles stay as they were.
    fs::copy_file(fs::path(other) / "OTHER.ARR", fs::path(other) / "WRONG.STY");
    EXPECT_FALSE(Shown(session->ImportFromFile(set, ItemKind::Style, other + "/WRONG.STY")));
    EXPECT_EQ(ui.Texts(),
              (std::vector<std::string>{other + "/WRONG.STY is not a valid file", "Error getting Style data.\n"}));

    // A style file whose directory is broken part way loads nothing.
    Bytes styles = ReadFileBytes(fs::path(other) / "OTHER.STY");
    styles[22 + 4 * 5] = 9;  // slot 5's directory entry names slot 9
    WriteFileBytes(fs::path(other) / "BROKEN.STY", styles);
    ui.messages.clear();
    EXPECT_FALSE(Shown(session->ImportFromFile(set, ItemKind::Style, other + "/broken.sty")));
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{"Error getting Style data.\n" + other +
                                                   "/BROKEN.STY at byte 42: the directory entry of slot 5 names slot 9"});
    EXPECT_EQ(SerializeSty(session->Data(set).sty), SerializeSty(before));
    EXPECT_FALSE(session->Slot(set).AnyDirty());

    // A good file replaces the kind and makes it dirty; the lower-case name is found.
    styles[22 + 4 * 5] = 5;
    styles.push_back('Z');  // bytes past the data are carried as they are
    WriteFileBytes(fs::path(other) / "good.sty", styles);
    ui.messages.clear();
    ui.events.clear();
    EXPECT_TRUE(Shown(session->ImportFromFile(set, ItemKind::Style, other + "/good.sty")));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(SerializeSty(session->Data(set).sty), styles);
    EXPECT_TRUE(session->Slot(set).dirty[static_cast<std::size_t>(KindIndex(ItemKind::Style))]);
    EXPECT_EQ(ui.events, (std::vector<std::string>{"KindChanged 1 1", "Undo 1 off"}));
}

TEST_F(SessionTest, TheOpenDialogOffersToCreateMissingFiles) {
    const std::string directory = MakeSet("LIVE.SET", "LIVE");
    fs::remove(fs::path(directory) / "LIVE.ARK");
    fs::remove(fs::path(directory) / "LIVE.GBL");

    ui.AnswerTo(QuestionId::CreateMissingFile, {Answer::OK, Answer::Cancel});
    EXPECT_FALSE(session->OfferMissingFiles(directory));
    EXPECT_EQ(ui.Texts(),
              (std::vector<std::string>{"LIVE.ARK is missing.\nCreate it?", "LIVE.GBL is missing.\nCreate it?"}));
    EXPECT_EQ(ui.Last().title, "Open a Set");
    EXPECT_EQ(ui.Last().defaultButton, Answer::Cancel);
    EXPECT_EQ(ReadFileBytes(fs::path(directory) / "LIVE.ARK"),
              ReadFileBytes(test::ProgramDir() + "/X50EMPTY.SET/X50EMPTY.ARK"));
    EXPECT_FALSE(fs::exists(fs::path(directory) / "LIVE.GBL"));

    ui.messages.clear();
    ui.AnswerTo(QuestionId::CreateMissingFile, Answer::OK);
    EXPECT_TRUE(session->OfferMissingFiles(directory));
    EXPECT_EQ(ui.messages.size(), 1u);
    EXPECT_TRUE(fs::exists(fs::path(directory) / "LIVE.GBL"));
}

TEST_F(SessionTest, TheOpenDialogRefusesWhatIsNotASetAndASetAlreadyOpen) {
    // The set open names its directory as it is spelled on disk, not as it was typed.
    const std::string directory = MakeSet("Live.set", "LIVE");
    EXPECT_EQ(session->CheckOpenCandidate(temp.Str(), "nothing"), "");
    EXPECT_EQ(ui.Last().text, "Find a *.SET directory and double-click it!");
    EXPECT_EQ(ui.Last().title, "To Open a SET...");
    EXPECT_EQ(ui.Last().icon, MessageIcon::Information);

    EXPECT_EQ(session->CheckOpenCandidate(temp.Str(), "live"), directory);
    EXPECT_EQ(options.PathNam, temp.Str());
    ASSERT_EQ(session->OpenOrNewSet(false, directory), 1);
    EXPECT_EQ(session->CheckOpenCandidate(temp.Str(), "live"), "");
    EXPECT_EQ(ui.Last().text, temp.Str() + "/Live.set is already open");
    EXPECT_EQ(ui.Last().title, "Open a Set");
    EXPECT_EQ(ui.Last().icon, MessageIcon::Critical);
    EXPECT_EQ(ui.beeps, 2);
}

TEST_F(SessionTest, TheSaveDialogAsksBeforeOverwritingAndCreatesNewDirectories) {
    MakeSet("LIVE.SET", "LIVE");
    ui.AnswerTo(QuestionId::OverwriteSet, Answer::Cancel);
    EXPECT_EQ(session->CheckSaveCandidate(temp.Str(), "live"), "");
    EXPECT_EQ(ui.Last().text, "This Set already exists.\nOverwrite it?");
    EXPECT_EQ(ui.Last().title, "Save a Set");

    EXPECT_EQ(session->CheckSaveCandidate(temp.Str(), "gigs"), temp.Str() + "/GIGS.SET/GIGS");
    EXPECT_TRUE(fs::is_directory(temp.Path() / "GIGS.SET"));
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
    std::vector<Bytes> Files() const {
        std::vector<Bytes> files;
        for (const std::string& name : test::SetFileNames("LIVE"))
            files.push_back(ReadFileBytes(directory + "/" + name));
        return files;
    }
    bool Dirty(ItemKind kind) const { return session->Slot(set).dirty[static_cast<std::size_t>(KindIndex(kind))]; }

    std::string directory;
    int set = 0;
    std::vector<Bytes> before;
};

TEST_F(SetSaveTest, AFailureOfAnyKindReplacesNoFileAndKeepsTheEditsWithTheReason) {
    // The save order is Program before Global: a failure of either leaves both files old.
    const std::string journal = directory + "/.LIVE." + std::to_string(CurrentProcessId()) + ".journal";
    const std::pair<SaveStep, std::string> cases[] = {
        {SaveStep::CreateTemporary, "Error saving Program data.\nCan't create the temporary file for " + directory +
                                        "/LIVE.PRG: Input/output error"},
        {SaveStep::Write, "Error saving Program data.\nError writing the temporary file for " + directory +
                              "/LIVE.PRG: No space left on device"},
        {SaveStep::Flush, "Error saving Program data.\nError flushing the temporary file for " + directory +
                              "/LIVE.PRG: No space left on device"},
        {SaveStep::Journal,
         "Error saving Program data.\nCan't write the save journal " + journal + ": Input/output error"},
        {SaveStep::Rename, "Error saving Program data.\nCan't replace " + directory + "/LIVE.PRG: Input/output error"},
    };
    for (const auto& [step, text] : cases) {
        SetSaveFaultForTesting(step);
        ui.messages.clear();
        EXPECT_FALSE(session->Save(set)) << text;
        EXPECT_EQ(ui.Texts(), std::vector<std::string>{text});
        EXPECT_EQ(Files(), before) << text;
        EXPECT_EQ(test::Listing(directory), test::SetFileNames("LIVE")) << text;
        EXPECT_TRUE(Dirty(ItemKind::Program) && Dirty(ItemKind::Global)) << text;
    }
    SetSaveFaultForTesting(SaveStep::None);
    ASSERT_TRUE(session->Save(set));
    EXPECT_EQ(session->Data(set).prg.records[0].Name(), "New Piano       ");
    EXPECT_EQ(ReadFileBytes(directory + "/LIVE.PRG").at(48), 'N');
    EXPECT_EQ(ReadFileBytes(directory + "/LIVE.GBL").at(35), 7);
}

// A save killed during its renames, its set perhaps moved since (a stick mounted elsewhere): the
// next open asks, and finishes it to the whole new set only when told so.
TEST_F(SetSaveTest, ASaveKilledDuringItsRenamesIsFinishedByTheNextOpenWhenAgreed) {
    std::vector<Bytes> whole = before;
    whole[5] = SerializeKind(session->Data(set), ItemKind::Program);
    whole[4] = SerializeKind(session->Data(set), ItemKind::Global);
    const std::string question =
        "LIVE was being saved when the program stopped: some of its files are new, some old.\n"
        "Finish that save now? (No reads the files as they are.)";
    const fs::path moved = temp.Path() / "stick" / "LIVE.SET";
    fs::create_directories(moved.parent_path());
    for (const bool move : {false, true}) {
        for (int renames = 0; renames <= 1; ++renames) {
            SCOPED_TRACE(std::to_string(renames) + (move ? " moved" : ""));
            SetSaveKillAfterRenamesForTesting(renames);
            EXPECT_FALSE(session->Save(set));
            SetSaveKillAfterRenamesForTesting(-1);
            session->Slot(set).lock.reset();  // the killed program's lock dies with it
            const std::vector<Bytes> mixed = Files();
            EXPECT_EQ(mixed[5] != before[5], renames >= 1) << "the program file is renamed first";
            if (move) fs::rename(directory, moved);
            const std::string place = move ? moved.string() : directory;

            // A fresh start of the program opens the set: No leaves it as it is, Yes makes it
            // wholly the new set.
            for (const Answer answer : {Answer::No, Answer::Yes}) {
                ScriptedInteraction other;
                other.AnswerTo(QuestionId::InterruptedSave, answer);
                Options otherOptions;
                Session reopened(*InitCatalogue(test::ProgramDir(), nullptr, other), session->Presets(), otherOptions,
                                 other);
                ASSERT_EQ(reopened.OpenOrNewSet(false, place), 1);
                ASSERT_EQ(other.Texts(), std::vector<std::string>{question});
                EXPECT_EQ(other.Last().defaultButton, Answer::No);
                EXPECT_EQ(other.Last().buttons, MessageButtons::YesNo);
                std::vector<Bytes> files;
                for (const std::string& name : test::SetFileNames("LIVE"))
                    files.push_back(ReadFileBytes(place + "/" + name));
                EXPECT_EQ(files, answer == Answer::Yes ? whole : mixed);
                // Unfinished: the journal and the temporary files not yet renamed.
                EXPECT_EQ(test::Listing(place).size(),
                          answer == Answer::Yes ? 8u : static_cast<std::size_t>(11 - renames));
            }
            if (move) fs::rename(moved, directory);
            // Back to the old files for the next round.
            for (std::size_t i = 0; i < before.size(); ++i)
                WriteFileBytes(directory + "/" + test::SetFileNames("LIVE")[i], before[i]);
            session->Slot(set).stamps = ReadSetStamps(directory, "LIVE");
        }
    }
}

// Told No, the set is read and then saved as it was on disk: wholly, so that the interrupted save
// can never be finished over a later one.
TEST_F(SetSaveTest, ASetReadWithoutFinishingAnInterruptedSaveIsSavedWhole) {
    SetSaveKillAfterRenamesForTesting(1);
    EXPECT_FALSE(session->Save(set));
    SetSaveKillAfterRenamesForTesting(-1);
    const std::vector<Bytes> mixed = Files();
    session->CloseSet(set);
    ui.messages.clear();
    set = session->OpenOrNewSet(false, directory);
    ASSERT_EQ(set, 1);
    EXPECT_EQ(ui.messages.size(), 1u);
    session->Data(set).sng.trailing.push_back(9);
    session->MarkDirty(set, ItemKind::Song);
    ASSERT_TRUE(session->Save(set));
    std::vector<Bytes> expected = mixed;
    expected[6] = SerializeKind(session->Data(set), ItemKind::Song);
    EXPECT_EQ(expected[6].back(), 9);
    EXPECT_EQ(Files(), expected);
    EXPECT_EQ(test::Listing(directory), test::SetFileNames("LIVE"));
}

TEST_F(SetSaveTest, AJournalNotWrittenToItsEndIsReportedAndStaleTemporaryFilesGoBeforeASave) {
    const fs::path dir(directory);
    const Bytes junk{1, 2, 3};
    WriteFileBytes(dir / ".LIVE.STY.999999.0.tmp", junk);
    const std::string unfinished = "VXSAVE 2\n.LIVE.STY.999999.0.tmp\nLIVE.STY\n";
    WriteFileBytes(dir / ".LIVE.999999.journal", Bytes(unfinished.begin(), unfinished.end()));
    // Temporary files of killed saves, ours by their names; other hidden files are not ours.
    for (const char* name : {".LIVE.ARR.999998.3.tmp", ".live.bsq.999997.12.tmp", ".notes.tmp", ".LIVE.ARR.x.1.tmp",
                             ".LIVE.TXT.999998.1.tmp", "..LIVE.999998.journal.999998.0.tmp"})
        WriteFileBytes(dir / name, junk);
    // Files of a save another running program is making (process 1 always runs) stay.
    WriteFileBytes(dir / ".LIVE.SNG.1.0.tmp", junk);
    const std::vector<std::string> all = test::Listing(directory);

    // Reading changes nothing.
    session->CloseSet(set);
    ASSERT_EQ(session->OpenOrNewSet(false, directory), 1);
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{"The save journal " + directory +
                                                   "/.LIVE.999999.journal was ignored: it is not a complete save "
                                                   "journal."});
    EXPECT_EQ(test::Listing(directory), all);

    session->MarkDirty(set, ItemKind::Song);
    ASSERT_TRUE(session->Save(set));
    std::vector<std::string> expected = {".LIVE.999999.journal", ".LIVE.ARR.x.1.tmp", ".LIVE.SNG.1.0.tmp",
                                         ".LIVE.TXT.999998.1.tmp", ".notes.tmp"};
    for (const std::string& name : test::SetFileNames("LIVE")) expected.push_back(name);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(test::Listing(directory), expected);
    EXPECT_EQ(ui.messages.size(), 1u) << "reported once";
}

TEST_F(SetSaveTest, AFailedSaveOfANewSetLeavesNoDirectoryAndTheSetItsName) {
    const int fresh = session->OpenOrNewSet(true, "");
    ASSERT_EQ(fresh, 2);
    ASSERT_EQ(session->CheckSaveCandidate(temp.Str(), "gigs"), temp.Str() + "/GIGS.SET/GIGS");
    SetSaveFaultForTesting(SaveStep::Flush);
    EXPECT_FALSE(session->SaveSet(fresh, temp.Str() + "/GIGS.SET/GIGS", true));
    EXPECT_EQ(ui.Texts(),
              std::vector<std::string>{"Error saving Arrangement data.\nError flushing the temporary file for " +
                                       temp.Str() + "/GIGS.SET/GIGS.ARR: No space left on device"});
    EXPECT_FALSE(fs::exists(temp.Path() / "GIGS.SET"));
    EXPECT_EQ(session->Slot(fresh).name, "NEWSET01");
    EXPECT_TRUE(session->Slot(fresh).AnyDirty());

    SetSaveFaultForTesting(SaveStep::None);
    fs::create_directories(temp.Path() / "GIGS.SET");
    EXPECT_TRUE(session->SaveSet(fresh, temp.Str() + "/GIGS.SET/GIGS", true));
    EXPECT_EQ(test::Listing(temp.Path() / "GIGS.SET"), test::SetFileNames("GIGS"));
    EXPECT_EQ(ReadFileBytes(temp.Path() / "GIGS.SET/GIGS.STY").size(), 224u);
    EXPECT_EQ(session->Slot(fresh).name, "GIGS");
}

// LIVE.PRG as a link: to a file of the set it is followed; to anything else, or nothing, the
// save asks, and either replaces the link by a file (OK) or saves nothing (Cancel).
TEST_F(SetSaveTest, ALinkIsFollowedInsideTheSetAndAskedAboutOtherwise) {
    struct Case {
        const char* target;  // the link's text
        Answer answer;
        const char* where;  // the question's end; "" when none is asked
    };
    const Case cases[] = {
        {"programs.prg", Answer::OK, ""},
        {"../shared/programs.prg", Answer::Cancel, ", which is not a file of the set directory."},
        {"../shared/programs.prg", Answer::OK, ", which is not a file of the set directory."},
        {"../shared/none.prg", Answer::Cancel, ", which does not exist."},
        {"../shared/none.prg", Answer::OK, ", which does not exist."},
    };
    const fs::path dir(directory), shared = temp.Path() / "shared";
    fs::create_directories(shared);
    const Bytes oldPrograms = before[5];
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.target) + (c.answer == Answer::OK ? " OK" : " Cancel"));
        WriteFileBytes(shared / "programs.prg", oldPrograms);
        WriteFileBytes(dir / "programs.prg", oldPrograms);
        fs::remove(dir / "LIVE.PRG");
        fs::create_symlink(c.target, dir / "LIVE.PRG");
        // The link was made by hand after the set was read: not a change of the program's.
        session->Slot(set).stamps = ReadSetStamps(directory, "LIVE");
        const std::vector<std::string> listing = test::Listing(directory);
        const fs::path target = (dir / c.target).lexically_normal();
        ui.messages.clear();
        ui.AnswerTo(QuestionId::LinkWrite, c.answer);

        const bool saved = session->Save(set);
        if (*c.where == '\0') {
            EXPECT_TRUE(saved);
            EXPECT_TRUE(ui.messages.empty());
            EXPECT_TRUE(fs::is_symlink(dir / "LIVE.PRG"));
            EXPECT_EQ(ReadFileBytes(target).at(48), 'N');
            EXPECT_EQ(test::Listing(directory), listing);
        } else {
            ASSERT_EQ(ui.Texts(), std::vector<std::string>{"LIVE.PRG is a link to " + target.string() + c.where +
                                                           "\nReplace the link by a file of the set? (Cancel saves "
                                                           "nothing.)"});
            EXPECT_EQ(ui.Last().buttons, MessageButtons::OKCancel);
            EXPECT_EQ(ui.Last().defaultButton, Answer::Cancel);
            EXPECT_EQ(saved, c.answer == Answer::OK);
            EXPECT_EQ(fs::is_symlink(dir / "LIVE.PRG"), c.answer == Answer::Cancel);
            if (c.answer == Answer::OK) {
                EXPECT_EQ(ReadFileBytes(dir / "LIVE.PRG").at(48), 'N');
            }
            EXPECT_EQ(ReadFileBytes(dir / "LIVE.GBL").at(35), c.answer == Answer::OK ? 7 : before[4].at(35));
            EXPECT_EQ(ReadFileBytes(shared / "programs.prg"), oldPrograms);
            EXPECT_EQ(test::Listing(shared), std::vector<std::string>{"programs.prg"});
            EXPECT_EQ(test::Listing(directory), listing);
        }
        // The next round saves again.
        session->MarkDirty(set, ItemKind::Program);
        session->MarkDirty(set, ItemKind::Global);
        WriteFileBytes(dir / "LIVE.GBL", before[4]);
    }
}

TEST_F(SessionTest, ImportReadsTheFileAsNamedBesideOneOfAnotherCase) {
    const std::string live = MakeSet("LIVE.SET", "LIVE");
    const int set = session->OpenOrNewSet(false, live);
    // x.sty and X.STY side by side, and a directory a/ beside A/: each is read as named.
    Bytes lower = ReadFileBytes(fs::path(live) / "LIVE.STY"), upper = lower;
    lower.push_back('l');
    upper.push_back('U');
    for (const char* where : {"a", "A"}) {
        fs::create_directories(temp.Path() / where);
        WriteFileBytes(temp.Path() / where / "x.sty", where[0] == 'a' ? lower : upper);
        WriteFileBytes(temp.Path() / where / "X.STY", upper);
    }
    const std::pair<std::string, Bytes> cases[] = {
        {"/a/x.sty", lower}, {"/a/X.STY", upper}, {"/A/x.sty", upper}, {"/A/X.STY", upper}};
    for (const auto& [file, bytes] : cases) {
        ASSERT_TRUE(session->ImportFromFile(set, ItemKind::Style, temp.Str() + file)) << file;
        EXPECT_EQ(session->Data(set).sty.trailing, Bytes{bytes.back()}) << file;
    }
}

TEST_F(SessionTest, NonAsciiSetNamesKeepTheirLettersAndANewSetLoadsUnderTheTemplatesName) {
    const std::string directory = MakeSet("über.SET", "über");
    const int set = session->OpenOrNewSet(false, directory);
    ASSERT_EQ(set, 1) << (ui.messages.empty() ? "" : ui.Last().text);
    EXPECT_EQ(session->Slot(set).name, "üBER");
    session->MarkDirty(set, ItemKind::Song);
    EXPECT_TRUE(session->Save(set));
    EXPECT_EQ(test::Listing(directory), test::SetFileNames("über"));

    ui.progressTitles.clear();
    EXPECT_EQ(session->OpenOrNewSet(true, ""), 2);
    EXPECT_EQ(ui.progressTitles, std::vector<std::string>{"Loading X50EMPTY Files..."});
}

TEST_F(SessionTest, TheDemoSetWithItsSongFileCutAfterTheSongEventsOpensAndSavesBackUnchanged) {
    const fs::path directory = temp.Path() / "DEMO.SET";
    fs::copy(test::SourceDir() + "/examples/DEMO.SET", directory);
    Bytes songs = ReadFileBytes(directory / "DEMO.SNG");
    // The song events end where the first pattern offset points, as the song save leaves them.
    const int start = songs[3476] | (songs[3477] << 8), patterns = songs[3816] | (songs[3817] << 8);
    songs.resize(4018 + static_cast<std::size_t>(patterns - start) * 16);
    WriteFileBytes(directory / "DEMO.SNG", songs);
    const auto files = [&] {
        std::vector<Bytes> all;
        for (const std::string& name : test::SetFileNames("DEMO")) all.push_back(ReadFileBytes(directory / name));
        return all;
    };
    const std::vector<Bytes> before = files();

    const int set = session->OpenOrNewSet(false, directory.string());
    ASSERT_EQ(set, 1) << (ui.messages.empty() ? "" : ui.Last().text);
    EXPECT_TRUE(ui.messages.empty());
    ui.setAnswers = {directory.string() + "/DEMO"};
    ASSERT_TRUE(session->SaveAs(set));
    EXPECT_EQ(files(), before);
}

// How this process names itself in a set's lock file, as another program's message shows it.
std::string ThisProcessAsHolder() {
    char host[256] = {};
    gethostname(host, sizeof host - 1);
    return std::string(program_invocation_short_name) + " (process " + std::to_string(getpid()) + " on " + host + ")";
}

TEST_F(SessionTest, ASetHeldByAnotherProgramIsRefusedNamingItAndALockDiesWithItsProcess) {
    const std::string directory = MakeSet("LIVE.SET", "LIVE");
    const fs::path lockFile = fs::path(directory) / ".LIVE.lock";
    const std::string inUse = "LIVE.SET is in use by " + ThisProcessAsHolder() + ". Close it there and try again.";
    session->SetLockWait(0);
    {
        SetLock::Result other = SetLock::Acquire(directory, "LIVE", 0);
        ASSERT_EQ(other.outcome, SetLock::Outcome::Locked);
        EXPECT_EQ(session->OpenOrNewSet(false, directory), 0);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.Last().text, inUse);
        EXPECT_EQ(ui.Last().title, "Open a Set");
        EXPECT_FALSE(session->AnySetOpen());
    }
    EXPECT_FALSE(fs::exists(lockFile)) << "the lock file goes with its lock";

    // Open, the set holds its lock until it is closed: a second program can neither open it nor
    // save another set over it.
    const int set = session->OpenOrNewSet(false, directory);
    ASSERT_EQ(set, 1);
    char host[256] = {};
    gethostname(host, sizeof host - 1);
    EXPECT_EQ(test::ReadFileText(lockFile.string()),
              std::string(program_invocation_short_name) + "\n" + std::to_string(getpid()) + "\n" + host + "\n");
    ScriptedInteraction otherUi;
    Options otherOptions;
    auto other = test::MakeSession(otherUi, otherOptions);
    ASSERT_TRUE(other);
    other->SetLockWait(0);
    EXPECT_EQ(other->OpenOrNewSet(false, directory), 0);
    const int fresh = other->OpenOrNewSet(true, "");
    const Bytes arrangements = ReadFileBytes(fs::path(directory) / "LIVE.ARR");
    EXPECT_FALSE(other->SaveSet(fresh, directory + "/LIVE", true));
    EXPECT_EQ(otherUi.Texts(), (std::vector<std::string>{inUse, inUse}));
    EXPECT_EQ(otherUi.Last().title, "Save a Set");
    EXPECT_EQ(ReadFileBytes(fs::path(directory) / "LIVE.ARR"), arrangements);
    session->CloseSet(set);
    EXPECT_FALSE(fs::exists(lockFile));

    // A program killed while it held the set leaves its file, but not its lock.
    const pid_t child = fork();
    if (child == 0) {
        SetLock::Result killed = SetLock::Acquire(directory, "LIVE", 0);
        raise(SIGKILL);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(fs::exists(lockFile));
    EXPECT_NE(other->OpenOrNewSet(false, directory), 0);
    EXPECT_EQ(otherUi.messages.size(), 2u);
}

// The set's files as they are on disk, read by the core's own reader.
SetData SetOnDisk(const std::string& directory, const std::string& name) {
    SetData data;
    for (int k = 0; k < kSetKindCount; ++k) {
        auto file = OpenItemFile(directory + "/" + name, KindFromIndex(k));
        EXPECT_TRUE(file && LoadKind(*file, KindFromIndex(k), data)) << k;
    }
    return data;
}

TEST_F(SessionTest, AFileChangedOnDiskSinceTheSetWasReadIsNeverOverwrittenUnasked) {
    const std::string changedText = "LIVE.ARR changed on disk after LIVE.SET was opened or last saved.";
    struct Case {
        Answer answer;
        bool saved;
        const char* arrangementInMemory;  // arrangement 3 after the save
        bool dirtyAfter;
    };
    for (const Case& c : {Case{Answer::Cancel, false, "Ours            ", true},
                          Case{Answer::Overwrite, true, "Ours            ", false},
                          Case{Answer::Reload, false, "Theirs          ", false}}) {
        SCOPED_TRACE(static_cast<int>(c.answer));
        const std::string directory = MakeSet("LIVE.SET", "LIVE");
        const int set = session->OpenOrNewSet(false, directory);
        ASSERT_NE(set, 0);
        session->Data(set).arr.arr[3].SetName("Ours");
        session->Data(set).prg.records[0].SetName("Ours too");
        session->MarkDirty(set, ItemKind::Arrangement);
        session->MarkDirty(set, ItemKind::Program);

        // Another program renames arrangement 3: same size, and maybe within the same clock tick.
        SetData theirs = SetOnDisk(directory, "LIVE");
        theirs.arr.arr[3].SetName("Theirs");
        const fs::path arrangements = fs::path(directory) / "LIVE.ARR";
        const fs::path programs = fs::path(directory) / "LIVE.PRG";
        const auto time = fs::last_write_time(arrangements);
        WriteFileBytes(arrangements, SerializeKind(theirs, ItemKind::Arrangement));
        fs::last_write_time(arrangements, time);
        const Bytes theirArrangements = ReadFileBytes(arrangements), programsBefore = ReadFileBytes(programs);

        ui.messages.clear();
        ui.AnswerTo(QuestionId::SaveOverChangedSet, c.answer);
        EXPECT_EQ(session->Save(set), c.saved);
        ASSERT_EQ(ui.messages.size(), 1u);
        EXPECT_EQ(ui.Last().text, changedText +
                                      "\nReload the Set from disk (your changes are lost), Overwrite the changes on "
                                      "disk, or Cancel the save?");
        EXPECT_EQ(ui.Last().title, "Set changed on disk");
        EXPECT_EQ(ui.Last().buttons, MessageButtons::ReloadOverwriteCancel);
        EXPECT_EQ(ui.Last().defaultButton, Answer::Cancel);
        EXPECT_EQ(session->Data(set).arr.arr[3].Name(), c.arrangementInMemory);
        EXPECT_EQ(session->Slot(set).AnyDirty(), c.dirtyAfter);
        EXPECT_EQ(SetOnDisk(directory, "LIVE").arr.arr[3].Name(),
                  c.answer == Answer::Overwrite ? "Ours            " : "Theirs          ");
        EXPECT_EQ(ReadFileBytes(programs) == programsBefore, !c.saved);

        if (c.answer == Answer::Cancel) {
            // Closing asks to save; a save that is cancelled keeps the window and the edits.
            ui.AnswerTo(QuestionId::SaveChanges, Answer::Yes);
            ui.AnswerTo(QuestionId::SaveOverChangedSet, Answer::Cancel);
            EXPECT_FALSE(session->QueryClose(set));
            EXPECT_TRUE(session->Slot(set).AnyDirty());
        } else {
            // What this program wrote or read last is what it compares with: nothing is asked.
            ui.messages.clear();
            session->MarkDirty(set, ItemKind::Program);
            EXPECT_TRUE(session->Save(set));
            EXPECT_TRUE(ui.messages.empty());
        }
        session->CloseSet(set);
        fs::remove_all(directory);
    }
}

// The texts of the offer are asserted by the editor's test of the watch.
TEST_F(SessionTest, AChangeOnDiskIsOfferedForReloadOnceAndOurOwnSavesAreNot) {
    const std::string directory = MakeSet("LIVE.SET", "LIVE");
    const int set = session->OpenOrNewSet(false, directory);
    ASSERT_NE(set, 0);
    session->Data(set).prg.records[0].SetName("Ours");
    session->MarkDirty(set, ItemKind::Program);
    ASSERT_TRUE(session->Save(set));
    EXPECT_FALSE(session->OfferReload(set)) << "our own save";
    EXPECT_TRUE(ui.messages.empty());

    const fs::path styles = fs::path(directory) / "LIVE.STY";
    Bytes bytes = ReadFileBytes(styles);
    bytes.push_back(1);
    WriteFileBytes(styles, bytes);
    for (const Answer answer : {Answer::No, Answer::Yes}) {
        ui.AnswerTo(QuestionId::ReloadChangedSet, answer);
        EXPECT_EQ(session->OfferReload(set), answer == Answer::Yes);
        EXPECT_FALSE(session->OfferReload(set)) << "a change is offered once";
        EXPECT_EQ(ui.messages.size(), 1u);
        // Another change of a declined file is offered again.
        bytes.push_back(2);
        if (answer == Answer::No) WriteFileBytes(styles, bytes);
        ui.messages.clear();
    }
    EXPECT_EQ(session->Data(set).prg.records[0].Name(), "Ours            ");
}

}  // namespace
}  // namespace vx
