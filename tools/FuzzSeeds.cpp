#include "FuzzSeeds.h"

#include <utility>

#include "DemoSet.h"
#include "TemplateSet.h"
#include "core/catalogue/Catalogue.h"

namespace vxmk {

namespace {

constexpr std::size_t kSongEventsStart = 4018;
constexpr std::size_t kFirstSongOffset = 3476;
constexpr std::size_t kFirstPatternOffset = 3816;
constexpr std::size_t kSongEndOffset = 4016;

int WordAt(const vx::Bytes& bytes, std::size_t at) { return bytes[at] | (bytes[at + 1] << 8); }
void PutWordAt(vx::Bytes& bytes, std::size_t at, int value) {
    bytes[at] = static_cast<std::uint8_t>(value & 0xFF);
    bytes[at + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

// The song file cut right after the song events: the song save writes no pattern bytes.
vx::Bytes WithoutPatternBytes(vx::Bytes song) {
    const int songUnits = WordAt(song, kFirstPatternOffset) - WordAt(song, kFirstSongOffset);
    song.resize(kSongEventsStart + static_cast<std::size_t>(songUnits) * 16);
    return song;
}

}  // namespace

std::vector<ShippedFile> FuzzSeedFiles() {
    const vx::SetData demo = BuildDemoSet();
    std::vector<ShippedFile> seeds;
    const vx::Bytes song = vx::SerializeKind(demo, vx::ItemKind::Song);

    vx::Bytes bare = WithoutPatternBytes(song);
    seeds.push_back({"sng/saved-without-pattern-bytes.sng", bare});

    // After a song edit that shortened the songs: the end offset is the songs' new end, below
    // the pattern table that was left as it was.
    vx::Bytes shrunk = bare;
    const int last = WordAt(shrunk, kFirstPatternOffset - 2);
    PutWordAt(shrunk, kSongEndOffset, last);
    shrunk.resize(shrunk.size() - static_cast<std::size_t>(WordAt(bare, kFirstPatternOffset) - last) * 16);
    seeds.push_back({"sng/saved-with-end-below-patterns.sng", shrunk});

    vx::Bytes trailing = song;
    trailing.insert(trailing.end(), {0x00, 0xFF, 0x7F, 0x10});
    seeds.push_back({"sng/trailing-bytes.sng", trailing});

    // A style file of a set without styles, and the demo's with bytes past its data.
    seeds.push_back({"sty/no-styles.sty", vx::SerializeKind(BuildTemplateSet(), vx::ItemKind::Style)});
    vx::Bytes styles = vx::SerializeKind(demo, vx::ItemKind::Style);
    styles.insert(styles.end(), {1, 2, 3});
    seeds.push_back({"sty/trailing-bytes.sty", styles});

    // The same files for the target that opens and saves them on disk.
    const std::size_t count = seeds.size();
    for (std::size_t i = 0; i < count; ++i) {
        std::string name = seeds[i].path.substr(seeds[i].path.find('/') + 1);
        seeds.push_back({"itemfile/" + name, seeds[i].content});
    }
    return seeds;
}

}  // namespace vxmk
