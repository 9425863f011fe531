#include "core/globals/GlobalFiles.h"

#include "core/format/ItemFile.h"

namespace vx {

namespace {

template <typename Record>
LoadStatus LoadGlobalItem(const ItemFile& file, ItemKind kind, SetGlobalItem<Record>& out) {
    constexpr std::size_t kEnd = kGlobalHeaderSize + Record::kSize;
    SetGlobalItem<Record> loaded;
    if (!file.Read(0, loaded.header.size(), loaded.header.data()))
        return file.ReadFault(kind, 0, loaded.header.size(), "the header");
    if (!file.Read(kGlobalHeaderSize, Record::kSize, loaded.record.bytes.data()))
        return file.ReadFault(kind, kGlobalHeaderSize, Record::kSize, "the settings");
    if (!file.ReadInto(kEnd, file.Size() - kEnd, loaded.trailing))
        return file.ReadFault(kind, kEnd, file.Size() - kEnd, "the bytes past the settings");
    out = std::move(loaded);
    return {};
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

LoadStatus LoadArg(const ItemFile& file, SetArrangementGlobal& out) {
    return LoadGlobalItem(file, ItemKind::ArrangementGlobal, out);
}
Bytes SerializeArg(const SetArrangementGlobal& data) { return SerializeGlobalItem(data); }
LoadStatus LoadGbl(const ItemFile& file, SetGlobal& out) { return LoadGlobalItem(file, ItemKind::Global, out); }
Bytes SerializeGbl(const SetGlobal& data) { return SerializeGlobalItem(data); }

}  // namespace vx
