#include "DemoSet.h"

#include <array>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "Categories.h"
#include "PresetCatalogue.h"
#include "Random.h"
#include "TemplateSet.h"

namespace vxmk {

namespace {

struct UserProgram {
    std::string_view label;  // F11-G88 or R51-R58
    std::string_view name;
    int category;
};

constexpr std::array<UserProgram, 33> kPrograms = {{
    {"F11", "My Grand Piano", kKeyboard}, {"F12", "Dry Stage EP", kKeyboard},   {"F13", "Hymn Organ", kOrgan},
    {"F14", "Perc Organ Live", kOrgan},   {"F15", "Live Nylon", kGuitar},       {"F16", "Warm Jazz Gtr", kGuitar},
    {"F17", "Crunch Rhythm", kGuitar},    {"F18", "Fat Fingers", kBass},        {"F21", "Deep Fretless", kBass},
    {"F22", "Upright Walk", kBass},       {"F23", "Lush Strings", kStrings},    {"F24", "Film Strings", kStrings},
    {"F25", "Sweet Choir", kAirVocal},    {"F26", "Hot Brass", kBrass},         {"F27", "Mellow Tenor", kReed},
    {"F28", "Silver Flute", kPipe},       {"F31", "Lead Sawtooth", kSynth},     {"F32", "Night Pad", kSynthPad},
    {"F33", "Bright Vibes", kBellMallet}, {"F34", "Island Steel", kDrumPerc},   {"G11", "Party Accordion", kReed},
    {"G12", "Country Fiddle", kStrings},  {"G13", "Twang Guitar", kGuitar},     {"G14", "Sky Pad", kSynthPad},
    {"G15", "Bell Sparkle", kBellMallet}, {"G16", "Square Bass", kBass},        {"G17", "Retro Poly", kSynth},
    {"G18", "Mandolin Trem", kPlucked},   {"G21", "Crowd Cheer", kSoundEffect}, {"G22", "Conga Groove", kDrumPerc},
    {"R51", "Gig Kit", kDrumPerc},        {"R52", "Tight Funk Kit", kDrumPerc}, {"R53", "Ballad Brushes", kDrumPerc},
}};

// Programs of the eleven tracks (DRUMS, PERC, BASS, ACC1-3, MainKBD, SubKBD, LowKBD,
// Harmony, K.Bass); a style plays the first six. Names of user programs or presets.
using Palette = std::array<std::string_view, 11>;
constexpr Palette kPopTracks = {"Gig Kit",      "Percussion Kit", "Fat Fingers",    "Crunch Rhythm",
                                "Dry Stage EP", "Lush Strings",   "My Grand Piano", "Lush Strings",
                                "Dry Stage EP", "Sweet Choir",    "Fat Fingers"};
constexpr Palette kDanceTracks = {"Electronic Kit", "Percussion Kit", "Square Bass",   "Retro Poly",
                                  "Night Pad",      "Lead Sawtooth",  "Lead Sawtooth", "Sky Pad",
                                  "Retro Poly",     "Night Pad",      "Square Bass"};
constexpr Palette kLatinTracks = {"Latin Kit",    "Conga Groove", "Upright Walk", "Live Nylon",
                                  "Bright Vibes", "Film Strings", "Silver Flute", "Lush Strings",
                                  "Live Nylon",   "Sweet Choir",  "Upright Walk"};
constexpr Palette kJazzTracks = {"Ballad Brushes", "Percussion Kit", "Upright Walk", "Warm Jazz Gtr",
                                 "My Grand Piano", "Hot Brass",      "Mellow Tenor", "Hot Brass",
                                 "My Grand Piano", "Bright Vibes",   "Upright Walk"};
constexpr Palette kCountryTracks = {"Gig Kit",        "Percussion Kit",  "Fat Fingers",  "Twang Guitar",
                                    "Country Fiddle", "Mandolin Trem",   "Twang Guitar", "Country Fiddle",
                                    "Live Nylon",     "Party Accordion", "Fat Fingers"};
constexpr Palette kRockTracks = {"Rock Kit",        "Percussion Kit", "Fat Fingers",   "Crunch Rhythm",
                                 "Perc Organ Live", "Hot Brass",      "Lead Sawtooth", "Perc Organ Live",
                                 "Crunch Rhythm",   "Hot Brass",      "Fat Fingers"};
constexpr Palette kWorldTracks = {"Gig Kit",      "Island Steel", "Deep Fretless", "Live Nylon",
                                  "Island Steel", "Bell Sparkle", "Silver Flute",  "Sky Pad",
                                  "Live Nylon",   "Sweet Choir",  "Deep Fretless"};
constexpr Palette kTradTracks = {"Standard Kit",  "Percussion Kit",  "Acoustic Bass", "Party Accordion", "Clean Guitar",
                                 "Brass Section", "Party Accordion", "Clarinet",      "Party Accordion", "Trumpet",
                                 "Tuba"};
constexpr Palette kFunkTracks = {"Tight Funk Kit", "Conga Groove", "Slap Bass", "Funk Guitar",
                                 "Dry Stage EP",   "Hot Brass",    "Hot Brass", "Mellow Tenor",
                                 "Clavi",          "Hot Brass",    "Slap Bass"};
constexpr Palette kBalladTracks = {"Ballad Brushes", "Percussion Kit", "Deep Fretless",  "Live Nylon",
                                   "Lush Strings",   "Film Strings",   "My Grand Piano", "Film Strings",
                                   "Lush Strings",   "Sweet Choir",    "Deep Fretless"};
constexpr Palette kGospelTracks = {"Gig Kit",        "Percussion Kit", "Fat Fingers", "Hymn Organ",
                                   "My Grand Piano", "Sweet Choir",    "Hymn Organ",  "Sweet Choir",
                                   "My Grand Piano", "Sweet Choir",    "Fat Fingers"};

struct UserStyle {
    int slot;
    std::string_view name;
    int category;
    int events;
    const Palette* tracks;
};

// Slots in four blocks (0-1, 4-6, 9-10, 13), so the free-events grid has something to show.
constexpr std::array<UserStyle, 8> kStyles = {{
    {0, "Sunday Groove", k16Beat, 640, &kPopTracks},
    {1, "Club Shuffle", kDance, 820, &kDanceTracks},
    {4, "Lazy Bossa", kLatin, 512, &kLatinTracks},
    {5, "Uptown Swing", kJazz, 900, &kJazzTracks},
    {6, "Farm Waltz", kCountry, 380, &kCountryTracks},
    {9, "Garage Rock", kRock, 1024, &kRockTracks},
    {10, "Island Breeze", kWorld, 450, &kWorldTracks},
    {13, "Doo Wop Night", kRnB, 300, &kBalladTracks},
}};

struct UserArrangement {
    int slot;  // 0-63 bank C, 64-127 bank D
    std::string_view name;
    int category;
    std::string_view style;  // a user style of this set or a preset style
    int tempo;
    int split;
    int transpose;
    int varStart;
    std::uint8_t chordScan;  // bits as stored: 0x21 Lower (Easy), 0x01 Lower (Normal), 0x02 Upper
    const Palette* tracks;
};

constexpr std::array<UserArrangement, 20> kArrangements = {{
    {0, "Sunday Groove", k16Beat, "Sunday Groove", 96, 55, 0, 0, 0x01, &kPopTracks},
    {1, "Club Shuffle", kDance, "Club Shuffle", 124, 57, 0, 1, 0x01, &kDanceTracks},
    {2, "Lazy Bossa", kLatin, "Lazy Bossa", 132, 55, -2, 0, 0x21, &kLatinTracks},
    {3, "Uptown Swing", kJazz, "Uptown Swing", 168, 59, 0, 2, 0x01, &kJazzTracks},
    {4, "Farm Waltz", kCountry, "Farm Waltz", 104, 60, 0, 0, 0x21, &kCountryTracks},
    {5, "Garage Rock", kRock, "Garage Rock", 138, 52, 0, 1, 0x01, &kRockTracks},
    {6, "Island Breeze", kWorld, "Island Breeze", 110, 57, 3, 0, 0x01, &kWorldTracks},
    {7, "Doo Wop Night", kRnB, "Doo Wop Night", 72, 55, 0, 0, 0x21, &kBalladTracks},
    {8, "Wedding Waltz", kBallRoom, "Viennese Waltz", 174, 60, 0, 0, 0x01, &kBalladTracks},
    {9, "Friday Disco", kDance, "Disco", 120, 54, 0, 3, 0x01, &kDanceTracks},
    {10, "Beach Bossa", kLatin, "Bossa Nova", 128, 55, -1, 0, 0x01, &kLatinTracks},
    {11, "Blues Jam", kRnB, "Blues Shuffle", 100, 60, 0, 1, 0x02, &kFunkTracks},
    {64, "Opening Number", kJazz, "Big Band", 184, 59, 0, 4, 0x01, &kJazzTracks},
    {65, "Rainy Ballad", k8Beat, "Piano Ballad", 68, 48, 0, 0, 0x21, &kBalladTracks},
    {66, "Polka Party", kTrad, "Polka", 132, 60, 0, 2, 0x21, &kTradTracks},
    {67, "Tango Night", kBallRoom, "Tango", 126, 57, 0, 0, 0x01, &kLatinTracks},
    {68, "Rock Anthem", kRock, "Garage Rock", 142, 52, 0, 3, 0x01, &kRockTracks},
    {69, "Gospel Sunday", kRnB, "Gospel", 88, 60, 0, 0, 0x01, &kGospelTracks},
    {70, "Latin Fiesta", kLatin, "Salsa", 180, 55, 0, 1, 0x01, &kLatinTracks},
    {71, "Goodnight Waltz", kCountry, "Farm Waltz", 92, 60, 0, 0, 0x21, &kCountryTracks},
}};

struct Section {
    int section;  // 0-16
    int units;    // 16-byte units
};

struct UserBackingSequence {
    int number;
    std::string_view name;
    std::string_view arrangement;  // a user arrangement of this set
    std::string_view style;
    std::array<std::string_view, 8> tracks;
    int next;
    std::uint8_t chain;
    std::array<Section, 5> sections;
};

constexpr std::array<UserBackingSequence, 4> kBackingSequences = {{
    {0,
     "Intro Medley",
     "Sunday Groove",
     "Sunday Groove",
     {"My Grand Piano", "Lush Strings", "Dry Stage EP", "Sweet Choir", "Hot Brass", "Silver Flute", "Crowd Cheer",
      "Night Pad"},
     1,
     kChainToNext,
     {{{0, 24}, {1, 18}, {4, 12}, {8, 6}, {16, 4}}}},
    {1,
     "Medley Part 2",
     "Lazy Bossa",
     "Lazy Bossa",
     {"Silver Flute", "Film Strings", "Live Nylon", "Bright Vibes", "Sweet Choir", "Upright Walk", "Conga Groove",
      "Lush Strings"},
     2,
     kChainToNext,
     {{{0, 32}, {2, 16}, {3, 16}, {9, 8}, {12, 2}}}},
    {2,
     "Medley Finale",
     "Rock Anthem",
     "Garage Rock",
     {"Lead Sawtooth", "Perc Organ Live", "Crunch Rhythm", "Hot Brass", "Fat Fingers", "Sky Pad", "Crowd Cheer",
      "Rock Kit"},
     0,
     0,
     {{{0, 20}, {1, 20}, {5, 10}, {6, 10}, {16, 6}}}},
    {4,
     "Waltz Backing",
     "Farm Waltz",
     "Viennese Waltz",
     {"Country Fiddle", "Party Accordion", "Twang Guitar", "Warm Strings", "Mandolin Trem", "Acoustic Bass",
      "Live Nylon", "Tuba"},
     0,
     kAutoStart,
     {{{0, 14}, {1, 14}, {2, 14}, {3, 14}, {10, 3}}}},
}};

struct UserSong {
    int number;
    std::string_view name;
    std::array<std::string_view, 16> tracks;  // Trk 10 plays the drums
    int next;
    std::uint8_t chain;
    std::array<Section, 4> sections;
};

constexpr std::array<UserSong, 3> kSongs = {{
    {0,
     "Opening Song",
     {"My Grand Piano", "Lush Strings", "Fat Fingers", "Crunch Rhythm", "Hot Brass", "Mellow Tenor", "Silver Flute",
      "Sweet Choir", "Night Pad", "Gig Kit", "Conga Groove", "Bright Vibes", "Crowd Cheer", "Grand Piano",
      "Warm Strings", "Choir Aahs"},
     1,
     kChainToNext,
     {{{0, 96}, {1, 40}, {2, 24}, {16, 8}}}},
    {1,
     "Midnight Ballad",
     {"Dry Stage EP", "Film Strings", "Deep Fretless", "Live Nylon", "Night Pad", "Sky Pad", "Mellow Tenor",
      "Sweet Choir", "Bell Sparkle", "Ballad Brushes", "Percussion Kit", "Warm Jazz Gtr", "Soft Choir", "Harp",
      "Slow Strings", "Fretless Bass"},
     0,
     0,
     {{{0, 120}, {1, 32}, {3, 16}, {7, 4}}}},
    {2,
     "Encore",
     {"Lead Sawtooth", "Retro Poly", "Square Bass", "Crunch Rhythm", "Hot Brass", "Perc Organ Live", "Sky Pad",
      "Night Pad", "Island Steel", "Tight Funk Kit", "Conga Groove", "Crowd Cheer", "Saw Lead", "Synth Brass",
      "Space Pad", "Synth Bass"},
     0,
     0,
     {{{0, 64}, {1, 64}, {2, 12}, {4, 12}}}},
}};

// Pattern memory behind the songs: the used patterns' sizes in units.
constexpr std::array<int, 6> kPatternUnits = {12, 8, 16, 6, 10, 4};

struct UserKbdSet {
    int number;
    int split;
    std::array<std::string_view, 5> tracks;  // Main, Sub, Lower, Harmony, K.Bass
};

constexpr std::array<UserKbdSet, 12> kKbdSets = {{
    {0, 60, {"My Grand Piano", "Lush Strings", "Lush Strings", "Sweet Choir", "Fat Fingers"}},
    {1, 55, {"Dry Stage EP", "Night Pad", "Warm Strings", "Sky Pad", "Deep Fretless"}},
    {2, 64, {"Hot Brass", "Mellow Tenor", "Hymn Organ", "Hot Brass", "Upright Walk"}},
    {3, 52, {"Lead Sawtooth", "Retro Poly", "Night Pad", "Sky Pad", "Square Bass"}},
    {4, 57, {"Silver Flute", "Film Strings", "Live Nylon", "Sweet Choir", "Acoustic Bass"}},
    {5, 62, {"Party Accordion", "Clarinet", "Party Accordion", "Trumpet", "Tuba"}},
    {6, 48, {"Perc Organ Live", "Crunch Rhythm", "Perc Organ Live", "Hot Brass", "Fat Fingers"}},
    {7, 67, {"Country Fiddle", "Twang Guitar", "Mandolin Trem", "Country Fiddle", "Finger Bass"}},
    {8, 59, {"Bright Vibes", "Bell Sparkle", "Warm Jazz Gtr", "Bright Vibes", "Upright Walk"}},
    {9, 53, {"Island Steel", "Conga Groove", "Live Nylon", "Island Steel", "Deep Fretless"}},
    {16, 65, {"Grand Piano", "Full Strings", "Jazz Organ", "Choir Aahs", "Acoustic Bass"}},
    {17, 58, {"Stage Piano", "Warm Pad", "Soft Organ", "Voice Oohs", "Fretless Bass"}},
}};

// Seeds of the generated bytes, one range per kind so the contents stay independent.
constexpr std::uint64_t kProgramSeed = 1000;
constexpr std::uint64_t kDrumKitSeed = 2000;
constexpr std::uint64_t kStyleSeed = 3000;
constexpr std::uint64_t kBsqSeed = 4000;
constexpr std::uint64_t kSongSeed = 5000;
constexpr std::uint64_t kPatternSeed = 6000;

constexpr std::size_t kProgramParameters = 18;  // first parameter byte of a program record

// User index of a label: F11-F88 0-63, G11-G88 64-127, R51-R58 128-135.
int UserIndexOfLabel(std::string_view label) {
    const int slot = (label[1] - '1') * 8 + (label[2] - '1');
    switch (label[0]) {
        case 'F':
            return slot;
        case 'G':
            return 64 + slot;
        case 'R':
            return 128 + slot - 32;
        default:
            throw std::logic_error("bad program label " + std::string(label));
    }
}

int NumberOfUserIndex(int index) { return index < 128 ? 768 + index : 928 + index; }

// Program number of a user program of the demo by name, else of a preset.
int Program(std::string_view name) {
    for (const auto& program : kPrograms)
        if (program.name == name) return NumberOfUserIndex(UserIndexOfLabel(program.label));
    return RequirePresetProgram(name);
}

int Style(std::string_view name) {
    for (const auto& style : kStyles)
        if (style.name == name) return vx::kFirstUserStyle + style.slot;
    const int preset = PresetStyle(name);
    if (preset < 0) throw std::logic_error("unknown style " + std::string(name));
    return preset;
}

int Arrangement(std::string_view name) {
    for (const auto& arr : kArrangements)
        if (arr.name == name) return vx::kFirstUserArrangement + arr.slot;
    throw std::logic_error("unknown arrangement " + std::string(name));
}

void FillPrograms(vx::SetPrograms& prg) {
    for (const auto& program : kPrograms) {
        const int index = UserIndexOfLabel(program.label);
        auto& record = prg.records[static_cast<std::size_t>(index)];
        record.SetName(program.name);
        record.SetCategory(program.category);
        record.SetByte(17, 0);
        Random rng(kProgramSeed + static_cast<std::uint64_t>(index));
        for (std::size_t i = kProgramParameters; i < vx::ProgramRecord::kSize; ++i) record.SetByte(i, rng.Byte());
        if (index >= 128) {
            Random kitRng(kDrumKitSeed + static_cast<std::uint64_t>(index));
            for (auto& b : prg.drumKits[static_cast<std::size_t>(index - 128)]) b = kitRng.Byte();
        }
    }
}

void FillStyles(vx::SetStyles& sty) {
    // Style data lives behind the directory; the template's spare record goes with it.
    sty.trailing.clear();
    for (const auto& style : kStyles) {
        auto& slot = sty.slots[static_cast<std::size_t>(style.slot)];
        slot.used = 1;
        slot.size = static_cast<std::uint16_t>(vx::kEmptyStyleSize + 4 * style.events);
        slot.record = TemplateStyleRecord();
        slot.record.SetName(style.name);
        slot.record.SetCategory(style.category);
        for (int t = 0; t < vx::StyleRecord::kTrackCount; ++t)
            slot.record.SetTrackProgram(t, Program((*style.tracks)[static_cast<std::size_t>(t)]));
        Random rng(kStyleSeed + static_cast<std::uint64_t>(style.slot));
        slot.events = rng.Fill(slot.size - vx::StyleRecord::kSize);
    }
}

void FillArrangements(vx::SetArrangements& arrs) {
    for (const auto& demo : kArrangements) {
        auto& arr = arrs.arr[static_cast<std::size_t>(demo.slot)];
        arr.SetName(demo.name);
        arr.SetCategory(demo.category);
        arr.SetStyle(Style(demo.style));
        arr.SetByte(kArrVarStart, static_cast<std::uint8_t>(demo.varStart));
        arr.SetByte(kArrVarThen, static_cast<std::uint8_t>(demo.varStart % 4));
        arr.SetByte(kArrTempo, static_cast<std::uint8_t>(demo.tempo - 30));
        arr.SetSplit(demo.split);
        arr.SetByte(kArrTranspose, static_cast<std::uint8_t>(demo.transpose & 0xFF));
        arr.SetByte(kArrChordScan, demo.chordScan);
        for (int t = 0; t < vx::ArrangementRecord::kTrackCount; ++t)
            arr.SetTrackProgram(t, Program((*demo.tracks)[static_cast<std::size_t>(t)]));
    }
}

template <typename Entry, std::size_t N>
void FillSections(Entry& entry, const std::array<Section, N>& sections, std::uint64_t seed) {
    entry.lengths.fill(0);
    for (const auto& section : sections) entry.lengths[static_cast<std::size_t>(section.section)] = section.units;
    entry.total = 0;
    for (int units : entry.lengths) entry.total += units;
    Random rng(seed);
    entry.events = rng.Fill(static_cast<std::size_t>(entry.total) * vx::kEventUnitBytes);
}

void FillBackingSequences(vx::SetBackingSequences& bsq) {
    for (const auto& demo : kBackingSequences) {
        auto& entry = bsq.entries[static_cast<std::size_t>(demo.number)];
        entry.record.SetName(demo.name);
        entry.record.SetArrangement(Arrangement(demo.arrangement));
        entry.record.SetStyle(Style(demo.style));
        for (int t = 0; t < vx::BsqRecord::kTrackCount; ++t)
            entry.record.SetTrackProgram(t, Program(demo.tracks[static_cast<std::size_t>(t)]));
        entry.record.SetByte(kBsqNext, static_cast<std::uint8_t>(demo.next));
        entry.record.SetByte(kBsqChain, demo.chain);
        FillSections(entry, demo.sections, kBsqSeed + static_cast<std::uint64_t>(demo.number));
    }
    bsq.offsets[0][0] = kSequenceMemoryStart;
    vx::RebuildOffsets(bsq);
}

void FillSongs(vx::SetSongs& sng, int songsStart) {
    for (const auto& demo : kSongs) {
        auto& entry = sng.entries[static_cast<std::size_t>(demo.number)];
        entry.record.SetName(demo.name);
        for (int t = 0; t < vx::SongRecord::kTrackCount; ++t)
            entry.record.SetTrackProgram(t, Program(demo.tracks[static_cast<std::size_t>(t)]));
        entry.record.SetByte(kSongNext, static_cast<std::uint8_t>(demo.next));
        entry.record.SetByte(kSongChain, demo.chain);
        FillSections(entry, demo.sections, kSongSeed + static_cast<std::uint64_t>(demo.number));
    }
    sng.offsets[0][0] = songsStart;
    vx::RebuildOffsets(sng);

    // The style patterns follow the songs back to back; unused patterns sit at the end.
    int position = songsStart;
    for (const auto& entry : sng.entries) position += entry.total;
    const int patternsStart = position;
    for (std::size_t p = 0; p < sng.patternOffsets.size(); ++p) {
        sng.patternOffsets[p] = position;
        if (p < kPatternUnits.size()) position += kPatternUnits[p];
    }
    sng.endOffset = position;
    Random rng(kPatternSeed);
    sng.patternData = rng.Fill(static_cast<std::size_t>(position - patternsStart) * vx::kEventUnitBytes);
}

void FillKbdSets(vx::SetKbdSets& ark) {
    for (const auto& demo : kKbdSets) {
        auto& kbd = ark.records[static_cast<std::size_t>(demo.number)];
        kbd.SetSplit(demo.split);
        for (int t = 0; t < vx::KbdSetRecord::kTrackCount; ++t)
            kbd.SetTrackProgram(t, Program(demo.tracks[static_cast<std::size_t>(t)]));
    }
}

}  // namespace

vx::SetData BuildDemoSet() {
    vx::SetData set = BuildTemplateSet();
    FillPrograms(set.prg);
    FillStyles(set.sty);
    FillArrangements(set.arr);
    FillBackingSequences(set.bsq);
    FillSongs(set.sng, set.bsq.endOffset);
    FillKbdSets(set.ark);
    set.arg.record.SetByte(16, 1);  // chord memory on
    set.arg.record.SetByte(24, 1);  // synchro start on
    return set;
}

}  // namespace vxmk
