#include <gtest/gtest.h>

#include "format/ItemFile.h"
#include "globals/GlobalFiles.h"
#include "storage/SetData.h"
#include "support/SetBuilder.h"

namespace vx {
namespace {

TEST(GlobalFiles, RoundTripsByteForByteShortFilesFail) {
    for (std::uint32_t seed = 1; seed <= 8; ++seed) {
        const SetData set = test::RandomSet(seed);
        const Bytes arg = SerializeArg(set.arg), gbl = SerializeGbl(set.gbl);
        EXPECT_EQ(std::tuple(arg.size() - set.arg.trailing.size(), gbl.size() - set.gbl.trailing.size()),
                  std::tuple(80u, 448u));
        SetArrangementGlobal loadedArg;
        SetGlobal loadedGbl;
        ASSERT_TRUE(LoadArg(ItemFile("T.ARG", arg), loadedArg) && LoadGbl(ItemFile("T.GBL", gbl), loadedGbl)) << seed;
        EXPECT_EQ(SerializeArg(loadedArg), arg);
        EXPECT_EQ(SerializeGbl(loadedGbl), gbl);
    }
    // The arrangement global record lies after the 32-byte header.
    Bytes bytes(80);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i);
    SetArrangementGlobal arg;
    ASSERT_TRUE(LoadArg(ItemFile("T.ARG", bytes), arg));
    EXPECT_EQ(std::tuple(arg.record.Byte(0), arg.record.Byte(47)), std::tuple(32, 79));
    SetGlobal gbl;
    EXPECT_FALSE(LoadArg(ItemFile("T.ARG", Bytes(79, 1)), arg) || LoadGbl(ItemFile("T.GBL", Bytes(447, 1)), gbl));
}

TEST(SetData, LoadKindReplacesOneKindOnlyOnSuccess) {
    const SetData source = test::RandomSet(7);
    for (ItemKind kind : {ItemKind::Arrangement, ItemKind::Style, ItemKind::Program, ItemKind::KbdSet,
                          ItemKind::ArrangementGlobal, ItemKind::Global}) {
        SetData data = test::EmptySet();
        EXPECT_FALSE(LoadKind(ItemFile("T", Bytes(20, 0)), kind, data)) << KindIndex(kind);
        EXPECT_EQ(SerializeKind(data, kind), SerializeKind(test::EmptySet(), kind)) << KindIndex(kind);
        ASSERT_TRUE(LoadKind(test::KindFile(source, kind), kind, data)) << KindIndex(kind);
        EXPECT_EQ(SerializeKind(data, kind), SerializeKind(source, kind)) << KindIndex(kind);
        const ItemKind other = kind == ItemKind::Global ? ItemKind::Arrangement : ItemKind::Global;
        EXPECT_EQ(SerializeKind(data, other), SerializeKind(test::EmptySet(), other)) << KindIndex(kind);
    }
    SetData data;
    EXPECT_FALSE(LoadKind(ItemFile("T.XAF", Bytes(100, 0)), ItemKind::XStyleArrangement, data));
    EXPECT_TRUE(SerializeKind(data, ItemKind::XStyleStyle).empty());
}

}  // namespace
}  // namespace vx
