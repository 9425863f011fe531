#include <gtest/gtest.h>

#include "format/ItemFile.h"
#include "programs/ProgramFile.h"
#include "support/SetBuilder.h"

namespace vx {
namespace {

TEST(ProgramFile, RandomSetsRoundTripByteForByte) {
    for (std::uint32_t seed = 1; seed <= 8; ++seed) {
        const SetData set = test::RandomSet(seed);
        const Bytes bytes = SerializePrg(set.prg);
        SetPrograms loaded;
        ASSERT_TRUE(LoadPrg(ItemFile("T.PRG", bytes), loaded)) << seed;
        EXPECT_EQ(SerializePrg(loaded), bytes) << seed;
    }
}

TEST(ProgramFile, PartsLieAtTheirFixedOffsetsShortFilesAreRefused) {
    SetPrograms programs = test::EmptySet().prg;
    programs.records[127].SetName("G88");
    programs.records[135].SetName("R58 KIT");
    programs.drumKits[0][0] = 0xD0;
    programs.drumKits[7][879] = 0xD7;
    const Bytes bytes = SerializePrg(programs);
    ASSERT_EQ(bytes.size(), 30480u);
    EXPECT_EQ(std::string(bytes.begin() + 48 + 172 * 127, bytes.begin() + 48 + 172 * 127 + 3), "G88");
    EXPECT_EQ(std::string(bytes.begin() + 22064 + 172 * 7, bytes.begin() + 22064 + 172 * 7 + 7), "R58 KIT");
    EXPECT_EQ(std::tuple(bytes[23440], bytes[30479]), std::tuple(0xD0, 0xD7));

    for (std::size_t size : {0, 48, 23440, 30479}) {
        SetPrograms out;
        out.records[0].SetName("UNTOUCHED");
        EXPECT_FALSE(LoadPrg(ItemFile("T.PRG", Bytes(bytes.begin(), bytes.begin() + static_cast<long>(size))), out))
            << size;
        EXPECT_EQ(out.records[0].Name(), "UNTOUCHED       ");
    }
}

}  // namespace
}  // namespace vx
