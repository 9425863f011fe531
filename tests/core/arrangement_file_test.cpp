#include <gtest/gtest.h>

#include "arrangements/ArrangementFile.h"
#include "storage/ItemFile.h"
#include "support/SetBuilder.h"

namespace vx {
namespace {

Bytes ArrBytes(const SetArrangements& arr) { return SerializeArr(arr); }

void SetDataLength(Bytes& file, int length) {
    file[24] = static_cast<std::uint8_t>(length & 0xFF);
    file[25] = static_cast<std::uint8_t>((length >> 8) & 0xFF);
}

TEST(ArrangementFile, RandomSetsRoundTripByteForByte) {
    for (std::uint32_t seed = 1; seed <= 12; ++seed) {
        const SetData set = test::RandomSet(seed);
        const Bytes bytes = SerializeArr(set.arr);
        SetArrangements loaded;
        ASSERT_TRUE(LoadArr(ItemFile("T.ARR", bytes), loaded)) << seed;
        EXPECT_EQ(loaded.dataLength, set.arr.dataLength);
        EXPECT_EQ(loaded.tail, set.arr.tail);
        EXPECT_EQ(loaded.trailing, set.arr.trailing);
        EXPECT_EQ(SerializeArr(loaded), bytes) << seed;
    }
}

TEST(ArrangementFile, RecordsLieAt32PlusSlotTimes164) {
    SetArrangements arr = test::EmptySet().arr;
    arr.arr[127].SetName("LAST ONE");
    arr.arr[1].SetStyle(0x1234);
    const Bytes bytes = ArrBytes(arr);
    ASSERT_EQ(bytes.size(), 21024u);
    EXPECT_EQ(std::string(bytes.begin() + 32 + 164 * 127, bytes.begin() + 32 + 164 * 127 + 16), "LAST ONE        ");
    // The style number sits at the odd offset 17.
    EXPECT_EQ(bytes[32 + 164 + 17], 0x34);
    EXPECT_EQ(bytes[32 + 164 + 18], 0x12);

    SetArrangements loaded;
    ASSERT_TRUE(LoadArr(ItemFile("T.ARR", bytes), loaded));
    EXPECT_TRUE(loaded.tail.empty());
    EXPECT_TRUE(loaded.trailing.empty());
    EXPECT_EQ(loaded.dataLength, 20992);
}

TEST(ArrangementFile, TailEndsAtDataLengthAndTheRestIsTrailing) {
    Bytes bytes = ArrBytes(test::EmptySet().arr);
    SetDataLength(bytes, 20992 + 3);
    bytes.insert(bytes.end(), {1, 2, 3, 4, 5, 6, 7});
    SetArrangements loaded;
    ASSERT_TRUE(LoadArr(ItemFile("T.ARR", bytes), loaded));
    EXPECT_EQ(loaded.tail, (Bytes{1, 2, 3}));
    EXPECT_EQ(loaded.trailing, (Bytes{4, 5, 6, 7}));
    EXPECT_EQ(SerializeArr(loaded), bytes);
}

TEST(ArrangementFile, RefusesFilesThatDoNotHoldWhatTheHeaderSays) {
    const Bytes good = ArrBytes(test::EmptySet().arr);
    struct Case {
        const char* what;
        int dataLength;
        std::size_t size;
    };
    const Case cases[] = {
        {"length one below the records", 20991, 21024},
        {"negative length", -1, 21024},
        {"length of zero", 0, 21024},
        {"tail beyond the file", 20992 + 10, 21024 + 9},
        {"largest length, short file", 32767, 21024},
        {"records cut", 20992, 21023},
        {"header only", 20992, 32},
        {"less than a header", 20992, 20},
    };
    for (const Case& c : cases) {
        Bytes bytes = good;
        SetDataLength(bytes, c.dataLength);
        bytes.resize(c.size, 0xAA);
        SetArrangements out;
        out.arr[0].SetName("UNTOUCHED");
        EXPECT_FALSE(LoadArr(ItemFile("T.ARR", bytes), out)) << c.what;
        EXPECT_EQ(out.arr[0].Name(), "UNTOUCHED       ") << c.what;
    }
}

TEST(ArrangementFile, FieldAccessorsReadTheStoredBytes) {
    ArrangementRecord record;
    record.SetByte(21, 0);
    record.SetByte(25, 0xF4);
    EXPECT_EQ(record.Tempo(), 30);
    EXPECT_EQ(record.Transpose(), -12);
    record.SetByte(21, 90);
    record.SetByte(25, 0x7F);
    EXPECT_EQ(record.Tempo(), 120);
    EXPECT_EQ(record.Transpose(), 127);

    // Track 2's block starts at 39 + 16; bit 7 of its second byte is not part of the number.
    record.SetByte(55, 0x00);
    record.SetByte(56, 0x80);
    record.SetByte(57, 0x5A);
    EXPECT_EQ(record.TrackProgram(2), 0);
    SetArrangements arr = test::EmptySet().arr;
    arr.arr[9] = record;
    SetArrangements loaded;
    ASSERT_TRUE(LoadArr(ItemFile("T.ARR", SerializeArr(arr)), loaded));
    EXPECT_EQ(loaded.arr[9].Byte(56), 0x80);
    EXPECT_EQ(loaded.arr[9].TrackProgram(2), 0);

    record.SetTrackProgram(2, 768);
    EXPECT_EQ(record.Byte(55), 0x00);
    EXPECT_EQ(record.Byte(56), 0x03);
    EXPECT_EQ(record.Byte(57), 0x5A);
    EXPECT_EQ(record.TrackProgram(2), 768);
}

}  // namespace
}  // namespace vx
