#include <gtest/gtest.h>

#include <filesystem>

#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueInit.h"
#include "document/Helpers.h"
#include "format/ItemFileSave.h"
#include "kbdsets/KbdSetFile.h"
#include "presets/PresetNames.h"
#include "reports/SetReport.h"
#include "reports/SubsetReport.h"
#include "selection/ItemNumbers.h"
#include "storage/Session.h"
#include "support/ScriptedInteraction.h"
#include "support/SetBuilder.h"
#include "support/TestPaths.h"
#include "support/TestSession.h"

namespace vx {
namespace {

namespace fs = std::filesystem;
using test::ReadFileBytes;

const std::string kRule = std::string(100, '_') + "\r\n";
const std::string kDate = "5-Dec-2026 02:07:30";

std::string Pad(const std::string& text, std::size_t width) { return text + std::string(width - text.size(), ' '); }
std::string Name(const std::string& name) { return Pad(name, 16); }

// The lines of a text that ends every line with CR LF; an unterminated rest is marked "!".
std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = text.find("\r\n", at);
        if (end == std::string::npos) {
            lines.push_back("!" + text.substr(at));
            break;
        }
        lines.push_back(text.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

TEST(SetReportTest, HeadingPutsTheDateFlushWithColumnHundred) {
    std::tm time{};
    time.tm_mday = 5;
    time.tm_mon = 11;
    time.tm_year = 126;
    time.tm_hour = 2;
    time.tm_min = 7;
    time.tm_sec = 30;
    EXPECT_EQ(ReportDateText(time), kDate);

    const std::string thirty(30, 'N');
    EXPECT_EQ(SetReportHeading(thirty, kDate), std::string(40, ' ') + "Vemo-x50 Set Report\r\n" + kRule + "\r\n" +
                                                   thirty + std::string(51, ' ') + kDate + "\r\n" + kRule);
    // A name too long for the line keeps one blank before the date.
    const auto lines = Lines(SetReportHeading(std::string(90, 'L'), kDate));
    EXPECT_EQ(lines[3], std::string(90, 'L') + " " + kDate);
}

TEST(SetReportTest, ItemAndSequenceSectionsListEveryPositionFourOrFivePerLine) {
    SetData data = test::EmptySet();
    data.arr.arr[0].SetName("Sunday Groove");
    data.arr.arr[127].SetName("Last One");
    data.prg.records[128].SetName("Gig Kit");
    data.sty.slots[47].record.SetName("Last Style");
    data.bsq.entries[9].record.SetName("Medley");
    data.sng.entries[0].record.SetName("Opening Song");
    const auto lines = Lines(SetReportItemSections(data, PresetTables{}, "LIVE"));

    const std::string blank = Name("") + "     ";
    // Title, empty line, 32 lines of arrangements, rule; the same for 34 lines of programs and
    // 12 of styles; two lines of ten sequences each.
    ASSERT_EQ(lines.size(), 5u * 4u + 32u + 34u + 12u + 2u + 2u);
    EXPECT_EQ(lines[0], "");
    EXPECT_EQ(lines[1], "User ARRANGEMENTS in LIVE");
    EXPECT_EQ(lines[2], "");
    EXPECT_EQ(lines[3], "C11 " + Name("Sunday Groove") + "     C12 " + blank + "C13 " + blank + "C14 " + blank);
    EXPECT_EQ(lines[34], "D85 " + blank + "D86 " + blank + "D87 " + blank + "D88 " + Name("Last One") + "     ");
    EXPECT_EQ(lines[35] + "\r\n", kRule);
    EXPECT_EQ(lines[37], "User PROGRAMS in LIVE");
    EXPECT_EQ(lines[39], "F11 " + blank + "F12 " + blank + "F13 " + blank + "F14 " + blank);
    EXPECT_EQ(lines[71], "R51 " + Name("Gig Kit") + "     R52 " + blank + "R53 " + blank + "R54 " + blank);
    EXPECT_EQ(lines[72], "R55 " + blank + "R56 " + blank + "R57 " + blank + "R58 " + blank);
    EXPECT_EQ(lines[75], "User STYLES in LIVE");
    EXPECT_EQ(lines[88], "C65 " + blank + "C66 " + blank + "C67 " + blank + "C68 " + Name("Last Style") + "     ");
    EXPECT_EQ(lines[91], "BACKING SEQUENCES in LIVE");
    EXPECT_EQ(lines[94], "5: " + Name("") + " 6: " + Name("") + " 7: " + Name("") + " 8: " + Name("") +
                             " 9: " + Name("Medley") + " ");
    EXPECT_EQ(lines[97], "SONGS in LIVE");
    EXPECT_EQ(lines[99].substr(0, 20), "0: " + Name("Opening Song") + " ");
    EXPECT_EQ(lines.back() + "\r\n", kRule);
    for (const auto& line : lines) EXPECT_LE(line.size(), 100u) << line;
}

TEST(SetReportTest, CallSectionsBreakAfterTheTenthCallerAndEveryEleventhAfterIt) {
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
    const auto lines = Lines(SetReportCallSections(calls, "LIVE"));

    const std::string first10 =
        "Arr C11, Arr C12, Arr C13, Arr C14, Arr C15, Arr C16, Arr C17, Arr C18, Arr C19, Arr C20";
    const std::string next11 =
        "Arr C21, Arr C22, Arr C23, Arr C24, Arr C25, Arr C26, Arr C27, Arr C28, Arr C29, Arr C30, Arr C31";
    const std::vector<std::string> expected = {
        "",
        "CALLS to User PROGRAMS in LIVE",
        "",
        "F11: " + first10 + ", ",
        "     Arr C21",
        "F12: " + first10,
        "R58: " + first10 + ", ",
        "     " + next11 + ", ",
        "     Arr C32",
        std::string(100, '_'),
        "",
        "CALLS to User STYLES in LIVE",
        "",
        "C13: Arr C11, BSeq  3",
        std::string(100, '_'),
        "",
        "CALLS to User ARRANGEMENTS in LIVE",
        "",
        "None",
        std::string(100, '_'),
    };
    EXPECT_EQ(lines, expected);
}

TEST(SetReportTest, CallersComeFromTheSetsCallsWithTheirTracks) {
    SetData data = test::EmptySet();
    for (auto& kbd : data.ark.records)
        for (int t = 0; t < KbdSetRecord::kTrackCount; ++t) kbd.SetTrackProgram(t, -1);
    ArrangementRecord& arr = data.arr.arr[0];
    arr.SetName("Eleven Calls");
    arr.SetStyle(0);  // a preset style is not listed
    for (int t = 0; t < ArrangementRecord::kTrackCount; ++t) arr.SetTrackProgram(t, 768);
    data.ark.records[9].SetTrackProgram(4, 1063);
    const auto lines = Lines(SetReportCallSections(CollectReportCallers(data), "LIVE"));
    ASSERT_EQ(lines.size(), 17u);
    EXPECT_EQ(lines[3],
              "F11: Arr C11 DRUMS, Arr C11 PERC, Arr C11 BASS, Arr C11 ACC1, Arr C11 ACC2, Arr C11 ACC3, "
              "Arr C11 MainKBD, Arr C11 SubKBD, Arr C11 LowKBD, Arr C11 Harmony, ");
    EXPECT_EQ(lines[4], "     Arr C11 K.Bass");
    EXPECT_EQ(lines[5], "R58: KSet 22 K.Bass");
    EXPECT_EQ(lines[10], "None");
    EXPECT_EQ(lines[15], "None");
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

TEST_F(ReportFilesTest, SubsetReportsAreTabSeparatedRowsOfTheTabsKind) {
    const SetData& data = session->Data(set);
    const PresetTables& presets = session->Presets();
    const std::string tracks11 = "DRUMS\tPERC\tBASS\tACC1\tACC2\tACC3\tMainKBD\tSubKBD\tLowKBD\tHarmony\tK.Bass";
    auto arr = Lines(SubsetReportText(data, presets, "LIVE", 0, false));
    ASSERT_EQ(arr.size(), 129u);
    EXPECT_EQ(arr[0], "Set\tArr\tArr Name\tArr Cat\tSty\tSty Name\tSty Cat\t" + tracks11);
    const std::string grand = "A11 " + TrimBlanks(presets.programsAB[0].name);
    std::string fat;
    for (int t = 0; t < 4; ++t) fat += "\tF12 Fat Fingers";
    EXPECT_EQ(arr[1], "LIVE\tC11\tSunday Groove\t16 Beat\tC12\tOwn Beat\tDance\tR51 Gig Kit" + fat +
                          "\tF12 Fat Fingers\t" + grand + fat);
    // With the presets: 128 preset rows first, their style from the names file, no tracks.
    arr = Lines(SubsetReportText(data, presets, "LIVE", 0, true));
    ASSERT_EQ(arr.size(), 257u);
    const PresetArrangement& b88 = presets.arrangements[127];
    EXPECT_EQ(arr[128], "LIVE\tB88\t" + TrimBlanks(b88.name) + "\t" +
                            std::string(ArrCategoryName[static_cast<std::size_t>(b88.category)]) + "\t" +
                            StyLabel(b88.style) + "\t" + TrimBlanks(presets.styles[b88.style].name) + "\t" +
                            std::string(StyCategoryName[static_cast<std::size_t>(presets.styles[b88.style].category)]) +
                            std::string(11, '\t'));
    EXPECT_EQ(arr[129].substr(0, 9), "LIVE\tC11\t");

    const auto sty = Lines(SubsetReportText(data, presets, "LIVE", 1, false));
    ASSERT_EQ(sty.size(), 49u);
    EXPECT_EQ(sty[0], "Set\tSty\tSty Name\tSty Cat\tDRUMS\tPERC\tBASS\tACC1\tACC2\tACC3");
    // Programs without a name show their label alone.
    EXPECT_EQ(sty[2], "LIVE\tC12\tOwn Beat\tDance\tF12 Fat Fingers\tF13\tF14\tF15\tF16\tF17");

    const auto prg = Lines(SubsetReportText(data, presets, "LIVE", 2, false));
    ASSERT_EQ(prg.size(), 137u);
    EXPECT_EQ(prg[0], "Set\tPrg\tPrg Name\tPrg Cat");
    EXPECT_EQ(prg[2], "LIVE\tF12\tFat Fingers\tBass");
    EXPECT_EQ(prg[129], "LIVE\tR51\tGig Kit\tDrum/Perc.");
    EXPECT_EQ(prg[136], "LIVE\tR58\t\tUser");
}

TEST_F(ReportFilesTest, SubsetReportFileAsksForFileOverwriteAndPresets) {
    const fs::path file = temp.Path() / "ARR.XLS";
    test::WriteFileBytes(file, {'o', 'l', 'd'});
    // No to the overwrite question keeps the file; Yes, then No to the presets, writes it.
    ui.fileAnswers = {file.string(), file.string()};
    ui.answers = {Answer::No, Answer::Yes, Answer::No};
    EXPECT_FALSE(CreateSubsetReportFile(*session, set, 0));
    EXPECT_EQ(ReadFileBytes(file), (Bytes{'o', 'l', 'd'}));
    EXPECT_TRUE(CreateSubsetReportFile(*session, set, 0));
    const auto written = ReadFileBytes(file);
    EXPECT_EQ(std::string(written.begin(), written.end()),
              SubsetReportText(session->Data(set), session->Presets(), "LIVE", 0, false));
    ASSERT_EQ(ui.fileRequests.size(), 2u);
    EXPECT_EQ(ui.fileRequests[0].title, "Save Arrangement Report to File...");
    EXPECT_EQ(ui.fileRequests[0].filter, "Excel (*.XLS)|*.XLS|All|*.*");
    EXPECT_EQ(ui.fileRequests[0].defaultExtension, ".XLS");
    ASSERT_EQ(ui.messages.size(), 3u);
    for (const Message& question : ui.messages) {
        EXPECT_EQ(question.icon, MessageIcon::Question);
        EXPECT_EQ(question.buttons, MessageButtons::YesNo);
        EXPECT_EQ(question.defaultButton, Answer::No);
    }
    EXPECT_EQ(ui.Texts(), (std::vector<std::string>{"Overwrite existing file?", "Overwrite existing file?",
                                                    "Include Preset Arrangements?"}));

    // Tabs without a subset report ask nothing and create nothing.
    for (int tab : {3, 4, 5}) EXPECT_FALSE(CreateSubsetReportFile(*session, set, tab));
    EXPECT_EQ(ui.fileRequests.size(), 2u);

    // A write that fails says so and leaves the file as it was.
    SetSaveFaultForTesting(SaveStep::Write);
    ui.fileAnswers = {file.string()};
    ui.answers = {Answer::Yes};
    EXPECT_FALSE(CreateSubsetReportFile(*session, set, 2));
    EXPECT_EQ(ui.Last().text, "Error saving Subset Report to file " + file.string() +
                                  "\nError writing the temporary file for " + file.string() +
                                  ": No space left on device");
    EXPECT_EQ(ui.Last().title, "Error");
    EXPECT_EQ(ReadFileBytes(file), written);
}

TEST_F(ReportFilesTest, SetReportIsBuiltWithProgressAndSavedOnlyWhenTheUserAgrees) {
    const std::string report = CreateSetReport(*session, set, kDate);
    EXPECT_EQ(ui.progressTitles.back(), "Creating Set Report...");
    EXPECT_EQ(ui.busyDepth, 0);
    EXPECT_EQ(Lines(report)[3], "LIVE" + std::string(77, ' ') + kDate);

    const fs::path file = temp.Path() / "LIVE.SET" / "LIVE.TXT";
    // Cancel ends silently; the first save writes the text as it is; a second one asks first.
    ui.fileAnswers = {std::nullopt, file.string(), file.string(), file.string()};
    ui.answers = {Answer::No, Answer::Yes};
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
    for (SaveStep step : {SaveStep::CreateTemporary, SaveStep::Rename}) {
        SetSaveFaultForTesting(step);
        ui.fileAnswers = {file.string()};
        ui.answers = {Answer::Yes};
        EXPECT_FALSE(SaveReportToFile(ui, session->Slot(set).directory, "LIVE", report));
    }
    EXPECT_EQ(ui.Texts(), (std::vector<std::string>{
                              "Overwrite existing file?",
                              "Error saving Report to file " + file.string() +
                                  "\nCan't create the temporary file for " + file.string() + ": Input/output error",
                              "Overwrite existing file?",
                              "Error saving Report to file " + file.string() + "\nCan't replace " + file.string() +
                                  ": Input/output error",
                          }));
    EXPECT_EQ(ReadFileBytes(file), (Bytes{'o', 't', 'h', 'e', 'r'}));
}

}  // namespace
}  // namespace vx
