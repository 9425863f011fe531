#include <gtest/gtest.h>

#include <filesystem>

#include "Transcript.h"
#include "core/catalogue/Catalogue.h"
#include "core/catalogue/PresetNames.h"
#include "core/format/ItemFileSave.h"
#include "core/kbdsets/KbdSetFile.h"
#include "core/reports/SetReport.h"
#include "core/reports/SubsetReport.h"
#include "core/selection/ItemNumbers.h"
#include "core/storage/Session.h"
#include "core/storage/TemplateSet.h"
#include "core/text/Helpers.h"
#include "support/Golden.h"
#include "support/ScriptedInteraction.h"
#include "support/SetBuilder.h"
#include "support/TestPaths.h"
#include "support/TestSession.h"

namespace vx {
namespace {

namespace fs = std::filesystem;
using test::ReadFileBytes;

const std::string kDate = "5-Dec-2026 02:07:30";

// The report's texts, each against its file under tests/data/reports.
TEST(SetReportTest, TextsMatchTheirFiles) {
    std::tm time{};
    std::tie(time.tm_mday, time.tm_mon, time.tm_year, time.tm_hour, time.tm_min, time.tm_sec) =
        std::tuple(5, 11, 126, 2, 7, 30);
    EXPECT_EQ(ReportDateText(time), kDate);

    SetData names = test::EmptySet();
    names.arr.arr[0].SetName("Sunday Groove");
    names.arr.arr[127].SetName("Last One");
    names.prg.records[128].SetName("Gig Kit");
    names.sty.slots[47].record.SetName("Last Style");
    names.bsq.entries[9].record.SetName("Medley");
    names.sng.entries[0].record.SetName("Opening Song");

    // Programs called by 11, 10 and 22 callers: a line breaks after the tenth and every eleventh after it.
    auto callers = [](int count) {
        std::vector<std::string> list;
        for (int i = 0; i < count; ++i) list.push_back("Arr C" + std::to_string(11 + i));
        return list;
    };
    ReportCallers calls;
    calls.programs.resize(136);
    calls.styles.resize(48);
    calls.arrangements.resize(128);
    calls.programs[0] = callers(11);
    calls.programs[1] = callers(10);
    calls.programs[135] = callers(22);
    calls.styles[2] = {"Arr C11", "BSeq  3"};

    // An arrangement whose eleven tracks call F11, and a KBD set calling R58; a preset style is not listed.
    SetData called = test::EmptySet();
    for (auto& kbd : called.ark.records)
        for (int t = 0; t < KbdSetRecord::kTrackCount; ++t) kbd.SetTrackProgram(t, -1);
    ArrangementRecord& arr = called.arr.arr[0];
    arr.SetName("Eleven Calls");
    arr.SetStyle(0);
    for (int t = 0; t < ArrangementRecord::kTrackCount; ++t) arr.SetTrackProgram(t, 768);
    called.ark.records[9].SetTrackProgram(4, 1063);

    const std::pair<const char*, std::string> cases[] = {
        // The date flush with column 100; a name too long for the line keeps one blank before it.
        {"reports/heading.txt",
         SetReportHeading(std::string(30, 'N'), kDate) + SetReportHeading(std::string(90, 'L'), kDate)},
        {"reports/item_sections.txt", SetReportItemSections(names, PresetTables{}, "LIVE")},
        {"reports/call_sections.txt", SetReportCallSections(calls, "LIVE")},
        {"reports/callers.txt", SetReportCallSections(CollectReportCallers(called), "LIVE")},
    };
    for (const auto& [file, text] : cases) EXPECT_EQ(text, test::Golden(file, text)) << file;
}

class ReportFilesTest : public ::testing::Test {
protected:
    void SetUp() override {
        session = test::StartTestSession(ui, options, temp.Str());
        ASSERT_TRUE(session);
        SetData data = test::EmptySet();
        data.arr.arr[0].SetName("Sunday Groove");
        data.arr.arr[0].SetCategory(1);
        data.arr.arr[0].SetStyle(257);
        for (int t = 0; t < ArrangementRecord::kTrackCount; ++t)
            data.arr.arr[0].SetTrackProgram(t, t == 0 ? 1056 : t == 6 ? 0 : 769);
        test::UseStyle(data, 1, "Own Beat", kEmptyStyleSize);
        data.sty.slots[1].record.SetCategory(3);
        for (int t = 0; t < StyleRecord::kTrackCount; ++t) data.sty.slots[1].record.SetTrackProgram(t, 769 + t);
        data.prg.records[1].SetName("Fat Fingers");
        data.prg.records[1].SetCategory(3);
        data.prg.records[128].SetName("Gig Kit");
        data.prg.records[128].SetCategory(14);
        test::WriteSet(data, (temp.Path() / "LIVE.SET").string(), "LIVE");
        set = session->OpenOrNewSet(false, (temp.Path() / "LIVE.SET").string());
        ASSERT_EQ(set, 1);
    }
    void TearDown() override { SetSaveFaultForTesting(SaveStep::None); }

    test::ScriptedInteraction ui;
    Options options;
    test::TempDirectory temp;
    std::unique_ptr<Session> session;
    int set = 0;
};

// Tab-separated rows of the tab's kind; with the presets, the 128 preset arrangements come first.
TEST_F(ReportFilesTest, SubsetReportsMatchTheirFiles) {
    const SetData& data = session->Data(set);
    const PresetTables& presets = session->Presets();
    const std::tuple<const char*, int, bool> cases[] = {{"reports/subset_arrangements.txt", 0, false},
                                                        {"reports/subset_arrangements_presets.txt", 0, true},
                                                        {"reports/subset_styles.txt", 1, false},
                                                        {"reports/subset_programs.txt", 2, false}};
    for (const auto& [file, tab, withPresets] : cases) {
        const std::string text = SubsetReportText(data, presets, "LIVE", tab, withPresets);
        EXPECT_EQ(text, test::Golden(file, text)) << file;
    }
}

// A subset report file: No to the overwrite question keeps the file; Yes, then No to the
// presets, writes it; tabs without a subset report ask nothing and create nothing; a write that
// fails says so and leaves the file as it was. The set report: built with progress, Cancel ends
// silently, the first save writes the text as it is, a second one asks first. The transcript is
// under tests/data/reports.
TEST_F(ReportFilesTest, ReportFilesAreSavedOnlyWhenTheUserAgrees) {
    std::string log;
    test::Seen(ui);  // the set's opening
    const auto step = [&](const std::string& what, bool done) {
        log += what + (done ? ": done\n" : ": not done\n") + test::Seen(ui, temp.Str());
    };
    const fs::path file = temp.Path() / "ARR.XLS";
    test::WriteFileBytes(file, {'o', 'l', 'd'});
    ui.fileAnswers = {file.string(), file.string()};
    ui.AnswerTo(QuestionId::OverwriteFile, {Answer::No, Answer::Yes});
    ui.AnswerTo(QuestionId::IncludePresetArrangements, Answer::No);
    step("arrangement subset report, No", CreateSubsetReportFile(*session, set, 0));
    EXPECT_EQ(ReadFileBytes(file), (Bytes{'o', 'l', 'd'}));
    step("arrangement subset report, Yes, No", CreateSubsetReportFile(*session, set, 0));
    const auto written = ReadFileBytes(file);
    EXPECT_EQ(std::string(written.begin(), written.end()),
              SubsetReportText(session->Data(set), session->Presets(), "LIVE", 0, false));
    for (int tab : {3, 4, 5})
        step("subset report of tab " + std::to_string(tab), CreateSubsetReportFile(*session, set, tab));
    SetSaveFaultForTesting(SaveStep::Write);
    ui.fileAnswers = {file.string()};
    ui.AnswerTo(QuestionId::OverwriteFile, Answer::Yes);
    step("program subset report, disk full", CreateSubsetReportFile(*session, set, 2));
    EXPECT_EQ(ReadFileBytes(file), written);
    SetSaveFaultForTesting(SaveStep::None);

    const std::string report = CreateSetReport(*session, set, kDate);
    EXPECT_EQ(ui.busyDepth, 0);
    EXPECT_NE(report.find("\r\nLIVE" + std::string(77, ' ') + kDate + "\r\n"), std::string::npos);
    step("set report", true);
    const fs::path text = temp.Path() / "LIVE.SET" / "LIVE.TXT";
    ui.fileAnswers = {std::nullopt, text.string(), text.string(), text.string(), text.string()};
    ui.AnswerTo(QuestionId::OverwriteFile, {Answer::No, Answer::Yes, Answer::Yes});
    const std::string directory = session->Slot(set).directory;
    step("save set report, Cancel", SaveReportToFile(ui, directory, "LIVE", report));
    step("save set report", SaveReportToFile(ui, directory, "LIVE", report));
    EXPECT_EQ(ReadFileBytes(text), Bytes(report.begin(), report.end()));
    step("save other, No", SaveReportToFile(ui, directory, "LIVE", "other"));
    step("save other, Yes", SaveReportToFile(ui, directory, "LIVE", "other"));
    EXPECT_EQ(ReadFileBytes(text), (Bytes{'o', 't', 'h', 'e', 'r'}));
    SetSaveFaultForTesting(SaveStep::Rename);
    step("save set report, Yes, the rename fails", SaveReportToFile(ui, directory, "LIVE", report));
    EXPECT_EQ(ReadFileBytes(text), (Bytes{'o', 't', 'h', 'e', 'r'}));
    test::ExpectTranscript("reports", log);
}

}  // namespace
}  // namespace vx
