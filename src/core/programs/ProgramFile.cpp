#include "core/programs/ProgramFile.h"

#include "core/format/ItemFile.h"

namespace vx {

namespace {

constexpr std::size_t kRecordsStart = kPrgHeaderSize;                                         // 48
constexpr std::size_t kDrumKitsStart = kRecordsStart + kUserPrograms * ProgramRecord::kSize;  // 23440

}  // namespace

bool LoadPrg(const ItemFile& file, SetPrograms& out) {
    // Every part of the file has a fixed place: a shorter file is incomplete.
    if (file.Size() < static_cast<std::size_t>(kPrgFileSize)) return false;
    SetPrograms loaded;
    if (!file.Read(0, loaded.header.size(), loaded.header.data())) return false;
    for (std::size_t i = 0; i < loaded.records.size(); ++i) {
        auto& record = loaded.records[i];
        if (!file.Read(kRecordsStart + ProgramRecord::kSize * i, record.kSize, record.bytes.data())) return false;
    }
    for (std::size_t i = 0; i < loaded.drumKits.size(); ++i) {
        if (!file.Read(kDrumKitsStart + kDrumKitDataSize * i, kDrumKitDataSize, loaded.drumKits[i].data()))
            return false;
    }
    if (!file.ReadInto(kPrgFileSize, file.Size() - kPrgFileSize, loaded.trailing)) return false;
    out = std::move(loaded);
    return true;
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
