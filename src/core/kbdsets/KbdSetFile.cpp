#include "core/kbdsets/KbdSetFile.h"

#include "core/format/ItemFile.h"

namespace vx {

namespace {

constexpr std::size_t kDataLengthOffset = 24;
constexpr std::size_t kRecordsEnd = kArkHeaderSize + kArkRecordsSize;  // 3616

}  // namespace

LoadStatus LoadArk(const ItemFile& file, SetKbdSets& out) {
    constexpr ItemKind kKind = ItemKind::KbdSet;
    if (file.Size() < kRecordsEnd) return file.ReadFault(kKind, kArkHeaderSize, kArkRecordsSize, "the KBD sets");
    SetKbdSets loaded;
    if (!file.Read(0, loaded.header.size(), loaded.header.data()))
        return file.ReadFault(kKind, 0, loaded.header.size(), "the header");
    std::uint16_t length = 0;
    if (!file.ReadWord(kDataLengthOffset, length)) return file.ReadFault(kKind, kDataLengthOffset, 2, "the data length");
    loaded.dataLength = static_cast<std::int16_t>(length);
    for (std::size_t i = 0; i < loaded.records.size(); ++i) {
        auto& record = loaded.records[i];
        const std::size_t at = kArkHeaderSize + KbdSetRecord::kSize * i;
        if (!file.Read(at, record.kSize, record.bytes.data())) return file.ReadFault(kKind, at, record.kSize, "a KBD set");
    }
    // A length of the records or less (even a negative one) just means there is no tail.
    const std::size_t tailLength =
        loaded.dataLength > kArkRecordsSize ? static_cast<std::size_t>(loaded.dataLength - kArkRecordsSize) : 0;
    if (!file.ReadInto(kRecordsEnd, tailLength, loaded.tail))
        return file.ReadFault(kKind, kRecordsEnd, tailLength, "the data after the KBD sets");
    const std::size_t end = kRecordsEnd + tailLength;
    if (!file.ReadInto(end, file.Size() - end, loaded.trailing))
        return file.ReadFault(kKind, end, file.Size() - end, "the bytes past the data");
    out = std::move(loaded);
    return {};
}

Bytes SerializeArk(const SetKbdSets& data) {
    Bytes out;
    out.reserve(kRecordsEnd + data.tail.size() + data.trailing.size());
    AppendBytes(out, data.header.data(), data.header.size());
    for (const auto& record : data.records) record.AppendTo(out);
    AppendBytes(out, data.tail);
    AppendBytes(out, data.trailing);
    return out;
}

std::string KbdLabel(int number) {
    if (number < 0 || number >= kKbdSetCount) return {};
    return {static_cast<char>('1' + number / 8), static_cast<char>('1' + number % 8)};
}

}  // namespace vx
