#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "catalogue/Catalogue.h"
#include "document/Helpers.h"
#include "storage/ItemFile.h"
#include "storage/PathLookup.h"
#include "support/ScriptedInteraction.h"
#include "support/TestPaths.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

void WriteFile(const fs::path& path, const Bytes& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// "VEMOX", the kind byte at 6 and opaque bytes up to size.
Bytes ItemBytes(std::uint8_t kindByte, std::size_t size = 64) {
    Bytes bytes(std::max<std::size_t>(size, 8));
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 13 + 5);
    const char magic[] = "VEMOX";
    std::copy(magic, magic + 5, bytes.begin());
    bytes[6] = kindByte;
    bytes.resize(size);
    return bytes;
}

class ItemFileTest : public ::testing::Test {
protected:
    std::string Base(const std::string& tail) const { return dir.Str() + tail; }
    std::string Upper(const std::string& tail) const { return ToUpper(dir.Str() + tail); }

    test::TempDirectory dir;
    test::ScriptedInteraction ui;
};

TEST_F(ItemFileTest, HeaderRules) {
    const struct {
        const char* what;
        ItemKind kind;
        Bytes bytes;
        bool valid;
    } cases[] = {
        {"arrangement", ItemKind::Arrangement, ItemBytes(3), true},
        {"style", ItemKind::Style, ItemBytes(4), true},
        {"program", ItemKind::Program, ItemBytes(0), true},
        {"backing sequence", ItemKind::BackingSequence, ItemBytes(5), true},
        {"song", ItemKind::Song, ItemBytes(1), true},
        {"KBD set", ItemKind::KbdSet, ItemBytes(8), true},
        {"arrangement global", ItemKind::ArrangementGlobal, ItemBytes(7), true},
        {"global", ItemKind::Global, ItemBytes(6), true},
        {"arrangement file named .PRG", ItemKind::Program, ItemBytes(3), false},
        {"song given the kind number", ItemKind::Song, ItemBytes(4), false},
        {"XStyle arrangement, any kind byte", ItemKind::XStyleArrangement, ItemBytes(0x77), true},
        {"XStyle drum kit, any kind byte", ItemKind::XStyleDrumKit, ItemBytes(3), true},
        {"XStyle of exactly eight bytes", ItemKind::XStyleStyle, ItemBytes(0, 8), true},
        {"bad magic", ItemKind::XStyleProgram, Bytes{'V', 'E', 'M', 'O', 'Z', 0, 0, 0, 0}, false},
        {"magic only", ItemKind::XStyleProgram, Bytes{'V', 'E', 'M', 'O', 'X'}, false},
        {"seven bytes", ItemKind::Program, ItemBytes(0, 7), false},
        {"empty file", ItemKind::Global, Bytes{}, false},
    };
    for (const auto& c : cases) {
        const std::string base = Base("/case/ITEM");
        const std::string file = base + std::string(KindExtension(c.kind));
        WriteFile(file, c.bytes);
        test::ScriptedInteraction one;
        auto opened = OpenItemFile(base, c.kind, one);
        EXPECT_EQ(opened.has_value(), c.valid) << c.what;
        if (c.valid) {
            EXPECT_TRUE(one.messages.empty()) << c.what;
            EXPECT_EQ(Bytes(opened->Content().begin(), opened->Content().end()), c.bytes) << c.what;
            EXPECT_EQ(opened->Path(), file) << c.what;
        } else {
            EXPECT_EQ(one.Texts(), std::vector<std::string>{Upper("/CASE/ITEM") + std::string(KindExtension(c.kind)) +
                                                            " is not a valid file"})
                << c.what;
        }
        fs::remove(file);
    }
}

TEST_F(ItemFileTest, FailureMessagesNameTheFileInUpperCase) {
    fs::create_directories(dir.Path() / "live.set" / "live.arr");  // a directory, not a file
    const struct {
        const char* what;
        std::string base;
        ItemKind kind;
        std::string text;
    } cases[] = {
        {"missing", Base("/live.set/live"), ItemKind::Style, "File " + Upper("/LIVE.SET/LIVE.STY") + " not found"},
        {"missing directory", Base("/gigs.set/Gigs"), ItemKind::Song,
         "File " + Upper("/GIGS.SET/GIGS.SNG") + " not found"},
        {"directory", Base("/live.set/live"), ItemKind::Arrangement, "Can't open file " + Upper("/LIVE.SET/LIVE.ARR")},
    };
    for (const auto& c : cases) {
        test::ScriptedInteraction one;
        EXPECT_FALSE(OpenItemFile(c.base, c.kind, one).has_value()) << c.what;
        ASSERT_EQ(one.messages.size(), 1u) << c.what;
        EXPECT_EQ(one.Last().text, c.text);
        EXPECT_EQ(one.Last().title, "Error");
        EXPECT_EQ(one.Last().icon, MessageIcon::Critical);
        EXPECT_EQ(one.Last().buttons, MessageButtons::OK);
    }
}

#if defined(__linux__)
TEST_F(ItemFileTest, ReadErrorIsReportedAsHeaderError) {
    // Reading a process's memory at address 0 fails with an I/O error.
    fs::create_directories(dir.Path() / "MEM.SET");
    fs::create_symlink("/proc/self/mem", dir.Path() / "MEM.SET" / "MEM.GBL");
    EXPECT_FALSE(OpenItemFile(Base("/MEM.SET/mem"), ItemKind::Global, ui).has_value());
    EXPECT_EQ(ui.Texts(), std::vector<std::string>{"Error reading " + Upper("/MEM.SET/MEM.GBL") + " file header"});
}
#endif

TEST_F(ItemFileTest, FilesAndDirectoriesFoundWhateverTheirCase) {
    WriteFile(dir.Path() / "LIVE.SET" / "live.arr", ItemBytes(3));
    WriteFile(dir.Path() / "Gigs.Set" / "GIGS.PRG", ItemBytes(0));
    WriteFile(dir.Path() / "BOTH.SET" / "BOTH.SNG", ItemBytes(1, 10));
    WriteFile(dir.Path() / "BOTH.SET" / "both.sng", ItemBytes(1, 20));
    WriteFile(dir.Path() / "BOTH.SET" / "Both.SNG", ItemBytes(1, 30));

    const struct {
        std::string base;
        ItemKind kind;
        std::string found;
    } cases[] = {
        {Base("/LIVE.SET/LIVE"), ItemKind::Arrangement, Base("/LIVE.SET/live.arr")},
        {Base("/live.set/Live"), ItemKind::Arrangement, Base("/LIVE.SET/live.arr")},
        {Base("/GIGS.SET/GIGS"), ItemKind::Program, Base("/Gigs.Set/GIGS.PRG")},
        {Base("/BOTH.SET/Both"), ItemKind::Song, Base("/BOTH.SET/Both.SNG")},  // the exact name wins
        {Base("/both.set/BOTH"), ItemKind::Song, Base("/BOTH.SET/BOTH.SNG")},
        {Base("/BOTH.SET/bOTH"), ItemKind::Song, Base("/BOTH.SET/BOTH.SNG")},  // else the first in order
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ItemFileName(c.base, c.kind), c.found) << c.base;
        auto opened = OpenItemFile(c.base, c.kind, ui);
        ASSERT_TRUE(opened.has_value()) << c.base;
        EXPECT_EQ(opened->Path(), c.found);
    }
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(ItemFileName(Base("/NONE.SET/NONE"), ItemKind::Global), Base("/NONE.SET/NONE.GBL"));
}

TEST_F(ItemFileTest, PathsForWriting) {
    WriteFile(dir.Path() / "Live.Set" / "live.arr", ItemBytes(3));
    EXPECT_EQ(ResolveForWrite(Base("/LIVE.SET/LIVE.ARR")), Base("/Live.Set/live.arr"));
    EXPECT_EQ(ResolveForWrite(Base("/LIVE.SET/LIVE.STY")), Base("/Live.Set/LIVE.STY"));
    EXPECT_EQ(ResolveForWrite(Base("/NEW.SET/NEW.STY")), Base("/NEW.SET/NEW.STY"));
    EXPECT_EQ(FindPathIgnoringCase(Base("/live.set/")), Base("/Live.Set"));
    EXPECT_EQ(FindPathIgnoringCase(Base("/live.set/live.arr/x")), std::nullopt);
    EXPECT_EQ(FindPathIgnoringCase(""), std::nullopt);
    EXPECT_EQ(NormaliseSeparators("C:\\SETS\\LIVE.SET/LIVE"), "C:/SETS/LIVE.SET/LIVE");
}

TEST_F(ItemFileTest, ReadsStayInsideTheFile) {
    Bytes bytes = ItemBytes(0, 12);
    bytes[10] = 0x34;
    bytes[11] = 0x92;
    const ItemFile file("x", bytes);

    std::uint16_t word = 0;
    EXPECT_TRUE(file.ReadWord(10, word));
    EXPECT_EQ(word, 0x9234);
    EXPECT_FALSE(file.ReadWord(11, word));
    std::uint8_t byte = 0;
    EXPECT_TRUE(file.ReadByte(11, byte));
    EXPECT_EQ(byte, 0x92);
    EXPECT_FALSE(file.ReadByte(12, byte));

    std::uint8_t out[4] = {};
    EXPECT_TRUE(file.Read(12, 0, out));
    EXPECT_FALSE(file.Read(13, 0, out));
    EXPECT_FALSE(file.Read(9, 4, out));
    EXPECT_FALSE(file.Read(1, static_cast<std::size_t>(-1), out));
    EXPECT_FALSE(file.Read(static_cast<std::size_t>(-1), 2, out));

    Bytes into{0xAA};
    EXPECT_TRUE(file.ReadInto(0, 5, into));
    EXPECT_EQ(into, (Bytes{0xAA, 'V', 'E', 'M', 'O', 'X'}));
    EXPECT_FALSE(file.ReadInto(8, 5, into));
    EXPECT_FALSE(file.ReadInto(static_cast<std::size_t>(-2), 4, into));
    EXPECT_EQ(into.size(), 6u);
}

TEST_F(ItemFileTest, OversizedFileIsReadOnlyUpToTheLimit) {
    WriteFile(dir.Path() / "BIG.SET" / "BIG.BSQ", ItemBytes(5, kMaxItemFileBytes + 100));
    auto opened = OpenItemFile(Base("/BIG.SET/BIG"), ItemKind::BackingSequence, ui);
    ASSERT_TRUE(opened.has_value());
    EXPECT_EQ(opened->Size(), kMaxItemFileBytes);
    std::uint8_t byte = 0;
    EXPECT_FALSE(opened->ReadByte(kMaxItemFileBytes, byte));
}

}  // namespace
}  // namespace vx
