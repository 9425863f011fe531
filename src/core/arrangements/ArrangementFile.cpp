#include "core/arrangements/ArrangementFile.h"

#include "core/format/ItemFile.h"

namespace vx {

namespace {

constexpr std::size_t kDataLengthOffset = 24;
constexpr std::size_t kRecordsEnd = kArrHeaderSize + kArrRecordsSize;  // 21024

}  // namespace

bool LoadArr(const ItemFile& file, SetArrangements& out) {
    SetArrangements loaded;
    if (!file.Read(0, loaded.header.size(), loaded.header.data())) return false;
    std::uint16_t length = 0;
    if (!file.ReadWord(kDataLengthOffset, length)) return false;
    loaded.dataLength = static_cast<std::int16_t>(length);
    // The records alone are 20992 bytes; a shorter (or negative) length cannot describe this file.
    if (loaded.dataLength < kArrRecordsSize) return false;
    const std::size_t end = kArrHeaderSize + static_cast<std::size_t>(loaded.dataLength);
    if (end > file.Size()) return false;

    for (std::size_t slot = 0; slot < loaded.arr.size(); ++slot) {
        auto& record = loaded.arr[slot];
        if (!file.Read(kArrHeaderSize + ArrangementRecord::kSize * slot, record.kSize, record.bytes.data()))
            return false;
    }
    if (!file.ReadInto(kRecordsEnd, end - kRecordsEnd, loaded.tail)) return false;
    if (!file.ReadInto(end, file.Size() - end, loaded.trailing)) return false;
    out = std::move(loaded);
    return true;
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
