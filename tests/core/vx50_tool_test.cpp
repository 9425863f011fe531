// Drives the built vx50 program as a user would, on sets written by the fixture builder.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <errno.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <functional>
#include <string>
#include <tuple>

#include "core/catalogue/Catalogue.h"
#include "core/catalogue/PresetNames.h"
#include "core/kinds/EditableKind.h"
#include "core/programs/ProgramNumbers.h"
#include "core/storage/SetData.h"
#include "core/storage/SetLock.h"
#include "core/text/Helpers.h"
#include "support/Golden.h"
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
        const char* reason;  // after the file's name
        void (*breakIt)(Bytes&);
    };
    const Case cases[] = {
        {".ARR", "Error getting Arrangement data.", " at byte 32: the file is 21076 bytes long, too short for the data length 32767",
         [](Bytes& b) {  // DataLength beyond the end of the file
             b[24] = 0xFF;
             b[25] = 0x7F;
         }},
        {".STY", "Error getting Style data.", " at byte 21: the style count 52 is more than 48", [](Bytes& b) { b[21] = 52; }},
        {".PRG", "Error getting Program data.", " at byte 30000: the file ends after 30000 of its 30480 bytes",
         [](Bytes& b) { b.resize(30000); }},
        {".BSQ", "Error getting Backing Sequence data.",
         " at byte 2396: the offset 32767 of section 0 of sequence 0 lies past the next offset, 1",
         [](Bytes& b) {  // the offsets of sequence 0 run backwards
             b[2396] = 0xFF;
             b[2396 + 1] = 0x7F;
         }},
        {".SNG", "Error getting Song data.", " at byte 4018: the file is 9585 bytes long, too short for the events of sequence 0",
         [](Bytes& b) {  // song 0's sections reach far past the file
             for (std::size_t at = 3476 + 2 * 16; at < 4018; at += 2) {
                 b[at] = 0xFF;
                 b[at + 1] = 0x7F;
             }
         }},
        {".ARK", "Error getting KBD Set data.", " at byte 32: the file is 1000 bytes long, too short for the KBD sets",
         [](Bytes& b) { b.resize(1000); }},
        {".ARG", "Error getting Arrangement Global data.", " at byte 32: the file is 60 bytes long, too short for the settings",
         [](Bytes& b) { b.resize(60); }},
        {".GBL", "Error getting Global data.", " at byte 32: the file is 100 bytes long, too short for the settings",
         [](Bytes& b) { b.resize(100); }},
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
        EXPECT_EQ(run.err, std::string(c.message) + "\n" + file.string() + c.reason + "\n");
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
    EXPECT_EQ(run.err, directory + "/LIVE.STY is not a valid file\nFile " + directory + "/LIVE.ARK not found\n");

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
    EXPECT_EQ(wrong.err, other + "/WRONG.STY is not a valid file\nError getting Style data.\n");
    EXPECT_EQ(ReadFileBytes(fs::path(live) / "LIVE.STY"), stylesNow);
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
    const ToolRun global = Vx50("show --json " + directory + " gbl");
    ASSERT_EQ(global.status, 0) << global.err;
    const ToolRun program = Vx50("show --json " + directory + " prg:F11");
    // A KBD set: its split key and its five tracks' programs, as its row of the grid shows them.
    data.ark.records[0].SetSplit(60);
    for (int t = 0; t < KbdSetRecord::kTrackCount; ++t) data.ark.records[0].SetTrackProgram(t, 768);
    const std::string kbdSets = (temp.Path() / "KBD.SET").string();
    test::WriteSet(data, kbdSets, "KBD");
    const ToolRun kbd = Vx50("show " + kbdSets + " ark:11");
    ASSERT_EQ(kbd.status, 0) << kbd.err;
    // The dialogs' fields as shown, and the global settings as JSON.
    const std::string all = shown.out + program.out + kbd.out + global.out;
    EXPECT_EQ(all, test::Golden("tool/show.txt", all));

    const Bytes before = ReadFileBytes(fs::path(directory) / "SHOW.ARR");
    const ToolRun renamed = Vx50("rename " + directory + " arr:C11 '   Brand New Name Too Long'");
    ASSERT_EQ(renamed.status, 0) << renamed.err;
    Bytes expected = before;
    const std::string stored = "Brand New Name T";
    std::copy(stored.begin(), stored.end(), expected.begin() + 32);
    EXPECT_EQ(ReadFileBytes(fs::path(directory) / "SHOW.ARR"), expected);
}

TEST_F(Vx50Test, VersionIsPrinted) {
    const ToolRun version = Vx50("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "vx50 1.06\n");
}

// sysex writes the one message of the dump.
TEST_F(Vx50Test, SysexWritesADumpFile) {
    const std::string set = WriteRandomSet("LIVE", 5);
    const std::string file = (temp.Path() / "ARG.SYX").string();
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
    SetData data;
    for (int k = 0; k < kSetKindCount; ++k) {
        auto file = OpenItemFile(directory + "/" + name, KindFromIndex(k));
        EXPECT_TRUE(file && LoadKind(*file, KindFromIndex(k), data)) << k;
    }
    return data;
}

// Commands that are refused: each "$ " line of the transcript is run in a scratch directory
// ("@" in the transcript) holding the editable set LIVE.SET and a random set OUT.SET; its exit
// status and what it printed follow it. A refusal writes nothing.
TEST_F(Vx50Test, RefusalsAndUsageErrorsAsTheTranscriptSays) {
    test::WriteSet(EditableSet(), (temp.Path() / "LIVE.SET").string(), "LIVE");
    WriteRandomSet("OUT", 3);
    std::map<std::string, Bytes> before;
    for (const auto& entry : fs::recursive_directory_iterator(temp.Path()))
        if (entry.is_regular_file()) before[entry.path().string()] = ReadFileBytes(entry.path());
    auto shown = [&](std::string text) {
        for (auto at = text.find(temp.Str()); at != std::string::npos; at = text.find(temp.Str(), at))
            text.replace(at, temp.Str().size(), "@");
        return text;
    };
    const Bytes file = ReadFileBytes(test::SourceDir() + "/tests/data/tool/refusals.txt");
    std::istringstream expected(std::string(file.begin(), file.end()));
    std::string transcript;
    for (std::string line; std::getline(expected, line);) {
        if (!line.starts_with("$ ")) continue;
        std::string arguments = line.substr(2);
        for (auto at = arguments.find('@'); at != std::string::npos; at = arguments.find('@', at + 1))
            arguments.replace(at, 1, temp.Str());
        const ToolRun run = Vx50(arguments);
        transcript += line + "\nstatus " + std::to_string(run.status) + "\n" + shown(run.out) + shown(run.err) + "\n";
    }
    EXPECT_EQ(transcript, test::Golden("tool/refusals.txt", transcript));
    std::map<std::string, Bytes> after;
    for (const auto& entry : fs::recursive_directory_iterator(temp.Path()))
        if (entry.is_regular_file() && !entry.path().filename().string().starts_with("std"))
            after[entry.path().string()] = ReadFileBytes(entry.path());
    EXPECT_EQ(after, before);
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
        EXPECT_EQ(run.err, "Overwrite existing file?\n" + error + fifo.string() + "\nNo program is reading from " +
                               fifo.string() + ".\n");
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
    EXPECT_EQ(imported.err, other + "/OTHER.ARR is not a valid file\nError getting Program data.\n");
    EXPECT_EQ(ReadFileBytes(fs::path(set) / "OUT.PRG"), programs);

    // A set from disk whose name starts as a new set's does saves in place.
    const std::string newLike = WriteRandomSet("NEWSETLIST", 5);
    const ToolRun renamed = Vx50("rename " + newLike + " arr:C11 Lead");
    EXPECT_EQ(renamed.status, 0) << renamed.err;
    EXPECT_EQ(Reload(newLike, "NEWSETLIST").arr.arr[0].Name(), "Lead            ");
}

std::string Trimmed(std::string text) {
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

// The sets of a batch script: copies of the demo set and a built one, named as they are given.
class Vx50BatchTest : public Vx50Test {
protected:
    std::string CopyDemo(const std::string& name) {
        const fs::path directory = temp.Path() / (name + ".SET");
        fs::create_directories(directory);
        for (const std::string& extension : test::SetFileExtensions())
            fs::copy_file(fs::path(test::ProgramDir()) / "../examples/DEMO.SET" / ("DEMO" + extension),
                          directory / (name + extension));
        return directory.string();
    }
    ToolRun Batch(const std::string& sets, const std::string& script) {
        const fs::path file = temp.Path() / "script.txt";
        WriteFileBytes(file, Bytes(script.begin(), script.end()));
        return Vx50("batch " + sets + " --script " + file.string());
    }
    std::map<std::string, Bytes> Files(const std::string& directory) {
        std::map<std::string, Bytes> files;
        for (const auto& entry : fs::directory_iterator(directory))
            files[entry.path().filename().string()] = ReadFileBytes(entry.path());
        return files;
    }
};

// Each line says what the editor's command did, with the messages it showed; only save writes.
TEST_F(Vx50BatchTest, RunsEachLineAsTheEditorDoesAndWritesOnlyOnSave) {
    const std::string live = (temp.Path() / "LIVE.SET").string();
    test::WriteSet(EditableSet(), live, "LIVE");
    const std::string demo = CopyDemo("DEMO");
    const auto demoFiles = Files(demo);
    fs::create_directories(temp.Path() / "x files");
    Bytes arrangement(5 + ArrangementRecord::kSize, 0);
    std::copy_n("VEMOXFrom File", 14, arrangement.begin());
    WriteFileBytes(temp.Path() / "x files" / "SONG.XAF", arrangement);

    // Through standard input, without save: nothing is written.
    const auto liveFiles = Files(live);
    WriteFileBytes(temp.Path() / "unsaved.txt", Bytes{'c', 'u', 't', ' ', '1', ' ', 'a', 'r', 'r', ':', 'C', '1', '1'});
    const ToolRun unsaved = Vx50("batch " + live + " < " + (temp.Path() / "unsaved.txt").string());
    EXPECT_EQ(std::tuple(unsaved.status, unsaved.out, unsaved.err),
              std::tuple(0, std::string("1: done\n"), std::string()));
    EXPECT_EQ(Files(live), liveFiles);

    const ToolRun run = Batch(live + " " + demo,
                              "# LIVE is set 1, DEMO set 2\n"
                              "copy 1 arr:C11\n"
                              "paste 1 arr:C15\n"
                              "undo 1 arr\n"
                              "undo 1 arr\n"
                              "\n"
                              "paste 1 sty:C11   # nothing copied\n"
                              "cut 1 arr:C88\n"
                              "cut 1 arr:C12 --redirect arr:C14\n"
                              "drop 1 arr:C11 1 C16\n"
                              "drop 1 arr:C16 2 D18 --missing fail\n"
                              "drop 1 bsq:0 1 3\n"
                              "drop 1 bsq:0 1 1\n"
                              "paste-xstyle 1 sty:C11 \"" +
                                  (temp.Path() / "x files" / "SONG.XAF").string() +
                                  "\"\n"
                                  "paste-xstyle 1 arr:C17 \"" +
                                  (temp.Path() / "x files" / "SONG.XAF").string() +
                                  "\"\n"
                                  "undo 2 bsq\n"
                                  "undo 1 bsq\n"
                                  "erase-bank 1 sng\n"
                                  "save 1\n");
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out, test::Golden("tool/batch.txt", run.out));
    // C11 moved to C16, C12 cut with its callers sent to C14, the move of the sequences undone
    // from the other set's window, the file's arrangement in C17.
    const SetData data = Reload(live, "LIVE");
    EXPECT_EQ(std::vector<std::string>({data.arr.arr[0].Name(), data.arr.arr[1].Name(), data.arr.arr[5].Name(),
                                        data.arr.arr[6].Name(), data.bsq.entries[0].record.Name()}),
              std::vector<std::string>({std::string(16, ' '), std::string(16, ' '), "Arr 0           ",
                                        std::string("From File\0\0\0\0\0\0\0", 16), "Seq 0           "}));
    EXPECT_EQ(std::pair(data.bsq.entries[0].record.Arrangement(), data.bsq.entries[1].record.Arrangement()),
              std::pair(259, 259));
    EXPECT_EQ(Files(demo), demoFiles);
}

// A script with a line that is not understood runs none of its lines.
TEST_F(Vx50BatchTest, StopsBeforeAnythingRunsOnALineItDoesNotUnderstand) {
    const std::string live = (temp.Path() / "LIVE.SET").string();
    test::WriteSet(EditableSet(), live, "LIVE");
    const std::string demo = CopyDemo("DEMO");
    const auto before = Files(live);
    const std::pair<const char*, const char*> cases[] = {
        {"frob 1",
         "line 3: unknown command frob (copy, cut, paste, insert, delete, drop, erase-bank, paste-xstyle, "
         "undo or save)"},
        {"\n# gone\npaste 3 arr:C11", "line 5: there is no set 3 (the sets are numbered 1 to 2)"},
        {"delete 1 sty:C11", "line 3: Styles have no delete"},
        {"copy 1 arr:C11 --redirect arr:C12", "line 3: copy asks nothing: it takes no options"},
        {"drop 1 arr:C11 2", "line 3: the command is drop N ITEM M LABEL"},
        {"cut 1 arr:A11", "line 3: No Arrangement of the set is labelled A11"},
        {"erase-bank 1 prg Q", "line 3: Unknown bank Q of Programs"},
        {"erase-bank 1 arr", "line 3: A bank letter is needed for Arrangements"},
        {"paste-xstyle 1 bsq:3 X.XAF", "line 3: Backing Sequences are not read from XStyle files"},
        {"paste-xstyle 1 arr:C11 \"A FILE", "line 3: the quote is not closed"},
        {"delete 1 arr:C11 --missing maybe", "line 3: --missing is keep or fail, not maybe"},
        {"delete 1 arr:C11 --redirect arr:Q11", "line 3: No Arrangement is labelled arr:Q11"},
        {"undo 1 xyz", "line 3: unknown kind xyz (arr, sty, prg, bsq, sng or ark)"},
    };
    for (const auto& [line, error] : cases) {
        const ToolRun run = Batch(live + " " + demo, std::string("cut 1 arr:C11\nsave 1\n") + line + "\nsave 1\n");
        EXPECT_EQ(std::tuple(run.status, run.out, run.err), std::tuple(2, std::string(), std::string(error) + "\n"))
            << line;
    }
    EXPECT_EQ(Files(live), before);
}

// Paste from XStyle reads the file named; its extension tells what it holds, and a file of
// another kind than the slot's is refused, naming both.
TEST_F(Vx50Test, PasteXStyleReadsTheFileNamedAndRefusesAnotherKind) {
    const std::string live = (temp.Path() / "LIVE.SET").string();
    test::WriteSet(EditableSet(), live, "LIVE");
    auto xstyle = [&](const std::string& name, std::size_t size, const std::string& itemName) {
        Bytes bytes(5 + size, 0);
        std::copy_n("VEMOX", 5, bytes.begin());
        std::copy(itemName.begin(), itemName.end(), bytes.begin() + 5);
        WriteFileBytes(temp.Path() / name, bytes);
        return (temp.Path() / name).string();
    };
    xstyle("SONG.XAF", ArrangementRecord::kSize, "Wrong Song");
    const std::string style = xstyle("SONG.XSF", 70 + 8, "Groove");
    const std::string program = xstyle("SONG.XPF", ProgramRecord::kSize, "Song Lead");
    const std::string kit = xstyle("Kit.xdk", ProgramRecord::kSize + kDrumKitDataSize, "Song Kit");
    const std::string notes = xstyle("NOTES.TXT", ArrangementRecord::kSize, "Notes");
    const Bytes programs = ReadFileBytes(fs::path(live) / "LIVE.PRG");
    const Bytes arrangements = ReadFileBytes(fs::path(live) / "LIVE.ARR");

    const std::tuple<std::string, std::string, std::string> refused[] = {
        {"arr:C13", style, "SONG.XSF holds a Style; C13 is an Arrangement slot.\n"},
        {"sty:C12", (temp.Path() / "SONG.XAF").string(), "SONG.XAF holds an Arrangement; C12 is a Style slot.\n"},
        {"prg:F12", kit, "Kit.xdk holds a Drum Kit; F12 is a Program slot.\n"},
        {"prg:R51", program, "SONG.XPF holds a Program; R51 is a Drum Kit slot.\n"},
        {"arr:C13", notes, "NOTES.TXT is not an XStyle file (.XAF, .XSF, .XPF or .XDK); C13 is an Arrangement slot.\n"},
    };
    for (const auto& [item, file, error] : refused) {
        const ToolRun run = Vx50("paste-xstyle " + live + " " + item + " " + file);
        EXPECT_EQ(std::pair(run.status, run.err), std::pair(1, error)) << item << " " << file;
    }
    EXPECT_EQ(ReadFileBytes(fs::path(live) / "LIVE.PRG"), programs);
    EXPECT_EQ(ReadFileBytes(fs::path(live) / "LIVE.ARR"), arrangements);

    for (const auto& [item, file] : {std::pair("sty:C12", style), std::pair("prg:F12", program),
                                     std::pair("prg:R52", kit),
                                     std::pair("arr:C13", (temp.Path() / "song.xaf").string())}) {
        const ToolRun run = Vx50("paste-xstyle " + live + " " + item + " " + file);
        EXPECT_EQ(std::pair(run.status, run.err), std::pair(0, std::string())) << item << " " << file;
    }
    const SetData data = Reload(live, "LIVE");
    EXPECT_EQ(std::vector<std::string>({Trimmed(data.sty.slots[1].record.Name()), Trimmed(data.prg.records[1].Name()),
                                        Trimmed(data.prg.records[129].Name()), data.arr.arr[2].Name().substr(0, 10)}),
              std::vector<std::string>({std::string("Groove\0\0\0\0\0\0\0\0\0\0", 16), std::string("Song Lead\0\0\0\0\0\0\0", 16),
                                        std::string("Song Kit\0\0\0\0\0\0\0\0", 16), "Wrong Song"}));
}

// Names are single bytes read as Latin-1: every output of the tool shows them in UTF-8, JSON
// included, and the files it writes keep the bytes.
TEST_F(Vx50Test, NamesWithBytesAbove127AreLatin1Everywhere) {
    SetData data = test::EmptySet();
    const std::string arrangement = "Caf\xE9 \xC3\xA9\xFF";  // the middle pair is UTF-8 for another text
    data.arr.arr[0].SetName(arrangement);
    data.arr.arr[0].SetTrackProgram(0, 768);
    data.arr.arr[0].SetTrackProgram(1, 769);  // an empty slot: a finding of the check
    data.prg.records[0].SetName("Gr\xC3\xBCn \xC2\xB0");  // every byte above 127 in a UTF-8 pair
    const std::string set = (temp.Path() / "NAMES.SET").string();
    test::WriteSet(data, set, "NAMES");
    const std::string arrUtf8 = "Caf\xC3\xA9 \xC3\x83\xC2\xA9\xC3\xBF";
    const std::string prgUtf8 = "Gr\xC3\x83\xC2\xBCn \xC3\x82\xC2\xB0";

    const std::pair<std::string, std::string> printed[] = {
        {"info " + set, "  C11  " + arrUtf8 + "  style A11\n"},
        {"info --json " + set, "\"name\": \"Caf\\u00e9 \\u00c3\\u00a9\\u00ff\",\n"},
        {"show " + set + " arr:C11", "Name: " + arrUtf8 + "        \n"},
        {"show --json " + set + " prg:F11", "\"Name\": \"" + prgUtf8 + "        \""},
        {"check " + set, "Arrangement C11 '" + arrUtf8},
        {"check --json " + set, "\"item\": \"Arrangement C11 '" + arrUtf8},
        {"report " + set + " --date 1-Jan-2027", prgUtf8},
    };
    for (const auto& [arguments, expected] : printed) {
        const ToolRun run = Vx50(arguments);
        EXPECT_NE(run.out.find(expected), std::string::npos) << arguments << "\n" << run.out.substr(0, 1500) << run.err;
        EXPECT_EQ(nlohmann::json::accept(run.out), arguments.find("--json") != std::string::npos) << arguments;
    }
    const fs::path report = temp.Path() / "NAMES.TXT";
    const fs::path subset = temp.Path() / "NAMES.XLS";
    ASSERT_EQ(Vx50("report " + set + " --date 1-Jan-2027 -o " + report.string()).status, 0);
    ASSERT_EQ(Vx50("subset-report " + set + " arr -o " + subset.string()).status, 0);
    EXPECT_NE(ReadText(report).find("Gr\xC3\xBCn \xC2\xB0"), std::string::npos);
    EXPECT_NE(ReadText(subset).find(arrangement), std::string::npos);
}

// Two vx50 edits of one set started at once, runs times, each on a fresh copy of the editable
// set (as the user runAs when given, the set directory theirs): the number of runs in which an
// edit is missing although the process that made it was not refused with the in-use or the
// changed-on-disk message. Also counts the runs in which both edits were made.
struct ConcurrentEdits {
    std::string first, second;  // the two commands; @ stands for the set directory
    std::function<bool(const SetData&)> firstDone, secondDone;
};

struct RaceTally {
    int silentLosses = 0;
    int bothDone = 0;
    std::string lastLoss;
};

RaceTally RaceEdits(const fs::path& place, const ConcurrentEdits& edits, int runs, const std::string& runAs) {
    RaceTally tally;
    const std::string tool = runAs + test::ProgramDir() + "/vx50 ";
    for (int run = 0; run < runs; ++run) {
        const fs::path live = place / ("R" + std::to_string(run)) / "LIVE.SET";
        test::WriteSet(EditableSet(), live.string(), "LIVE");
        if (!runAs.empty()) {
            for (const fs::path& path : {live.parent_path(), live}) EXPECT_EQ(chown(path.c_str(), 65534, 65534), 0);
            for (const auto& entry : fs::directory_iterator(live))
                EXPECT_EQ(chown(entry.path().c_str(), 65534, 65534), 0);
        }
        const fs::path out = live.parent_path();
        auto command = [&](const std::string& edit, const char* tag) {
            std::string line = edit;
            for (auto at = line.find('@'); at != std::string::npos; at = line.find('@', at + 1))
                line.replace(at, 1, live.string());
            return "(" + tool + line + " >/dev/null 2>" + (out / tag).string() + "; echo $? >" +
                   (out / (std::string(tag) + ".status")).string() + ")";
        };
        const std::string both = command(edits.first, "first") + " & " + command(edits.second, "second") + " & wait";
        EXPECT_EQ(std::system(both.c_str()), 0);

        const SetData data = Reload(live.string(), "LIVE");
        const bool done[] = {edits.firstDone(data), edits.secondDone(data)};
        for (int i = 0; i < 2; ++i) {
            const std::string tag = i == 0 ? "first" : "second";
            const std::string err = ReadText(out / tag);
            const bool refused = ReadText(out / (tag + ".status")) != "0\n" &&
                                 (err.find(" is in use by ") != std::string::npos ||
                                  err.find(" changed on disk after ") != std::string::npos);
            if (!done[i] && !refused) {
                ++tally.silentLosses;
                tally.lastLoss = tag + " edit lost, its status " + ReadText(out / (tag + ".status")) + err;
            }
        }
        tally.bothDone += done[0] && done[1];
    }
    return tally;
}

const std::vector<ConcurrentEdits>& RacingEdits() {
    static const std::vector<ConcurrentEdits> edits = {
        {"rename @ arr:C11 ONE", "rename @ arr:C14 TWO",
         [](const SetData& d) { return d.arr.arr[0].Name() == "ONE             "; },
         [](const SetData& d) { return d.arr.arr[3].Name() == "TWO             "; }},
        // The copy of C11 into D11 beside the delete of C13, after which C14 is C13.
        {"copy @ arr:C11 @ arr:D11", "delete @ arr:C13",
         [](const SetData& d) {
             const int d11 = EditableKindOf(ItemKind::Arrangement)->SlotOfLabel("D11");
             return d.arr.arr[static_cast<std::size_t>(d11)].Name() == "Arr 0           ";
         },
         [](const SetData& d) { return d.arr.arr[2].Name() == "Arr 3           "; }},
    };
    return edits;
}

TEST_F(Vx50Test, TwoEditsOfOneSetAtOnceNeverLoseOneSilently) {
    for (const ConcurrentEdits& edits : RacingEdits()) {
        SCOPED_TRACE(edits.first + " beside " + edits.second);
        const RaceTally tally = RaceEdits(temp.Path(), edits, 15, "");
        EXPECT_EQ(tally.silentLosses, 0) << tally.lastLoss;
        EXPECT_GT(tally.bothDone, 0) << "the second program waits for the first";
    }
}

TEST_F(Vx50Test, TwoEditsOfOneSetAtOnceAsANormalUserNeverLoseOneSilently) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root to run vx50 as nobody";
    if (std::system("command -v setpriv >/dev/null 2>&1") != 0) GTEST_SKIP() << "setpriv is missing";
    // The sets lie in a directory nobody cannot write: the lock lives inside the set.
    fs::permissions(temp.Path(), fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                     fs::perms::others_read | fs::perms::others_exec);
    for (const ConcurrentEdits& edits : RacingEdits()) {
        SCOPED_TRACE(edits.first + " beside " + edits.second);
        const RaceTally tally = RaceEdits(temp.Path(), edits, 6, "setpriv --reuid=65534 --regid=65534 --clear-groups ");
        EXPECT_EQ(tally.silentLosses, 0) << tally.lastLoss;
        EXPECT_GT(tally.bothDone, 0);
    }
}

TEST_F(Vx50Test, AnEditOfASetAnotherProgramHoldsIsRefusedNamingItAndWritesNothing) {
    const std::string live = (temp.Path() / "LIVE.SET").string();
    test::WriteSet(EditableSet(), live, "LIVE");
    const Bytes before = ReadFileBytes(fs::path(live) / "LIVE.ARR");
    SetLock::Result held = SetLock::Acquire(live, "LIVE", 0);
    ASSERT_EQ(held.outcome, SetLock::Outcome::Locked);
    char host[256] = {};
    gethostname(host, sizeof host - 1);
    const ToolRun run = Vx50("rename " + live + " arr:C11 ONE");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "LIVE.SET is in use by " + std::string(program_invocation_short_name) + " (process " +
                           std::to_string(getpid()) + " on " + host + "). Close it there and try again.\n");
    EXPECT_EQ(ReadFileBytes(fs::path(live) / "LIVE.ARR"), before);
}

}  // namespace
}  // namespace vx
