#include <gtest/gtest.h>

#include "format/ItemFile.h"
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

// The same file with one byte changed.
Bytes With(Bytes bytes, std::size_t at, std::uint8_t value) {
    bytes[at] = value;
    return bytes;
}

TEST(StyleFile, RandomSetsRoundTripByteForByte) {
    const test::RandomSetOptions full{.styleUsedPercent = 100};
    for (std::uint32_t seed = 1; seed <= 10; ++seed) {
        const SetData set = test::RandomSet(seed, seed % 3 == 0 ? full : test::RandomSetOptions{});
        const Bytes bytes = SerializeSty(set.sty);
        SetStyles loaded;
        ASSERT_TRUE(LoadSty(ItemFile("T.STY", bytes), loaded)) << seed;
        EXPECT_EQ(SerializeSty(loaded), bytes) << seed;
    }
}

TEST(StyleFile, DataFollowsTheDirectoryInSlotOrder) {
    SetStyles styles;
    ASSERT_TRUE(LoadSty(ItemFile("T.STY", StyFile({0, 80, 0, 70, 1180})), styles));
    EXPECT_EQ(std::tuple(styles.slots[1].size, styles.slots[3].size, styles.slots[4].size), std::tuple(80, 70, 1180));
    EXPECT_EQ(styles.slots[1].events, Bytes(10, 0x22));
    EXPECT_EQ(std::tuple(styles.slots[3].events.size(), styles.slots[4].events.size()), std::tuple(0u, 1110u));

    // An empty set's file is the directory alone: 48 unused entries, each holding its slot number.
    const Bytes empty = SerializeSty(test::EmptySet().sty), directory = StyFile({});
    EXPECT_EQ(Bytes(empty.begin() + 21, empty.end()), Bytes(directory.begin() + 21, directory.end()));
    // A blank style without events is written at its full size.
    styles = test::EmptySet().sty;
    styles.slots[3].used = 1;
    styles.slots[3].size = 1176;
    const Bytes blank = SerializeSty(styles);
    EXPECT_EQ(Bytes(blank.begin() + 224 + 70, blank.end()), Bytes(1106, 0));
}

TEST(StyleFile, RefusesBadDirectoriesAndData) {
    Bytes shortDirectory = StyFile({});
    shortDirectory.pop_back();
    const Bytes cases[] = {
        StyFile({}, 49),
        StyFile({}, 255),
        With(StyFile({100}), 22 + 4 * 5, 6),         // slot byte not the slot number
        StyFile({69}),                               // used with size 69
        With(StyFile({}), 22 + 1, 1),                // used with size 0
        With(StyFile({100, 200}), 22 + 4 + 2, 201),  // data past the end
        shortDirectory,
        Bytes(21, 0),
    };
    for (const Bytes& bytes : cases) {
        SetStyles out;
        out.slots[0].record.SetName("UNTOUCHED");
        EXPECT_FALSE(LoadSty(ItemFile("T.STY", bytes), out)) << bytes.size();
        EXPECT_EQ(out.slots[0].record.Name(), "UNTOUCHED       ");
    }
}

TEST(StyleFile, KeepsOddDirectoriesAsTheyCame) {
    // Six slots: one block is read, the entries of slots 4 and 5 stay in the gap.
    const Bytes six = With(With(StyFile({}, 6), 22 + 4 * 4 + 1, 1), 22 + 4 * 4 + 2, 0x99);
    // No slots at all: byte 22 is gap, not slot 0's slot byte.
    const Bytes none = With(StyFile({}, 0), 22, 0x55);
    // An unused entry carrying size bytes, and bytes after the data.
    Bytes idle = With(With(StyFile({100}), 22 + 4 * 2 + 2, 0x34), 22 + 4 * 2 + 3, 0x12);
    idle.insert(idle.end(), {9, 8, 7});
    const std::pair<Bytes, int> cases[] = {{six, 1}, {none, 0}, {idle, 12}};
    for (const auto& [bytes, blocks] : cases) {
        SetStyles styles;
        ASSERT_TRUE(LoadSty(ItemFile("T.STY", bytes), styles)) << blocks;
        EXPECT_EQ(styles.blockCount, blocks);
        EXPECT_EQ(SerializeSty(styles), bytes) << blocks;
        EXPECT_EQ(styles.slots[2].size, 0);
        EXPECT_EQ(styles.trailing, (blocks == 12 ? Bytes{9, 8, 7} : Bytes{}));
    }
}

TEST(StyleFile, EventCountsTruncateTowardZeroPerBlockOfFour) {
    const std::pair<int, int> cases[] = {{70, -276}, {1171, -1}, {1175, 0}, {1176, 0}, {1183, 1}, {65535, 16089}};
    SetStyles styles;
    styles.slots[10].used = 1;
    for (const auto& [size, events] : cases) {
        styles.slots[10].size = static_cast<std::uint16_t>(size);
        EXPECT_EQ(StyleEventsUsed(styles, 10), events) << size;
    }
    styles.slots[10] = StyleSlot{};
    EXPECT_EQ(StyleEventsUsed(styles, 10), 0) << "a slot without a style takes no room";

    StyleSlot full;
    full.used = 1;
    full.size = 1176 + 4 * 1000;  // 1000 events
    styles.slots.fill(full);
    styles.slots[4].size = 1176 + 4 * 100;
    styles.slots[5].size = 70;
    styles.slots[6] = StyleSlot{};
    styles.slots[7].size = 1176 + 4 * 3;
    for (int slot = 4; slot <= 7; ++slot) EXPECT_EQ(BlockEventsFree(styles, slot), 15200 - (100 - 276 + 3)) << slot;
    EXPECT_EQ(std::pair(BlockEventsFree(styles, 3), BlockEventsFree(styles, 8)), std::pair(11200, 11200));
}

}  // namespace
}  // namespace vx
