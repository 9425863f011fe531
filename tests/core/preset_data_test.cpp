#include <gtest/gtest.h>

#include <filesystem>

#include "Transcript.h"
#include "core/catalogue/PresetNames.h"
#include "core/format/ItemFileSave.h"
#include "core/presets/PresetCommands.h"
#include "core/presets/PresetData.h"
#include "core/presets/PresetNamesWriter.h"
#include "core/storage/Session.h"
#include "core/storage/TemplateSet.h"
#include "core/text/Helpers.h"
#include "support/ScriptedInteraction.h"
#include "support/SetBuilder.h"
#include "support/TestPaths.h"
#include "support/TestSession.h"

namespace vx {
namespace {

namespace fs = std::filesystem;
using test::ReadFileBytes;
using test::WriteFileBytes;

std::string ReadText(const fs::path& path) { return test::ReadFileText(path.string()); }

// Bytes that differ from position to position, so that a shifted copy shows.
Bytes Pattern(std::size_t size, std::uint8_t seed) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(seed + i * 7 + i / 251);
    return bytes;
}

// A set whose user records each carry their own byte pattern.
SetData PatternedSet() {
    SetData data = test::EmptySet();
    for (std::size_t i = 0; i < data.arr.arr.size(); ++i)
        data.arr.arr[i].CopyFrom(Pattern(ArrangementRecord::kSize, static_cast<std::uint8_t>(i)).data());
    for (std::size_t i = 0; i < data.prg.records.size(); ++i)
        data.prg.records[i].CopyFrom(Pattern(ProgramRecord::kSize, static_cast<std::uint8_t>(i + 3)).data());
    for (std::size_t i = 0; i < data.prg.drumKits.size(); ++i) {
        const Bytes bytes = Pattern(kDrumKitDataSize, static_cast<std::uint8_t>(i + 200));
        std::copy(bytes.begin(), bytes.end(), data.prg.drumKits[i].begin());
    }
    return data;
}

template <typename Record, std::size_t N>
Bytes RecordBytes(const std::array<Record, N>& records, std::size_t first, std::size_t count) {
    Bytes bytes;
    for (std::size_t i = first; i < first + count; ++i) records[i].AppendTo(bytes);
    return bytes;
}

Bytes KitBytes(const SetPrograms& programs) {
    Bytes bytes;
    for (const DrumKitData& kit : programs.drumKits) bytes.insert(bytes.end(), kit.begin(), kit.end());
    return bytes;
}

Bytes Slice(const Bytes& bytes, std::size_t offset, std::size_t count) {
    if (offset + count > bytes.size()) return {};
    return Bytes(bytes.begin() + static_cast<std::ptrdiff_t>(offset),
                 bytes.begin() + static_cast<std::ptrdiff_t>(offset + count));
}

// An export writes the bank's records (and a drum kit bank's data blocks) at the destination bank's
// offsets: into an existing file, leaving every other byte; into a new one (of arrangements:
// tests/data/tool/reports.txt), as long as its last range with zeros elsewhere. Styles, preset banks
// and a destination past the last have nothing to export.
TEST(PresetDataTest, ExportWritesOnlyTheBanksRanges) {
    test::TempDirectory temp;
    const SetData data = PatternedSet();
    const Bytes existing = Pattern(130000, 99);
    struct Case {
        BankedKind kind;
        int bank, destination;
        std::size_t size;  // of a new file; 0: the existing file
        std::vector<std::pair<std::size_t, Bytes>> ranges;
    };
    const Bytes kits = KitBytes(data.prg);
    const Case cases[] = {
        {BankedKind::Arrangement, 3, 1, 0, {{10496, RecordBytes(data.arr.arr, 64, 64)}}},
        {BankedKind::Program,
         7,
         2,
         0,
         {{32768 + 2 * 7040, kits}, {120576 + 2 * 1376, RecordBytes(data.prg.records, 128, 8)}}},
        {BankedKind::Program, 6, 4, 65536 + 5 * 11008, {{65536 + 4 * 11008, RecordBytes(data.prg.records, 64, 64)}}},
        {BankedKind::Program,
         7,
         3,
         120576 + 4 * 1376,
         {{32768 + 3 * 7040, kits}, {120576 + 3 * 1376, RecordBytes(data.prg.records, 128, 8)}}},
    };
    for (const Case& c : cases) {
        const fs::path file = temp.Path() / ("F" + std::to_string(&c - cases) + ".PRD");
        if (c.size == 0) WriteFileBytes(file, existing);
        std::string error;
        ASSERT_TRUE(WritePresetData(file.string(), ExportRanges(data, c.kind, c.bank, c.destination), error)) << error;
        Bytes expected = c.size == 0 ? existing : Bytes(c.size, 0);
        for (const auto& [offset, bytes] : c.ranges) std::copy(bytes.begin(), bytes.end(), expected.begin() + offset);
        EXPECT_EQ(ReadFileBytes(file), expected) << file;
    }
    EXPECT_TRUE(ExportRanges(data, BankedKind::Style, 2, 0).empty());
    EXPECT_TRUE(ExportRanges(data, BankedKind::Arrangement, 1, 0).empty());
    EXPECT_TRUE(ExportRanges(data, BankedKind::Program, 5, 5).empty());
}

const std::string kNames =
    "Header line\r\n"
    "VEMO-X50 names\r\n"
    "/ Arr A11-A18\r\n"
    "\"Old One        \",0,0\r\n"
    "/ a comment, with commas\r\n"
    "\r\n"
    "\"Old Two        \",1,1\r\n"
    "  / Arr B11-B18  \r\n"
    "\"Old Three      \",2,2\r\n"
    "\"Kept           \",3,3\r\n";

// Each rewrite of kNames, or "nothing" where there is no title or too few entry lines after it;
// tests/data/presets/rewrites.txt.
TEST(PresetDataTest, RewriteReplacesEntryLinesAndKeepsEverythingElse) {
    const std::vector<PresetNameEntry> entries = {
        {"First", 3, 272}, {"Quote \"here\"", 4, 65535}, {"Third name longer than 16", 15, 256}};
    std::string out;
    const auto rewrite = [&](const std::string& text, const std::string& title,
                             const std::vector<PresetNameEntry>& with) {
        const auto rewritten = RewritePresetNames(text, title, with);
        out +=
            "# " + title + ", " + std::to_string(with.size()) + " entries\n" + (rewritten ? *rewritten : "nothing\n");
    };
    rewrite(kNames, "/ Arr A11-A18", entries);
    // The title is found with the blanks around it removed; program entries have no style.
    rewrite(kNames, "/ Arr B11-B18", {{"B", 1, 2}});
    rewrite("/ Prg R11-R18\n\"A\",1\n", "/ Prg R11-R18", {{"Kit", 14, std::nullopt}});
    rewrite(kNames, "/ Arr C11-C18", entries);
    rewrite(kNames, "/ Arr B11-B18", entries);
    EXPECT_EQ(out, test::Golden("presets/rewrites.txt", out));
}

class PresetCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        session = test::StartTestSession(ui, options, temp.Str());
        ASSERT_TRUE(session);
        SetData data = PatternedSet();
        for (std::size_t i = 0; i < data.arr.arr.size(); ++i) {
            data.arr.arr[i].SetName("User Arr " + std::to_string(i));
            data.arr.arr[i].SetCategory(static_cast<int>(i % 12));
        }
        for (std::size_t i = 0; i < data.prg.records.size(); ++i)
            data.prg.records[i].SetName("Prg " + std::to_string(i));
        test::WriteSet(data, (temp.Path() / "LIVE.SET").string(), "LIVE");
        set = session->OpenOrNewSet(false, (temp.Path() / "LIVE.SET").string());
        ASSERT_EQ(set, 1);
        ui.events.clear();
        ui.progressTitles.clear();
    }
    void TearDown() override {
        SetSaveFaultForTesting(SaveStep::None);
        if (!log.empty()) test::ExpectTranscript("presets", log);
    }
    // A command's line, then what it showed.
    void Step(const std::string& what, bool done) {
        log += what + (done ? ": done\n" : ": not done\n") + test::Seen(ui, temp.Str());
    }
    // The next export's answers: the destination bank, the file, Yes to the export and `update` to
    // the names' update.
    void AnswerExport(int bank, const fs::path& file, Answer update = Answer::Yes) {
        ui.pickAnswers = {bank};
        ui.fileAnswers = {file.string()};
        ui.AnswerTo(QuestionId::ExportBank, Answer::Yes);
        ui.AnswerTo(QuestionId::UpdatePresetList, update);
    }

    test::ScriptedInteraction ui;
    Options options;
    test::TempDirectory temp;
    fs::path names = temp.Path() / "X50PRSTS.TXT";
    std::unique_ptr<Session> session;
    int set = 0;
    std::string log;
};

TEST_F(PresetCommandsTest, UpdatePresetDataRenamesThePresetArrangementsKeepsABackupOrSaysWhyNot) {
    const std::string before = ReadText(names);
    ui.AnswerTo(QuestionId::UpdatePresetArrangements, Answer::No);
    Step("update, No", UpdatePresetArrangements(*session, set));
    EXPECT_FALSE(fs::exists(temp.Path() / "X50PRSTS.BAK"));
    ui.AnswerTo(QuestionId::UpdatePresetArrangements, Answer::Yes);
    Step("update, Yes", UpdatePresetArrangements(*session, set));
    EXPECT_EQ(ReadText(temp.Path() / "X50PRSTS.BAK"), before);
    const PresetTables& presets = session->Presets();
    EXPECT_EQ(std::tuple(presets.arrangements[0].name, presets.arrangements[127].name,
                         presets.arrangements[127].category, presets.arrangements[127].style),
              std::tuple("User Arr 0      ", "User Arr 127    ", 127 % 12, session->Data(set).arr.arr[127].Style()));
    // The comment lines and every other table are as they were.
    PresetTables old;
    ASSERT_TRUE(ParsePresetNames(before, old));
    EXPECT_EQ(presets.styles[5].name, old.styles[5].name);
    EXPECT_EQ(presets.drumKitsR[31].name, old.drumKitsR[31].name);
    EXPECT_NE(ReadText(names).find("\r\n/ Arr B11-B18\r\n\"User Arr 64     \","), std::string::npos);

    // A failed rewrite says so and leaves the names file: one without the section of bank A.
    fs::remove(temp.Path() / "X50PRSTS.BAK");
    std::string text = ReadText(names);
    text.replace(text.find("/ Arr A11-A18"), 13, "/ Something");
    test::WriteFileText(names.string(), text);
    ui.AnswerTo(QuestionId::UpdatePresetArrangements, Answer::Yes);
    Step("update without a section of bank A", UpdatePresetArrangements(*session, set));
    EXPECT_EQ(ReadText(names), text);
    EXPECT_FALSE(fs::exists(temp.Path() / "X50PRSTS.BAK"));

    // A names file that cannot be read again keeps the program and its lists: ending the program
    // here would lose the open sets' unsaved changes.
    const std::string name = session->Presets().arrangements[0].name;
    test::WriteFileText(names.string(), "no marker line\r\n");
    Step("reload", ReloadPresetNames(*session, ItemKind::Arrangement));
    EXPECT_EQ(session->Presets().arrangements[0].name, name);
}

TEST_F(PresetCommandsTest, ExportAndNamesChangeTogetherOrNotAtAllAndLinksStayLinks) {
    const fs::path file = temp.Path() / "OUT.PRD";
    const fs::path backup = temp.Path() / "X50PRSTS.BAK";
    const fs::path outside = temp.Path() / "elsewhere" / "names.txt";
    fs::create_directories(outside.parent_path());
    const std::string shipped = ReadText(names);
    // What goes wrong, and how the files are prepared for it.
    using Prepare = void (*)(const fs::path& names, const fs::path& outside);
    const std::tuple<const char*, SaveStep, Prepare> cases[] = {
        {"a read-only names file", SaveStep::None,
         [](const fs::path& n, const fs::path&) { fs::permissions(n, fs::perms::owner_read); }},
        {"a names file linked to a file elsewhere", SaveStep::None,
         [](const fs::path& n, const fs::path& o) {
             fs::rename(n, o);
             fs::create_symlink(o, n);
         }},
        {"no temporary file", SaveStep::CreateTemporary, nullptr},
        {"a full disk", SaveStep::Write, nullptr},
        {"a full disk at the flush", SaveStep::Flush, nullptr},
        {"a failed rename", SaveStep::Rename, nullptr},
    };
    for (const auto& [what, fault, prepare] : cases) {
        fs::remove(names);
        test::WriteFileText(names.string(), shipped);
        if (prepare) prepare(names, outside);
        WriteFileBytes(file, Pattern(140000, 9));
        test::WriteFileText(backup.string(), "the backup of before");
        const auto listing = test::Listing(temp.Path());
        const std::string namesBefore = ReadText(names);

        SetSaveFaultForTesting(fault);
        AnswerExport(2, file);
        Step(std::string("export with ") + what, ExportToPresetFile(*session, set, BankedKind::Program, 5));
        SetSaveFaultForTesting(SaveStep::None);
        EXPECT_EQ(ReadFileBytes(file), Pattern(140000, 9)) << what;
        EXPECT_EQ(ReadText(names), namesBefore) << what;
        EXPECT_EQ(ReadText(backup), "the backup of before") << what;
        EXPECT_EQ(test::Listing(temp.Path()), listing) << what << ": no temporary file is left";
        fs::permissions(names, fs::perms::owner_all, fs::perm_options::add);
    }

    // Without the export, a full disk while the backup is written leaves the backup whole.
    fs::remove(names);
    test::WriteFileText(names.string(), shipped);
    SetSaveFaultForTesting(SaveStep::Write);
    ui.AnswerTo(QuestionId::UpdatePresetArrangements, Answer::Yes);
    Step("update with a full disk", UpdatePresetArrangements(*session, set));
    SetSaveFaultForTesting(SaveStep::None);
    EXPECT_EQ(ReadText(backup), "the backup of before");
    EXPECT_EQ(ReadText(names), shipped);

    // A names file that is a link to a file beside it is written through and stays a link.
    fs::rename(names, temp.Path() / "X50NAMES.TXT");
    fs::create_symlink("X50NAMES.TXT", names);
    AnswerExport(2, file);
    Step("export through a link beside it", ExportToPresetFile(*session, set, BankedKind::Program, 5));
    EXPECT_TRUE(fs::is_symlink(names));
    EXPECT_EQ(session->Presets().programsCD[63].name, "Prg 63          ");
    EXPECT_EQ(ReadText(backup), shipped);
    EXPECT_EQ(Slice(ReadFileBytes(file), 65536 + 2 * 11008, 11008), RecordBytes(session->Data(set).prg.records, 0, 64));
}

// Export asks for the destination bank, the file and a confirmation, then offers to update the
// names; Cancel anywhere, or No to the confirmation, writes nothing. A preset bank, a directory
// and a read-only file are refused.
TEST_F(PresetCommandsTest, ExportAsksBankFileAndConfirmationThenOffersTheNamesUpdate) {
    const fs::path file = temp.Path() / "out.prd";
    WriteFileBytes(file, Pattern(20000, 5));
    AnswerExport(1, file, Answer::No);
    Step("export arrangement bank D, B, No", ExportToPresetFile(*session, set, BankedKind::Arrangement, 3));
    EXPECT_EQ(Slice(ReadFileBytes(file), 10496, 10496), RecordBytes(session->Data(set).arr.arr, 64, 64));
    EXPECT_FALSE(fs::exists(temp.Path() / "X50PRSTS.BAK"));

    AnswerExport(2, file);
    Step("export program bank F, C, Yes", ExportToPresetFile(*session, set, BankedKind::Program, 5));
    EXPECT_EQ(session->Presets().programsCD[0].name + session->Presets().programsCD[63].name,
              "Prg 0           Prg 63          ");
    EXPECT_EQ(Slice(ReadFileBytes(file), 65536 + 2 * 11008, 11008), RecordBytes(session->Data(set).prg.records, 0, 64));

    const Bytes now = ReadFileBytes(file);
    ui.pickAnswers = {-1, 0, 0};
    ui.fileAnswers = {std::nullopt, file.string()};
    ui.AnswerTo(QuestionId::ExportBank, Answer::No);
    for (const char* what : {"no bank", "no file", "No"})
        Step(std::string("export drum kits, ") + what, ExportToPresetFile(*session, set, BankedKind::Program, 7));
    EXPECT_EQ(ReadFileBytes(file), now);

    Step("export a preset bank", ExportToPresetFile(*session, set, BankedKind::Arrangement, 0));
    const fs::path directory = temp.Path() / "DIR.PRD";
    fs::create_directory(directory);
    const fs::path readOnly = temp.Path() / "RO.PRD";
    WriteFileBytes(readOnly, {1, 2, 3});
    fs::permissions(readOnly, fs::perms::owner_read | fs::perms::group_read);
    ui.pickAnswers = {0, 0};
    ui.fileAnswers = {directory.string(), readOnly.string()};
    ui.AnswerTo(QuestionId::ExportBank, {Answer::Yes, Answer::Yes});
    Step("export into a directory", ExportToPresetFile(*session, set, BankedKind::Program, 6));
    Step("export into a read-only file", ExportToPresetFile(*session, set, BankedKind::Program, 6));
    EXPECT_EQ(ReadFileBytes(readOnly), (Bytes{1, 2, 3}));
}

}  // namespace
}  // namespace vx
