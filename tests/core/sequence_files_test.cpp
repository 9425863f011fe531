#include <gtest/gtest.h>

#include <numeric>
#include <random>
#include <tuple>
#include <utility>

#include "format/ItemFile.h"
#include "sequences/SequenceFiles.h"

namespace vx {
namespace {

using Lengths = std::array<std::array<int, kSections>, kSequenceCount>;

void StoreWord(Bytes& bytes, std::size_t at, int value) {
    bytes[at] = static_cast<std::uint8_t>(value & 0xFF);
    bytes[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

Lengths RandomLengths(std::mt19937& random) {
    Lengths lengths{};
    for (auto& sequence : lengths)
        for (int& length : sequence) length = static_cast<int>(random() % 4);
    return lengths;
}

int TotalOf(const Lengths& lengths, int b) { return std::accumulate(lengths[b].begin(), lengths[b].end(), 0); }

// A .BSQ (songs false) or .SNG image of random bytes, its offsets packing the sections from start and
// its .BSQ totals matching, so a load and save reproduce it; the pattern data ends trailing bytes early.
Bytes MakeFile(std::mt19937& random, bool songs, const Lengths& lengths, int start, int patternUnits,
               std::size_t trailing) {
    int units = patternUnits;
    for (int b = 0; b < kSequenceCount; ++b) units += TotalOf(lengths, b);
    Bytes file(static_cast<std::size_t>((songs ? kSngEventsStart : kBsqEventsStart) + units * 16) + trailing);
    for (auto& byte : file) byte = static_cast<std::uint8_t>(random());
    std::size_t at = songs ? 3476 : 2396;
    int position = start;
    for (int b = 0; b < kSequenceCount; ++b) {
        if (!songs) StoreWord(file, 44 + 4 * static_cast<std::size_t>(b), TotalOf(lengths, b));
        for (int length : lengths[b])
            StoreWord(file, std::exchange(at, at + 2), std::exchange(position, position + length));
    }
    // A song file's pattern offsets rise through the pattern region; the first one closes the songs.
    for (int p = 0; songs && p < kPatternCount; ++p)
        StoreWord(file, std::exchange(at, at + 2), position + std::min(p, patternUnits));
    StoreWord(file, at, position + patternUnits);
    return file;
}

// The file with one word replaced, or cut to size.
Bytes With(Bytes file, std::size_t at, int value) {
    StoreWord(file, at, value);
    return file;
}
Bytes Cut(const Bytes& file, std::size_t size) { return Bytes(file.begin(), file.begin() + static_cast<long>(size)); }
std::string Name(const Bytes& file, std::size_t at) { return std::string(file.begin() + at, file.begin() + at + 16); }

TEST(SequenceFiles, RoundTripByteForByte) {
    std::mt19937 random(7);
    for (std::size_t trailing : {std::size_t{0}, std::size_t{37}}) {
        Lengths lengths = RandomLengths(random);
        lengths[4].fill(0);
        lengths[9][16] = 300;  // a total that needs the high byte
        const Bytes file = MakeFile(random, false, lengths, -100, 0, trailing);
        SetBackingSequences bsq;
        ASSERT_TRUE(LoadBsq(ItemFile("X.BSQ", file), bsq));
        for (int b = 0; b < kSequenceCount; ++b) EXPECT_EQ(bsq.entries[b].lengths, lengths[b]);
        EXPECT_EQ(bsq.entries[3].record.Name(), Name(file, 96 + 230 * 3));
        EXPECT_EQ(SerializeBsq(bsq), file);
        // Lengths come from the offsets only; the save rewrites the header's totals, not the bytes after.
        Bytes stale = file;
        for (std::size_t at = 44; at < 84; at += 4) stale = With(stale, at, 0x5A5A);
        ASSERT_TRUE(LoadBsq(ItemFile("X.BSQ", stale), bsq));
        EXPECT_EQ(SerializeBsq(bsq), file);
    }
    for (auto [patternUnits, trailing] : {std::pair{0, std::size_t{0}}, std::pair{40, std::size_t{11}}}) {
        Lengths lengths = RandomLengths(random);
        const Bytes file = MakeFile(random, true, lengths, 9000, patternUnits, trailing);
        SetSongs songs;
        ASSERT_TRUE(LoadSng(ItemFile("X.SNG", file), songs));
        for (int s = 0; s < kSequenceCount; ++s) EXPECT_EQ(songs.entries[s].lengths, lengths[s]);
        EXPECT_EQ(songs.patternData, Bytes(file.end() - trailing - patternUnits * 16, file.end() - trailing));
        EXPECT_EQ(songs.entries[9].record.Name(), Name(file, 96 + 318 * 9 + 54));
        EXPECT_EQ(SerializeSng(songs), file);
    }
}

TEST(SequenceFiles, RefuseBadFilesAndLeaveTheTargetAlone) {
    std::mt19937 random(9);
    const Lengths lengths = RandomLengths(random);
    const Bytes bsq = MakeFile(random, false, lengths, 8192, 0, 0), sng = MakeFile(random, true, lengths, 8192, 4, 0);
    const std::tuple<const char*, bool, Bytes> cases[] = {
        {"offset below the one before", false, With(bsq, 2396 + 2 * (3 * kSections + 5), 8191)},
        {"end offset below the last section", false, With(bsq, 2736, 8187)},
        {"end offset negative as stored", false, With(bsq, 2736, 0x8000)},
        {"end offset far past the file", false, With(bsq, 2736, 0x7FFF)},
        {"last block cut short", false, Cut(bsq, bsq.size() - 1)},
        {"no end offset", false, Cut(bsq, 2737)},
        {"song offset below the one before", true, With(sng, 3476 + 2 * 50, 100)},
        {"song events cut short", true, Cut(sng, static_cast<std::size_t>(kSngEventsStart) + 16)},
        {"song section far past the file", true, With(With(sng, 3476 + 2 * 169, 0x7000), 4016, 0x7000)},
        {"pattern offset and end before the last song section", true, With(With(sng, 3816, 8000), 4016, 8000)},
        {"short pattern offsets", true, Cut(sng, 4015)},
    };
    for (const auto& [what, song, file] : cases) {
        SetBackingSequences backing;
        SetSongs songs;
        backing.endOffset = songs.endOffset = 1234;
        EXPECT_FALSE(song ? LoadSng(ItemFile("X.SNG", file), songs) : LoadBsq(ItemFile("X.BSQ", file), backing))
            << what;
        EXPECT_EQ(backing.endOffset + songs.endOffset, 2468) << what;
    }
}

// A song file as the instrument's own save writes it, word by word from the layout: header,
// ten records, the 100 values, the song offsets from `start`, the pattern offsets (all
// `patternStart`), the end offset, the song events, then `extra` bytes (pattern bytes or not).
Bytes SongFileAsSaved(const Lengths& lengths, int start, int patternStart, int end, std::size_t extra) {
    Bytes file(static_cast<std::size_t>(kSngEventsStart));
    std::copy_n("VEMOX", 5, file.begin());
    file[6] = 1;
    for (std::size_t s = 0; s < 10; ++s) {
        std::fill_n(file.begin() + 96 + 318 * static_cast<long>(s) + 54, 16, 'A' + s);
        file[96 + 318 * s + 52] = static_cast<std::uint8_t>(s + 1);  // next song
    }
    for (std::size_t v = 0; v < 200; ++v) file[3276 + v] = static_cast<std::uint8_t>(v);
    std::size_t at = 3476;
    int position = start;
    for (const auto& song : lengths)
        for (int length : song) StoreWord(file, std::exchange(at, at + 2), std::exchange(position, position + length));
    for (int p = 0; p < kPatternCount; ++p) StoreWord(file, std::exchange(at, at + 2), patternStart);
    StoreWord(file, at, end);
    for (int unit = 0; unit < position - start; ++unit)
        for (int i = 0; i < 16; ++i) file.push_back(static_cast<std::uint8_t>(unit * 3 + i));
    for (std::size_t i = 0; i < extra; ++i) file.push_back(static_cast<std::uint8_t>(0xE0 + i % 16));
    return file;
}

TEST(SequenceFiles, SongFilesWithoutOrWithFewerPatternBytesLoadAndSaveBackUnchanged) {
    Lengths lengths{};
    lengths[0] = {2, 0, 1};
    lengths[6][4] = 3;
    lengths[9][16] = 4;
    const int songsEnd = 8192 + 10;
    const struct {
        const char* what;
        int patternStart, end;
        std::size_t extra;
        std::size_t patternBytes;
        int patternsCounted;
    } cases[] = {
        {"fresh: patterns start at the songs' end, none stored", songsEnd, songsEnd, 0, 0, 0},
        {"offsets promise 6 pattern units, the file holds none", songsEnd, songsEnd + 6, 0, 0, 6},
        {"offsets promise 6 pattern units, the file holds 2 and a half", songsEnd, songsEnd + 6, 40, 40, 6},
        {"all 6 pattern units, then 5 trailing bytes", songsEnd, songsEnd + 6, 101, 96, 6},
        {"saved after songs shrank: end below the stale pattern offsets", songsEnd + 30, songsEnd, 0, 0, 0},
        {"the same with trailing bytes", songsEnd + 30, songsEnd, 7, 0, 0},
        {"saved after songs grew: patterns before song 9's last section", 8192 + 3, songsEnd, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const Bytes file = SongFileAsSaved(lengths, 8192, c.patternStart, c.end, c.extra);
        SetSongs songs;
        ASSERT_TRUE(LoadSng(ItemFile("X.SNG", file), songs));
        for (int s = 0; s < kSequenceCount; ++s) EXPECT_EQ(songs.entries[s].lengths, lengths[s]) << s;
        EXPECT_EQ(songs.entries[9].events.size(), 64u);
        EXPECT_EQ(songs.entries[9].events[0], 18);  // unit 6 of the song memory
        EXPECT_EQ(songs.patternData.size(), c.patternBytes);
        EXPECT_EQ(songs.patternData.size() + songs.trailing.size(), c.extra);
        EXPECT_EQ(CountEvents(SetBackingSequences{}, songs).patterns, c.patternsCounted);
        EXPECT_EQ(SongListLine(songs, 0), "Song 0: AAAAAAAAAAAAAAAA :   12");
        EXPECT_EQ(SerializeSng(songs), file);
    }
}

TEST(SequenceFiles, ChainNumberAbove9ReadsAs0AndIsKept) {
    for (const auto& [stored, shown] : {std::pair{0, 0}, {9, 9}, {10, 0}, {255, 0}}) {
        BsqRecord bsq;
        SongRecord song;
        bsq.SetByte(79, static_cast<std::uint8_t>(stored));
        song.SetByte(52, static_cast<std::uint8_t>(stored));
        EXPECT_EQ(std::tuple(bsq.Next(), bsq.NextRaw(), song.Next(), song.NextRaw()),
                  std::tuple(shown, stored, shown, stored));
    }
}

TEST(SequenceFiles, ListLinesAndCounters) {
    SetBackingSequences bsq;
    SetSongs songs;
    bsq.entries[3].record.SetName("Intro Groove");
    songs.entries[9].record.SetName("");
    EXPECT_EQ(BsqListLine(bsq, 3), "BSeq 3: Intro Groove     :    0");
    EXPECT_EQ(SongListLine(songs, 9), "Song 9:                  :    0");
    bsq.entries[0].total = 25;
    bsq.entries[1].total = 30000;
    songs.entries[2].record.SetName("A very long song name");
    songs.entries[2].total = 7;
    songs.endOffset += 40;
    EXPECT_EQ(BsqListLine(bsq, 0).substr(24) + BsqListLine(bsq, 1).substr(24) + BsqListLine(bsq, 10),
              " :  100 :120000");
    EXPECT_EQ(SongListLine(songs, 2), "Song 2: A very long song :   28");
    EXPECT_EQ(CounterLabels(CountEvents(bsq, songs)),
              (std::array<std::string, 5>{"BackSeqs: 120100", "Songs: 28", "Patterns: 160", "Total: 120288",
                                          "Free: -54752"}));
}

TEST(SequenceFiles, RebuildAfterAnEditPacksTheRestAndKeepsThePatterns) {
    std::mt19937 random(11);
    Lengths lengths = RandomLengths(random);
    lengths[3][0] = 5;
    Bytes file = MakeFile(random, false, lengths, 8192, 0, 3);
    SetBackingSequences bsq;
    ASSERT_TRUE(LoadBsq(ItemFile("X.BSQ", file), bsq));
    const SetBackingSequences before = bsq;
    const int removed = bsq.entries[3].total;
    bsq.entries[3] = BsqEntry{};
    bsq.entries[7].lengths[2] += 1;  // and one unit added further on
    RebuildOffsets(bsq);
    for (int b = 0; b < kSequenceCount; ++b)
        for (int k = 0; k < kSections; ++k)
            EXPECT_EQ(bsq.offsets[b][k],
                      b == 3 ? before.offsets[3][0]
                             : before.offsets[b][k] + (b > 3 ? -removed : 0) + (b > 7 || (b == 7 && k > 2) ? 1 : 0))
                << b << k;
    EXPECT_EQ(bsq.endOffset, before.endOffset - removed + 1);
    EXPECT_EQ(SerializeBsq(bsq)[44 + 4 * 3], 0);

    // A song removed: the patterns move down with the songs' end and their data survives.
    lengths[2][4] = 6;
    file = MakeFile(random, true, lengths, 8192, 9, 5);
    SetSongs songs;
    ASSERT_TRUE(LoadSng(ItemFile("X.SNG", file), songs));
    const SetSongs beforeSongs = songs;
    const int removedUnits = songs.entries[2].total;
    songs.entries[2].lengths.fill(0);
    songs.entries[2].events.clear();
    RebuildOffsets(songs);
    for (int p = 0; p < kPatternCount; ++p)
        EXPECT_EQ(songs.patternOffsets[p], beforeSongs.patternOffsets[p] - removedUnits);
    EXPECT_EQ(songs.endOffset, beforeSongs.endOffset - removedUnits);
    const Bytes savedSongs = SerializeSng(songs);
    EXPECT_EQ(savedSongs.size(), file.size() - static_cast<std::size_t>(removedUnits) * 16);
    SetSongs reloadedSongs;
    ASSERT_TRUE(LoadSng(ItemFile("X.SNG", savedSongs), reloadedSongs));
    EXPECT_EQ(reloadedSongs.patternData, beforeSongs.patternData);

    // A file whose pattern table was left behind by a save after the songs shrank: an edit
    // brings the table to the songs' new end, with no pattern memory behind it.
    Lengths few{};
    few[1][3] = 5;
    songs = SetSongs{};
    ASSERT_TRUE(LoadSng(ItemFile("X.SNG", SongFileAsSaved(few, 8192, 8192 + 40, 8192 + 5, 0)), songs));
    songs.entries[1].lengths[3] = 2;
    songs.entries[1].events.resize(32);
    RebuildOffsets(songs);
    EXPECT_EQ(std::tuple(songs.patternOffsets[0], songs.patternOffsets[99], songs.endOffset),
              std::tuple(8194, 8194, 8194));
    ASSERT_TRUE(LoadSng(ItemFile("X.SNG", SerializeSng(songs)), reloadedSongs));
    EXPECT_EQ(reloadedSongs.entries[1].lengths[3], 2);
    EXPECT_EQ(CountEvents(SetBackingSequences{}, reloadedSongs).songs, 2);
}

}  // namespace
}  // namespace vx
