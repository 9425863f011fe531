#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "core/catalogue/Catalogue.h"
#include "core/storage/DataDirectory.h"
#include "core/storage/TemplateSet.h"
#include "core/text/Helpers.h"
#include "support/ScriptedInteraction.h"
#include "support/TestPaths.h"

namespace vx {
namespace {

namespace fs = std::filesystem;

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

// The style record past its name and category comes from the template, zeros where it ends; the
// first KBD set too. The template is found whatever the case of its names.
TEST_F(TemplateFixture, BlanksComeFromTheTemplateFoundWhateverTheCaseOfItsNames) {
    const Bytes ark = ItemBytes(8, 32 + 56);
    fs::rename(dir.Path() / "X50EMPTY.SET", dir.Path() / "x50empty.set");
    test::WriteFileBytes(dir.Path() / "x50empty.set" / "X50Empty.Ark", ark);
    for (std::size_t size : {std::size_t{8}, std::size_t{224}, std::size_t{250}, std::size_t{294}}) {
        const Bytes sty = ItemBytes(4, size);
        test::WriteFileBytes(dir.Path() / "x50empty.set" / "x50empty.sty", sty);
        test::ScriptedInteraction one;
        auto state = InitCatalogue(dir.Str(), "/scratch", one);
        ASSERT_TRUE(state.has_value()) << size;
        EXPECT_TRUE(one.messages.empty()) << size;
        Bytes expected(70, 0);
        for (std::size_t i = 224; i < size; ++i) expected[i - 224] = sty[i];
        std::fill_n(expected.begin(), 16, ' ');
        expected[16] = 15;
        const StyleSlot& style = state->blank.style;
        EXPECT_EQ(Bytes(style.record.bytes.begin(), style.record.bytes.end()), expected) << size;
        EXPECT_EQ(std::tuple(style.used, style.size, style.events), std::tuple(1, 1176, Bytes(1106, 0)));
        if (size < 294) continue;
        EXPECT_EQ(state->tempFilePath, "/scratch/VEMOX50.TMP");
        EXPECT_EQ(state->templateBase, dir.Str() + "/X50EMPTY.SET/X50EMPTY");
        EXPECT_EQ(state->modeMessage, (std::array<std::uint8_t, 6>{0xF0, 0x42, 0x30, 0x49, 0x23, 0xF7}));
        EXPECT_TRUE(std::equal(ark.begin() + 32, ark.end(), state->blank.kbdSet.bytes.begin()));
        ArrangementRecord arrangement;
        arrangement.SetName(kBlankName);
        arrangement.SetCategory(15);
        EXPECT_EQ(state->blank.arrangement, arrangement);
        SongRecord song;
        song.SetName(kBlankName);  // the song name lies at offset 54
        EXPECT_EQ(state->blank.song.record, song);
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
        {ItemBytes(4, 294),
         ItemBytes(8, 87),
         {"Error getting KBD Set data.\n" + ark + " at byte 32: the file is 87 bytes long, too short for the first KBD set"}},
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
