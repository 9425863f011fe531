#include "core/arrangements/ArrangementFile.h"

#include "core/format/ItemFile.h"

namespace vx {

namespace {

constexpr std::size_t kDataLengthOffset = 24;
constexpr std::size_t kRecordsEnd = kArrHeaderSize + kArrRecordsSize;  // 21024

}  // namespace

LoadStatus LoadArr(const ItemFile& file, SetArrangements& out) {
    constexpr ItemKind kKind = ItemKind::Arrangement;
    SetArrangements loaded;
    if (!file.Read(0, loaded.header.size(), loaded.header.data()))
        return file.ReadFault(kKind, 0, loaded.header.size(), "the header");
    std::uint16_t length = 0;
    if (!file.ReadWord(kDataLengthOffset, length)) return file.ReadFault(kKind, kDataLengthOffset, 2, "the data length");
    loaded.dataLength = static_cast<std::int16_t>(length);
    // The records alone are 20992 bytes; a shorter (or negative) length cannot describe this file.
    if (loaded.dataLength < kArrRecordsSize)
        return file.Fault(kKind, kDataLengthOffset,
                          "the data length " + std::to_string(loaded.dataLength) + " is shorter than the " +
                              std::to_string(kArrRecordsSize) + " bytes of the arrangements");
    const std::size_t end = kArrHeaderSize + static_cast<std::size_t>(loaded.dataLength);
    if (end > file.Size())
        return file.ReadFault(kKind, kArrHeaderSize, static_cast<std::size_t>(loaded.dataLength),
                              "the data length " + std::to_string(loaded.dataLength));

    for (std::size_t slot = 0; slot < loaded.arr.size(); ++slot) {
        auto& record = loaded.arr[slot];
        const std::size_t at = kArrHeaderSize + ArrangementRecord::kSize * slot;
        if (!file.Read(at, record.kSize, record.bytes.data())) return file.ReadFault(kKind, at, record.kSize, "an arrangement");
    }
    if (!file.ReadInto(kRecordsEnd, end - kRecordsEnd, loaded.tail))
        return file.ReadFault(kKind, kRecordsEnd, end - kRecordsEnd, "the data after the arrangements");
    if (!file.ReadInto(end, file.Size() - end, loaded.trailing))
        return file.ReadFault(kKind, end, file.Size() - end, "the bytes past the data");
    out = std::move(loaded);
    return {};
}

Bytes SerializeArr(const SetArrangements& data) {
    Bytes out;
    out.reserve(kRecordsEnd + data.tail.size() + data.trailing.size());
    AppendBytes(out, data.header.data(), data.header.size());
    for (const auto& record : data.arr) record.AppendTo(out);
    AppendBytes(out, data.tail);
    AppendBytes(out, data.trailing);
    return out;
}

bool IsUserArrangement(int number) {
    return number >= kFirstUserArrangement && number < kFirstUserArrangement + kUserArrangements;
}

}  // namespace vx
