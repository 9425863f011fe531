#include "core/midi/DumpMessage.h"

#include "core/catalogue/Catalogue.h"
#include "core/storage/SetData.h"

namespace vx {

namespace {

constexpr std::size_t kGroup = 7;
constexpr std::size_t kStyleTableSize = 32;  // four entries of offset and size, then zeros
// The two count bytes of sequences and songs carry seven bits each.
constexpr int kCountLimit = 128 * 128;

template <typename Records>
void AppendAll(Bytes& out, const Records& records) {
    for (const auto& record : records) record.AppendTo(out);
}

void AppendLong(Bytes& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<std::uint8_t>((value >> shift) & 0xFF));
}

// A used slot goes out with exactly its size, as in the style file: events the set does not
// hold (a blank style) are sent as zero bytes.
Bytes StyleBlockBody(const SetStyles& styles, int block) {
    Bytes body;
    std::uint32_t offset = 0;
    for (int i = 0; i < kStylesPerBlock; ++i) {
        const StyleSlot& slot = styles.slots[static_cast<std::size_t>(block * kStylesPerBlock + i)];
        AppendLong(body, offset);
        AppendWord(body, slot.size);
        offset += slot.size;
    }
    body.resize(kStyleTableSize, 0);
    for (int i = 0; i < kStylesPerBlock; ++i) {
        const StyleSlot& slot = styles.slots[static_cast<std::size_t>(block * kStylesPerBlock + i)];
        slot.record.AppendTo(body);
        if (slot.size <= StyleRecord::kSize) continue;
        const std::size_t eventBytes = slot.size - StyleRecord::kSize;
        const std::size_t held = std::min(eventBytes, slot.events.size());
        AppendBytes(body, slot.events.data(), held);
        body.resize(body.size() + (eventBytes - held), 0);
    }
    return body;
}

// The file image without its 96-byte header and without what follows the events the dump
// carries (song patterns, trailing bytes).
Bytes SequenceBody(const Bytes& fileImage, std::size_t eventsStart, std::size_t eventBytes) {
    const std::size_t end = std::min(fileImage.size(), eventsStart + eventBytes);
    return Bytes(fileImage.begin() + kSeqHeaderSize, fileImage.begin() + static_cast<std::ptrdiff_t>(end));
}

// A save after a song edit leaves the pattern table behind the songs' new end, at or after the
// end offset. Read by the pattern table, song 9 would run to the first pattern offset, past the
// events the dump holds; the dump therefore carries every pattern offset past the end offset as
// the end offset: the songs end where their events end, and no pattern memory is announced,
// as the set itself counts it.
void ClosePatternTable(const SetSongs& songs, Bytes& body) {
    const int end = songs.endOffset;
    if (songs.patternOffsets[0] <= end || end < songs.offsets[kSequenceCount - 1][kSections - 1]) return;
    const std::size_t tableAt = kSngEventsStart - 2 - 2 * kPatternCount - kSeqHeaderSize;
    for (std::size_t p = 0; p < kPatternCount; ++p) {
        if (songs.patternOffsets[p] <= end) continue;
        body[tableAt + 2 * p] = static_cast<std::uint8_t>(end & 0xFF);
        body[tableAt + 2 * p + 1] = static_cast<std::uint8_t>((end >> 8) & 0xFF);
    }
}

template <typename Entries>
int TotalUnits(const Entries& entries) {
    int total = 0;
    for (const auto& entry : entries) total += entry.total;
    return total;
}

bool AppendCount(DumpContent& out, int count, ItemKind kind, std::string& error) {
    if (count < 0 || count >= kCountLimit) {
        error = "The " + std::string(KindName(kind)) + " data hold " + std::to_string(count) +
                " memory units, more than a dump can announce (16383).";
        return false;
    }
    out.extra = {static_cast<std::uint8_t>(count % 128), static_cast<std::uint8_t>(count / 128)};
    return true;
}

}  // namespace

Bytes SysExHeader::With(std::initializer_list<std::uint8_t> rest) const {
    Bytes message(bytes.begin(), bytes.begin() + 4);
    message.insert(message.end(), rest);
    return message;
}

Bytes IdentityRequest() { return {0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7}; }
Bytes ModeRequest(const SysExHeader& header) { return header.With({0x12, 0xF7}); }
Bytes ModeChange(const SysExHeader& header, std::uint8_t mode) { return header.With({0x4E, mode, 0xF7}); }

std::size_t PackedSize(std::size_t bodySize) {
    return 8 * (bodySize / kGroup) + (bodySize % kGroup > 0 ? bodySize % kGroup + 1 : 0);
}

Bytes PackSevenBit(const Bytes& body) {
    Bytes packed;
    AppendPacked(packed, body);
    return packed;
}

void AppendPacked(Bytes& packed, const Bytes& body) {
    // Sized once and written through a pointer: this runs over every byte of the largest dumps.
    const std::size_t start = packed.size();
    packed.resize(start + PackedSize(body.size()));
    std::uint8_t* out = packed.data() + start;
    const std::uint8_t* in = body.data();
    auto packGroup = [&out, &in](std::size_t count) {
        std::uint8_t highBits = 0;
        for (std::size_t i = 0; i < count; ++i) {
            highBits |= static_cast<std::uint8_t>((in[i] >> 7) << i);
            out[1 + i] = in[i] & 0x7F;
        }
        out[0] = highBits;
        out += count + 1;
        in += count;
    };
    for (std::size_t group = 0; group < body.size() / kGroup; ++group) packGroup(kGroup);
    if (body.size() % kGroup) packGroup(body.size() % kGroup);
}

bool UnpackSevenBit(const std::uint8_t* data, std::size_t size, Bytes& body) {
    body.clear();
    body.reserve(size / 8 * kGroup + kGroup);
    for (std::size_t at = 0; at < size; at += kGroup + 1) {
        const std::size_t count = std::min(kGroup + 1, size - at);
        if (count < 2) return false;
        // A high bit for a byte the group does not have would be lost: the data are not packed right.
        const std::uint8_t highBits = data[at];
        if (highBits >> (count - 1)) return false;
        for (std::size_t i = 1; i < count; ++i) {
            if (data[at + i] & 0x80) return false;
            body.push_back(static_cast<std::uint8_t>(data[at + i] | (((highBits >> (i - 1)) & 1) << 7)));
        }
    }
    return true;
}

int StyleBlockOf(int styleSlot) { return styleSlot / kStylesPerBlock; }

bool BuildDumpContent(const SetData& data, ItemKind kind, int styleSlot, DumpContent& out, std::string& error) {
    out = {};
    switch (kind) {
        case ItemKind::Arrangement:
            AppendAll(out.body, data.arr.arr);
            return true;
        case ItemKind::Style: {
            if (styleSlot < 0 || styleSlot >= kUserStyles) {
                error = "There is no user style " + std::to_string(styleSlot) + ".";
                return false;
            }
            const int block = StyleBlockOf(styleSlot);
            out.extra = {static_cast<std::uint8_t>(block)};
            out.body = StyleBlockBody(data.sty, block);
            return true;
        }
        case ItemKind::Program:
            AppendAll(out.body, data.prg.records);
            for (const auto& kit : data.prg.drumKits) AppendBytes(out.body, kit.data(), kit.size());
            return true;
        case ItemKind::BackingSequence: {
            const int units = TotalUnits(data.bsq.entries);
            out.body = SequenceBody(SerializeBsq(data.bsq), kBsqEventsStart,
                                    static_cast<std::size_t>(units) * kEventUnitBytes);
            return AppendCount(out, units, kind, error);
        }
        case ItemKind::Song: {
            const int units = TotalUnits(data.sng.entries);
            int count = units;
            for (std::size_t i = 0; i < data.sng.values.size(); i += 2)
                count += data.sng.values[i] | (data.sng.values[i + 1] << 8);
            out.body = SequenceBody(SerializeSng(data.sng), kSngEventsStart,
                                    static_cast<std::size_t>(units) * kEventUnitBytes);
            ClosePatternTable(data.sng, out.body);
            return AppendCount(out, count, kind, error);
        }
        case ItemKind::KbdSet:
            AppendAll(out.body, data.ark.records);
            return true;
        case ItemKind::ArrangementGlobal:
            data.arg.record.AppendTo(out.body);
            return true;
        case ItemKind::Global:
            data.gbl.record.AppendTo(out.body);
            return true;
        default:
            error = "This kind cannot be sent.";
            return false;
    }
}

bool BuildDumpMessage(const SetData& data, ItemKind kind, int styleSlot, const SysExHeader& header, Bytes& message,
                      std::string& error) {
    DumpContent content;
    if (!BuildDumpContent(data, kind, styleSlot, content, error)) return false;
    message = header.With({static_cast<std::uint8_t>(KindDumpCode(kind))});
    message.reserve(message.size() + content.extra.size() + PackedSize(content.body.size()) + 1);
    AppendBytes(message, content.extra);
    AppendPacked(message, content.body);
    message.push_back(0xF7);
    return true;
}

}  // namespace vx
