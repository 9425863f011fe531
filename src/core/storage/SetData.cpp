#include "core/storage/SetData.h"

#include "core/format/ItemFile.h"

namespace vx {

namespace {

// Reads into a fresh image and hands it over only when the whole file was read.
template <typename Image>
LoadStatus LoadFresh(const ItemFile& file, Image& target, LoadStatus (*load)(const ItemFile&, Image&)) {
    Image loaded;
    if (auto status = load(file, loaded); !status) return status;
    target = std::move(loaded);
    return {};
}

}  // namespace

LoadStatus LoadKind(const ItemFile& file, ItemKind kind, SetData& data) {
    // Saving a file cut short at the limit would lose its end: it is never loaded.
    if (!file.Complete())
        return file.Fault(kind, kMaxItemFileBytes,
                          "the file is larger than the " + std::to_string(kMaxItemFileBytes) + " bytes of any set file");
    switch (kind) {
        case ItemKind::Arrangement:
            return LoadFresh(file, data.arr, &LoadArr);
        case ItemKind::Style:
            return LoadFresh(file, data.sty, &LoadSty);
        case ItemKind::Program:
            return LoadFresh(file, data.prg, &LoadPrg);
        case ItemKind::BackingSequence:
            return LoadFresh(file, data.bsq, &LoadBsq);
        case ItemKind::Song:
            return LoadFresh(file, data.sng, &LoadSng);
        case ItemKind::KbdSet:
            return LoadFresh(file, data.ark, &LoadArk);
        case ItemKind::ArrangementGlobal:
            return LoadFresh(file, data.arg, &LoadArg);
        case ItemKind::Global:
            return LoadFresh(file, data.gbl, &LoadGbl);
        default:
            return LoadError{kind, file.Path(), LoadError::kWholeFile, file.Path() + " is not a file of a set"};
    }
}

Bytes SerializeKind(const SetData& data, ItemKind kind) {
    switch (kind) {
        case ItemKind::Arrangement:
            return SerializeArr(data.arr);
        case ItemKind::Style:
            return SerializeSty(data.sty);
        case ItemKind::Program:
            return SerializePrg(data.prg);
        case ItemKind::BackingSequence:
            return SerializeBsq(data.bsq);
        case ItemKind::Song:
            return SerializeSng(data.sng);
        case ItemKind::KbdSet:
            return SerializeArk(data.ark);
        case ItemKind::ArrangementGlobal:
            return SerializeArg(data.arg);
        case ItemKind::Global:
            return SerializeGbl(data.gbl);
        default:
            return {};
    }
}

}  // namespace vx
