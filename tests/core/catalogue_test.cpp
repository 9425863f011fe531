#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueInit.h"
#include "document/Helpers.h"
#include "support/ScriptedInteraction.h"
#include "support/TestPaths.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

TEST(Catalogue, KindTable) {
    const struct {
        ItemKind kind;
        const char* name;
        const char* extension;
        int headerByte;
        int dumpCode;
    } rows[] = {
        {ItemKind::Arrangement, "Arrangement", ".ARR", 3, 0x64},
        {ItemKind::Style, "Style", ".STY", 4, 0x65},
        {ItemKind::Program, "Program", ".PRG", 0, 0x4C},
        {ItemKind::BackingSequence, "Backing Sequence", ".BSQ", 5, 0x66},
        {ItemKind::Song, "Song", ".SNG", 1, 0x48},
        {ItemKind::KbdSet, "KBD Set", ".ARK", 8, 0x69},
        {ItemKind::ArrangementGlobal, "Arrangement Global", ".ARG", 7, 0x68},
        {ItemKind::Global, "Global", ".GBL", 6, 0x51},
        {ItemKind::XStyleArrangement, "XStyle Arrangement", ".XAF", 0, -1},
        {ItemKind::XStyleStyle, "XStyle Style", ".XSF", 0, -1},
        {ItemKind::XStyleProgram, "XStyle Program", ".XPF", 0, -1},
        {ItemKind::XStyleDrumKit, "XStyle DrumKit", ".XDK", 0, -1},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(KindName(r.kind), r.name);
        EXPECT_EQ(KindExtension(r.kind), r.extension) << r.name;
        EXPECT_EQ(KindHeaderByte(r.kind), r.headerByte) << r.name;
        EXPECT_EQ(KindDumpCode(r.kind), r.dumpCode) << r.name;
    }
    EXPECT_EQ(KindName(KindFromIndex(12)), "");
    EXPECT_EQ(KindDumpCode(KindFromIndex(-1)), -1);
}

TEST(Catalogue, BankTables) {
    const struct {
        int kind, bank;
        const char* letter;
        int last, base;
    } rows[] = {
        {0, 0, "A", 63, 0},   {0, 1, "B", 63, 64},  {0, 2, "C", 63, 256}, {0, 3, "D", 63, 320},  {0, 4, " ", 0, 0},
        {1, 1, "B", 63, 64},  {1, 2, "C", 47, 256}, {1, 3, " ", 0, 0},    {1, 7, " ", 0, 0},     {2, 3, "D", 63, 320},
        {2, 4, "E", 63, 512}, {2, 5, "F", 63, 768}, {2, 6, "G", 63, 832}, {2, 7, "R", 39, 1024}, {2, 8, " ", 0, 0},
        {2, -1, " ", 0, 0},   {3, 0, " ", 0, 0},    {-1, 0, " ", 0, 0},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(BankLetter(r.kind, r.bank), r.letter) << r.kind << "/" << r.bank;
        EXPECT_EQ(BankLastIndex(r.kind, r.bank), r.last) << r.kind << "/" << r.bank;
        EXPECT_EQ(BankBase(r.kind, r.bank), r.base) << r.kind << "/" << r.bank;
    }

    // The bank combos list every bank of a kind; the program list ends with R.
    std::string letters[3];
    for (int kind = 0; kind < 3; ++kind)
        for (int bank = 0; bank < BankCount(kind); ++bank) letters[kind] += BankLetter(kind, bank);
    EXPECT_EQ(letters[0], "ABCD");
    EXPECT_EQ(letters[1], "ABC");
    EXPECT_EQ(letters[2], "ABCDEFGR");
    EXPECT_EQ(BankCount(3), 0);
}

TEST(Catalogue, NameTables) {
    EXPECT_EQ(ArrCategoryName[0], "8 Beat");
    EXPECT_EQ(ArrCategoryName[8], "R & B");
    EXPECT_EQ(ArrCategoryName[15], "User 4");
    EXPECT_EQ(StyCategoryName, ArrCategoryName);
    EXPECT_EQ(PrgCategoryName[5], "Air/Vocal");
    EXPECT_EQ(PrgCategoryName[11], "Bell/Mallet");
    EXPECT_EQ(PrgCategoryName[14], "Drum/Perc.");
    EXPECT_EQ(PrgCategoryName[15], "User");
    EXPECT_EQ(PresetBankRange[0], "R11-R18");
    EXPECT_EQ(PresetBankRange[4], "R51-R58");

    EXPECT_EQ(StyleTrackName[0], "DRUMS  ");
    EXPECT_EQ(StyleTrackName[6], "MainKBD");
    EXPECT_EQ(StyleTrackName[10], "K.Bass ");
    EXPECT_EQ(BsqTrackName[2], "LowerKBD");
    EXPECT_EQ(BsqTrackName[7], "Extra 8 ");
    EXPECT_EQ(SongTrackName[0], "Trk  1");
    EXPECT_EQ(SongTrackName[8], "Trk  9");
    EXPECT_EQ(SongTrackName[9], "Trk 10");
    EXPECT_EQ(SongTrackName[15], "Trk 16");
    EXPECT_EQ(KbdTrackName[0], "MainKBD");
    EXPECT_EQ(KbdTrackName[4], "K.Bass ");
    for (auto name : StyleTrackName) EXPECT_EQ(name.size(), 7u) << name;
    for (auto name : BsqTrackName) EXPECT_EQ(name.size(), 8u) << name;

    EXPECT_EQ(NoteName[0], "C ");
    EXPECT_EQ(NoteName[1], "C#");
    EXPECT_EQ(NoteName[10], "A#");
    EXPECT_EQ(NoteName[11], "B ");
    EXPECT_EQ(ChordScanName[0], "Off");
    EXPECT_EQ(ChordScanName[2], "Lower (Normal)");
    EXPECT_EQ(ChordScanName[4], "Full");
    EXPECT_EQ(ChannelRoleName[0], "Main  ");
    EXPECT_EQ(ChannelRoleName[10], "K.Bass");
    EXPECT_EQ(ChannelRoleName[15], "KBDChg");
    for (auto name : ChannelRoleName) EXPECT_EQ(name.size(), 6u) << name;

    // The row is the value stored in the global record, so one missing row shifts the rest.
    EXPECT_EQ(SwitchFunctionName[0], "OFF");
    EXPECT_EQ(SwitchFunctionName[1], "DRUMS PLAY/MUTE");
    EXPECT_EQ(SwitchFunctionName[16], "FULL KBD PLAY");
    EXPECT_EQ(SwitchFunctionName[27], "Break");
    EXPECT_EQ(SwitchFunctionName[35], "TRANSPOSE(b)");
    EXPECT_EQ(SwitchFunctionName[54], "Chord Latch+Damper");
    EXPECT_EQ(SwitchFunctionName[64], "Data Entry");
    for (auto name : SwitchFunctionName) EXPECT_FALSE(name.empty());
}

TEST(CatalogueInit, Paths) {
    EXPECT_EQ(TempDir("/opt/vx", "/var/tmp"), "/var/tmp");
    EXPECT_EQ(TempDir("/opt/vx", ""), "/opt/vx");
    EXPECT_EQ(TempDir("/opt/vx", nullptr), "/opt/vx");
    EXPECT_EQ(TemplateDirectory("/opt/vx"), "/opt/vx/X50EMPTY.SET");
    EXPECT_EQ(TemplateBase("/opt/vx"), "/opt/vx/X50EMPTY.SET/X50EMPTY");
}

TEST(CatalogueInit, ShippedTemplateIsUsable) {
    test::ScriptedInteraction ui;
    auto state = InitCatalogue(test::ProgramDir(), "", ui);
    ASSERT_TRUE(state.has_value());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(state->tempDirectory, test::ProgramDir());
    EXPECT_TRUE(state->blank.style.record.IsEmpty());
}

// A template set with only the two files the catalogue reads.
class TemplateFixture : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(dir.Path() / "X50EMPTY.SET"); }

    void Write(const std::string& extension, const Bytes& bytes) {
        std::ofstream out(dir.Path() / "X50EMPTY.SET" / ("X50EMPTY" + extension), std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    // "VEMOX", the kind byte at 6, then bytes counting up so every offset is recognisable.
    static Bytes ItemBytes(std::uint8_t kindByte, std::size_t size) {
        Bytes bytes(size);
        for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + 1);
        const char magic[] = "VEMOX";
        std::copy(magic, magic + 5, bytes.begin());
        bytes[6] = kindByte;
        return bytes;
    }
    void WriteValidTemplate() {
        Write(".STY", ItemBytes(4, 224 + 70));
        Write(".ARK", ItemBytes(8, 32 + 56));
    }
    std::string Upper(const std::string& tail) const { return ToUpper(dir.Str() + tail); }

    test::TempDirectory dir;
    test::ScriptedInteraction ui;
};

TEST_F(TemplateFixture, BlanksComeFromTheTemplate) {
    WriteValidTemplate();
    const Bytes sty = ItemBytes(4, 224 + 70);
    const Bytes ark = ItemBytes(8, 32 + 56);

    auto state = InitCatalogue(dir.Str(), "/scratch", ui);
    ASSERT_TRUE(state.has_value());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(ui.busyDepth, 0);
    EXPECT_EQ(state->programDirectory, dir.Str());
    EXPECT_EQ(state->tempDirectory, "/scratch");
    EXPECT_EQ(state->tempFilePath, "/scratch/VEMOX50.TMP");
    EXPECT_EQ(state->templateBase, dir.Str() + "/X50EMPTY.SET/X50EMPTY");
    EXPECT_EQ(state->modeMessage, (std::array<std::uint8_t, 6>{0xF0, 0x42, 0x30, 0x49, 0x23, 0xF7}));

    const StyleSlot& style = state->blank.style;
    EXPECT_EQ(style.record.Name(), kBlankName);
    EXPECT_EQ(style.record.Category(), 15);
    for (std::size_t i = 17; i < 70; ++i) EXPECT_EQ(style.record.Byte(i), sty[224 + i]) << i;
    EXPECT_EQ(style.used, 1);
    EXPECT_EQ(style.size, 1176);
    EXPECT_EQ(style.slotByte, 0);
    EXPECT_EQ(style.events, Bytes(1106, 0));

    for (std::size_t i = 0; i < 56; ++i) EXPECT_EQ(state->blank.kbdSet.Byte(i), ark[32 + i]) << i;

    ArrangementRecord arrangement;
    arrangement.SetName(kBlankName);
    arrangement.SetByte(16, 15);
    EXPECT_EQ(state->blank.arrangement, arrangement);
    ProgramRecord program;
    program.SetName(kBlankName);
    program.SetByte(16, 15);
    EXPECT_EQ(state->blank.program, program);

    BsqRecord bsq;
    bsq.SetName(kBlankName);
    EXPECT_EQ(state->blank.backingSequence.record, bsq);
    EXPECT_EQ(state->blank.backingSequence.total, 0);
    EXPECT_TRUE(state->blank.backingSequence.events.empty());
    SongRecord song;
    song.SetName(kBlankName);  // the song name lies at offset 54
    EXPECT_EQ(state->blank.song.record, song);
    EXPECT_EQ(state->blank.song.lengths, (std::array<int, kSections>{}));
    EXPECT_TRUE(state->blank.song.events.empty());
}

TEST_F(TemplateFixture, FailuresShowTheFileMessageThenTheLoadError) {
    const std::string sty = Upper("/X50EMPTY.SET/X50EMPTY.STY");
    const std::string ark = Upper("/X50EMPTY.SET/X50EMPTY.ARK");
    const struct {
        const char* what;
        Bytes styBytes;  // empty: no file
        Bytes arkBytes;
        std::vector<std::string> texts;
    } cases[] = {
        {"no style file", {}, ItemBytes(8, 88), {"File " + sty + " not found", "Error getting Style data.\n"}},
        {"style file of another kind",
         ItemBytes(0, 294),
         ItemBytes(8, 88),
         {sty + " is not a valid file", "Error getting Style data.\n"}},
        {"style record cut short", ItemBytes(4, 293), ItemBytes(8, 88), {"Error getting Style data.\n"}},
        {"no KBD set file", ItemBytes(4, 294), {}, {"File " + ark + " not found", "Error getting KBD Set data.\n"}},
        {"KBD set record cut short", ItemBytes(4, 294), ItemBytes(8, 87), {"Error getting KBD Set data.\n"}},
    };
    for (const auto& c : cases) {
        std::error_code ignored;
        fs::remove(dir.Path() / "X50EMPTY.SET" / "X50EMPTY.STY", ignored);
        fs::remove(dir.Path() / "X50EMPTY.SET" / "X50EMPTY.ARK", ignored);
        if (!c.styBytes.empty()) Write(".STY", c.styBytes);
        if (!c.arkBytes.empty()) Write(".ARK", c.arkBytes);
        test::ScriptedInteraction one;
        EXPECT_FALSE(InitCatalogue(dir.Str(), nullptr, one).has_value()) << c.what;
        EXPECT_EQ(one.Texts(), c.texts) << c.what;
        for (const Message& m : one.messages) EXPECT_EQ(m.title, "Error") << c.what;
        EXPECT_EQ(one.busyDepth, 0) << c.what;
    }
}

TEST_F(TemplateFixture, TemplateFoundWhateverTheCaseOfItsNames) {
    fs::remove_all(dir.Path() / "X50EMPTY.SET");
    fs::create_directories(dir.Path() / "x50empty.set");
    const auto write = [&](const char* name, const Bytes& bytes) {
        std::ofstream out(dir.Path() / "x50empty.set" / name, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    };
    write("x50empty.sty", ItemBytes(4, 294));
    write("X50Empty.Ark", ItemBytes(8, 88));
    EXPECT_TRUE(InitCatalogue(dir.Str(), nullptr, ui).has_value());
    EXPECT_TRUE(ui.messages.empty());
}

}  // namespace
}  // namespace vx
