// Drives the built vx50 program as a user would, on sets written by the fixture builder.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <tuple>

#include "catalogue/Catalogue.h"
#include "document/Helpers.h"
#include "presets/PresetNames.h"
#include "storage/SetData.h"
#include "support/ScriptedInteraction.h"
#include "support/SetBuilder.h"
#include "support/TestPaths.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

using test::ReadFileBytes;
using test::WriteFileBytes;

std::string ReadText(const fs::path& path) {
    const auto bytes = ReadFileBytes(path);
    return {bytes.begin(), bytes.end()};
}

struct ToolRun {
    int status = -1;
    std::string out;
    std::string err;
};

class Vx50Test : public ::testing::Test {
protected:
    // The program of the build, or another copy; run as root or, with the runner, as nobody.
    ToolRun Vx50(const std::string& arguments, const std::string& runner = "",
                 const std::string& program = test::ProgramDir() + "/vx50") {
        const fs::path out = temp.Path() / "stdout.txt";
        const fs::path err = temp.Path() / "stderr.txt";
        const std::string command = runner + program + " " + arguments + " >" + out.string() + " 2>" + err.string();
        const int raw = std::system(command.c_str());
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, ReadText(out), ReadText(err)};
    }

    std::string WriteRandomSet(const std::string& name, std::uint32_t seed) {
        const std::string directory = (temp.Path() / (name + ".SET")).string();
        test::WriteSet(test::RandomSet(seed), directory, name);
        return directory;
    }

    test::TempDirectory temp;
};

TEST_F(Vx50Test, SaveAsReproducesRandomSetsByteForByte) {
    for (std::uint32_t seed : {1u, 2u, 3u, 17u, 99u}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        const std::string source = WriteRandomSet("R" + std::to_string(seed), seed);
        const fs::path dest = temp.Path() / ("COPY" + std::to_string(seed) + ".SET");
        const ToolRun run = Vx50("save-as " + source + " " + dest.string());
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.err, "");
        for (const std::string& extension : test::SetFileExtensions())
            EXPECT_EQ(ReadFileBytes(dest / ("COPY" + std::to_string(seed) + extension)),
                      ReadFileBytes(fs::path(source) / ("R" + std::to_string(seed) + extension)))
                << extension;
    }
}

TEST_F(Vx50Test, InfoRefusesABrokenFileOfEveryKindWithTheKindsMessage) {
    struct Case {
        const char* extension;
        const char* message;
        void (*breakIt)(Bytes&);
    };
    const Case cases[] = {
        {".ARR", "Error getting Arrangement data.",
         [](Bytes& b) {  // DataLength beyond the end of the file
             b[24] = 0xFF;
             b[25] = 0x7F;
         }},
        {".STY", "Error getting Style data.", [](Bytes& b) { b[21] = 52; }},
        {".PRG", "Error getting Program data.", [](Bytes& b) { b.resize(30000); }},
        {".BSQ", "Error getting Backing Sequence data.",
         [](Bytes& b) {  // the offsets of sequence 0 run backwards
             b[2396] = 0xFF;
             b[2396 + 1] = 0x7F;
         }},
        {".SNG", "Error getting Song data.",
         [](Bytes& b) {  // song 0's sections reach far past the file
             for (std::size_t at = 3476 + 2 * 16; at < 4018; at += 2) {
                 b[at] = 0xFF;
                 b[at + 1] = 0x7F;
             }
         }},
        {".ARK", "Error getting KBD Set data.", [](Bytes& b) { b.resize(1000); }},
        {".ARG", "Error getting Arrangement Global data.", [](Bytes& b) { b.resize(60); }},
        {".GBL", "Error getting Global data.", [](Bytes& b) { b.resize(100); }},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.extension);
        const std::string name = "B" + std::to_string(n++);
        const std::string directory = WriteRandomSet(name, 7);
        const fs::path file = fs::path(directory) / (name + c.extension);
        Bytes bytes = ReadFileBytes(file);
        c.breakIt(bytes);
        WriteFileBytes(file, bytes);
        const Bytes before = bytes;

        const ToolRun run = Vx50("info " + directory);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, std::string(c.message) + "\n");
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(ReadFileBytes(file), before) << "a refused file is left as it was";
    }
}

TEST_F(Vx50Test, InfoNamesAFileThatIsMissingOrNotOfItsKind) {
    const std::string directory = WriteRandomSet("LIVE", 5);
    fs::remove(fs::path(directory) / "LIVE.ARK");
    Bytes styles = ReadFileBytes(fs::path(directory) / "LIVE.STY");
    styles[6] = 3;
    WriteFileBytes(fs::path(directory) / "LIVE.STY", styles);

    const ToolRun run = Vx50("info " + directory);
    EXPECT_EQ(run.status, 1);
    const std::string upper = ToUpper(directory);
    EXPECT_EQ(run.err, upper + "/LIVE.STY is not a valid file\nFile " + upper + "/LIVE.ARK not found\n");

    const ToolRun missing = Vx50("info " + temp.Str() + "/NOWHERE.SET");
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err, "Can't find the set directory " + ToUpper(temp.Str()) + "/NOWHERE.SET\n");
}

TEST_F(Vx50Test, NewWritesTheTemplateAsANewSet) {
    const fs::path dest = temp.Path() / "GIGS.SET";
    const ToolRun run = Vx50("new " + dest.string());
    ASSERT_EQ(run.status, 0) << run.err;
    for (const std::string& extension : test::SetFileExtensions())
        EXPECT_EQ(ReadFileBytes(dest / ("GIGS" + extension)),
                  ReadFileBytes(test::ProgramDir() + "/X50EMPTY.SET/X50EMPTY" + extension))
            << extension;

    const ToolRun again = Vx50("new " + dest.string());
    EXPECT_EQ(again.status, 1) << "an existing set is not overwritten without --yes";
    EXPECT_EQ(Vx50("new " + dest.string() + " --yes").status, 0);
    EXPECT_EQ(Vx50("new " + (temp.Path() / "NOTASET").string()).status, 2);
}

TEST_F(Vx50Test, ImportReplacesOneKindAndSavesOnlyIt) {
    const std::string live = WriteRandomSet("LIVE", 11);
    const std::string other = WriteRandomSet("OTHER", 12);
    const Bytes arrangementsBefore = ReadFileBytes(fs::path(live) / "LIVE.ARR");

    const ToolRun run = Vx50("import " + live + " sty " + other + "/other.sty");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadFileBytes(fs::path(live) / "LIVE.STY"), ReadFileBytes(fs::path(other) / "OTHER.STY"));
    EXPECT_EQ(ReadFileBytes(fs::path(live) / "LIVE.ARR"), arrangementsBefore);

    const Bytes stylesNow = ReadFileBytes(fs::path(live) / "LIVE.STY");
    fs::copy_file(fs::path(other) / "OTHER.ARR", fs::path(other) / "WRONG.STY");
    const ToolRun wrong = Vx50("import " + live + " sty " + other + "/WRONG.STY");
    EXPECT_EQ(wrong.status, 1);
    EXPECT_EQ(wrong.err, ToUpper(other) + "/WRONG.STY is not a valid file\nError getting Style data.\n");
    EXPECT_EQ(ReadFileBytes(fs::path(live) / "LIVE.STY"), stylesNow);
    EXPECT_EQ(Vx50("import " + live + " xyz " + other + "/OTHER.STY").status, 2);
}

TEST_F(Vx50Test, InfoListsTheDemoSet) {
    const std::string demo = test::ProgramDir() + "/../examples/DEMO.SET";
    const ToolRun text = Vx50("info " + demo);
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_NE(text.out.find("Set DEMO\n"), std::string::npos);
    EXPECT_NE(text.out.find("\nEvent memory\n  BackSeqs: "), std::string::npos);
    EXPECT_NE(text.out.find("  Block 1 (C11-C14)  used "), std::string::npos);

    const ToolRun json = Vx50("info --json " + demo);
    ASSERT_EQ(json.status, 0) << json.err;
    const auto parsed = nlohmann::ordered_json::parse(json.out);
    EXPECT_EQ(parsed["set"], "DEMO");
    EXPECT_EQ(parsed.begin().key(), "set");
    EXPECT_EQ(std::next(parsed.begin()).key(), "arrangements");
    EXPECT_EQ(parsed["eventMemory"]["total"].get<int>() + parsed["eventMemory"]["free"].get<int>(), 65536);
    EXPECT_EQ(parsed["styleBlocks"].size(), 12u);
}

TEST_F(Vx50Test, ShowPrintsTheDialogsFieldsAndRenameStoresADialogName) {
    SetData data = test::EmptySet();
    data.prg.records[0].SetName("Grand Piano");
    data.prg.records[0].SetCategory(0);
    data.sty.slots[0].used = 1;
    data.sty.slots[0].size = 1176;
    data.sty.slots[0].record.SetName("Ballad");
    ArrangementRecord& arr = data.arr.arr[0];
    arr.SetName("Pop Song");
    arr.SetCategory(1);
    arr.SetStyle(256);
    for (int t = 0; t < ArrangementRecord::kTrackCount; ++t) arr.SetTrackProgram(t, 768);
    arr.SetByte(21, 90);
    arr.SetByte(23, 30);  // below the list: shown as its first key
    arr.SetByte(25, 0xFB);
    arr.SetByte(28, 0x21);
    arr.SetByte(24, 9);
    arr.SetByte(38, 13);  // beyond the list: shown as its first entry
    data.bsq.entries[2].record.SetName("Intro");
    data.bsq.entries[2].record.SetArrangement(256);
    data.gbl.record.SetByte(15, 60);  // beyond the switches' functions
    data.gbl.record.SetByte(3, 60);
    const std::string directory = (temp.Path() / "SHOW.SET").string();
    test::WriteSet(data, directory, "SHOW");

    const ToolRun shown = Vx50("show " + directory + " arr:C11");
    ASSERT_EQ(shown.status, 0) << shown.err;
    std::string programs;
    for (const char* track : {"DRUMS  ", "PERC   ", "BASS   ", "ACC1   ", "ACC2   ", "ACC3   ", "MainKBD", "SubKBD ",
                              "LowKBD ", "Harmony", "K.Bass "})
        programs += std::string("  ") + track + ": F11 Grand Piano     \n";
    EXPECT_EQ(shown.out, "Arrangement: C11\nName: Pop Song        \nCategory: " + std::string(ArrCategoryName[1]) +
                             "\nStyle: C11: Ballad          \nPrograms:\n" + programs +
                             "Called by:\n  BSeq 2\nEnsemble: Reed Ens.\nStart with: VAR 1\nThen: VAR 1\n"
                             "Tempo: 120\nChord Scan: Lower (Easy)\nFull Keyboard: off\nTranspose: -5\nSplit: C 2\n"
                             "Drum Map 1: 1\nDrum Map 2: 1\nDrum Map 3: 1\nDrum Map 4: 1\nKick: A\nSnare: A\n"
                             "Fill Variation 1: OFF\nFill Variation 2: OFF\n");
    const ToolRun global = Vx50("show --json " + directory + " gbl");
    ASSERT_EQ(global.status, 0) << global.err;
    EXPECT_NE(global.out.find("\"Assignable Pedal 1\": \"Joystick +Y\",\n"), std::string::npos) << global.out;
    EXPECT_NE(global.out.find("\"Switch 1\": \"OFF\",\n"), std::string::npos) << global.out;
    const ToolRun program = Vx50("show --json " + directory + " prg:F11");
    EXPECT_EQ(program.out, "{\n  \"Program\": \"F11\",\n  \"Name\": \"Grand Piano     \",\n  \"Category\": \"" +
                               std::string(PrgCategoryName[0]) + "\",\n  \"Called by\": [\n" +
                               "    \"Arr C11: DRUMS  \",\n    \"Arr C11: PERC   \",\n    \"Arr C11: BASS   \",\n" +
                               "    \"Arr C11: ACC1   \",\n    \"Arr C11: ACC2   \",\n    \"Arr C11: ACC3   \",\n" +
                               "    \"Arr C11: MainKBD\",\n    \"Arr C11: SubKBD \",\n    \"Arr C11: LowKBD \",\n" +
                               "    \"Arr C11: Harmony\",\n    \"Arr C11: K.Bass \"\n  ]\n}\n");
    // A KBD set: its split key and its five tracks' programs, as its row of the grid shows them.
    data.ark.records[0].SetSplit(60);
    for (int t = 0; t < KbdSetRecord::kTrackCount; ++t) data.ark.records[0].SetTrackProgram(t, 768);
    const std::string kbdSets = (temp.Path() / "KBD.SET").string();
    test::WriteSet(data, kbdSets, "KBD");
    const ToolRun kbd = Vx50("show " + kbdSets + " ark:11");
    ASSERT_EQ(kbd.status, 0) << kbd.err;
    EXPECT_EQ(kbd.out,
              "KBD Set: 11\nSplit Key: C4\nPrograms:\n  Main KBD: F11 Grand Piano     \n"
              "  Sub KBD: F11 Grand Piano     \n  Lower KBD: F11 Grand Piano     \n"
              "  Harmony: F11 Grand Piano     \n  K.Bass: F11 Grand Piano     \n");

    const Bytes before = ReadFileBytes(fs::path(directory) / "SHOW.ARR");
    const ToolRun renamed = Vx50("rename " + directory + " arr:C11 '   Brand New Name Too Long'");
    ASSERT_EQ(renamed.status, 0) << renamed.err;
    Bytes expected = before;
    const std::string stored = "Brand New Name T";
    std::copy(stored.begin(), stored.end(), expected.begin() + 32);
    EXPECT_EQ(ReadFileBytes(fs::path(directory) / "SHOW.ARR"), expected);

    struct Refused {
        const char* item;
        int status;
    };
    for (const Refused& r :
         {Refused{"arr:A11", 1}, Refused{"sty:C12", 1}, Refused{"ark:11", 1}, Refused{"arr:Z11", 2}}) {
        const ToolRun refused = Vx50("rename " + directory + " " + r.item + " X");
        EXPECT_EQ(refused.status, r.status) << r.item;
        EXPECT_NE(refused.err, "") << r.item;
    }
    EXPECT_EQ(ReadFileBytes(fs::path(directory) / "SHOW.ARR"), expected);
}

TEST_F(Vx50Test, UsageErrorsExitWithTwo) {
    for (const char* arguments : {"", "frobnicate X", "info", "info A B --bogus"})
        EXPECT_EQ(Vx50(arguments).status, 2) << arguments;
    const ToolRun version = Vx50("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "vx50 1.06\n");
}

// The MIDI commands parse like the others: a usage error exits with 2 and names what was
// wrong, a set that cannot be opened with 1; sysex writes the one message of the dump.
TEST_F(Vx50Test, MidiCommandsReportUsageErrorsAndWriteADumpFile) {
    const std::string set = WriteRandomSet("LIVE", 5);
    const std::string file = (temp.Path() / "ARG.SYX").string();
    const std::tuple<std::string, int, std::string> cases[] = {
        {"sysex " + set + " xyz -o " + file, 2, "Unknown kind xyz (arr, sty, prg, bsq, sng, ark, arg or gbl)\n"},
        {"sysex " + set + " sty --style Z99 -o " + file, 2, "Unknown style Z99 (C11 to C68)\n"},
        {"send " + set + " gbl --style C69", 2, "Unknown style C69 (C11 to C68)\n"},
    };
    for (const auto& [arguments, status, message] : cases) {
        const ToolRun run = Vx50(arguments);
        EXPECT_EQ(std::pair(run.status, run.err), std::pair(status, message)) << arguments;
    }
    for (const std::string& arguments :
         std::vector<std::string>{"sysex " + set + " arg", "send", "ports extra", "detect --bogus"})
        EXPECT_EQ(Vx50(arguments).status, 2) << arguments;
    EXPECT_EQ(Vx50("sysex " + (temp.Path() / "NONE.SET").string() + " arg -o " + file).status, 1);
    EXPECT_FALSE(fs::exists(file));

    const ToolRun written = Vx50("sysex " + set + " arg -o " + file);
    ASSERT_EQ(written.status, 0) << written.err;
    const Bytes dump = ReadFileBytes(file);
    ASSERT_EQ(dump.size(), 61u);
    EXPECT_EQ(std::pair(dump.front(), dump.back()), std::pair(std::uint8_t{0xF0}, std::uint8_t{0xF7}));
}

TEST_F(Vx50Test, ReportWithAGivenDateIsTheSameByteForByte) {
    const std::string set = WriteRandomSet("LIVE", 7);
    const std::string date = " --date \"5-Dec-2026 02:07:30\"";
    const ToolRun first = Vx50("report " + set + date);
    const ToolRun second = Vx50("report " + set + date);
    ASSERT_EQ(first.status, 0) << first.err;
    EXPECT_EQ(first.out, second.out);
    EXPECT_EQ(first.out.substr(0, 61), std::string(40, ' ') + "Vemo-x50 Set Report\r\n");
    EXPECT_NE(first.out.find("\r\n\r\nLIVE" + std::string(77, ' ') + "5-Dec-2026 02:07:30\r\n"), std::string::npos);
    EXPECT_NE(first.out.find("\r\nCALLS to User ARRANGEMENTS in LIVE\r\n"), std::string::npos);

    const fs::path file = temp.Path() / "LIVE.TXT";
    ASSERT_EQ(Vx50("report " + set + date + " -o " + file.string()).status, 0);
    EXPECT_EQ(ReadText(file), first.out);
    // An existing file is replaced only when told so.
    WriteFileBytes(file, {'o', 'l', 'd'});
    const ToolRun refused = Vx50("report " + set + " -o " + file.string());
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "Overwrite existing file?\n(--yes overwrites it)\n");
    EXPECT_EQ(ReadText(file), "old");
    EXPECT_EQ(Vx50("report " + set + date + " -o " + file.string() + " --yes").status, 0);
    EXPECT_EQ(ReadText(file), first.out);
}

TEST_F(Vx50Test, SubsetReportAndPresetExport) {
    const std::string set = WriteRandomSet("GIG", 11);
    const fs::path xls = temp.Path() / "PRG.XLS";
    ASSERT_EQ(Vx50("subset-report " + set + " prg -o " + xls.string()).status, 0);
    const std::string report = ReadText(xls);
    EXPECT_EQ(report.substr(0, 26), "Set\tPrg\tPrg Name\tPrg Cat\r\n");
    EXPECT_EQ(std::count(report.begin(), report.end(), '\n'), 137);
    const ToolRun noSubset = Vx50("subset-report " + set + " ark -o " + (temp.Path() / "K.XLS").string());
    EXPECT_EQ(noSubset.status, 2);
    EXPECT_EQ(noSubset.err, "There is no subset report of ark (arr, sty or prg)\n");
    EXPECT_FALSE(fs::exists(temp.Path() / "K.XLS"));

    // User bank D into a new file at preset bank B, the names file rewritten beside its backup.
    const fs::path prd = temp.Path() / "NEW.PRD";
    const fs::path names = temp.Path() / "NAMES.TXT";
    fs::copy_file(test::ProgramDir() + "/X50PRSTS.TXT", names);
    const std::string before = ReadText(names);
    const ToolRun run = Vx50("export-preset " + set + " arr D " + prd.string() + " B --names " + names.string());
    ASSERT_EQ(run.status, 0) << run.err;
    const Bytes arr = ReadFileBytes(fs::path(set) / "GIG.ARR");
    EXPECT_EQ(ReadFileBytes(prd).size(), 20992u);
    EXPECT_EQ(ReadFileBytes(prd), [&] {
        Bytes expected(10496, 0);
        expected.insert(expected.end(), arr.begin() + 32 + 10496, arr.begin() + 32 + 20992);
        return expected;
    }());
    EXPECT_EQ(ReadText(temp.Path() / "NAMES.BAK"), before);
    EXPECT_NE(ReadText(names), before);

    EXPECT_EQ(Vx50("export-preset " + set + " arr B " + prd.string() + " A").err,
              "Bank B holds no user Arrangements (arrangements: C or D; programs: F, G or R)\n");
    EXPECT_EQ(Vx50("export-preset " + set + " prg R " + prd.string() + " R51-R58").err,
              "Unknown preset bank R51-R58 (R11-R18, R21-R28, R31-R38, R41-R48)\n");
}

// A set the edit commands work on: arrangements C11-C14 named, C12 called by backing sequences
// 0 and 1, C11 playing program F11 "Warm Bass" on track 0; KBD sets numbered in their first byte.
SetData EditableSet() {
    SetData data = test::EmptySet();
    for (int i = 0; i < 4; ++i) data.arr.arr[static_cast<std::size_t>(i)].SetName("Arr " + std::to_string(i));
    data.arr.arr[0].SetTrackProgram(0, 768);
    data.prg.records[0].SetName("Warm Bass");
    for (int p : {0, 1}) {
        data.bsq.entries[static_cast<std::size_t>(p)].record.SetName("Seq " + std::to_string(p));
        data.bsq.entries[static_cast<std::size_t>(p)].record.SetArrangement(257);
    }
    for (int i = 0; i < kKbdSetCount; ++i)
        data.ark.records[static_cast<std::size_t>(i)].SetByte(0, static_cast<std::uint8_t>(i));
    return data;
}

SetData Reload(const std::string& directory, const std::string& name) {
    test::ScriptedInteraction ui;
    SetData data;
    for (int k = 0; k < kSetKindCount; ++k) {
        auto file = OpenItemFile(directory + "/" + name, KindFromIndex(k), ui);
        EXPECT_TRUE(file && LoadKind(*file, KindFromIndex(k), data)) << k;
    }
    return data;
}

TEST_F(Vx50Test, EditCommandsAnswerTheQuestionsFromTheirFlagsAndSave) {
    const std::string live = (temp.Path() / "LIVE.SET").string();
    test::WriteSet(EditableSet(), live, "LIVE");

    const ToolRun cut = Vx50("cut " + live + " arr:C12 --redirect arr:C14");
    ASSERT_EQ(cut.status, 0) << cut.err;
    EXPECT_EQ(cut.err,
              "Arr 1 Arrangement is referenced by\none or more Backing Sequences.\nChange references to another "
              "Arrangement?\n");
    SetData data = Reload(live, "LIVE");
    EXPECT_TRUE(data.arr.arr[1].IsEmpty());
    EXPECT_EQ(std::pair(data.bsq.entries[0].record.Arrangement(), data.bsq.entries[1].record.Arrangement()),
              std::pair(259, 259));

    ASSERT_EQ(Vx50("delete " + live + " arr:C11").status, 0);  // C14 (called) moves to C13, callers follow
    data = Reload(live, "LIVE");
    EXPECT_EQ(std::pair(data.arr.arr[2].Name(), data.bsq.entries[0].record.Arrangement()),
              std::pair(std::string("Arr 3           "), 258));

    const ToolRun move = Vx50("move " + live + " ark:11 ark:14");
    ASSERT_EQ(move.status, 0) << move.err;
    EXPECT_EQ(move.err, "Insert KBD Set 11 before 14 ?\n");
    data = Reload(live, "LIVE");
    EXPECT_EQ(std::vector<int>({data.ark.records[0].Byte(0), data.ark.records[1].Byte(0), data.ark.records[2].Byte(0)}),
              std::vector<int>({1, 2, 0}));

    // What is refused or not understood changes nothing.
    const Bytes arrangements = ReadFileBytes(fs::path(live) / "LIVE.ARR");
    const std::tuple<std::string, int, std::string> refusals[] = {
        {"cut " + live + " arr:C88", 1, "The slot is empty.\n"},
        {"delete " + live + " sty:C11", 1, "This command is not available for this kind.\n"},
        {"delete " + live + " arr:A11", 2, "No Arrangement of the set is labelled A11\n"},
        {"delete " + live + " xyz:C11", 2,
         "Unknown item xyz:C11 (KIND:LABEL with KIND arr, sty, prg, bsq, sng or ark)\n"},
        {"erase-bank " + live + " arr Q", 2, "Unknown bank Q of Arrangements\n"},
    };
    for (const auto& [arguments, status, err] : refusals) {
        const ToolRun run = Vx50(arguments);
        EXPECT_EQ(std::pair(run.status, run.err), std::pair(status, err)) << arguments;
    }
    EXPECT_EQ(ReadFileBytes(fs::path(live) / "LIVE.ARR"), arrangements);

    ASSERT_EQ(Vx50("erase-bank " + live + " arr C").status, 0);
    EXPECT_TRUE(Reload(live, "LIVE").arr.arr[0].IsEmpty());
}

TEST_F(Vx50Test, CopyBetweenSetsRepointsProgramsByNameOrFailsWhenAsked) {
    const std::string live = (temp.Path() / "LIVE.SET").string();
    const std::string gigs = (temp.Path() / "GIGS.SET").string();
    test::WriteSet(EditableSet(), live, "LIVE");
    SetData other = test::EmptySet();
    test::WriteSet(other, gigs, "GIGS");
    const Bytes before = ReadFileBytes(fs::path(gigs) / "GIGS.ARR");

    const ToolRun failed = Vx50("copy " + live + " arr:C11 " + gigs + " arr:D11 --missing fail");
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(failed.err,
              "Track 'DRUMS' of Arrangement 'Arr 0' calls Program 'Warm Bass' non-existent in "
              "'GIGS'\nRedirect this track to an existing Program?\n");
    EXPECT_EQ(ReadFileBytes(fs::path(gigs) / "GIGS.ARR"), before);

    other.prg.records[100].SetName("Warm Bass");  // G55
    test::WriteSet(other, gigs, "GIGS");
    const ToolRun copied = Vx50("copy " + live + " arr:C11 " + gigs + " arr:D11 --missing fail");
    ASSERT_EQ(copied.status, 0) << copied.err;
    EXPECT_EQ(copied.err, "");
    const SetData data = Reload(gigs, "GIGS");
    EXPECT_EQ(std::pair(data.arr.arr[64].Name(), data.arr.arr[64].TrackProgram(0)),
              std::pair(std::string("Arr 0           "), 868));
}

// The edit commands take styles, backing sequences and songs; paste-xstyle pastes a file's item.
TEST_F(Vx50Test, StylesSequencesAndXStyleFiles) {
    const std::string live = (temp.Path() / "LIVE.SET").string();
    test::WriteSet(EditableSet(), live, "LIVE");
    for (int n : {2, 3}) ASSERT_EQ(Vx50("copy " + live + " bsq:0 " + live + " bsq:" + std::to_string(n)).status, 0);

    const ToolRun move = Vx50("move " + live + " bsq:0 bsq:3");
    ASSERT_EQ(move.status, 0) << move.err;
    EXPECT_EQ(move.err, "Insert Backing Sequence 0 before 3 ?\n");
    SetData data = Reload(live, "LIVE");
    EXPECT_EQ(data.bsq.entries[2].record.Name(), "Seq 0           ");
    EXPECT_EQ(data.bsq.entries[0].record.Name(), "Seq 1           ");

    Bytes style(75 + 8, 0x11);
    std::copy_n("VEMOXGroove          ", 21, style.begin());
    WriteFileBytes(temp.Path() / "GROOVE.XSF", style);
    const ToolRun pasted = Vx50("paste-xstyle " + live + " sty:C12 " + (temp.Path() / "GROOVE.XSF").string());
    ASSERT_EQ(pasted.status, 0) << pasted.err;
    data = Reload(live, "LIVE");
    EXPECT_EQ(std::tuple(data.sty.slots[1].record.Name(), data.sty.slots[1].size, data.sty.slots[1].events.size()),
              std::tuple(std::string("Groove          "), std::uint16_t{78}, std::size_t{8}));

    const ToolRun missing = Vx50("paste-xstyle " + live + " arr:C11 " + (temp.Path() / "GROOVE.XAF").string());
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.err.substr(missing.err.find('\n') + 1), "Error getting Arrangement data.\n");
    ASSERT_EQ(Vx50("erase-bank " + live + " sng").status, 0);
    ASSERT_EQ(Vx50("cut " + live + " sty:C12").status, 0);
    EXPECT_TRUE(Reload(live, "LIVE").sty.slots[1].IsEmpty());
}

// Names typed on the command line hold the instrument's characters only; whatever a set file
// holds, the names file gets a line of its own per entry; a malformed line of the names file is
// skipped with one warning. As root and as a normal user.
TEST_F(Vx50Test, NamesCannotBreakTheNamesFileOrTheStartUp) {
    SetData data = test::EmptySet();
    data.arr.arr[0].SetName("AB\nCD\x01\177EF\r");
    data.arr.arr[0].SetCategory(3);
    data.arr.arr[0].SetStyle(261);
    const std::string set = (temp.Path() / "NAMES.SET").string();
    test::WriteSet(data, set, "NAMES");
    const fs::path arr = fs::path(set) / "NAMES.ARR";
    const Bytes arrBefore = ReadFileBytes(arr);

    // The set's name with its control bytes goes into the names file as blanks.
    const fs::path names = temp.Path() / "X50PRSTS.TXT";
    fs::copy_file(test::ProgramDir() + "/X50PRSTS.TXT", names);
    const ToolRun exported =
        Vx50("export-preset " + set + " arr C " + (temp.Path() / "P.PRD").string() + " A --names " + names.string());
    ASSERT_EQ(exported.status, 0) << exported.err;
    const std::string text = ReadText(names);
    EXPECT_NE(text.find("/ Arr A11-A18\r\n\"AB CD  EF       \",3,261\r\n"), std::string::npos);
    PresetTables tables;
    std::vector<int> skipped;
    ASSERT_TRUE(ParsePresetNames(text, tables, &skipped));
    EXPECT_EQ(tables.arrangements[0].name, "AB CD  EF       ");
    EXPECT_TRUE(skipped.empty());

    // A program directory whose names file has a name broken by a line break, as older versions wrote.
    const fs::path program = temp.Path() / "program";
    fs::create_directories(program);
    fs::copy(test::ProgramDir() + "/X50EMPTY.SET", program / "X50EMPTY.SET", fs::copy_options::recursive);
    fs::copy_file(test::ProgramDir() + "/vx50", program / "vx50");
    std::string broken = ReadText(test::ProgramDir() + "/X50PRSTS.TXT");
    const std::size_t at = broken.find("/ Arr A11-A18\r\n") + 15;
    broken.insert(at + 3, "\n");
    WriteFileBytes(program / "X50PRSTS.TXT", Bytes(broken.begin(), broken.end()));
    const int line = 1 + static_cast<int>(std::count(broken.begin(), broken.begin() + static_cast<long>(at), '\n'));

    const bool root = ::geteuid() == 0;
    for (const std::string& runner :
         {std::string(), std::string("setpriv --reuid=65534 --regid=65534 --clear-groups ")}) {
        if (!runner.empty() && !root) continue;  // a normal user already ran it
        SCOPED_TRACE(runner.empty() ? "as this user" : "as nobody");
        if (!runner.empty()) {
            ASSERT_EQ(std::system(("chown -R 65534:65534 " + temp.Str()).c_str()), 0);
        }
        const std::tuple<std::string, std::string> refused[] = {
            {"\"$(printf 'Lead\\nTwo')\"", "a line break"},
            {"\"$(printf 'Lead\\tTwo')\"", "a tab"},
            {"\"$(printf 'Lead\\033')\"", "the control character 0x1B"},
            {"'Caf\xc3\xa9'", "the character \"\xc3\xa9\""},
            {"\"$(printf 'Caf\\351')\"", "the byte 0xE9"},
        };
        for (const auto& [name, what] : refused) {
            const ToolRun run = Vx50("rename " + set + " arr:C11 " + name, runner);
            EXPECT_EQ(run.status, 2) << name;
            EXPECT_EQ(run.err,
                      "Can't rename ARR:C11. A name can't hold " + what + " (only the characters blank to ~)\n");
        }
        EXPECT_EQ(ReadFileBytes(arr), arrBefore);

        const ToolRun info = Vx50("info " + set, runner, (program / "vx50").string());
        EXPECT_EQ(info.status, 0);
        EXPECT_EQ(info.err, "Line " + std::to_string(line) + " of the Preset names file " + program.string() +
                                "/X50PRSTS.TXT is malformed.\nIt was skipped: its entry is left blank.\n");
        EXPECT_NE(info.out.find("Set NAMES\n"), std::string::npos) << info.out;
    }
}

// Output paths: an empty name is a usage error; a FIFO or a link is written into as it is and
// never replaced by a plain file; an item file of another kind is refused whatever its
// name; a set is found again under the name it was given, and saves in place whatever its name.
TEST_F(Vx50Test, OutputPathsAreWrittenAsTheyAreOrRefused) {
    const std::string set = WriteRandomSet("OUT", 3);
    const std::tuple<std::string, std::string> usage[] = {
        {"export-preset " + set + " arr C \"\" A", "The preset data file name is empty\n"},
        {"sysex " + set + " arr -o \"\"", "The output file name is empty\n"},
        {"new \"" + temp.Str() + "/ lead.SET\"", "A set name can't start or end with a blank: \" lead\"\n"},
    };
    for (const auto& [arguments, message] : usage) {
        const ToolRun run = Vx50(arguments);
        EXPECT_EQ(std::pair(run.status, run.err), std::pair(2, message)) << arguments;
    }
    EXPECT_FALSE(fs::exists(temp.Path() / "LEAD.SET"));
    EXPECT_FALSE(fs::exists(temp.Path() / " lead.SET"));

    // A FIFO nobody reads is refused at once; one with a reader gets the report.
    const fs::path fifo = temp.Path() / "report.fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    const std::pair<std::string, std::string> reports[] = {
        {"--yes report " + set + " --date \"5-Dec-2026 02:07:30\" -o ", "Error saving Report to file "},
        {"--yes subset-report " + set + " prg -o ", "Error saving Subset Report to file "},
    };
    for (const auto& [arguments, error] : reports) {
        const ToolRun run = Vx50(arguments + fifo.string());
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, "Overwrite existing file?\n" + error + ToUpper(fifo.string()) +
                               "\nNo program is reading from " + fifo.string() + ".\n");
        EXPECT_TRUE(fs::is_fifo(fifo));
    }
    const ToolRun expected = Vx50("report " + set + " --date \"5-Dec-2026 02:07:30\"");
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    ASSERT_GT(::fcntl(reader, F_SETPIPE_SZ, 1 << 20), static_cast<int>(expected.out.size()));
    const ToolRun fed = Vx50(reports[0].first + fifo.string());
    std::string received(expected.out.size() + 1, '\0');
    const ssize_t got = ::read(reader, received.data(), received.size());
    ::close(reader);
    EXPECT_EQ(fed.status, 0) << fed.err;
    EXPECT_EQ(received.substr(0, static_cast<std::size_t>(std::max<ssize_t>(got, 0))), expected.out);
    EXPECT_TRUE(fs::is_fifo(fifo));

    // A link is written through and stays a link.
    const fs::path target = temp.Path() / "target.syx";
    const fs::path link = temp.Path() / "link.syx";
    WriteFileBytes(target, {1, 2, 3});
    fs::create_symlink(target, link);
    ASSERT_EQ(Vx50("sysex " + set + " arg -o " + link.string() + " --yes").status, 0);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadFileBytes(target).size(), 61u);

    // An item file of another kind is refused, whatever kind its name claims.
    const std::string other = WriteRandomSet("OTHER", 4);
    const Bytes programs = ReadFileBytes(fs::path(set) / "OUT.PRG");
    const ToolRun imported = Vx50("import " + set + " prg " + other + "/OTHER.ARR");
    EXPECT_EQ(imported.status, 1);
    EXPECT_EQ(imported.err, ToUpper(other) + "/OTHER.ARR is not a valid file\nError getting Program data.\n");
    EXPECT_EQ(ReadFileBytes(fs::path(set) / "OUT.PRG"), programs);

    // A set from disk whose name starts as a new set's does saves in place.
    const std::string newLike = WriteRandomSet("NEWSETLIST", 5);
    const ToolRun renamed = Vx50("rename " + newLike + " arr:C11 Lead");
    EXPECT_EQ(renamed.status, 0) << renamed.err;
    EXPECT_EQ(Reload(newLike, "NEWSETLIST").arr.arr[0].Name(), "Lead            ");
}

}  // namespace
}  // namespace vx
