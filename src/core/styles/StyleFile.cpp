#include "core/styles/StyleFile.h"

#include <algorithm>

#include "core/format/ItemFile.h"

namespace vx {

namespace {

constexpr std::size_t kCountOffset = 21;
constexpr std::size_t kDirectoryStart = 22;
constexpr std::size_t kEntrySize = 4;

int ClampedBlockCount(int blockCount) { return std::clamp(blockCount, 0, kStyleBlocks); }

// A used slot always takes room for its record, so the file written can be read again.
std::uint16_t WrittenSize(const StyleSlot& entry) {
    if (entry.used == 0) return entry.idleSize;
    return std::max(entry.size, static_cast<std::uint16_t>(StyleRecord::kSize));
}

std::size_t DirectoryEnd(int blockCount) {
    return kDirectoryStart + kEntrySize * kStylesPerBlock * static_cast<std::size_t>(blockCount);
}

}  // namespace

LoadStatus LoadSty(const ItemFile& file, SetStyles& out) {
    constexpr ItemKind kKind = ItemKind::Style;
    SetStyles loaded;
    if (!file.Read(0, loaded.header.size(), loaded.header.data()))
        return file.ReadFault(kKind, 0, loaded.header.size(), "the header");
    // The word at 21 has its high byte overwritten by slot 0's slot byte, so only the low byte counts.
    if (!file.ReadByte(kCountOffset, loaded.slotCount)) return file.ReadFault(kKind, kCountOffset, 1, "the style count");
    if (loaded.slotCount > kUserStyles)
        return file.Fault(kKind, kCountOffset,
                          "the style count " + std::to_string(loaded.slotCount) + " is more than " +
                              std::to_string(kUserStyles));
    loaded.blockCount = loaded.slotCount / kStylesPerBlock;

    const int directorySlots = loaded.blockCount * kStylesPerBlock;
    std::size_t data = kStyDataStart;
    for (int slot = 0; slot < directorySlots; ++slot) {
        StyleSlot& entry = loaded.slots[static_cast<std::size_t>(slot)];
        std::uint8_t raw[kEntrySize];
        const std::size_t at = kDirectoryStart + kEntrySize * static_cast<std::size_t>(slot);
        if (!file.Read(at, kEntrySize, raw)) return file.ReadFault(kKind, at, kEntrySize, "the style directory");
        if (raw[0] != slot)
            return file.Fault(kKind, at,
                              "the directory entry of slot " + std::to_string(slot) + " names slot " +
                                  std::to_string(raw[0]));
        entry.slotByte = raw[0];
        entry.used = raw[1];
        const auto size = static_cast<std::uint16_t>(raw[2] | (raw[3] << 8));
        if (entry.used == 0) {
            entry.idleSize = size;
            continue;
        }
        if (size < StyleRecord::kSize)
            return file.Fault(kKind, at,
                              "the size " + std::to_string(size) + " of slot " + std::to_string(slot) +
                                  " is less than a style's " + std::to_string(StyleRecord::kSize) + " bytes");
        entry.size = size;
        if (!file.Read(data, StyleRecord::kSize, entry.record.bytes.data()))
            return file.ReadFault(kKind, data, StyleRecord::kSize, "the style of slot " + std::to_string(slot));
        if (!file.ReadInto(data + StyleRecord::kSize, size - StyleRecord::kSize, entry.events))
            return file.ReadFault(kKind, data + StyleRecord::kSize, size - StyleRecord::kSize,
                                  "the events of slot " + std::to_string(slot));
        data += size;
    }
    for (int slot = 0; slot < kUserStyles; ++slot) {
        StyleSlot& entry = loaded.slots[static_cast<std::size_t>(slot)];
        if (slot >= directorySlots) entry.slotByte = static_cast<std::uint8_t>(slot);
        if (entry.used == 0) entry.record.SetName(kBlankName);
    }
    const std::size_t directoryEnd = DirectoryEnd(loaded.blockCount);
    if (!file.ReadInto(directoryEnd, kStyDataStart - directoryEnd, loaded.gap))
        return file.ReadFault(kKind, directoryEnd, kStyDataStart - directoryEnd, "the bytes after the directory");
    if (!file.ReadInto(data, file.Size() - data, loaded.trailing))
        return file.ReadFault(kKind, data, file.Size() - data, "the bytes past the styles");
    out = std::move(loaded);
    return {};
}

Bytes SerializeSty(const SetStyles& data) {
    const int blockCount = ClampedBlockCount(data.blockCount);
    const int directorySlots = blockCount * kStylesPerBlock;
    const std::uint8_t count =
        data.slotCount / kStylesPerBlock == blockCount ? data.slotCount : static_cast<std::uint8_t>(directorySlots);
    // The whole image is sized first: a full style file is megabytes, and growing it step by
    // step would copy it several times over.
    std::size_t total = kStyDataStart + data.trailing.size();
    for (int slot = 0; slot < directorySlots; ++slot) {
        const StyleSlot& entry = data.slots[static_cast<std::size_t>(slot)];
        if (entry.used != 0) total += WrittenSize(entry);
    }
    Bytes out;
    out.reserve(total);
    AppendBytes(out, data.header.data(), data.header.size());
    out.push_back(count);
    for (int slot = 0; slot < directorySlots; ++slot) {
        const StyleSlot& entry = data.slots[static_cast<std::size_t>(slot)];
        out.push_back(static_cast<std::uint8_t>(slot));
        out.push_back(entry.used);
        AppendWord(out, WrittenSize(entry));
    }
    const std::size_t gapLength = kStyDataStart - out.size();
    for (std::size_t i = 0; i < gapLength; ++i) out.push_back(i < data.gap.size() ? data.gap[i] : std::uint8_t{0});

    for (int slot = 0; slot < directorySlots; ++slot) {
        const StyleSlot& entry = data.slots[static_cast<std::size_t>(slot)];
        if (entry.used == 0) continue;
        entry.record.AppendTo(out);
        const std::size_t eventLength = WrittenSize(entry) - StyleRecord::kSize;
        const std::size_t kept = std::min(eventLength, entry.events.size());
        AppendBytes(out, entry.events.data(), kept);
        out.resize(out.size() + (eventLength - kept), 0);
    }
    AppendBytes(out, data.trailing);
    return out;
}

int StyleEventsUsed(const SetStyles& styles, int slot) {
    if (slot < 0 || slot >= kUserStyles) return 0;
    // A slot with no style takes no room: counting it as a style of size 0 would give the block
    // more free events than it holds.
    const StyleSlot& entry = styles.slots[static_cast<std::size_t>(slot)];
    if (!entry.used) return 0;
    return (static_cast<int>(entry.size) - kEmptyStyleSize) / 4;
}

int BlockEventsFree(const SetStyles& styles, int slot) {
    if (slot < 0 || slot >= kUserStyles) return 0;
    const int first = slot / kStylesPerBlock * kStylesPerBlock;
    int used = 0;
    for (int s = first; s < first + kStylesPerBlock; ++s) used += StyleEventsUsed(styles, s);
    return kBlockEvents - used;
}

bool IsUserStyle(int number) { return number >= kFirstUserStyle && number < kFirstUserStyle + kUserStyles; }

}  // namespace vx
