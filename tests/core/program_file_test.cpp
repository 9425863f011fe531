#include <gtest/gtest.h>

#include "programs/ProgramFile.h"
#include "storage/ItemFile.h"
#include "support/SetBuilder.h"

namespace vx {
namespace {

TEST(ProgramFile, RandomSetsRoundTripByteForByte) {
    for (std::uint32_t seed = 1; seed <= 8; ++seed) {
        const SetData set = test::RandomSet(seed);
        const Bytes bytes = SerializePrg(set.prg);
        ASSERT_EQ(bytes.size(), 30480u + set.prg.trailing.size());
        SetPrograms loaded;
        ASSERT_TRUE(LoadPrg(ItemFile("T.PRG", bytes), loaded)) << seed;
        EXPECT_EQ(loaded.trailing, set.prg.trailing);
        EXPECT_EQ(SerializePrg(loaded), bytes) << seed;
    }
}

TEST(ProgramFile, PartsLieAtTheirFixedOffsets) {
    SetPrograms programs = test::EmptySet().prg;
    programs.records[127].SetName("G88");
    programs.records[128].SetName("R51 KIT");
    programs.records[135].SetByte(17, 0x42);
    programs.drumKits[0][0] = 0xD0;
    programs.drumKits[7][879] = 0xD7;
    const Bytes bytes = SerializePrg(programs);
    ASSERT_EQ(bytes.size(), 30480u);
    EXPECT_EQ(std::string(bytes.begin() + 48 + 172 * 127, bytes.begin() + 48 + 172 * 127 + 3), "G88");
    EXPECT_EQ(std::string(bytes.begin() + 22064, bytes.begin() + 22064 + 7), "R51 KIT");
    EXPECT_EQ(bytes[22064 + 172 * 7 + 17], 0x42);
    EXPECT_EQ(bytes[23440], 0xD0);
    EXPECT_EQ(bytes[30479], 0xD7);
}

TEST(ProgramFile, ShortFilesAreRefusedLongerOnesKeepTheirExtraBytes) {
    const Bytes good = SerializePrg(test::EmptySet().prg);
    for (std::size_t size : {std::size_t{0}, std::size_t{48}, std::size_t{23440}, std::size_t{30479}}) {
        SetPrograms out;
        out.records[0].SetName("UNTOUCHED");
        EXPECT_FALSE(LoadPrg(ItemFile("T.PRG", Bytes(good.begin(), good.begin() + static_cast<long>(size))), out))
            << size;
        EXPECT_EQ(out.records[0].Name(), "UNTOUCHED       ");
    }
    Bytes longer = good;
    longer.insert(longer.end(), {0xAB, 0xCD});
    SetPrograms loaded;
    ASSERT_TRUE(LoadPrg(ItemFile("T.PRG", longer), loaded));
    EXPECT_EQ(loaded.trailing, (Bytes{0xAB, 0xCD}));
    EXPECT_EQ(SerializePrg(loaded), longer);
}

}  // namespace
}  // namespace vx
