#include <gtest/gtest.h>

#include "kbdsets/KbdSetFile.h"
#include "storage/ItemFile.h"
#include "support/SetBuilder.h"

namespace vx {
namespace {

Bytes ArkFile(int dataLength, const Bytes& after) {
    Bytes bytes = SerializeArk(test::EmptySet().ark);
    bytes[24] = static_cast<std::uint8_t>(dataLength & 0xFF);
    bytes[25] = static_cast<std::uint8_t>((dataLength >> 8) & 0xFF);
    bytes.insert(bytes.end(), after.begin(), after.end());
    return bytes;
}

TEST(KbdSetFile, RandomSetsRoundTripByteForByte) {
    for (std::uint32_t seed = 1; seed <= 12; ++seed) {
        const SetData set = test::RandomSet(seed);
        const Bytes bytes = SerializeArk(set.ark);
        SetKbdSets loaded;
        ASSERT_TRUE(LoadArk(ItemFile("T.ARK", bytes), loaded)) << seed;
        EXPECT_EQ(loaded.dataLength, set.ark.dataLength);
        EXPECT_EQ(loaded.tail, set.ark.tail);
        EXPECT_EQ(SerializeArk(loaded), bytes) << seed;
    }
}

TEST(KbdSetFile, TailFollowsDataLength) {
    struct Case {
        int dataLength;
        Bytes after;
        Bytes tail;
        Bytes trailing;
    };
    const Case cases[] = {
        {3584, {}, {}, {}},  {3584, {1, 2}, {}, {1, 2}}, {3590, {1, 2, 3, 4, 5, 6, 7, 8}, {1, 2, 3, 4, 5, 6}, {7, 8}},
        {100, {1}, {}, {1}}, {-5, {}, {}, {}},
    };
    for (const Case& c : cases) {
        const Bytes bytes = ArkFile(c.dataLength, c.after);
        SetKbdSets loaded;
        ASSERT_TRUE(LoadArk(ItemFile("T.ARK", bytes), loaded)) << c.dataLength;
        EXPECT_EQ(loaded.dataLength, c.dataLength);
        EXPECT_EQ(loaded.tail, c.tail) << c.dataLength;
        EXPECT_EQ(loaded.trailing, c.trailing) << c.dataLength;
        EXPECT_EQ(SerializeArk(loaded), bytes) << c.dataLength;
    }
}

TEST(KbdSetFile, RefusesShortFilesAndTailsPastTheEnd) {
    Bytes cut = ArkFile(3584, {});
    cut.pop_back();
    const std::pair<const char*, Bytes> cases[] = {
        {"tail one byte short", ArkFile(3590, {1, 2, 3, 4, 5})},
        {"largest length", ArkFile(32767, {})},
        {"records cut", cut},
        {"header only", Bytes(32, 0)},
    };
    for (const auto& [what, bytes] : cases) {
        SetKbdSets out;
        out.records[0].SetSplit(77);
        EXPECT_FALSE(LoadArk(ItemFile("T.ARK", bytes), out)) << what;
        EXPECT_EQ(out.records[0].Split(), 77) << what;
    }
}

TEST(KbdSetFile, RecordFieldsAndLabels) {
    SetKbdSets sets = test::EmptySet().ark;
    sets.records[63].SetSplit(60);
    sets.records[63].SetTrackProgram(4, 1056);
    sets.records[0].SetTrackProgram(0, -1);
    const Bytes bytes = SerializeArk(sets);
    const std::size_t record63 = 32 + 56 * 63;
    EXPECT_EQ(bytes[record63 + 1], 60);
    EXPECT_EQ(bytes[record63 + 16 + 32], 0x20);
    EXPECT_EQ(bytes[record63 + 16 + 33], 0x04);
    EXPECT_EQ(sets.records[0].TrackProgram(0), -1);

    const std::pair<int, const char*> labels[] = {{0, "11"}, {7, "18"}, {8, "21"}, {63, "88"}, {64, ""}, {-1, ""}};
    for (const auto& [number, label] : labels) EXPECT_EQ(KbdLabel(number), label) << number;
}

}  // namespace
}  // namespace vx
