// The set check: each finding names the item and says what to do; the generated sets, the
// template and the demo set are clean, and the editor's own edits and saves leave no finding.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>

#include <filesystem>
#include <functional>

#include "catalogue/Catalogue.h"
#include "check/SetCheck.h"
#include "editing/EditScheme.h"
#include "selection/ItemNumbers.h"
#include "support/EditFixture.h"
#include "support/ScriptedInteraction.h"
#include "support/SetBuilder.h"
#include "support/TestPaths.h"
#include "support/TestSession.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Texts(const std::vector<Finding>& findings) {
    std::vector<std::string> texts;
    for (const Finding& finding : findings) texts.push_back(finding.Text());
    return texts;
}

void NameArrangement(SetData& set, int slot, const char* name) {
    set.arr.arr[static_cast<std::size_t>(slot)].SetName(name);
}

void UseStyle(SetData& set, int slot, const char* name, int size) {
    StyleSlot& style = set.sty.slots[static_cast<std::size_t>(slot)];
    style.used = 1;
    style.size = static_cast<std::uint16_t>(size);
    style.record.SetName(name);
    style.events.assign(static_cast<std::size_t>(size) - StyleRecord::kSize, 0);
}

struct FindingCase {
    const char* what;
    std::function<void(SetData&)> change;
    std::vector<std::string> texts;
};

TEST(SetCheck, EachFaultIsNamedByItsLabelWithWhatToDo) {
    const std::vector<FindingCase> cases = {
        {"an arrangement calls an empty user style",
         [](SetData& s) {
             NameArrangement(s, 0, "POP 1");
             s.arr.arr[0].SetStyle(StyNumberOfUserIndex(1));
         },
         {"Arrangement C11 'POP 1': It calls Style C12, which is empty. Put a style into C12 or make it call another "
          "one."}},
        {"an arrangement track calls an empty user program",
         [](SetData& s) {
             NameArrangement(s, 9, "BALLAD");
             s.arr.arr[9].SetTrackProgram(2, NumberOfUserIndex(0));
         },
         {"Arrangement C22 'BALLAD': Track 'BASS' calls Program F11, which is empty. Put a program into F11 or make it "
          "call another one."}},
        {"a KBD set calls a program number between the banks",
         [](SetData& s) { s.ark.records[10].SetTrackProgram(4, 700); },
         {"KBD Set 23: Track 'K.Bass' calls program number 700, which is in no bank. Make it call an existing "
          "program."}},
        {"a backing sequence calls an arrangement number between the banks and no style",
         [](SetData& s) {
             s.bsq.entries[3].record.SetName("INTRO");
             s.bsq.entries[3].record.SetArrangement(200);
             s.bsq.entries[3].record.SetStyle(-1);
         },
         {"Backing Sequence 3 'INTRO': It calls arrangement number 200, which is in no bank. Make it call an "
          "existing arrangement."}},
        {"a style block over its event budget",
         [](SetData& s) {
             for (const char* name : {"BIG 1", "BIG 2", "BIG 3", "BIG 4"})
                 UseStyle(s, 4 + (name[4] - '1'), name, 16500);
         },
         {"Style block C15-C18: Its styles take 15324 events, 124 more than the 15200 a block holds. Cut one of its "
          "styles or move it to a block with room."}},
        {"the event memory over its size",
         [](SetData& s) {
             s.bsq.entries[0].total = 10000;
             s.bsq.header[44] = 10000 % 256;
             s.bsq.header[45] = 10000 / 256;
             s.sng.entries[0].total = 6385;
             s.bsq.endOffset = 10000;
             s.sng.offsets[0][0] = 10000;
         },
         {"Event memory: Backing sequences, songs and patterns take 65540 events, 4 more than the 65536 it holds. "
          "Delete a backing sequence or a song."}},
        {"songs that start inside the backing sequences",
         [](SetData& s) {
             s.bsq.endOffset = 40;
             s.sng.offsets[0][0] = 32;
             s.sng.patternOffsets.fill(40);
             s.sng.endOffset = 40;
         },
         {"Songs: They start at unit 32, inside the backing sequences, which end at unit 40. Take the backing "
          "sequences and songs from one set the instrument saved."}},
        {"pattern offsets that run backwards",
         [](SetData& s) {
             s.sng.patternOffsets.fill(20);
             s.sng.patternOffsets[7] = 18;
             s.sng.endOffset = 20;
         },
         {"Pattern 7: It starts at unit 18, before pattern 6 at unit 20. Take the backing sequences and songs from one "
          "set the instrument saved."}},
        {"a size table that disagrees with the offsets",
         [](SetData& s) {
             s.bsq.entries[2].record.SetName("VERSE");
             s.bsq.entries[2].total = 12;
             s.bsq.header[44 + 8] = 10;
         },
         {"Backing Sequence 2 'VERSE': The file's size table gives it 10 units, its offsets 12. Save the set with Save "
          "As, which writes the table from the offsets."}},
        {"a pattern map past the end offset",
         [](SetData& s) {
             s.sng.patternOffsets.fill(50);
             s.sng.endOffset = 30;
         },
         {"Pattern map: The song file ends its memory at unit 30, before the first pattern at unit 50. Take the song "
          "file from a set the instrument saved."}},
        {"chain numbers above 9",
         [](SetData& s) {
             s.sng.entries[4].record.SetName("FINALE");
             s.sng.entries[4].record.SetNext(12);
             s.bsq.entries[9].record.SetName("OUTRO");
             s.bsq.entries[9].record.SetNext(10);
         },
         {"Backing Sequence 9 'OUTRO': It chains to 10, which is not a backing sequence (0 to 9); the instrument takes "
          "it as 0. Choose the backing sequence it chains to in its Details.",
          "Song 4 'FINALE': It chains to 12, which is not a song (0 to 9); the instrument takes it as 0. Choose the "
          "song it chains to in its Details."}},
        {"duplicate names, each against its first",
         [](SetData& s) {
             for (int slot : {0, 5, 130}) s.prg.records[static_cast<std::size_t>(slot)].SetName("PIANO");
             NameArrangement(s, 1, "POP");
             NameArrangement(s, 64, "POP");
         },
         {"Arrangement D11 'POP': It has the same name as C12. Rename one of them: a paste into another set finds "
          "called items by name.",
          "Program F16 'PIANO': It has the same name as F11. Rename one of them: a paste into another set finds called "
          "items by name."}},
    };
    for (const FindingCase& c : cases) {
        SetData set = test::EmptySet();
        ASSERT_TRUE(CheckSet(set).empty());
        c.change(set);
        EXPECT_EQ(Texts(CheckSet(set)), c.texts) << c.what;
    }
}

// vx50 check: the findings as text or JSON, exit status 0 for a clean set and 1 otherwise.
TEST(SetCheck, TheToolPrintsTheFindingsAndEndsWithOneWhenThereAreAny) {
    test::TempDirectory temp;
    SetData set = test::EmptySet();
    test::WriteSet(set, (temp.Path() / "CLEAN.SET").string(), "CLEAN");
    set.sng.entries[1].record.SetName("A");
    set.sng.entries[1].record.SetNext(11);
    test::WriteSet(set, (temp.Path() / "LIVE.SET").string(), "LIVE");
    const auto vx50 = [&](const std::string& arguments, std::string& out) {
        const fs::path output = temp.Path() / "out.txt";
        const int raw = std::system((test::ProgramDir() + "/vx50 " + arguments + " >" + output.string()).c_str());
        const Bytes bytes = test::ReadFileBytes(output);
        out.assign(bytes.begin(), bytes.end());
        return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    };
    std::string out;
    EXPECT_EQ(vx50("check " + (temp.Path() / "CLEAN.SET").string(), out), 0);
    EXPECT_EQ(out, "No findings: CLEAN is consistent.\n");
    EXPECT_EQ(vx50("check " + (temp.Path() / "LIVE.SET").string(), out), 1);
    EXPECT_EQ(
        out,
        "Song 1 'A': It chains to 11, which is not a song (0 to 9); the instrument takes it as 0. Choose the song "
        "it chains to in its Details.\n1 finding in LIVE.\n");
    EXPECT_EQ(vx50("check --json " + (temp.Path() / "LIVE.SET").string(), out), 1);
    EXPECT_EQ(out, R"({
  "set": "LIVE",
  "clean": false,
  "findings": [
    {
      "type": "chain-out-of-range",
      "item": "Song 1 'A'",
      "problem": "It chains to 11, which is not a song (0 to 9); the instrument takes it as 0.",
      "advice": "Choose the song it chains to in its Details."
    }
  ]
}
)");
}

// The shipped template, the demo set and the builder's empty set are what users start from.
TEST(SetCheck, TheTemplateTheDemoSetAndTheEmptySetAreClean) {
    test::ScriptedInteraction ui;
    Options options;
    auto session = test::MakeSession(ui, options);
    ASSERT_TRUE(session);
    const int fresh = session->OpenOrNewSet(true, "");
    const int demo = session->OpenOrNewSet(false, test::SourceDir() + "/examples/DEMO.SET");
    ASSERT_NE(demo, 0);
    EXPECT_EQ(Texts(CheckSet(session->Data(fresh))), std::vector<std::string>{});
    EXPECT_EQ(Texts(CheckSet(session->Data(demo))), std::vector<std::string>{});
    EXPECT_EQ(Texts(CheckSet(test::EmptySet())), std::vector<std::string>{});
}

// Random sets hold every kind of fault by chance. A save writes the size table from the
// offsets and changes nothing else the check looks at.
TEST(SetCheck, SavingARandomSetLeavesOnlyWhatItHeldAndMendsTheSizeTable) {
    test::TempDirectory temp;
    test::ScriptedInteraction ui;
    Options options;
    auto session = test::MakeSession(ui, options);
    ASSERT_TRUE(session);
    for (std::uint32_t seed = 1; seed <= 6; ++seed) {
        const std::string name = "R" + std::to_string(seed);
        const SetData random = test::RandomSet(seed);
        test::WriteSet(random, (temp.Path() / (name + ".SET")).string(), name);
        const int set = session->OpenOrNewSet(false, (temp.Path() / (name + ".SET")).string());
        ASSERT_NE(set, 0);
        std::vector<std::string> expected;
        for (const Finding& finding : CheckSet(session->Data(set)))
            if (finding.type != FindingType::MapMismatch || finding.item.rfind("Backing Sequence", 0) != 0)
                expected.push_back(finding.Text());
        ui.setAnswers = {(temp.Path() / (name + "S.SET")).string() + "/" + name + "S"};
        ASSERT_TRUE(session->SaveAs(set));
        session->CloseSet(set);
        const int saved = session->OpenOrNewSet(false, (temp.Path() / (name + "S.SET")).string());
        ASSERT_NE(saved, 0);
        EXPECT_EQ(Texts(CheckSet(session->Data(saved))), expected) << seed;
        session->CloseSet(saved);
    }
}

// The editor's commands on the demo set, saved and read back: nothing they did is a finding.
class EditedDemoSet : public test::EditFixture {};

TEST_F(EditedDemoSet, MovesInsertsAndDeletesLeaveNoFinding) {
    test::TempDirectory temp;
    const fs::path directory = temp.Path() / "DEMO.SET";
    fs::copy(test::SourceDir() + "/examples/DEMO.SET", directory);
    const int demo = session->OpenOrNewSet(false, directory.string());
    ASSERT_NE(demo, 0);
    ASSERT_EQ(Texts(CheckSet(Data(demo), session->Slot(demo).dirty)), std::vector<std::string>{});
    // Questions about callers are answered Yes and their pickers cancelled; the editor then
    // decides where the callers go.
    ui.answers.assign(256, Answer::Yes);
    ui.pickAnswers.assign(256, -1);
    for (ItemKind kind : {ItemKind::Arrangement, ItemKind::Style, ItemKind::Program, ItemKind::BackingSequence,
                          ItemKind::Song, ItemKind::KbdSet}) {
        // Move the first item onto the third slot: its callers follow it.
        DropOn(kind, demo, 0, demo, 2);
        EXPECT_EQ(Texts(CheckSet(Data(demo), session->Slot(demo).dirty)), std::vector<std::string>{}) << KindName(kind);
    }
    for (ItemKind kind : {ItemKind::Arrangement, ItemKind::Program, ItemKind::BackingSequence, ItemKind::Song}) {
        Do(EditCommand::Copy, kind, demo, 2);
        Do(EditCommand::Insert, kind, demo, 3);
        Do(EditCommand::Delete, kind, demo, 3);
        EXPECT_EQ(Texts(CheckSet(Data(demo), session->Slot(demo).dirty)), std::vector<std::string>{}) << KindName(kind);
    }
    ASSERT_TRUE(session->Save(demo));
    session->CloseSet(demo);
    const int reopened = session->OpenOrNewSet(false, directory.string());
    ASSERT_NE(reopened, 0);
    EXPECT_EQ(Texts(CheckSet(Data(reopened))), std::vector<std::string>{});
}

}  // namespace
}  // namespace vx
