#include "editing/KindDescriptor.h"
#include "sequences/SequenceFiles.h"

namespace vx {

namespace {

// Backing sequences and songs: ten entries each, in a list. Their commands (and the shared
// event memory that may refuse a paste) are not switched on yet.
template <typename Entry, typename Sequences>
KindDescriptor MakeSequences(ItemKind kind, std::string_view noun, Sequences SetData::*member,
                             Entry BlankItems::*blankMember) {
    static Sequences SetData::*const sequences = member;
    static Entry BlankItems::*const blankEntry = blankMember;
    KindDescriptor d;
    d.kind = kind;
    d.noun = noun;
    d.slotCount = kSequenceCount;
    d.numberOf = [](int) { return -1; };
    d.viewNumberOf = [](int slot) { return slot; };
    d.slotOfNumber = [](int number) { return number >= 0 && number < kSequenceCount ? number : -1; };
    d.label = [](int slot) { return std::to_string(slot); };
    d.slotOfLabel = [](std::string_view label) {
        return label.size() == 1 && label[0] >= '0' && label[0] <= '9' ? label[0] - '0' : -1;
    };
    d.read = [](const SetData& data, int slot) -> EditItem {
        return (data.*sequences).entries[static_cast<std::size_t>(slot)];
    };
    d.write = [](SetData& data, int slot, const EditItem& item) {
        (data.*sequences).entries[static_cast<std::size_t>(slot)] = std::get<Entry>(item);
        RebuildOffsets(data.*sequences);
    };
    d.blank = [](const BlankItems& blank) -> EditItem { return blank.*blankEntry; };
    d.name = [](const EditItem& item) { return std::get<Entry>(item).record.Name(); };
    d.isEmpty = [](const EditItem& item) { return std::get<Entry>(item).IsEmpty(); };
    d.shiftRange = [](int slot) {
        return slot >= 0 && slot < kSequenceCount ? SlotRange{0, kSequenceCount - 1} : SlotRange{};
    };
    d.eraseRange = [](int) { return SlotRange{0, kSequenceCount - 1}; };
    d.dropInSet = DropInSet::InsertBefore;
    return d;
}

}  // namespace

const KindDescriptor& BackingSequenceDescriptor() {
    static const KindDescriptor descriptor = MakeSequences<BsqEntry>(ItemKind::BackingSequence, "Backing Sequence",
                                                                     &SetData::bsq, &BlankItems::backingSequence);
    return descriptor;
}

const KindDescriptor& SongDescriptor() {
    static const KindDescriptor descriptor =
        MakeSequences<SongEntry>(ItemKind::Song, "Song", &SetData::sng, &BlankItems::song);
    return descriptor;
}

}  // namespace vx
