#include "support/SetBuilder.h"

#include <algorithm>
#include <filesystem>
#include <random>

#include "core/catalogue/Catalogue.h"
#include "support/TestPaths.h"

namespace vx::test {

namespace {

constexpr int kBlankCategory = 15;

template <std::size_t N>
void PutMagic(std::array<std::uint8_t, N>& header, ItemKind kind) {
    const std::string magic = "VEMOX";
    std::copy(magic.begin(), magic.end(), header.begin());
    header[6] = static_cast<std::uint8_t>(KindHeaderByte(kind));
}

template <std::size_t N>
void PutWord(std::array<std::uint8_t, N>& header, std::size_t offset, int value) {
    header[offset] = static_cast<std::uint8_t>(value & 0xFF);
    header[offset + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

class Random {
public:
    explicit Random(std::uint32_t seed) : engine_(seed) {}

    int Between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(engine_); }
    bool Percent(int percent) { return Between(0, 99) < percent; }
    std::uint8_t Byte() { return static_cast<std::uint8_t>(Between(0, 255)); }

    template <typename Container>
    void Fill(Container& bytes) {
        for (auto& b : bytes) b = Byte();
    }
    // Four bytes per draw: styles of 64 KB are built quickly.
    Bytes Block(std::size_t count) {
        Bytes bytes(count);
        for (std::size_t i = 0; i < count; i += 4) {
            auto word = static_cast<std::uint32_t>(engine_());
            for (std::size_t k = i; k < count && k < i + 4; ++k, word >>= 8) bytes[k] = static_cast<std::uint8_t>(word);
        }
        return bytes;
    }
    // Letters, digits and blanks, as names on the instrument look.
    std::string Name() {
        static const std::string kChars = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789 -";
        std::string name(kNameLength, ' ');
        const int length = Between(1, static_cast<int>(kNameLength));
        for (int i = 0; i < length; ++i)
            name[static_cast<std::size_t>(i)] = kChars[static_cast<std::size_t>(Between(0, 37))];
        if (name[0] == ' ') name[0] = 'X';
        return name;
    }
    // A program number of any bank, sometimes none.
    int ProgramNumber() {
        static const int kBases[] = {0, 64, 256, 320, 512, 768, 832, 1024};
        if (Percent(5)) return 0xFFFF;
        const int bank = Between(0, 7);
        return kBases[bank] + Between(0, bank == 7 ? 39 : 63);
    }

private:
    std::mt19937 engine_;
};

// A header of random bytes but "VEMOX" and the kind byte.
template <std::size_t N>
void RandomHeader(Random& random, std::array<std::uint8_t, N>& header, ItemKind kind) {
    random.Fill(header);
    PutMagic(header, kind);
}

// A record with random bytes and either a random name or, for an empty slot, blanks.
template <typename Record>
void RandomRecord(Random& random, Record& record, int emptyPercent) {
    random.Fill(record.bytes);
    record.SetName(random.Percent(emptyPercent) ? kBlankName : random.Name());
}

template <typename Entry>
void RandomEntries(Random& random, const RandomSetOptions& options, std::array<Entry, kSequenceCount>& entries) {
    for (auto& entry : entries) {
        RandomRecord(random, entry.record, options.emptyPercent);
        for (auto& length : entry.lengths) length = random.Between(0, options.maxSectionUnits);
        int total = 0;
        for (int length : entry.lengths) total += length;
        entry.events = random.Block(static_cast<std::size_t>(total) * kEventUnitBytes);
    }
}

}  // namespace

std::vector<std::string> SetFileExtensions() {
    std::vector<std::string> extensions;
    for (int k = 0; k < kSetKindCount; ++k) extensions.emplace_back(KindExtension(KindFromIndex(k)));
    return extensions;
}

SetData EmptySet() {
    SetData set;
    PutMagic(set.arr.header, ItemKind::Arrangement);
    PutWord(set.arr.header, 24, kArrRecordsSize);
    set.arr.dataLength = kArrRecordsSize;
    for (auto& record : set.arr.arr) {
        record.SetName(kBlankName);
        record.SetCategory(kBlankCategory);
    }

    PutMagic(set.sty.header, ItemKind::Style);
    for (int slot = 0; slot < kUserStyles; ++slot) {
        auto& entry = set.sty.slots[static_cast<std::size_t>(slot)];
        entry.slotByte = static_cast<std::uint8_t>(slot);
        entry.record.SetName(kBlankName);
    }
    set.sty.gap.assign(kStyDataStart - (22 + 4 * kUserStyles), 0);

    PutMagic(set.prg.header, ItemKind::Program);
    for (auto& record : set.prg.records) {
        record.SetName(kBlankName);
        record.SetCategory(kBlankCategory);
    }

    PutMagic(set.bsq.header, ItemKind::BackingSequence);
    for (auto& entry : set.bsq.entries) entry.record.SetName(kBlankName);
    PutMagic(set.sng.header, ItemKind::Song);
    for (auto& entry : set.sng.entries) entry.record.SetName(kBlankName);

    PutMagic(set.ark.header, ItemKind::KbdSet);
    PutWord(set.ark.header, 24, kArkRecordsSize);
    set.ark.dataLength = kArkRecordsSize;
    PutMagic(set.arg.header, ItemKind::ArrangementGlobal);
    PutMagic(set.gbl.header, ItemKind::Global);
    return set;
}

SetData RandomSet(std::uint32_t seed, const RandomSetOptions& options) {
    Random random(seed);
    SetData set;
    auto trailing = [&] { return random.Block(static_cast<std::size_t>(random.Between(0, options.maxTrailing))); };

    RandomHeader(random, set.arr.header, ItemKind::Arrangement);
    for (auto& record : set.arr.arr) {
        RandomRecord(random, record, options.emptyPercent);
        record.SetStyle(random.Percent(50) ? random.Between(0, 127) : random.Between(256, 303));
        for (int track = 0; track < ArrangementRecord::kTrackCount; ++track)
            record.SetTrackProgram(track, random.ProgramNumber());
    }
    set.arr.tail = random.Block(static_cast<std::size_t>(random.Between(0, options.maxTail)));
    set.arr.dataLength = static_cast<std::int16_t>(kArrRecordsSize + static_cast<int>(set.arr.tail.size()));
    PutWord(set.arr.header, 24, set.arr.dataLength);
    set.arr.trailing = trailing();

    RandomHeader(random, set.sty.header, ItemKind::Style);
    const int largest = std::clamp(options.maxStyleSize, 70, 65535);
    for (int slot = 0; slot < kUserStyles; ++slot) {
        auto& entry = set.sty.slots[static_cast<std::size_t>(slot)];
        entry.slotByte = static_cast<std::uint8_t>(slot);
        if (!random.Percent(options.styleUsedPercent)) {
            entry.record.SetName(kBlankName);
            entry.idleSize = static_cast<std::uint16_t>(random.Between(0, 65535));
            continue;
        }
        entry.used = static_cast<std::uint8_t>(random.Between(1, 255));
        entry.size = static_cast<std::uint16_t>(random.Between(70, largest));
        RandomRecord(random, entry.record, options.emptyPercent);
        for (int track = 0; track < StyleRecord::kTrackCount; ++track)
            entry.record.SetTrackProgram(track, random.ProgramNumber());
        entry.events = random.Block(entry.size - StyleRecord::kSize);
    }
    set.sty.gap = random.Block(kStyDataStart - (22 + 4 * kUserStyles));
    set.sty.trailing = trailing();

    RandomHeader(random, set.prg.header, ItemKind::Program);
    for (auto& record : set.prg.records) RandomRecord(random, record, options.emptyPercent);
    for (auto& kit : set.prg.drumKits) random.Fill(kit);
    set.prg.trailing = trailing();

    RandomHeader(random, set.bsq.header, ItemKind::BackingSequence);
    RandomEntries(random, options, set.bsq.entries);
    for (auto& entry : set.bsq.entries) {
        entry.record.SetArrangement(random.Percent(50) ? random.Between(0, 127) : random.Between(256, 383));
        entry.record.SetStyle(random.Percent(50) ? random.Between(0, 127) : random.Between(256, 303));
        for (int track = 0; track < BsqRecord::kTrackCount; ++track)
            entry.record.SetTrackProgram(track, random.ProgramNumber());
    }
    RebuildOffsets(set.bsq);
    set.bsq.trailing = trailing();

    RandomHeader(random, set.sng.header, ItemKind::Song);
    random.Fill(set.sng.values);
    RandomEntries(random, options, set.sng.entries);
    for (auto& entry : set.sng.entries) {
        for (int track = 0; track < SongRecord::kTrackCount; ++track)
            entry.record.SetTrackProgram(track, random.ProgramNumber());
    }
    // The songs start where the backing sequences end, and the patterns follow the songs.
    set.sng.offsets[0][0] = set.bsq.endOffset;
    RebuildOffsets(set.sng);
    int position = set.sng.endOffset;
    for (auto& offset : set.sng.patternOffsets) {
        offset = position;
        position += random.Between(0, options.maxPatternUnits);
    }
    set.sng.endOffset = position;
    set.sng.patternData =
        random.Block(static_cast<std::size_t>(position - set.sng.patternOffsets[0]) * kEventUnitBytes);
    set.sng.trailing = trailing();

    RandomHeader(random, set.ark.header, ItemKind::KbdSet);
    for (auto& record : set.ark.records) {
        random.Fill(record.bytes);
        record.SetSplit(random.Between(36, 96));
        for (int track = 0; track < KbdSetRecord::kTrackCount; ++track)
            record.SetTrackProgram(track, random.ProgramNumber());
    }
    // Now and then a length that leaves no tail: the records alone or less.
    if (random.Percent(20)) {
        set.ark.dataLength = static_cast<std::int16_t>(random.Between(-32768, kArkRecordsSize));
    } else {
        set.ark.tail = random.Block(static_cast<std::size_t>(random.Between(0, options.maxTail)));
        set.ark.dataLength = static_cast<std::int16_t>(kArkRecordsSize + static_cast<int>(set.ark.tail.size()));
    }
    PutWord(set.ark.header, 24, set.ark.dataLength);
    set.ark.trailing = trailing();

    RandomHeader(random, set.arg.header, ItemKind::ArrangementGlobal);
    random.Fill(set.arg.record.bytes);
    set.arg.trailing = trailing();
    RandomHeader(random, set.gbl.header, ItemKind::Global);
    random.Fill(set.gbl.record.bytes);
    set.gbl.trailing = trailing();
    return set;
}

void WriteSet(const SetData& set, const std::string& directory, const std::string& name) {
    std::filesystem::create_directories(directory);
    for (int index = 0; index < kSetKindCount; ++index) {
        const ItemKind kind = KindFromIndex(index);
        WriteFileBytes(std::filesystem::path(directory) / (name + std::string(KindExtension(kind))),
                       SerializeKind(set, kind));
    }
}

void UseStyle(SetData& set, int slot, const std::string& name, int size) {
    StyleSlot& style = set.sty.slots[static_cast<std::size_t>(slot)];
    style.used = 1;
    style.size = static_cast<std::uint16_t>(size);
    style.record.SetName(name);
    style.events.assign(static_cast<std::size_t>(size) - StyleRecord::kSize, 0);
}

void FillStyleBlock(SetData& set, int block) {
    for (int i = 0; i < kStylesPerBlock; ++i) {
        auto& style = set.sty.slots[static_cast<std::size_t>(block * kStylesPerBlock + i)];
        style.used = 1;
        style.size = 65535;
        style.record.SetName("Full Block " + std::to_string(i + 1));
        style.events.resize(style.size - StyleRecord::kSize);
        for (std::size_t b = 0; b < style.events.size(); ++b)
            style.events[b] = static_cast<std::uint8_t>((b * 31 + static_cast<std::size_t>(i) * 7) & 0xFF);
    }
}

}  // namespace vx::test
