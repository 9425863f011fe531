#include <gtest/gtest.h>

#include <filesystem>

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
        StyleSlot& style = data.sty.slots[1];
        style.used = 1;
        style.size = kEmptyStyleSize;
        style.events.assign(kEmptyStyleSize - StyleRecord::kSize, 0);
        data.sty.slots[1].record.SetName("Own Beat");
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

TEST_F(ReportFilesTest, SubsetReportFileAsksForFileOverwriteAndPresets) {
    const fs::path file = temp.Path() / "ARR.XLS";
    test::WriteFileBytes(file, {'o', 'l', 'd'});
    // No to the overwrite question keeps the file; Yes, then No to the presets, writes it.
    ui.fileAnswers = {file.string(), file.string()};
    ui.AnswerTo(QuestionId::OverwriteFile, {Answer::No, Answer::Yes});
    ui.AnswerTo(QuestionId::IncludePresetArrangements, Answer::No);
    EXPECT_FALSE(CreateSubsetReportFile(*session, set, 0));
    EXPECT_EQ(ReadFileBytes(file), (Bytes{'o', 'l', 'd'}));
    EXPECT_TRUE(CreateSubsetReportFile(*session, set, 0));
    const auto written = ReadFileBytes(file);
    EXPECT_EQ(std::string(written.begin(), written.end()),
              SubsetReportText(session->Data(set), session->Presets(), "LIVE", 0, false));
    ASSERT_EQ(ui.fileRequests.size(), 2u);
    const FileRequest& request = ui.fileRequests[0];
    EXPECT_EQ(request.title + "|" + request.filter + "|" + request.defaultExtension,
              "Save Arrangement Report to File...|Excel (*.XLS)|*.XLS|All|*.*|.XLS");
    EXPECT_EQ(ui.Texts(), (std::vector<std::string>{"Overwrite existing file?", "Overwrite existing file?",
                                                    "Include Preset Arrangements?"}));
    for (const Message& question : ui.messages)
        EXPECT_EQ(std::tuple(question.icon, question.buttons, question.defaultButton),
                  std::tuple(MessageIcon::Question, MessageButtons::YesNo, Answer::No));

    // Tabs without a subset report ask nothing and create nothing.
    for (int tab : {3, 4, 5}) EXPECT_FALSE(CreateSubsetReportFile(*session, set, tab));
    EXPECT_EQ(ui.fileRequests.size(), 2u);

    // A write that fails says so and leaves the file as it was.
    SetSaveFaultForTesting(SaveStep::Write);
    ui.fileAnswers = {file.string()};
    ui.AnswerTo(QuestionId::OverwriteFile, Answer::Yes);
    EXPECT_FALSE(CreateSubsetReportFile(*session, set, 2));
    EXPECT_EQ(ui.Last().title + ": " + ui.Last().text, "Error: Error saving Subset Report to file " + file.string() +
                                                         "\nError writing the temporary file for " + file.string() +
                                                         ": No space left on device");
    EXPECT_EQ(ReadFileBytes(file), written);
}

TEST_F(ReportFilesTest, SetReportIsBuiltWithProgressAndSavedOnlyWhenTheUserAgrees) {
    const std::string report = CreateSetReport(*session, set, kDate);
    EXPECT_EQ(ui.progressTitles.back(), "Creating Set Report...");
    EXPECT_EQ(ui.busyDepth, 0);
    EXPECT_NE(report.find("\r\nLIVE" + std::string(77, ' ') + kDate + "\r\n"), std::string::npos);

    const fs::path file = temp.Path() / "LIVE.SET" / "LIVE.TXT";
    // Cancel ends silently; the first save writes the text as it is; a second one asks first.
    ui.fileAnswers = {std::nullopt, file.string(), file.string(), file.string()};
    ui.AnswerTo(QuestionId::OverwriteFile, {Answer::No, Answer::Yes});
    EXPECT_FALSE(SaveReportToFile(ui, session->Slot(set).directory, "LIVE", report));
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(SaveReportToFile(ui, session->Slot(set).directory, "LIVE", report));
    EXPECT_EQ(ReadFileBytes(file), Bytes(report.begin(), report.end()));
    EXPECT_FALSE(SaveReportToFile(ui, session->Slot(set).directory, "LIVE", "other"));
    EXPECT_TRUE(SaveReportToFile(ui, session->Slot(set).directory, "LIVE", "other"));
    EXPECT_EQ(ReadFileBytes(file), (Bytes{'o', 't', 'h', 'e', 'r'}));
    const FileRequest& request = ui.fileRequests[0];
    EXPECT_EQ(request.title + "|" + request.initialDirectory + "|" + request.initialName + "|" + request.filter + "|" +
                  request.defaultExtension,
              "Save Report to File...|" + session->Slot(set).directory + "|LIVE.TXT|Report (*.TXT)|*.TXT|.TXT");

    // A failed save is reported, and the file keeps what it held.
    ui.messages.clear();
    SetSaveFaultForTesting(SaveStep::Rename);
    ui.fileAnswers = {file.string()};
    ui.AnswerTo(QuestionId::OverwriteFile, Answer::Yes);
    EXPECT_FALSE(SaveReportToFile(ui, session->Slot(set).directory, "LIVE", report));
    EXPECT_EQ(ui.Texts(), (std::vector<std::string>{"Overwrite existing file?",
                                                    "Error saving Report to file " + file.string() + "\nCan't replace " +
                                                        file.string() + ": Input/output error"}));
    EXPECT_EQ(ReadFileBytes(file), (Bytes{'o', 't', 'h', 'e', 'r'}));
}

}  // namespace
}  // namespace vx
