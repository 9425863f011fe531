#include <gtest/gtest.h>

#include <tuple>

#include "format/ItemFile.h"
#include "kbdsets/KbdSetFile.h"
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

TEST(KbdSetFile, LayoutAndByteForByteRoundTripsWithTheTailTheDataLengthGives) {
    SetKbdSets sets = test::EmptySet().ark;
    sets.records[63].SetSplit(60);
    sets.records[63].SetTrackProgram(4, 1056);  // R51
    const Bytes layout = SerializeArk(sets);
    EXPECT_EQ(std::tuple(layout[32 + 56 * 63 + 1], layout[32 + 56 * 63 + 48], layout[32 + 56 * 63 + 49]),
              std::tuple(60, 0x20, 0x04));
    std::string labels;
    for (int number : {0, 7, 8, 63, 64, -1}) labels += KbdLabel(number) + "|";
    EXPECT_EQ(labels, "11|18|21|88|||");
    for (std::uint32_t seed = 1; seed <= 12; ++seed) {
        const Bytes bytes = SerializeArk(test::RandomSet(seed).ark);
        SetKbdSets loaded;
        ASSERT_TRUE(LoadArk(ItemFile("T.ARK", bytes), loaded)) << seed;
        EXPECT_EQ(SerializeArk(loaded), bytes) << seed;
    }
    // Data length, bytes after the records (1, 2, 3...) and how many of them are the tail.
    for (const auto& [dataLength, count, tailSize] : {std::tuple{3584, 2, 0}, {3590, 8, 6}, {100, 1, 0}, {-5, 0, 0}}) {
        Bytes after;
        for (int i = 1; i <= count; ++i) after.push_back(static_cast<std::uint8_t>(i));
        const Bytes bytes = ArkFile(dataLength, after);
        SetKbdSets loaded;
        ASSERT_TRUE(LoadArk(ItemFile("T.ARK", bytes), loaded)) << dataLength;
        EXPECT_EQ(loaded.tail, Bytes(after.begin(), after.begin() + tailSize)) << dataLength;
        EXPECT_EQ(loaded.trailing, Bytes(after.begin() + tailSize, after.end())) << dataLength;
        EXPECT_EQ(SerializeArk(loaded), bytes) << dataLength;
    }
}

TEST(KbdSetFile, RefusesShortFilesAndTailsPastTheEnd) {
    // A tail one byte short, the largest length, the records cut, a header only.
    for (const Bytes& bytes : {ArkFile(3590, {1, 2, 3, 4, 5}), ArkFile(32767, {}), Bytes(32 + 3583, 0), Bytes(32, 0)}) {
        SetKbdSets out;
        out.records[0].SetSplit(77);
        EXPECT_FALSE(LoadArk(ItemFile("T.ARK", bytes), out)) << bytes.size();
        EXPECT_EQ(out.records[0].Split(), 77);
    }
}

}  // namespace
}  // namespace vx
