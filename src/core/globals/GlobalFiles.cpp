#include "core/globals/GlobalFiles.h"

#include "core/format/ItemFile.h"

namespace vx {

namespace {

template <typename Record>
bool LoadGlobalItem(const ItemFile& file, SetGlobalItem<Record>& out) {
    constexpr std::size_t kEnd = kGlobalHeaderSize + Record::kSize;
    if (file.Size() < kEnd) return false;
    SetGlobalItem<Record> loaded;
    if (!file.Read(0, loaded.header.size(), loaded.header.data())) return false;
    if (!file.Read(kGlobalHeaderSize, Record::kSize, loaded.record.bytes.data())) return false;
    if (!file.ReadInto(kEnd, file.Size() - kEnd, loaded.trailing)) return false;
    out = std::move(loaded);
    return true;
}

template <typename Record>
Bytes SerializeGlobalItem(const SetGlobalItem<Record>& data) {
    Bytes out;
    out.reserve(kGlobalHeaderSize + Record::kSize + data.trailing.size());
    AppendBytes(out, data.header.data(), data.header.size());
    data.record.AppendTo(out);
    AppendBytes(out, data.trailing);
    return out;
}

}  // namespace

bool LoadArg(const ItemFile& file, SetArrangementGlobal& out) { return LoadGlobalItem(file, out); }
Bytes SerializeArg(const SetArrangementGlobal& data) { return SerializeGlobalItem(data); }
bool LoadGbl(const ItemFile& file, SetGlobal& out) { return LoadGlobalItem(file, out); }
Bytes SerializeGbl(const SetGlobal& data) { return SerializeGlobalItem(data); }

}  // namespace vx
