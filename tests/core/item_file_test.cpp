#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "core/catalogue/Catalogue.h"
#include "core/format/ItemFile.h"
#include "core/format/ItemFileSave.h"
#include "core/format/PathLookup.h"
#include "core/midi/DumpMessage.h"
#include "core/midi/MidiDump.h"
#include "core/storage/SetData.h"
#include "core/text/Helpers.h"
#include "support/Golden.h"
#include "support/ScriptedInteraction.h"
#include "support/SetBuilder.h"
#include "support/TestPaths.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

// The magic, the kind byte at 6 and opaque bytes up to size.
Bytes ItemBytes(std::uint8_t kindByte, std::size_t size = 64, const char* magic = "VEMOX") {
    Bytes bytes(std::max<std::size_t>(size, 8));
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 13 + 5);
    std::copy_n(magic, 5, bytes.begin());
    bytes[6] = kindByte;
    bytes.resize(size);
    return bytes;
}

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

class ItemFileTest : public ::testing::Test {
protected:
    std::string Base(const std::string& tail) const { return dir.Str() + tail; }
    void Write(const std::string& tail, const Bytes& bytes) const {
        fs::create_directories(fs::path(Base(tail)).parent_path());
        test::WriteFileBytes(Base(tail), bytes);
    }

    test::TempDirectory dir;
};

// What each name opens as a kind, found whatever the case of its directory and file (the exact
// name first, else the first in order), or why it is refused, in records/opened.txt. A header
// needs the magic and eight bytes, and for set kinds their own kind byte (an arrangement file
// named .PRG and a song given its kind's index are refused); XStyle kinds take any kind byte.
TEST_F(ItemFileTest, WhatEachNameOpensOrWhyNot) {
    const std::tuple<const char*, std::uint8_t, std::size_t> files[] = {
        {"/H/ARR.ARR", 3, 64},         {"/H/SONG.SNG", 1, 64},        {"/H/GBL.GBL", 6, 64},
        {"/H/ARR.PRG", 3, 64},         {"/H/INDEX.SNG", 4, 64},       {"/H/ANY.XAF", 0x77, 64},
        {"/H/EIGHT.XSF", 0, 8},        {"/H/FIVE.XPF", 0, 5},         {"/H/SEVEN.PRG", 0, 7},
        {"/H/EMPTY.GBL", 6, 0},        {"/LIVE.SET/live.arr", 3, 64}, {"/Gigs.Set/GIGS.PRG", 0, 64},
        {"/BOTH.SET/BOTH.SNG", 1, 10}, {"/BOTH.SET/both.sng", 1, 20}, {"/BOTH.SET/Both.SNG", 1, 30},
    };
    for (const auto& [tail, kindByte, size] : files) Write(tail, ItemBytes(kindByte, size));
    Write("/H/MAGIC.XPF", ItemBytes(0, 9, "VEMOZ"));
    fs::create_directories(dir.Path() / "DIRS.SET" / "dirs.arr");  // a directory, not a file
    using enum ItemKind;
    std::vector<std::pair<std::string, ItemKind>> opens = {
        {"/H/ARR", Arrangement},     {"/H/SONG", Song},           {"/H/GBL", Global},
        {"/H/ARR", Program},         {"/H/INDEX", Song},          {"/H/ANY", XStyleArrangement},
        {"/H/EIGHT", XStyleStyle},   {"/H/MAGIC", XStyleProgram}, {"/H/FIVE", XStyleProgram},
        {"/H/SEVEN", Program},       {"/H/EMPTY", Global},        {"/live.set/Live", Arrangement},
        {"/GIGS.SET/GIGS", Program}, {"/BOTH.SET/Both", Song},    {"/BOTH.SET/bOTH", Song},
        {"/live.set/live", Style},   {"/gone.set/Gone", Song},    {"/dirs.set/dirs", Arrangement},
    };
#if defined(__linux__)
    // Reading a process's memory at address 0 fails with an I/O error.
    fs::create_symlink("/proc/self/mem", dir.Path() / "M.GBL");
    opens.emplace_back("/m", Global);
#endif
    std::string out;
    for (const auto& [base, kind] : opens) {
        const auto opened = OpenItemFile(Base(base), kind);
        out += base + " as " + std::string(KindName(kind)) + ": ";
        Bytes read;
        if (opened && opened->ReadInto(0, opened->Size(), read))
            out += opened->Path() + ", " + std::to_string(read.size()) + " bytes" +
                   (read == test::ReadFileBytes(opened->Path()) ? "" : " not as on disk") + "\n";
        else
            out +=
                opened ? "unread\n" : opened.Error().Text() + " (" + std::string(KindName(opened.Error().kind)) + ")\n";
    }
    out = test::Shorten(out, dir.Str(), "DIR");
    EXPECT_EQ(out, test::Golden("records/opened.txt", out));
    EXPECT_EQ(ResolveForWrite(Base("/live.set/LIVE.ARR")), Base("/LIVE.SET/live.arr"));
    EXPECT_EQ(ResolveForWrite(Base("/live.set/LIVE.STY")), Base("/LIVE.SET/LIVE.STY"));
    EXPECT_EQ(ResolveForWrite(Base("/NEW.SET/NEW.STY")), Base("/NEW.SET/NEW.STY"));
    EXPECT_EQ(FindPathIgnoringCase(Base("/gigs.set/")), Base("/Gigs.Set"));
    EXPECT_EQ(FindPathIgnoringCase(Base("/live.set/live.arr/x")), std::nullopt);
    EXPECT_EQ(FindPathIgnoringCase(""), std::nullopt);
    EXPECT_EQ(NormaliseSeparators("C:\\SETS\\LIVE.SET/LIVE"), "C:/SETS/LIVE.SET/LIVE");
}

TEST_F(ItemFileTest, ReadsStayInsideTheFile) {
    const ItemFile file("x", ItemBytes(0, 12));
    std::uint16_t word = 0;
    EXPECT_TRUE(file.ReadWord(10, word) && word == 0x9487);
    std::uint8_t out[4] = {};
    EXPECT_FALSE(file.ReadWord(11, word) || file.Read(9, 4, out) || file.Read(1, static_cast<std::size_t>(-1), out) ||
                 file.Read(static_cast<std::size_t>(-1), 2, out));
    Bytes into{0xAA};
    EXPECT_TRUE(file.ReadInto(0, 5, into));
    EXPECT_FALSE(file.ReadInto(8, 5, into) || file.ReadInto(static_cast<std::size_t>(-2), 4, into));
    EXPECT_EQ(into, (Bytes{0xAA, 'V', 'E', 'M', 'O', 'X'}));
    // A file larger than any item file is read only up to the limit, and never loaded.
    Write("/BIG.SET/BIG.BSQ", ItemBytes(5, kMaxItemFileBytes + 100));
    auto opened = OpenItemFile(Base("/BIG.SET/BIG"), ItemKind::BackingSequence);
    ASSERT_TRUE(opened.has_value());
    EXPECT_EQ(opened->Size(), kMaxItemFileBytes);
    SetData data;
    const LoadStatus loaded = LoadKind(*opened, ItemKind::BackingSequence, data);
    ASSERT_FALSE(loaded);
    EXPECT_EQ(loaded.Error().Text(),
              Base("/BIG.SET/BIG.BSQ") + " at byte 8388608: the file is larger than the 8388608 bytes of any set file");
}

TEST_F(ItemFileTest, ReadsPastTheHeldStartComeFromTheFileAndFailWhenItShrank) {
    const std::size_t size = 3 * ItemFile::kHeldBytes + 5;
    const Bytes bytes = ItemBytes(4, size);
    Write("/L.SET/L.STY", bytes);
    auto opened = OpenItemFile(Base("/L.SET/L"), ItemKind::Style);
    ASSERT_TRUE(opened.has_value());
    EXPECT_EQ(opened->Size(), size);
    const std::size_t held = ItemFile::kHeldBytes;
    // Inside the held start, across its end, wholly behind it, up to the last byte.
    for (const auto& [offset, count] : {std::pair{held - 10, std::size_t{10}},
                                        {held - 3, std::size_t{7}},
                                        {2 * held, std::size_t{300}},
                                        {size - 9, std::size_t{9}}}) {
        Bytes into{0x11};
        ASSERT_TRUE(opened->ReadInto(offset, count, into)) << offset;
        EXPECT_EQ(into, (Bytes{0x11} + Bytes(bytes.begin() + offset, bytes.begin() + offset + count))) << offset;
    }
    Bytes all;
    EXPECT_TRUE(opened->ReadInto(0, size, all) && all == bytes);

    // The file cut short behind the program's back: reads of what is gone fail, nothing is invented.
    fs::resize_file(Base("/L.SET/L.STY"), 2 * held);
    Bytes into{0x11};
    EXPECT_FALSE(opened->ReadInto(2 * held - 4, 8, into));
    EXPECT_EQ(into, Bytes{0x11});
    EXPECT_TRUE(opened->ReadInto(held - 4, 8, into));
}

TEST(ItemFileSave, WriteFileAtomicallyReportsTheReason) {
    test::TempDirectory dir;
    const fs::path setDir = dir.Path();
    std::string error;
    EXPECT_TRUE(WriteFileAtomically((setDir / "X.SYX").string(), Bytes{0xF0, 0xF7}, error));
    EXPECT_EQ(test::ReadFileBytes(setDir / "X.SYX"), (Bytes{0xF0, 0xF7}));
    EXPECT_TRUE(WriteFileAtomically((setDir / "X.SYX").string(), Bytes{}, error));
    EXPECT_EQ(test::ReadFileBytes(setDir / "X.SYX"), Bytes{});
    // A directory in the way cannot be replaced by a file.
    fs::create_directories(setDir / "D.SYX" / "inner");
    EXPECT_FALSE(WriteFileAtomically((setDir / "D.SYX").string(), Bytes{1}, error));
    EXPECT_EQ(error, "Can't replace " + (setDir / "D.SYX").string() + ": Is a directory");
    // Nor is a FIFO (or a device): it stays what it is.
    ASSERT_EQ(::mkfifo((setDir / "F.SYX").c_str(), 0644), 0);
    EXPECT_FALSE(WriteFileAtomically((setDir / "F.SYX").string(), Bytes{1}, error));
    EXPECT_EQ(error, "Can't replace " + (setDir / "F.SYX").string() + ": it is not a plain file");
    EXPECT_TRUE(fs::is_fifo(setDir / "F.SYX"));
    EXPECT_EQ(test::Listing(setDir), (std::vector<std::string>{"D.SYX", "F.SYX", "X.SYX"}));
}

TEST(SetDirectories, NamesAndRunningProcesses) {
    std::string names;
    for (const char* path : {"LIVE.SET", "/x/live.set//", "C:\\SETS\\A.Set", ".SET", "/.SET", "SET", "A.SETX"})
        names += IsSetDirectoryName(path) ? "1" : "0";
    EXPECT_EQ(names, "1110000");
    EXPECT_EQ(std::tuple(ProcessIsRunning(0), ProcessIsRunning(-1), ProcessIsRunning(CurrentProcessId())),
              std::tuple(false, false, true));
}

struct SysExFileBench {
    SetData set = test::EmptySet();
    test::TempDirectory dir;
    test::ScriptedInteraction ui;
    std::filesystem::path file = dir.Path() / "ARG.SYX";

    bool Save(ItemKind kind = ItemKind::ArrangementGlobal) {
        ui.fileAnswers.push_back(file.string());
        return SaveKindToSysExFile(ui, SysExHeader{}, set, kind, 0, dir.Str());
    }
    Bytes Expected(ItemKind kind = ItemKind::ArrangementGlobal) {
        Bytes message;
        std::string error;
        EXPECT_TRUE(BuildDumpMessage(set, kind, 0, SysExHeader{}, message, error));
        return message;
    }
};

// The chooser set up for the kind; the file holds the message only, and replaces an existing file
// only when agreed and only whole. The error names the file as chosen, and the reason names it again.
TEST(SysExFile, ChooserFileAndReplacingAnExistingFile) {
    SysExFileBench first;
    ASSERT_TRUE(first.Save());
    EXPECT_EQ(test::ReadFileBytes(first.file), first.Expected());
    const FileRequest& r = first.ui.fileRequests.at(0);
    EXPECT_EQ(r.title + "|" + r.initialName + "|" + r.filter + "|" + r.defaultExtension + "|" + r.initialDirectory,
              "Save Arrangement Global to SysEx File...|*.SYX|SysEx (*.SYX)|*.SYX|.SYX|" + first.dir.Str());
    first.file = first.dir.Path() / "STY.SYX";
    ASSERT_TRUE(first.Save(ItemKind::Style));
    EXPECT_EQ(first.ui.fileRequests.at(1).title, "Save current Style Block to SysEx File...");
    // Cancel in the chooser ends silently.
    EXPECT_FALSE(SaveKindToSysExFile(first.ui, SysExHeader{}, first.set, ItemKind::Global, 0, first.dir.Str()));
    EXPECT_TRUE(first.ui.messages.empty());

    const std::pair<Answer, SaveStep> cases[] = {{Answer::No, SaveStep::None},
                                                 {Answer::Yes, SaveStep::None},
                                                 {Answer::Yes, SaveStep::Write},
                                                 {Answer::Yes, SaveStep::Rename}};
    for (const auto& [answer, fault] : cases) {
        SysExFileBench bench;
        const Bytes old = {0xF0, 0x01, 0x02, 0xF7};
        test::WriteFileBytes(bench.file, old);
        bench.ui.AnswerTo(QuestionId::OverwriteFile, answer);
        SetSaveFaultForTesting(fault);
        const bool replaced = answer == Answer::Yes && fault == SaveStep::None;
        EXPECT_EQ(bench.Save(), replaced);
        SetSaveFaultForTesting(SaveStep::None);
        const std::string file = bench.file.string(),
                          error = "  [Error, critical, OK, OK] Error saving SysEx data to file ";
        std::string said = "  [, exclamation, YesNo, No] Overwrite existing file?\n";
        if (fault == SaveStep::Write)
            said += error + file + "\\nError writing the temporary file for " + file + ": No space left on device\n";
        if (fault == SaveStep::Rename) said += error + file + "\\nCan't replace " + file + ": Input/output error\n";
        EXPECT_EQ(bench.ui.TakeTranscript(), said);
        EXPECT_EQ(test::ReadFileBytes(bench.file), replaced ? bench.Expected() : old);
        EXPECT_EQ(test::Listing(bench.dir.Path()), std::vector<std::string>{"ARG.SYX"}) << "nothing left beside it";
    }
}

}  // namespace
}  // namespace vx
