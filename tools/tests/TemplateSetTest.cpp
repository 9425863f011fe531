#include <gtest/gtest.h>

#include "PresetCatalogue.h"
#include "TemplateSet.h"
#include "TestBytes.h"

namespace vxmk {
namespace {

using test::Word;
using vx::ItemKind;

TEST(TemplateSet, EveryFileHasItsHeaderAndLengthAndReadsBackUnchanged) {
    const struct {
        ItemKind kind;
        std::size_t size;
        std::uint8_t headerByte;
    } cases[] = {
        {ItemKind::Arrangement, 21024, 3},    {ItemKind::Style, 224, 4},  {ItemKind::Program, 30480, 0},
        {ItemKind::BackingSequence, 2738, 5}, {ItemKind::Song, 4018, 1},  {ItemKind::KbdSet, 3616, 8},
        {ItemKind::ArrangementGlobal, 80, 7}, {ItemKind::Global, 448, 6},
    };
    const vx::SetData set = BuildTemplateSet();
    for (const auto& c : cases) {
        SCOPED_TRACE(vx::KindIndex(c.kind));
        const vx::Bytes image = vx::SerializeKind(set, c.kind);
        ASSERT_EQ(image.size(), c.size);
        EXPECT_EQ(vx::Bytes(image.begin(), image.begin() + 8),
                  (vx::Bytes{'V', 'E', 'M', 'O', 'X', 0, c.headerByte, 0}));
        vx::SetData loaded;
        ASSERT_TRUE(test::Load(image, c.kind, loaded));
        EXPECT_EQ(vx::SerializeKind(loaded, c.kind), image);
    }
}

TEST(TemplateSet, ArrangementsAndKbdSetsAreBlankWithSplitC4AndPresetCalls) {
    const vx::SetData set = BuildTemplateSet();
    const vx::Bytes arr = vx::SerializeKind(set, ItemKind::Arrangement);
    EXPECT_EQ(Word(arr, 24), 20992);
    for (std::size_t slot = 0; slot < 128; ++slot) {
        const std::size_t at = 32 + 164 * slot;
        ASSERT_EQ(test::Text(arr, at, 16), std::string(16, ' '));
        ASSERT_EQ(arr[at + 16], 15);
        ASSERT_EQ(arr[at + 21], 90);  // 120 beats per minute
        ASSERT_EQ(arr[at + 23], 60);
        ASSERT_EQ(Word(arr, at + 39), 1024);       // DRUMS: Standard Kit, R11
        ASSERT_EQ(Word(arr, at + 39 + 8 * 6), 0);  // MainKBD: Grand Piano, A11
    }

    const vx::Bytes ark = vx::SerializeKind(set, ItemKind::KbdSet);
    EXPECT_EQ(Word(ark, 24), 3584);
    const int expected[5] = {PresetProgram("Grand Piano"), PresetProgram("Warm Strings"), PresetProgram("Warm Strings"),
                             PresetProgram("Choir Aahs"), PresetProgram("Acoustic Bass")};
    EXPECT_EQ(expected[1], 40);
    for (std::size_t k = 0; k < 64; ++k) {
        const std::size_t at = 32 + 56 * k;
        ASSERT_EQ(ark[at + 1], 60);
        for (std::size_t t = 0; t < 5; ++t) ASSERT_EQ(Word(ark, at + 16 + 8 * t), expected[t]);
    }
}

TEST(TemplateSet, GlobalsSetChannelsOneToSixteenAndPedalFunctions) {
    const vx::SetData set = BuildTemplateSet();
    const vx::Bytes arg = vx::SerializeKind(set, ItemKind::ArrangementGlobal);
    for (std::size_t i = 0; i < 16; ++i) EXPECT_EQ(arg[32 + i], i);
    EXPECT_EQ(arg[32 + 36], 1);  // chord recognition "Normal"

    const vx::Bytes gbl = vx::SerializeKind(set, ItemKind::Global);
    const vx::Bytes functions(gbl.begin() + 32, gbl.begin() + 32 + 19);
    // damper polarity, pedals 1-2, QP4 switches A-E, switches 1-2, the two curves
    EXPECT_EQ(functions, (vx::Bytes{0, 0, 0, 56, 52, 0, 0, 0, 0, 0, 17, 18, 21, 22, 28, 40, 13, 4, 3}));
}

}  // namespace
}  // namespace vxmk
