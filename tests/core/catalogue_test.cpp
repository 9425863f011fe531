#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "catalogue/Catalogue.h"
#include "catalogue/CatalogueInit.h"
#include "catalogue/DataDirectory.h"
#include "document/Helpers.h"
#include "support/ScriptedInteraction.h"
#include "support/TestPaths.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

TEST(Catalogue, Tables) {
    // Kinds -1 and 12 lie outside the catalogue and have nothing.
    std::string names, extensions, codes;
    for (int i = -1; i <= kKindCount; ++i) {
        names += std::string(KindName(KindFromIndex(i))) + "|";
        extensions += KindExtension(KindFromIndex(i));
        codes += std::to_string(KindHeaderByte(KindFromIndex(i))) + ":" +
                 std::to_string(KindDumpCode(KindFromIndex(i))) + " ";
    }
    EXPECT_EQ(names,
              "|Arrangement|Style|Program|Backing Sequence|Song|KBD Set|Arrangement Global|Global|"
              "XStyle Arrangement|XStyle Style|XStyle Program|XStyle DrumKit||");
    EXPECT_EQ(extensions, ".ARR.STY.PRG.BSQ.SNG.ARK.ARG.GBL.XAF.XSF.XPF.XDK");
    EXPECT_EQ(codes, "0:-1 3:100 4:101 0:76 5:102 1:72 8:105 7:104 6:81 0:-1 0:-1 0:-1 0:-1 0:-1 ");

    // Every bank of each kind as letter, last index @ base, with the banks just outside: those have none.
    std::string banks;
    for (int kind = 0; kind <= 3; ++kind, banks += "/")
        for (int bank = -1; bank <= BankCount(kind); ++bank)
            banks += std::string(BankLetter(kind, bank)) + std::to_string(BankLastIndex(kind, bank)) + "@" +
                     std::to_string(BankBase(kind, bank)) + ",";
    EXPECT_EQ(banks,
              " 0@0,A63@0,B63@64,C63@256,D63@320, 0@0,/ 0@0,A63@0,B63@64,C47@256, 0@0,/ 0@0,A63@0,B63@64,C63@256,"
              "D63@320,E63@512,F63@768,G63@832,R39@1024, 0@0,/ 0@0, 0@0,/");

    // Far rows of each name table: one missing row shifts the rest (switch functions are stored by row).
    const auto rows = [](const auto& table, std::initializer_list<std::size_t> at) {
        std::string joined;
        for (std::size_t i : at) joined += std::string(table[i]) + "|";
        return joined;
    };
    EXPECT_EQ(rows(ArrCategoryName, {0, 8, 15}), "8 Beat|R & B|User 4|");
    EXPECT_EQ(StyCategoryName, ArrCategoryName);
    EXPECT_EQ(rows(PrgCategoryName, {5, 11, 15}), "Air/Vocal|Bell/Mallet|User|");
    EXPECT_EQ(rows(PresetBankRange, {0, 4}) + rows(StyleTrackName, {0, 10}), "R11-R18|R51-R58|DRUMS  |K.Bass |");
    EXPECT_EQ(rows(BsqTrackName, {2, 7}) + rows(SongTrackName, {8, 9}), "LowerKBD|Extra 8 |Trk  9|Trk 10|");
    EXPECT_EQ(rows(KbdTrackName, {0, 4}) + rows(NoteName, {1, 11}), "MainKBD|K.Bass |C#|B |");
    EXPECT_EQ(rows(ChordScanName, {2, 4}) + rows(ChannelRoleName, {0, 15}), "Lower (Normal)|Full|Main  |KBDChg|");
    EXPECT_EQ(rows(SwitchFunctionName, {1, 27, 35, 64}), "DRUMS PLAY/MUTE|Break|TRANSPOSE(b)|Data Entry|");
}

TEST(CatalogueInit, ShippedTemplateIsUsable) {
    test::ScriptedInteraction ui;
    auto state = InitCatalogue(test::ProgramDir(), "", ui);
    ASSERT_TRUE(state.has_value());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(state->tempDirectory, test::ProgramDir());
    // The shipped style file ends at 224, so the blank style is zeros but for name and category.
    StyleRecord blank;
    blank.SetName(kBlankName);
    blank.SetCategory(15);
    EXPECT_EQ(state->blank.style.record, blank);
}

// A template set with only the two files the catalogue reads.
class TemplateFixture : public ::testing::Test {
protected:
    void SetUp() override { fs::create_directories(dir.Path() / "X50EMPTY.SET"); }
    void Write(const std::string& extension, const Bytes& bytes) {
        test::WriteFileBytes(dir.Path() / "X50EMPTY.SET" / ("X50EMPTY" + extension), bytes);
    }
    // "VEMOX", the kind byte at 6, then bytes counting up so every offset is recognisable.
    static Bytes ItemBytes(std::uint8_t kindByte, std::size_t size) {
        Bytes bytes(size);
        for (std::size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + 1);
        std::copy_n("VEMOX", 5, bytes.begin());
        bytes[6] = kindByte;
        return bytes;
    }

    test::TempDirectory dir;
    test::ScriptedInteraction ui;
};

TEST_F(TemplateFixture, BlanksComeFromTheTemplateFoundWhateverTheCaseOfItsNames) {
    const Bytes sty = ItemBytes(4, 224 + 70), ark = ItemBytes(8, 32 + 56);
    fs::rename(dir.Path() / "X50EMPTY.SET", dir.Path() / "x50empty.set");
    test::WriteFileBytes(dir.Path() / "x50empty.set" / "x50empty.sty", sty);
    test::WriteFileBytes(dir.Path() / "x50empty.set" / "X50Empty.Ark", ark);
    auto state = InitCatalogue(dir.Str(), "/scratch", ui);
    ASSERT_TRUE(state.has_value());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_EQ(state->tempFilePath, "/scratch/VEMOX50.TMP");
    EXPECT_EQ(state->templateBase, dir.Str() + "/X50EMPTY.SET/X50EMPTY");
    EXPECT_EQ(state->modeMessage, (std::array<std::uint8_t, 6>{0xF0, 0x42, 0x30, 0x49, 0x23, 0xF7}));

    // The style record past its name and category, and the first KBD set, come from the template.
    const StyleSlot& style = state->blank.style;
    EXPECT_EQ(style.record.Name() + std::to_string(style.record.Category()), kBlankName + "15");
    EXPECT_TRUE(std::equal(sty.begin() + 224 + 17, sty.end(), style.record.bytes.begin() + 17));
    EXPECT_EQ(std::tuple(style.used, style.size, style.events), std::tuple(1, 1176, Bytes(1106, 0)));
    EXPECT_TRUE(std::equal(ark.begin() + 32, ark.end(), state->blank.kbdSet.bytes.begin()));
    ArrangementRecord arrangement;
    arrangement.SetName(kBlankName);
    arrangement.SetCategory(15);
    EXPECT_EQ(state->blank.arrangement, arrangement);
    SongRecord song;
    song.SetName(kBlankName);  // the song name lies at offset 54
    EXPECT_EQ(state->blank.song.record, song);
}

TEST_F(TemplateFixture, StyleBlankTakesZerosWhereTheTemplateEnds) {
    Write(".ARK", ItemBytes(8, 88));
    for (std::size_t size : {std::size_t{8}, std::size_t{224}, std::size_t{250}, std::size_t{293}}) {
        const Bytes sty = ItemBytes(4, size);
        Write(".STY", sty);
        test::ScriptedInteraction one;
        auto state = InitCatalogue(dir.Str(), nullptr, one);
        ASSERT_TRUE(state.has_value()) << size;
        EXPECT_TRUE(one.messages.empty()) << size;
        Bytes expected(70, 0);
        for (std::size_t i = 224; i < size; ++i) expected[i - 224] = sty[i];
        std::fill_n(expected.begin(), 16, ' ');
        expected[16] = 15;
        EXPECT_EQ(Bytes(state->blank.style.record.bytes.begin(), state->blank.style.record.bytes.end()), expected)
            << size;
        EXPECT_EQ(state->blank.style.size, 1176) << size;
    }
}

TEST_F(TemplateFixture, FailuresShowTheFileMessageThenTheLoadError) {
    const std::string sty = dir.Str() + "/X50EMPTY.SET/X50EMPTY.STY";
    const std::string ark = dir.Str() + "/X50EMPTY.SET/X50EMPTY.ARK";
    const struct {
        Bytes styBytes, arkBytes;  // empty: no file
        std::vector<std::string> texts;
    } cases[] = {
        {{}, ItemBytes(8, 88), {"File " + sty + " not found", "Error getting Style data.\n"}},
        {ItemBytes(0, 294), ItemBytes(8, 88), {sty + " is not a valid file", "Error getting Style data.\n"}},
        {ItemBytes(4, 294), {}, {"File " + ark + " not found", "Error getting KBD Set data.\n"}},
        {ItemBytes(4, 294), ItemBytes(8, 87), {"Error getting KBD Set data.\n"}},
    };
    for (const auto& c : cases) {
        for (const char* e : {".STY", ".ARK"}) fs::remove(dir.Path() / "X50EMPTY.SET" / ("X50EMPTY" + std::string(e)));
        if (!c.styBytes.empty()) Write(".STY", c.styBytes);
        if (!c.arkBytes.empty()) Write(".ARK", c.arkBytes);
        test::ScriptedInteraction one;
        EXPECT_FALSE(InitCatalogue(dir.Str(), nullptr, one).has_value()) << c.texts[0];
        EXPECT_EQ(one.Texts(), c.texts);
        for (const Message& m : one.messages) EXPECT_EQ(m.title, "Error") << m.text;
        EXPECT_EQ(one.busyDepth, 0) << c.texts[0];
    }
}

// The programs find the shipped data beside them in a build tree and in ../share/vxeditr when
// installed; the installed layout must work under any root a package was unpacked into.
TEST(Catalogue, DataDirectoryBesideTheProgramOrInstalled) {
    struct Case {
        const char* name;
        const char* program;                 // the program's directory, relative to the root
        std::vector<std::string> templates;  // directories that get an X50EMPTY.SET
        const char* expected;                // relative to the root
    };
    const std::vector<Case> cases = {
        {"beside", "opt/bin", {"opt/bin", "opt/share/vxeditr"}, "opt/bin"},
        {"installed", "usr/bin", {"usr/share/vxeditr"}, "usr/share/vxeditr"},
        {"installed elsewhere", "opt/bin", {"usr/share/vxeditr", "opt/share/vxeditr"}, "opt/share/vxeditr"},
        {"neither", "usr/bin", {"usr/share/other"}, "usr/bin"},
        {"a file named like the template is not one", "usr/bin", {}, "usr/bin"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDirectory root;
        fs::create_directories(root.Path() / "usr/bin");
        fs::create_directories(root.Path() / "opt/bin");
        for (const std::string& directory : c.templates)
            fs::create_directories(root.Path() / directory / "X50EMPTY.SET");
        if (c.templates.empty()) {
            fs::create_directories(root.Path() / "usr/share/vxeditr");
            test::WriteFileBytes(root.Path() / "usr/share/vxeditr/X50EMPTY.SET", Bytes{1});
        }
        EXPECT_EQ(FindDataDirectory((root.Path() / c.program).string()), (root.Path() / c.expected).string());
    }
}

}  // namespace
}  // namespace vx
