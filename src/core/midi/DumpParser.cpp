#include "core/midi/DumpParser.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "core/catalogue/Catalogue.h"
#include "core/format/ItemFile.h"
#include "core/midi/DumpMessage.h"

namespace vx {

namespace {

constexpr std::size_t kFunctionAt = 4;  // 0-based: F0 42 3n 49 code
constexpr std::size_t kStyleTableSize = 32;

std::string Hex(int value) {
    char text[8];
    std::snprintf(text, sizeof text, "%02X", value & 0xFF);
    return text;
}

std::string Position(std::size_t index) { return "Byte " + std::to_string(index + 1); }

// How many extra bytes follow the function code of a kind.
std::size_t ExtraBytes(ItemKind kind) {
    if (kind == ItemKind::Style) return 1;
    if (kind == ItemKind::BackingSequence || kind == ItemKind::Song) return 2;
    return 0;
}

bool KindOfCode(int code, ItemKind& kind) {
    for (int k = 0; k < kSetKindCount; ++k) {
        if (KindDumpCode(KindFromIndex(k)) != code) continue;
        kind = KindFromIndex(k);
        return true;
    }
    return false;
}

std::string Noun(ItemKind kind) { return std::string(KindName(kind)); }

bool SizeIs(ItemKind kind, const Bytes& body, std::size_t expected, std::string& error) {
    if (body.size() == expected) return true;
    error = "The " + Noun(kind) + " dump holds " + std::to_string(body.size()) + " data bytes; it should hold " +
            std::to_string(expected) + ".";
    return false;
}

template <typename Records>
void CopyRecords(const Bytes& body, std::size_t& at, Records& records) {
    for (auto& record : records) {
        std::copy_n(body.begin() + static_cast<std::ptrdiff_t>(at), record.bytes.size(), record.bytes.begin());
        at += record.bytes.size();
    }
}

std::uint32_t LongAt(const Bytes& body, std::size_t at) {
    return static_cast<std::uint32_t>(body[at] | (body[at + 1] << 8) | (body[at + 2] << 16)) |
           (static_cast<std::uint32_t>(body[at + 3]) << 24);
}

// Table of four (offset, size) pairs, eight zero bytes, then each slot's record and events.
bool ParseStyleBlock(const Bytes& body, int block, SetStyles& out, std::string& error) {
    if (body.size() < kStyleTableSize) {
        error = "The Style dump holds " + std::to_string(body.size()) + " data bytes, fewer than its table of sizes.";
        return false;
    }
    for (std::size_t i = 6 * kStylesPerBlock; i < kStyleTableSize; ++i) {
        if (body[i] == 0) continue;
        error = "The Style dump's table of sizes has a byte other than 0 after its four entries.";
        return false;
    }
    std::uint32_t expectedOffset = 0;
    std::size_t at = kStyleTableSize;
    for (int i = 0; i < kStylesPerBlock; ++i) {
        const int slot = block * kStylesPerBlock + i;
        const std::uint32_t offset = LongAt(body, 6 * static_cast<std::size_t>(i));
        const std::size_t sizeAt = 6 * static_cast<std::size_t>(i) + 4;
        const int size = body[sizeAt] | (body[sizeAt + 1] << 8);
        const std::string which = "Style " + std::to_string(i + 1) + " of the block";
        if (offset != expectedOffset) {
            error = which + " starts at " + std::to_string(offset) +
                    " in the table, where the styles before it end at " + std::to_string(expectedOffset) + ".";
            return false;
        }
        if (size > 0 && size < static_cast<int>(StyleRecord::kSize)) {
            error = which + " has the size " + std::to_string(size) + ", less than its record of " +
                    std::to_string(StyleRecord::kSize) + " bytes.";
            return false;
        }
        expectedOffset += static_cast<std::uint32_t>(size);
        const std::size_t bytes = size > 0 ? static_cast<std::size_t>(size) : StyleRecord::kSize;
        if (body.size() - at < bytes) {
            error = "The Style dump ends inside style " + std::to_string(i + 1) + " of the block.";
            return false;
        }
        StyleSlot& target = out.slots[static_cast<std::size_t>(slot)];
        std::copy_n(body.begin() + static_cast<std::ptrdiff_t>(at), StyleRecord::kSize, target.record.bytes.begin());
        target.used = size > 0 ? 1 : 0;
        target.size = static_cast<std::uint16_t>(size);
        target.events.assign(body.begin() + static_cast<std::ptrdiff_t>(at + StyleRecord::kSize),
                             body.begin() + static_cast<std::ptrdiff_t>(at + bytes));
        if (size == 0) target.record.SetName(kBlankName);
        at += bytes;
    }
    if (at != body.size()) {
        error = std::to_string(body.size() - at) + " data bytes follow the four styles of the Style dump.";
        return false;
    }
    return true;
}

LoadStatus LoadSequences(const ItemFile& file, SetBackingSequences& out) { return LoadBsq(file, out); }
LoadStatus LoadSequences(const ItemFile& file, SetSongs& out) { return LoadSng(file, out); }

template <typename Entries>
int TotalUnits(const Entries& entries) {
    int units = 0;
    for (const auto& entry : entries) units += entry.total;
    return units;
}
// What the count bytes announce: the sequences' units, for songs also the pattern counts.
int AnnouncedUnits(const SetBackingSequences& data) { return TotalUnits(data.entries); }
int AnnouncedUnits(const SetSongs& data) {
    int units = TotalUnits(data.entries);
    for (std::size_t i = 0; i < data.values.size(); i += 2) units += data.values[i] | (data.values[i + 1] << 8);
    return units;
}
// The song file's reader takes an end offset below the first pattern offset (a save after a song
// edit leaves it so); a dump must announce a memory map that holds together.
std::string MapFault(const SetBackingSequences&) { return {}; }
std::string MapFault(const SetSongs& data) {
    if (data.endOffset < 0)
        return "The Song dump's end offset is " + std::to_string(data.endOffset) + ", below the start of memory.";
    if (data.patternOffsets[0] > data.endOffset)
        return "The Song dump's first pattern offset, " + std::to_string(data.patternOffsets[0]) +
               ", lies past its end offset, " + std::to_string(data.endOffset) + ".";
    return {};
}
std::size_t BytesAfterEvents(const SetBackingSequences& data) { return data.trailing.size(); }
std::size_t BytesAfterEvents(const SetSongs& data) { return data.patternData.size() + data.trailing.size(); }

// Backing sequences and songs: the body is their file without its header and without what
// follows the last events, so the file's own reader takes it apart.
template <typename Sequences>
bool ParseSequences(ItemKind kind, const Bytes& body, int count, Sequences& out, std::string& error) {
    Bytes image(kSeqHeaderSize + body.size(), 0);
    std::copy(body.begin(), body.end(), image.begin() + kSeqHeaderSize);
    Sequences loaded;
    if (!LoadSequences(ItemFile("", image), loaded)) {
        error = "The " + Noun(kind) + " dump's offsets run backwards or promise more events than it holds.";
        return false;
    }
    if (std::string fault = MapFault(loaded); !fault.empty()) {
        error = std::move(fault);
        return false;
    }
    if (const std::size_t extra = BytesAfterEvents(loaded); extra > 0) {
        std::string noun = Noun(kind);
        for (char& c : noun) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        error = std::to_string(extra) + " data bytes follow the events of the last " + noun + ".";
        return false;
    }
    if (const int units = AnnouncedUnits(loaded); units != count) {
        error = "The " + Noun(kind) + " dump announces " + std::to_string(count) + " memory units but holds " +
                std::to_string(units) + ".";
        return false;
    }
    out = std::move(loaded);
    return true;
}

bool ParseBody(ItemKind kind, const Bytes& extra, const Bytes& body, ParsedDump& out, std::string& error) {
    std::size_t at = 0;
    SetData& data = out.data;
    switch (kind) {
        case ItemKind::Arrangement:
            if (!SizeIs(kind, body, kUserArrangements * ArrangementRecord::kSize, error)) return false;
            CopyRecords(body, at, data.arr.arr);
            return true;
        case ItemKind::Program:
            if (!SizeIs(kind, body, kUserPrograms * ProgramRecord::kSize + kUserDrumKits * kDrumKitDataSize, error))
                return false;
            CopyRecords(body, at, data.prg.records);
            for (DrumKitData& kit : data.prg.drumKits) {
                std::copy_n(body.begin() + static_cast<std::ptrdiff_t>(at), kit.size(), kit.begin());
                at += kit.size();
            }
            return true;
        case ItemKind::KbdSet:
            if (!SizeIs(kind, body, kKbdSetCount * KbdSetRecord::kSize, error)) return false;
            CopyRecords(body, at, data.ark.records);
            return true;
        case ItemKind::ArrangementGlobal:
            if (!SizeIs(kind, body, ArgRecord::kSize, error)) return false;
            std::copy(body.begin(), body.end(), data.arg.record.bytes.begin());
            return true;
        case ItemKind::Global:
            if (!SizeIs(kind, body, GblRecord::kSize, error)) return false;
            std::copy(body.begin(), body.end(), data.gbl.record.bytes.begin());
            return true;
        case ItemKind::Style:
            out.styleBlock = extra[0];
            if (out.styleBlock >= kStyleBlocks) {
                error = "Byte 6 names style block " + std::to_string(out.styleBlock + 1) + "; a set has " +
                        std::to_string(kStyleBlocks) + ".";
                return false;
            }
            return ParseStyleBlock(body, out.styleBlock, data.sty, error);
        case ItemKind::BackingSequence:
            return ParseSequences(kind, body, extra[0] + 128 * extra[1], data.bsq, error);
        case ItemKind::Song:
            return ParseSequences(kind, body, extra[0] + 128 * extra[1], data.sng, error);
        default:
            return false;
    }
}

}  // namespace

bool ParseDumpMessage(const Bytes& message, ParsedDump& out, std::string& error) {
    if (message.size() > kLargestDumpMessage) {
        error = "It holds " + std::to_string(message.size()) + " bytes, more than any dump.";
        return false;
    }
    if (message.size() < kFunctionAt + 2) {
        error = "It holds " + std::to_string(message.size()) + " bytes, too few for a dump.";
        return false;
    }
    if (message.front() != 0xF0) {
        error = "It does not begin with F0, the start of a system exclusive message.";
        return false;
    }
    if (message.back() != 0xF7) {
        error = "It does not end with F7, the end of a system exclusive message.";
        return false;
    }
    if (message[1] != kMakerId || (message[2] & 0xF0) != 0x30 || message[3] != kFamilyId) {
        error = "It is not a dump of the Vemo-x50: bytes 2 to 4 are " + Hex(message[1]) + " " + Hex(message[2]) + " " +
                Hex(message[3]) + ".";
        return false;
    }
    ParsedDump parsed;
    if (!KindOfCode(message[kFunctionAt], parsed.kind)) {
        error = "Byte 5 is " + Hex(message[kFunctionAt]) + ", which names no kind of dump.";
        return false;
    }
    const std::size_t dataStart = kFunctionAt + 1 + ExtraBytes(parsed.kind);
    const std::size_t dataEnd = message.size() - 1;
    if (dataStart > dataEnd) {
        error = "The " + Noun(parsed.kind) + " dump ends before its data.";
        return false;
    }
    for (std::size_t i = kFunctionAt + 1; i < dataEnd; ++i) {
        if (message[i] < 0x80) continue;
        error = Position(i) + " is " + Hex(message[i]) + ", a status byte inside the data.";
        return false;
    }
    const Bytes extra(message.begin() + static_cast<std::ptrdiff_t>(kFunctionAt + 1),
                      message.begin() + static_cast<std::ptrdiff_t>(dataStart));
    Bytes body;
    if (!UnpackSevenBit(message.data() + dataStart, dataEnd - dataStart, body)) {
        error = "The " + Noun(parsed.kind) + " dump's packed data are cut short or carry bits for bytes they lack.";
        return false;
    }
    if (!ParseBody(parsed.kind, extra, body, parsed, error)) return false;
    out = std::move(parsed);
    return true;
}

}  // namespace vx
