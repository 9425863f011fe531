#include <gtest/gtest.h>

#include "arrangements/ArrangementFile.h"
#include "editing/CallSites.h"
#include "format/ItemFile.h"
#include "styles/StyleRecord.h"
#include "support/SetBuilder.h"

namespace vx {
namespace {

// An empty set's .ARR with the header's data length replaced, cut or extended to size.
Bytes ArrFile(int dataLength, std::size_t size, std::uint8_t fill = 0xAA) {
    Bytes bytes = SerializeArr(test::EmptySet().arr);
    bytes[24] = static_cast<std::uint8_t>(dataLength & 0xFF);
    bytes[25] = static_cast<std::uint8_t>((dataLength >> 8) & 0xFF);
    bytes.resize(size, fill);
    return bytes;
}

TEST(ArrangementFile, RandomSetsRoundTripByteForByte) {
    for (std::uint32_t seed = 1; seed <= 12; ++seed) {
        const SetData set = test::RandomSet(seed);
        const Bytes bytes = SerializeArr(set.arr);
        SetArrangements loaded;
        ASSERT_TRUE(LoadArr(ItemFile("T.ARR", bytes), loaded)) << seed;
        EXPECT_EQ(SerializeArr(loaded), bytes) << seed;
    }
}

TEST(ArrangementFile, RecordsLieAt32PlusSlotTimes164AndTheTailEndsAtDataLength) {
    SetArrangements arr = test::EmptySet().arr;
    arr.arr[127].SetName("LAST ONE");
    arr.arr[1].SetStyle(0x1234);
    const Bytes bytes = SerializeArr(arr);
    ASSERT_EQ(bytes.size(), 21024u);
    EXPECT_EQ(bytes[24] | bytes[25] << 8, 20992);
    EXPECT_EQ(std::string(bytes.begin() + 32 + 164 * 127, bytes.begin() + 32 + 164 * 127 + 16), "LAST ONE        ");
    // The style number sits at the odd offset 17.
    EXPECT_EQ(std::tuple(bytes[32 + 164 + 17], bytes[32 + 164 + 18]), std::tuple(0x34, 0x12));

    Bytes longer = ArrFile(20992 + 3, 21024);
    longer.insert(longer.end(), {1, 2, 3, 4, 5, 6, 7});
    SetArrangements loaded;
    ASSERT_TRUE(LoadArr(ItemFile("T.ARR", longer), loaded));
    EXPECT_EQ(loaded.tail, (Bytes{1, 2, 3}));
    EXPECT_EQ(loaded.trailing, (Bytes{4, 5, 6, 7}));
    EXPECT_EQ(SerializeArr(loaded), longer);
}

TEST(ArrangementFile, RefusesFilesThatDoNotHoldWhatTheHeaderSays) {
    // Data length and file size: a length below the records, negative or zero; a tail beyond the
    // file; the largest length; the records cut; a header only or less.
    const std::pair<int, std::size_t> cases[] = {{20991, 21024}, {-1, 21024},    {0, 21024},  {20992 + 10, 21024 + 9},
                                                 {32767, 21024}, {20992, 21023}, {20992, 32}, {20992, 20}};
    for (const auto& [dataLength, size] : cases) {
        SetArrangements out;
        out.arr[0].SetName("UNTOUCHED");
        EXPECT_FALSE(LoadArr(ItemFile("T.ARR", ArrFile(dataLength, size)), out)) << dataLength << " " << size;
        EXPECT_EQ(out.arr[0].Name(), "UNTOUCHED       ");
    }
}

TEST(ArrangementFile, FieldsReadTheStoredBytes) {
    ArrangementRecord record;
    record.SetByte(21, 90);
    record.SetByte(25, 0xF4);
    EXPECT_EQ(std::pair(record.Tempo(), record.Transpose()), std::pair(120, -12));
    // Track 2's block starts at 39 + 16; bit 7 of its second byte is not part of the number.
    record.SetByte(56, 0x80);
    record.SetByte(57, 0x5A);
    EXPECT_EQ(record.TrackProgram(2), 0);
    // Written by the record, or by a parameter dialog through the writer of every rewrite, the flag stays.
    record.SetTrackProgram(2, 768);
    EXPECT_EQ(std::tuple(record.Byte(55), record.Byte(56), record.Byte(57)), std::tuple(0x00, 0x83, 0x5A));
    StyleRecord style;
    style.SetByte(47 + 4 * 3, 0x80);
    const struct {
        const char* what;
        bool written;
        int low, high;
    } cases[] = {
        {"arrangement track", SetCall(record, ItemKind::Arrangement, ItemKind::Program, 2, 0x1FF), record.Byte(55),
         record.Byte(56)},
        {"style track", SetCall(style, ItemKind::Style, ItemKind::Program, 3, 0x7F01), style.Byte(58), style.Byte(59)},
        {"arrangement style", SetCall(record, ItemKind::Arrangement, ItemKind::Style, -1, 0x8001), record.Byte(17),
         record.Byte(18)},
    };
    const int expected[][2] = {{0xFF, 0x81}, {0x01, 0xFF}, {0x01, 0x80}};
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        EXPECT_TRUE(cases[i].written) << cases[i].what;
        EXPECT_EQ(std::pair(cases[i].low, cases[i].high), std::pair(expected[i][0], expected[i][1])) << cases[i].what;
    }
    EXPECT_FALSE(SetCall(record, ItemKind::Arrangement, ItemKind::Program, 11, 5)) << "there is no twelfth track";
}

}  // namespace
}  // namespace vx
