#include "core/programs/ProgramFile.h"

#include "core/format/ItemFile.h"

namespace vx {

namespace {

constexpr std::size_t kRecordsStart = kPrgHeaderSize;                                         // 48
constexpr std::size_t kDrumKitsStart = kRecordsStart + kUserPrograms * ProgramRecord::kSize;  // 23440

}  // namespace

LoadStatus LoadPrg(const ItemFile& file, SetPrograms& out) {
    constexpr ItemKind kKind = ItemKind::Program;
    // Every part of the file has a fixed place: a shorter file is incomplete.
    if (file.Size() < static_cast<std::size_t>(kPrgFileSize))
        return file.Fault(kKind, file.Size(),
                          "the file ends after " + std::to_string(file.Size()) + " of its " +
                              std::to_string(kPrgFileSize) + " bytes");
    SetPrograms loaded;
    if (!file.Read(0, loaded.header.size(), loaded.header.data()))
        return file.ReadFault(kKind, 0, loaded.header.size(), "the header");
    for (std::size_t i = 0; i < loaded.records.size(); ++i) {
        auto& record = loaded.records[i];
        const std::size_t at = kRecordsStart + ProgramRecord::kSize * i;
        if (!file.Read(at, record.kSize, record.bytes.data())) return file.ReadFault(kKind, at, record.kSize, "a program");
    }
    for (std::size_t i = 0; i < loaded.drumKits.size(); ++i) {
        const std::size_t at = kDrumKitsStart + kDrumKitDataSize * i;
        if (!file.Read(at, kDrumKitDataSize, loaded.drumKits[i].data()))
            return file.ReadFault(kKind, at, kDrumKitDataSize, "a drum kit");
    }
    if (!file.ReadInto(kPrgFileSize, file.Size() - kPrgFileSize, loaded.trailing))
        return file.ReadFault(kKind, kPrgFileSize, file.Size() - kPrgFileSize, "the bytes past the data");
    out = std::move(loaded);
    return {};
}

Bytes SerializePrg(const SetPrograms& data) {
    Bytes out;
    out.reserve(kPrgFileSize + data.trailing.size());
    AppendBytes(out, data.header.data(), data.header.size());
    for (const auto& record : data.records) record.AppendTo(out);
    for (const auto& kit : data.drumKits) AppendBytes(out, kit.data(), kit.size());
    AppendBytes(out, data.trailing);
    return out;
}

}  // namespace vx
