#include <gtest/gtest.h>

#include <map>
#include <set>

#include "DemoSet.h"
#include "TestBytes.h"

namespace vxmk {
namespace {

using test::Word;
using vx::ItemKind;

// The demo set as the editor reads it from the files.
vx::SetData LoadedDemo() {
    const vx::SetData built = BuildDemoSet();
    vx::SetData loaded;
    for (int k = 0; k < vx::kSetKindCount; ++k) {
        const auto kind = vx::KindFromIndex(k);
        const vx::Bytes image = vx::SerializeKind(built, kind);
        EXPECT_TRUE(test::Load(image, kind, loaded)) << k;
        EXPECT_EQ(vx::SerializeKind(loaded, kind), image) << k;
    }
    return loaded;
}

// Names of the non-empty items; a repeated name fails the test.
template <typename Items, typename Name>
std::set<std::string> UniqueNames(const Items& items, Name name) {
    std::set<std::string> names;
    for (const auto& item : items) {
        const std::string n = name(item);
        if (n == std::string(16, ' ')) continue;
        EXPECT_TRUE(names.insert(n).second) << "duplicate name " << n;
    }
    return names;
}

TEST(DemoSet, ItemCountsAndNamesWithoutDuplicates) {
    const vx::SetData set = LoadedDemo();
    EXPECT_EQ(UniqueNames(set.arr.arr, [](const auto& a) { return a.Name(); }).size(), 20u);
    EXPECT_EQ(UniqueNames(set.sty.slots, [](const auto& s) { return s.record.Name(); }).size(), 8u);
    EXPECT_EQ(UniqueNames(set.prg.records, [](const auto& p) { return p.Name(); }).size(), 33u);
    EXPECT_EQ(UniqueNames(set.bsq.entries, [](const auto& e) { return e.record.Name(); }).size(), 4u);
    EXPECT_EQ(UniqueNames(set.sng.entries, [](const auto& e) { return e.record.Name(); }).size(), 3u);

    // Arrangements sit in both user banks; the three user drum kits are R51-R53.
    EXPECT_FALSE(set.arr.arr[0].IsEmpty());
    EXPECT_FALSE(set.arr.arr[64].IsEmpty());
    for (int i = 128; i < 136; ++i) EXPECT_EQ(set.prg.records[static_cast<std::size_t>(i)].IsEmpty(), i > 130) << i;
    EXPECT_NE(set.prg.drumKits[0], vx::DrumKitData{});
    EXPECT_EQ(set.prg.drumKits[3], vx::DrumKitData{});
}

TEST(DemoSet, EveryCallReachesAPresetOrAUsedUserItem) {
    const vx::SetData set = LoadedDemo();
    int userCalls = 0;
    int presetCalls = 0;
    auto program = [&](int number) {
        const int index = test::UserIndex(number);
        if (index >= 0) {
            ++userCalls;
            EXPECT_FALSE(set.prg.records[static_cast<std::size_t>(index)].IsEmpty()) << number;
        } else {
            ++presetCalls;
            EXPECT_TRUE(test::IsPresetProgram(number)) << number;
        }
    };
    auto style = [&](int number) {
        if (number >= 256) {
            ASSERT_LT(number, 304);
            EXPECT_FALSE(set.sty.slots[static_cast<std::size_t>(number - 256)].IsEmpty()) << number;
        } else {
            EXPECT_LT(number, 128);
        }
    };
    std::set<int> styleBanks;
    for (const auto& arr : set.arr.arr) {
        if (arr.IsEmpty()) continue;
        style(arr.Style());
        styleBanks.insert(arr.Style() >= 256);
        for (int t = 0; t < 11; ++t) program(arr.TrackProgram(t));
    }
    EXPECT_EQ(styleBanks.size(), 2u) << "arrangements call user and preset styles";
    for (const auto& slot : set.sty.slots)
        if (!slot.IsEmpty())
            for (int t = 0; t < 6; ++t) program(slot.record.TrackProgram(t));
    for (const auto& entry : set.bsq.entries) {
        if (entry.IsEmpty()) continue;
        const int arr = entry.record.Arrangement();
        ASSERT_GE(arr, 256);
        ASSERT_LT(arr, 384);
        EXPECT_FALSE(set.arr.arr[static_cast<std::size_t>(arr - 256)].IsEmpty());
        style(entry.record.Style());
        for (int t = 0; t < 8; ++t) program(entry.record.TrackProgram(t));
    }
    for (const auto& entry : set.sng.entries)
        if (!entry.IsEmpty())
            for (int t = 0; t < 16; ++t) program(entry.record.TrackProgram(t));
    std::set<int> splits;
    for (const auto& kbd : set.ark.records) {
        splits.insert(kbd.Split());
        EXPECT_GE(kbd.Split(), 36);
        EXPECT_LE(kbd.Split(), 96);
        for (int t = 0; t < 5; ++t) program(kbd.TrackProgram(t));
    }
    EXPECT_GE(splits.size(), 8u);
    EXPECT_GT(userCalls, 100);
    EXPECT_GT(presetCalls, 100);
}

TEST(DemoSet, StylesSpreadOverBlocksWithinTheirEventBudget) {
    const vx::SetData set = LoadedDemo();
    std::map<int, int> usedPerBlock;
    for (int s = 0; s < 48; ++s) {
        const auto& slot = set.sty.slots[static_cast<std::size_t>(s)];
        if (slot.IsEmpty()) {
            EXPECT_EQ(slot.used, 0);
            continue;
        }
        ++usedPerBlock[s / 4];
        EXPECT_EQ(slot.used, 1);
        EXPECT_EQ((slot.size - 1176) % 4, 0) << s;
        EXPECT_GT(vx::StyleEventsUsed(set.sty, s), 0) << s;
        EXPECT_EQ(slot.events.size(), slot.size - 70u) << s;
        EXPECT_GE(vx::BlockEventsFree(set.sty, s), 0) << s;
    }
    EXPECT_EQ(usedPerBlock, (std::map<int, int>{{0, 2}, {1, 3}, {2, 2}, {3, 1}}));
}

TEST(DemoSet, SequenceMemoryIsPackedFromUnit8192ThroughSongsAndPatterns) {
    const vx::SetData built = BuildDemoSet();
    const vx::Bytes bsq = vx::SerializeKind(built, ItemKind::BackingSequence);
    const vx::Bytes sng = vx::SerializeKind(built, ItemKind::Song);

    // Backing sequences: offsets back to back, header totals, event blocks after 2738.
    int position = 8192;
    int bsqUnits = 0;
    std::set<int> usedSections;
    for (std::size_t b = 0; b < 10; ++b) {
        int total = 0;
        for (std::size_t k = 0; k < 17; ++k) {
            ASSERT_EQ(Word(bsq, 2396 + 2 * (17 * b + k)), position) << b << " " << k;
            const int length = built.bsq.entries[b].lengths[k];
            if (length > 0) usedSections.insert(static_cast<int>(k));
            position += length;
            total += length;
        }
        EXPECT_EQ(Word(bsq, 44 + 4 * b), total) << b;
        EXPECT_EQ(total == 0, built.bsq.entries[b].IsEmpty()) << b;
        bsqUnits += total;
    }
    EXPECT_EQ(Word(bsq, 2736), position);
    EXPECT_EQ(bsq.size(), 2738u + 16u * static_cast<std::size_t>(bsqUnits));
    EXPECT_GE(usedSections.size(), 5u);

    // Songs start where the backing sequences end; the patterns follow the songs.
    int songUnits = 0;
    for (std::size_t s = 0; s < 10; ++s)
        for (std::size_t k = 0; k < 17; ++k) {
            ASSERT_EQ(Word(sng, 3476 + 2 * (17 * s + k)), position) << s << " " << k;
            position += built.sng.entries[s].lengths[k];
            songUnits += built.sng.entries[s].lengths[k];
        }
    EXPECT_GT(songUnits, 0);
    int previous = position;
    EXPECT_EQ(Word(sng, 3816), position);
    for (std::size_t p = 1; p < 100; ++p) {
        ASSERT_GE(Word(sng, 3816 + 2 * p), previous) << p;
        previous = Word(sng, 3816 + 2 * p);
    }
    const int end = Word(sng, 4016);
    EXPECT_GT(end, position);
    EXPECT_EQ(end, previous);
    EXPECT_EQ(sng.size(), 4018u + 16u * static_cast<std::size_t>(songUnits + end - position));

    // Chains: 0 -> 1 -> 2 for backing sequences, song 0 -> 1; the targets exist.
    const struct {
        const vx::Bytes* file;
        std::size_t record;
        std::size_t next;
        int expectedNext;
        int expectedFlags;
    } chains[] = {{&bsq, 96, 79, 1, 2},           {&bsq, 96 + 230, 79, 2, 2}, {&bsq, 96 + 2 * 230, 79, 0, 0},
                  {&bsq, 96 + 4 * 230, 79, 0, 1}, {&sng, 96, 52, 1, 2},       {&sng, 96 + 318, 52, 0, 0}};
    for (const auto& c : chains) {
        EXPECT_EQ((*c.file)[c.record + c.next], c.expectedNext) << c.record;
        EXPECT_EQ((*c.file)[c.record + c.next + 1], c.expectedFlags) << c.record;
    }
}

}  // namespace
}  // namespace vxmk
