// The set check: each finding names the item and says what to do. That the demo set and the
// editor's own edits and saves leave no finding the model test (edit_model_test.cpp) checks on
// random scripts over the demo set; the tool's check is in the tool's transcripts.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "core/catalogue/Catalogue.h"
#include "core/check/SetCheck.h"
#include "core/selection/ItemNumbers.h"
#include "support/Golden.h"
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

// Backing sequences of 10000 units and songs of `songUnits`.
void FillMemory(SetData& s, int songUnits) {
    s.bsq.entries[0].total = 10000;
    s.bsq.header[44] = 10000 % 256;
    s.bsq.header[45] = 10000 / 256;
    s.sng.entries[0].total = songUnits;
    s.bsq.endOffset = 10000;
    s.sng.offsets[0][0] = 10000;
}

struct FindingCase {
    const char* what;
    std::function<void(SetData&)> change;
};

// Each fault is named by its item's label with what to do; the texts are in tests/data/check.
TEST(SetCheck, EachFaultIsNamedByItsLabelWithWhatToDo) {
    const std::vector<FindingCase> cases = {
        {"an arrangement calls an empty user style",
         [](SetData& s) {
             NameArrangement(s, 0, "POP 1");
             s.arr.arr[0].SetStyle(StyNumberOfUserIndex(1));
         }},
        {"an arrangement track calls an empty user program",
         [](SetData& s) {
             NameArrangement(s, 9, "BALLAD");
             s.arr.arr[9].SetTrackProgram(2, NumberOfUserIndex(0));
         }},
        {"a KBD set calls a program number between the banks",
         [](SetData& s) { s.ark.records[10].SetTrackProgram(4, 700); }},
        {"a backing sequence calls an arrangement number between the banks and no style",
         [](SetData& s) {
             s.bsq.entries[3].record.SetName("INTRO");
             s.bsq.entries[3].record.SetArrangement(200);
             s.bsq.entries[3].record.SetStyle(-1);
         }},
        {"a style block over its event budget",
         [](SetData& s) {
             for (const char* name : {"BIG 1", "BIG 2", "BIG 3", "BIG 4"})
                 test::UseStyle(s, 4 + (name[4] - '1'), name, 16500);
         }},
        {"the event memory over its size", [](SetData& s) { FillMemory(s, 6385); }},
        {"songs that start inside the backing sequences",
         [](SetData& s) {
             s.bsq.endOffset = 40;
             s.sng.offsets[0][0] = 32;
             s.sng.patternOffsets.fill(40);
             s.sng.endOffset = 40;
         }},
        {"pattern offsets that run backwards",
         [](SetData& s) {
             s.sng.patternOffsets.fill(20);
             s.sng.patternOffsets[7] = 18;
             s.sng.endOffset = 20;
         }},
        {"a size table that disagrees with the offsets",
         [](SetData& s) {
             s.bsq.entries[2].record.SetName("VERSE");
             s.bsq.entries[2].total = 12;
             s.bsq.header[44 + 8] = 10;
         }},
        {"a pattern map past the end offset",
         [](SetData& s) {
             s.sng.patternOffsets.fill(50);
             s.sng.endOffset = 30;
         }},
        {"chain numbers above 9",
         [](SetData& s) {
             s.sng.entries[4].record.SetName("FINALE");
             s.sng.entries[4].record.SetNext(12);
             s.bsq.entries[9].record.SetName("OUTRO");
             s.bsq.entries[9].record.SetNext(10);
         }},
        {"duplicate names, each against its first",
         [](SetData& s) {
             for (int slot : {0, 5, 130}) s.prg.records[static_cast<std::size_t>(slot)].SetName("PIANO");
             NameArrangement(s, 1, "POP");
             NameArrangement(s, 64, "POP");
             NameArrangement(s, 127, "POP");
         }},
        // What lies just inside a limit is no finding.
        {"tracks that call nothing",
         [](SetData& s) {
             s.ark.records[0].SetTrackProgram(0, 0x7FFF);
             s.arr.arr[0].SetTrackProgram(3, 0x7FFF);
         }},
        {"a style block exactly full",
         [](SetData& s) {
             for (const char* name : {"FULL 1", "FULL 2", "FULL 3", "FULL 4"})
                 test::UseStyle(s, 8 + (name[5] - '1'), name, 1176 + 4 * 3800);
         }},
        {"the event memory exactly full", [](SetData& s) { FillMemory(s, 6384); }},
    };
    std::string findings;
    for (const FindingCase& c : cases) {
        SetData set = test::EmptySet();
        ASSERT_TRUE(CheckSet(set).empty());
        c.change(set);
        findings += std::string("# ") + c.what + "\n";
        for (const std::string& text : Texts(CheckSet(set))) findings += text + "\n";
    }
    EXPECT_EQ(findings, test::Golden("check/findings.txt", findings));
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

}  // namespace
}  // namespace vx
