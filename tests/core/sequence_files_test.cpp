#include <gtest/gtest.h>

#include <array>
#include <random>
#include <string>

#include "sequences/SequenceFiles.h"
#include "storage/ItemFile.h"

namespace vx {
namespace {

using Lengths = std::array<std::array<int, kSections>, kSequenceCount>;

void StoreWord(Bytes& bytes, std::size_t at, int value) {
    bytes[at] = static_cast<std::uint8_t>(value & 0xFF);
    bytes[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

Lengths RandomLengths(std::mt19937& random) {
    std::uniform_int_distribution<int> length(0, 3);
    Lengths lengths{};
    for (auto& sequence : lengths)
        for (int& l : sequence) l = length(random);
    return lengths;
}

int TotalOf(const Lengths& lengths, int b) {
    int total = 0;
    for (int l : lengths[b]) total += l;
    return total;
}

// A .BSQ (songs false) or .SNG image, random wherever the format does not interpret a byte,
// its offsets packing the given sections from start. The .BSQ header totals already match, so
// a load and save reproduce the image exactly. Returns where the pattern data starts.
std::size_t MakeFile(Bytes& file, std::mt19937& random, bool songs, const Lengths& lengths, int start, int patternUnits,
                     std::size_t trailing) {
    int units = 0;
    for (int b = 0; b < kSequenceCount; ++b) units += TotalOf(lengths, b);
    std::size_t eventsAt = songs ? kSngEventsStart : kBsqEventsStart;
    std::size_t patternAt = eventsAt + static_cast<std::size_t>(units) * 16;
    file.resize(patternAt + static_cast<std::size_t>(patternUnits) * 16 + trailing);
    std::uniform_int_distribution<int> byte(0, 255);
    for (auto& b : file) b = static_cast<std::uint8_t>(byte(random));
    std::copy_n("VEMOX", 5, file.begin());
    file[6] = songs ? 1 : 5;

    std::size_t at = songs ? 3476 : 2396;
    int position = start;
    for (int b = 0; b < kSequenceCount; ++b) {
        if (!songs) StoreWord(file, 44 + 4 * static_cast<std::size_t>(b), TotalOf(lengths, b));
        for (int l : lengths[b]) {
            StoreWord(file, at, position);
            at += 2;
            position += l;
        }
    }
    if (songs) {
        // Pattern offsets rise through the pattern region; the first one closes the songs.
        for (int p = 0; p < kPatternCount; ++p) StoreWord(file, at + 2 * p, position + std::min(p, patternUnits));
        at += 2 * kPatternCount;
    }
    StoreWord(file, at, position + patternUnits);
    return patternAt;
}

TEST(BsqFile, RoundTripsByteForByteAndStoresTheTotalsInTheHeader) {
    std::mt19937 random(7);
    for (std::size_t trailing : {std::size_t{0}, std::size_t{37}}) {
        Lengths lengths = RandomLengths(random);
        lengths[4].fill(0);
        lengths[9][16] = 300;  // a total that needs the high byte
        Bytes file;
        MakeFile(file, random, false, lengths, -100, 0, trailing);
        SetBackingSequences bsq;
        ASSERT_TRUE(LoadBsq(ItemFile("X.BSQ", file), bsq));
        for (int b = 0; b < kSequenceCount; ++b) {
            EXPECT_EQ(bsq.entries[b].lengths, lengths[b]);
            EXPECT_EQ(bsq.entries[b].events.size(), static_cast<std::size_t>(TotalOf(lengths, b)) * 16);
        }
        EXPECT_EQ(bsq.endOffset, -100 + static_cast<int>((file.size() - kBsqEventsStart - trailing) / 16));
        EXPECT_EQ(bsq.trailing.size(), trailing);
        EXPECT_EQ(SerializeBsq(bsq), file);

        // The load derives lengths from the offsets only; the save rewrites the totals and
        // keeps the two bytes after each.
        Bytes stale = file;
        for (std::size_t at = 44; at < 84; at += 4) StoreWord(stale, at, 0x5A5A);
        ASSERT_TRUE(LoadBsq(ItemFile("X.BSQ", stale), bsq));
        EXPECT_EQ(SerializeBsq(bsq), file);
    }
}

TEST(SngFile, RoundTripsSongsPatternDataAndTrailingBytes) {
    std::mt19937 random(12);
    for (auto [patternUnits, trailing] : {std::pair{0, std::size_t{0}}, std::pair{40, std::size_t{11}}}) {
        Lengths lengths = RandomLengths(random);
        Bytes file;
        std::size_t patternAt = MakeFile(file, random, true, lengths, 9000, patternUnits, trailing);
        SetSongs songs;
        ASSERT_TRUE(LoadSng(ItemFile("X.SNG", file), songs));
        for (int s = 0; s < kSequenceCount; ++s) EXPECT_EQ(songs.entries[s].lengths, lengths[s]);
        auto patternStart = file.begin() + static_cast<long>(patternAt);
        EXPECT_EQ(songs.patternData, Bytes(patternStart, patternStart + patternUnits * 16));
        EXPECT_EQ(songs.trailing.size(), trailing);
        EXPECT_EQ(CountEvents(SetBackingSequences{}, songs).patterns, patternUnits);
        EXPECT_EQ(SerializeSng(songs), file);
    }
}

TEST(SequenceFiles, RefuseBadFilesAndLeaveTheTargetAlone) {
    std::mt19937 random(9);
    Lengths lengths = RandomLengths(random);
    lengths[9][16] = 2;
    Bytes bsq, sng;
    MakeFile(bsq, random, false, lengths, 8192, 0, 0);
    std::size_t patternAt = MakeFile(sng, random, true, lengths, 8192, 4, 0);
    auto with = [](Bytes file, std::size_t at, int value) {
        StoreWord(file, at, value);
        return file;
    };
    auto cut = [](const Bytes& file, std::size_t size) {
        return Bytes(file.begin(), file.begin() + static_cast<long>(size));
    };

    const std::pair<const char*, Bytes> bsqCases[] = {
        {"offset below the one before", with(bsq, 2396 + 2 * (3 * kSections + 5), 8191)},
        {"end offset below the last section", with(bsq, 2736, 8187)},
        {"end offset negative as stored", with(bsq, 2736, 0x8000)},
        {"end offset far past the file", with(bsq, 2736, 0x7FFF)},
        {"last block cut short", cut(bsq, bsq.size() - 1)},
        {"short header", cut(bsq, 95)},
        {"short offset table", cut(bsq, 2395)},
        {"no end offset", cut(bsq, 2737)},
    };
    for (const auto& [what, file] : bsqCases) {
        SetBackingSequences data;
        data.endOffset = 1234;
        EXPECT_FALSE(LoadBsq(ItemFile("X.BSQ", file), data)) << what;
        EXPECT_EQ(data.endOffset, 1234) << what;
    }
    const std::pair<const char*, Bytes> sngCases[] = {
        {"end offset below the first pattern offset", with(sng, 4016, 8100)},
        {"song offset below the one before", with(sng, 3476 + 2 * 50, 100)},
        {"first pattern offset before the last song section", with(sng, 3816, 8000)},
        {"pattern data cut short", cut(sng, sng.size() - 1)},
        {"no pattern data", cut(sng, patternAt)},
        {"short values", cut(sng, 3400)},
        {"short pattern offsets", cut(sng, 4015)},
    };
    for (const auto& [what, file] : sngCases) {
        SetSongs data;
        data.endOffset = 1234;
        EXPECT_FALSE(LoadSng(ItemFile("X.SNG", file), data)) << what;
        EXPECT_EQ(data.endOffset, 1234) << what;
    }
}

TEST(SequenceFiles, ListLinesAndCounters) {
    std::mt19937 random(10);
    Bytes bsqFile, sngFile;
    MakeFile(bsqFile, random, false, Lengths{}, 8192, 0, 0);
    MakeFile(sngFile, random, true, Lengths{}, 8192, 0, 0);
    std::fill_n(bsqFile.begin() + 96, 16, ' ');
    std::copy_n("Intro Groove    ", 16, bsqFile.begin() + 96 + 230 * 3);
    std::fill_n(sngFile.begin() + 96 + 318 * 9 + 54, 16, ' ');
    SetBackingSequences bsq;
    SetSongs songs;
    ASSERT_TRUE(LoadBsq(ItemFile("X.BSQ", bsqFile), bsq));
    ASSERT_TRUE(LoadSng(ItemFile("X.SNG", sngFile), songs));
    EXPECT_EQ(BsqListLine(bsq, 0), "BSeq 0:                  :    0");
    EXPECT_EQ(BsqListLine(bsq, 3), "BSeq 3: Intro Groove     :    0");
    EXPECT_EQ(SongListLine(songs, 9), "Song 9:                  :    0");
    for (int b = 0; b < kSequenceCount; ++b) EXPECT_EQ(BsqListLine(bsq, b).substr(24), " :    0");
    EXPECT_EQ(CounterLabels(CountEvents(bsq, songs)),
              (std::array<std::string, 5>{"BackSeqs: 0", "Songs: 0", "Patterns: 0", "Total: 0", "Free: 65536"}));

    bsq.entries[0].total = 25;
    bsq.entries[1].total = 30000;
    songs.entries[2].record.SetName("A very long song name");
    songs.entries[2].total = 7;
    songs.endOffset += 40;
    EXPECT_EQ(BsqListLine(bsq, 0).substr(24), " :  100");
    EXPECT_EQ(BsqListLine(bsq, 1).substr(24), " :120000");
    EXPECT_EQ(SongListLine(songs, 2), "Song 2: A very long song :   28");
    EXPECT_EQ(BsqListLine(bsq, 10), "");
    EXPECT_EQ(CounterLabels(CountEvents(bsq, songs)),
              (std::array<std::string, 5>{"BackSeqs: 120100", "Songs: 28", "Patterns: 160", "Total: 120288",
                                          "Free: -54752"}));
}

TEST(BsqFile, RebuildAfterRemovingASequencePacksTheRest) {
    std::mt19937 random(11);
    Lengths lengths = RandomLengths(random);
    lengths[3][0] = 5;
    Bytes file;
    MakeFile(file, random, false, lengths, 8192, 0, 3);
    SetBackingSequences bsq;
    ASSERT_TRUE(LoadBsq(ItemFile("X.BSQ", file), bsq));
    const SetBackingSequences before = bsq;
    int removed = bsq.entries[3].total;

    bsq.entries[3] = BsqEntry{};
    bsq.entries[7].lengths[2] += 1;  // and one unit added further on
    bsq.entries[7].events.resize(bsq.entries[7].events.size() + 16, 0xEE);
    RebuildOffsets(bsq);

    EXPECT_EQ(bsq.entries[7].total, before.entries[7].total + 1);
    for (int b = 0; b < kSequenceCount; ++b) {
        for (int k = 0; k < kSections; ++k) {
            int shift = (b > 3 ? -removed : 0) + (b > 7 || (b == 7 && k > 2) ? 1 : 0);
            EXPECT_EQ(bsq.offsets[b][k], b == 3 ? before.offsets[3][0] : before.offsets[b][k] + shift) << b << k;
        }
    }
    EXPECT_EQ(bsq.endOffset, before.endOffset - removed + 1);

    Bytes saved = SerializeBsq(bsq);
    EXPECT_EQ(saved[44 + 4 * 3], 0);
    SetBackingSequences reloaded;
    ASSERT_TRUE(LoadBsq(ItemFile("X.BSQ", saved), reloaded));
    EXPECT_EQ(reloaded.offsets, bsq.offsets);
    EXPECT_EQ(reloaded.entries[7].events, bsq.entries[7].events);
    EXPECT_EQ(reloaded.trailing, before.trailing);
}

TEST(SngFile, PatternDataSurvivesASongEdit) {
    std::mt19937 random(14);
    Lengths lengths = RandomLengths(random);
    lengths[2][4] = 6;
    Bytes file;
    MakeFile(file, random, true, lengths, 8192, 9, 5);
    SetSongs songs;
    ASSERT_TRUE(LoadSng(ItemFile("X.SNG", file), songs));
    const SetSongs before = songs;
    int removed = songs.entries[2].total;

    songs.entries[2].lengths.fill(0);
    songs.entries[2].events.clear();
    RebuildOffsets(songs);
    for (int p = 0; p < kPatternCount; ++p) EXPECT_EQ(songs.patternOffsets[p], before.patternOffsets[p] - removed);
    EXPECT_EQ(songs.endOffset, before.endOffset - removed);

    Bytes saved = SerializeSng(songs);
    EXPECT_EQ(saved.size(), file.size() - static_cast<std::size_t>(removed) * 16);
    SetSongs reloaded;
    ASSERT_TRUE(LoadSng(ItemFile("X.SNG", saved), reloaded));
    EXPECT_EQ(reloaded.patternData, before.patternData);
    EXPECT_EQ(reloaded.trailing, before.trailing);
    EventCounters now = CountEvents(SetBackingSequences{}, reloaded);
    EXPECT_EQ(now.songs, CountEvents(SetBackingSequences{}, before).songs - removed);
    EXPECT_EQ(now.patterns, 9);
}

}  // namespace
}  // namespace vx
