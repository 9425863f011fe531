#include <gtest/gtest.h>

#include "storage/ItemFile.h"
#include "styles/StyleFile.h"
#include "support/SetBuilder.h"

namespace vx {
namespace {

// A style file of chosen slot sizes (0 = unused), record bytes all 0x11, event bytes 0x22.
Bytes StyFile(const std::vector<int>& sizes, std::uint8_t count = 48) {
    Bytes bytes(21, 0);
    bytes.push_back(count);
    for (int slot = 0; slot < 48; ++slot) {
        const int size = slot < static_cast<int>(sizes.size()) ? sizes[static_cast<std::size_t>(slot)] : 0;
        bytes.insert(bytes.end(), {static_cast<std::uint8_t>(slot), static_cast<std::uint8_t>(size > 0 ? 1 : 0),
                                   static_cast<std::uint8_t>(size & 0xFF), static_cast<std::uint8_t>(size >> 8)});
    }
    bytes.resize(224, 0);
    for (int size : sizes) {
        if (size <= 0) continue;
        bytes.insert(bytes.end(), 70, 0x11);
        if (size > 70) bytes.insert(bytes.end(), static_cast<std::size_t>(size - 70), 0x22);
    }
    return bytes;
}

SetStyles Load(const Bytes& bytes) {
    SetStyles styles;
    EXPECT_TRUE(LoadSty(ItemFile("T.STY", bytes), styles));
    return styles;
}

TEST(StyleFile, RandomSetsRoundTripByteForByte) {
    test::RandomSetOptions full;
    full.styleUsedPercent = 100;
    for (std::uint32_t seed = 1; seed <= 10; ++seed) {
        const SetData set = test::RandomSet(seed, seed % 3 == 0 ? full : test::RandomSetOptions{});
        const Bytes bytes = SerializeSty(set.sty);
        SetStyles loaded;
        ASSERT_TRUE(LoadSty(ItemFile("T.STY", bytes), loaded)) << seed;
        for (int slot = 0; slot < kUserStyles; ++slot) {
            const auto& expected = set.sty.slots[static_cast<std::size_t>(slot)];
            const auto& got = loaded.slots[static_cast<std::size_t>(slot)];
            EXPECT_EQ(got.size, expected.size) << slot;
            EXPECT_EQ(got.events, expected.events) << slot;
        }
        EXPECT_EQ(SerializeSty(loaded), bytes) << seed;
    }
}

TEST(StyleFile, AllSlotsEmptyIs224BytesWith48BlankNames) {
    const Bytes bytes = SerializeSty(test::EmptySet().sty);
    ASSERT_EQ(bytes.size(), 224u);
    EXPECT_EQ(bytes[21], 48);
    EXPECT_EQ(bytes[22 + 4 * 47], 47);
    const SetStyles styles = Load(bytes);
    EXPECT_EQ(styles.blockCount, 12);
    for (const auto& slot : styles.slots) {
        EXPECT_EQ(slot.record.Name(), kBlankName);
        EXPECT_EQ(slot.size, 0);
        EXPECT_TRUE(slot.events.empty());
    }
}

TEST(StyleFile, DataFollowsTheDirectoryInSlotOrder) {
    const SetStyles styles = Load(StyFile({0, 80, 0, 70, 1180}));
    EXPECT_EQ(styles.slots[1].size, 80);
    EXPECT_EQ(styles.slots[1].events, Bytes(10, 0x22));
    EXPECT_EQ(styles.slots[3].size, 70);
    EXPECT_TRUE(styles.slots[3].events.empty());
    EXPECT_EQ(styles.slots[4].events.size(), 1110u);
    EXPECT_EQ(styles.slots[0].used, 0);
    EXPECT_TRUE(styles.trailing.empty());
}

TEST(StyleFile, RefusesBadDirectoriesAndData) {
    struct Case {
        const char* what;
        Bytes bytes;
    };
    Bytes wrongSlotByte = StyFile({100});
    wrongSlotByte[22 + 4 * 5] = 6;
    Bytes cut = StyFile({100, 200});
    cut.pop_back();
    Bytes shortGap = StyFile({});
    shortGap.resize(223);
    const Case cases[] = {
        {"49 slots", StyFile({}, 49)},
        {"255 slots", StyFile({}, 255)},
        {"slot byte not the slot number", wrongSlotByte},
        {"used with size 69", StyFile({69})},
        {"used with size 0",
         [] {
             Bytes b = StyFile({});
             b[22 + 1] = 1;
             return b;
         }()},
        {"data past the end", cut},
        {"directory end short of 224", shortGap},
        {"header only", Bytes(21, 0)},
    };
    for (const Case& c : cases) {
        SetStyles out;
        out.slots[0].record.SetName("UNTOUCHED");
        EXPECT_FALSE(LoadSty(ItemFile("T.STY", c.bytes), out)) << c.what;
        EXPECT_EQ(out.slots[0].record.Name(), "UNTOUCHED       ") << c.what;
    }
}

TEST(StyleFile, KeepsOddDirectoriesAsTheyCame) {
    // Six slots: one block is read, the entries of slots 4 and 5 stay in the gap.
    Bytes six = StyFile({}, 6);
    six[22 + 4 * 4 + 1] = 1;
    six[22 + 4 * 4 + 2] = 0x99;
    // No slots at all: byte 22 is gap, not slot 0's slot byte.
    Bytes none = StyFile({}, 0);
    none[22] = 0x55;
    // An unused entry carrying size bytes, and bytes after the data.
    Bytes idle = StyFile({100});
    idle[22 + 4 * 2 + 2] = 0x34;
    idle[22 + 4 * 2 + 3] = 0x12;
    idle.insert(idle.end(), {9, 8, 7});
    const std::pair<Bytes, int> cases[] = {{six, 1}, {none, 0}, {idle, 12}};
    for (const auto& [bytes, blocks] : cases) {
        SetStyles styles;
        ASSERT_TRUE(LoadSty(ItemFile("T.STY", bytes), styles)) << blocks;
        EXPECT_EQ(styles.blockCount, blocks);
        EXPECT_EQ(SerializeSty(styles), bytes) << blocks;
    }
    const SetStyles idleStyles = Load(idle);
    EXPECT_EQ(idleStyles.slots[2].size, 0);
    EXPECT_EQ(idleStyles.trailing, (Bytes{9, 8, 7}));
}

TEST(StyleFile, BlankStyleWithoutEventsIsWrittenAtItsFullSize) {
    SetStyles styles = test::EmptySet().sty;
    styles.slots[3].used = 1;
    styles.slots[3].size = 1176;
    styles.slots[3].record.SetName("BLANK STYLE");
    const Bytes bytes = SerializeSty(styles);
    ASSERT_EQ(bytes.size(), 224u + 1176u);
    EXPECT_EQ(Bytes(bytes.begin() + 224 + 70, bytes.end()), Bytes(1106, 0));
    SetStyles loaded;
    ASSERT_TRUE(LoadSty(ItemFile("T.STY", bytes), loaded));
    EXPECT_EQ(loaded.slots[3].size, 1176);
    EXPECT_EQ(loaded.slots[3].record.Name(), "BLANK STYLE     ");
}

TEST(StyleFile, EventsCountTruncatedTowardZero) {
    const std::pair<int, int> cases[] = {{70, -276}, {1171, -1}, {1175, 0},  {1176, 0},
                                         {1180, 1},  {1183, 1},  {65535, 16089}};
    SetStyles styles;
    styles.slots[10].used = 1;
    for (const auto& [size, events] : cases) {
        styles.slots[10].size = static_cast<std::uint16_t>(size);
        EXPECT_EQ(StyleEventsUsed(styles, 10), events) << size;
    }
    styles.slots[10].used = 0;
    styles.slots[10].size = 0;
    EXPECT_EQ(StyleEventsUsed(styles, 10), 0) << "a slot without a style takes no room";
}

TEST(StyleFile, BlockOneIsSlotsFourToSeven) {
    SetStyles styles;
    for (auto& slot : styles.slots) {
        slot.used = 1;
        slot.size = 1176 + 4 * 1000;  // 1000 events each
    }
    styles.slots[4].size = 1176 + 4 * 100;
    styles.slots[5].size = 70;
    styles.slots[6].used = 0;
    styles.slots[6].size = 0;
    styles.slots[7].size = 1176 + 4 * 3;
    const int expected = 15200 - (100 - 276 + 0 + 3);
    for (int slot = 4; slot <= 7; ++slot) EXPECT_EQ(BlockEventsFree(styles, slot), expected) << slot;
    EXPECT_EQ(BlockEventsFree(styles, 3), 15200 - 4000);
    EXPECT_EQ(BlockEventsFree(styles, 8), 15200 - 4000);
}

}  // namespace
}  // namespace vx
