#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "globals/GlobalFiles.h"
#include "storage/ItemFile.h"
#include "storage/SetData.h"
#include "support/SetBuilder.h"
#include "support/TestPaths.h"

namespace vx {
namespace {

TEST(GlobalFiles, RandomSetsRoundTripByteForByte) {
    for (std::uint32_t seed = 1; seed <= 8; ++seed) {
        const SetData set = test::RandomSet(seed);
        const Bytes arg = SerializeArg(set.arg);
        const Bytes gbl = SerializeGbl(set.gbl);
        EXPECT_EQ(arg.size(), 80u + set.arg.trailing.size());
        EXPECT_EQ(gbl.size(), 448u + set.gbl.trailing.size());
        SetArrangementGlobal loadedArg;
        SetGlobal loadedGbl;
        ASSERT_TRUE(LoadArg(ItemFile("T.ARG", arg), loadedArg));
        ASSERT_TRUE(LoadGbl(ItemFile("T.GBL", gbl), loadedGbl));
        EXPECT_EQ(loadedArg.record, set.arg.record);
        EXPECT_EQ(SerializeArg(loadedArg), arg);
        EXPECT_EQ(SerializeGbl(loadedGbl), gbl);
    }
}

TEST(GlobalFiles, ShortFilesFailLongerOnesKeepTheRest) {
    Bytes bytes(80);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i);
    SetArrangementGlobal arg;
    EXPECT_FALSE(LoadArg(ItemFile("T.ARG", Bytes(bytes.begin(), bytes.end() - 1)), arg));
    ASSERT_TRUE(LoadArg(ItemFile("T.ARG", bytes), arg));
    EXPECT_EQ(arg.record.Byte(0), 32);
    EXPECT_EQ(arg.record.Byte(47), 79);
    EXPECT_TRUE(arg.trailing.empty());

    SetGlobal gbl;
    EXPECT_FALSE(LoadGbl(ItemFile("T.GBL", Bytes(447, 1)), gbl));
    EXPECT_FALSE(LoadGbl(ItemFile("T.GBL", bytes), gbl));
    Bytes longer(451, 7);
    longer[448] = 9;
    ASSERT_TRUE(LoadGbl(ItemFile("T.GBL", longer), gbl));
    EXPECT_EQ(gbl.trailing, (Bytes{9, 7, 7}));
    EXPECT_EQ(SerializeGbl(gbl), longer);
}

TEST(SetData, LoadKindReplacesOneKindOnlyOnSuccess) {
    const SetData source = test::RandomSet(7);
    const ItemKind kinds[] = {ItemKind::Arrangement,       ItemKind::Style, ItemKind::Program, ItemKind::KbdSet,
                              ItemKind::ArrangementGlobal, ItemKind::Global};
    for (ItemKind kind : kinds) {
        SetData data = test::EmptySet();
        const Bytes before = SerializeKind(data, kind);
        EXPECT_FALSE(LoadKind(ItemFile("T", Bytes(20, 0)), kind, data)) << KindIndex(kind);
        EXPECT_EQ(SerializeKind(data, kind), before) << KindIndex(kind);

        ASSERT_TRUE(LoadKind(test::KindFile(source, kind), kind, data)) << KindIndex(kind);
        EXPECT_EQ(SerializeKind(data, kind), SerializeKind(source, kind)) << KindIndex(kind);
        const ItemKind other = kind == ItemKind::Global ? ItemKind::Arrangement : ItemKind::Global;
        EXPECT_EQ(SerializeKind(data, other), SerializeKind(test::EmptySet(), other)) << KindIndex(kind);
    }
    SetData data;
    EXPECT_FALSE(LoadKind(ItemFile("T.XAF", Bytes(100, 0)), ItemKind::XStyleArrangement, data));
    EXPECT_TRUE(SerializeKind(data, ItemKind::XStyleStyle).empty());
}

TEST(SetData, WriteSetWritesEightFilesWithTheirHeaders) {
    test::TempDirectory temp;
    const SetData set = test::RandomSet(3);
    const std::string directory = (temp.Path() / "LIVE.SET").string();
    test::WriteSet(set, directory, "LIVE");
    const std::pair<const char*, int> files[] = {{"LIVE.ARR", 3}, {"LIVE.STY", 4}, {"LIVE.PRG", 0}, {"LIVE.BSQ", 5},
                                                 {"LIVE.SNG", 1}, {"LIVE.ARK", 8}, {"LIVE.ARG", 7}, {"LIVE.GBL", 6}};
    int index = 0;
    for (const auto& [name, kindByte] : files) {
        std::ifstream in(std::filesystem::path(directory) / name, std::ios::binary);
        const Bytes bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        ASSERT_GE(bytes.size(), 8u) << name;
        EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 5), "VEMOX") << name;
        EXPECT_EQ(bytes[6], kindByte) << name;
        EXPECT_EQ(bytes, SerializeKind(set, KindFromIndex(index++))) << name;
    }
}

}  // namespace
}  // namespace vx
