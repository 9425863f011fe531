#include <type_traits>

#include "core/editing/KindDescriptor.h"
#include "core/sequences/EventMemory.h"
#include "core/text/Helpers.h"

namespace vx {

namespace {

// The chain byte of a record ("next"): a stored value above 9 names no entry and stays as stored.
template <typename Record>
constexpr std::size_t kChainByte = std::is_same_v<Record, BsqRecord> ? 79 : 52;
// Where the record's name starts.
template <typename Record>
constexpr std::size_t kNameOffset = std::is_same_v<Record, BsqRecord> ? 0 : 54;

// What differs between backing sequences and songs beyond their records.
struct SequenceTraits {
    std::string_view noun;
    std::string_view trackOwner;  // in the missing-program question: "BackSeq", "Song"
    bool backingSequences;
};

// Backing sequences and songs: ten entries each, in a list. Their events share one memory, so
// every write lays that memory out again and a write that does not fit it is refused.
template <typename Entry, typename Sequences>
KindDescriptor MakeSequences(ItemKind kind, const SequenceTraits& traits, Sequences SetData::*member,
                             Entry BlankItems::*blankMember) {
    using Record = decltype(Entry::record);
    static Sequences SetData::*const sequences = member;
    static Entry BlankItems::*const blankEntry = blankMember;
    static const SequenceTraits t = traits;
    KindDescriptor d;
    d.kind = kind;
    d.noun = t.noun;
    d.slotCount = kSequenceCount;
    d.commands = AllCommands();
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
    };
    d.blank = [](const BlankItems& blank) -> EditItem { return blank.*blankEntry; };
    d.name = [](const EditItem& item) { return std::get<Entry>(item).record.Name(); };
    d.nameAt = [](const SetData& data, int slot) {
        return NameIn((data.*sequences).entries[static_cast<std::size_t>(slot)].record, kNameOffset<Record>);
    };
    d.isEmptyAt = [](const SetData& data, int slot) {
        return (data.*sequences).entries[static_cast<std::size_t>(slot)].IsEmpty();
    };
    d.takeOut = [](SetData& data, int slot) -> EditItem {
        return std::move((data.*sequences).entries[static_cast<std::size_t>(slot)]);
    };
    d.isEmpty = [](const EditItem& item) { return std::get<Entry>(item).IsEmpty(); };
    d.turn = [](SetData& data, int first, int last, bool up) { TurnSlots((data.*sequences).entries, first, last, up); };
    d.shiftRange = [](int slot) {
        return slot >= 0 && slot < kSequenceCount ? SlotRange{0, kSequenceCount - 1} : SlotRange{};
    };
    d.eraseRange = [](int) { return SlotRange{0, kSequenceCount - 1}; };
    d.missingCallQuestion = [](const MissingCall& call) {
        const std::string caller = std::string(t.noun) + " '" + call.callerName + "'";
        if (call.called == ItemKind::Program)
            return MissingProgramQuestion(std::string(t.trackOwner) + " '" + call.callerName + "'", call, "\n\n");
        const std::string called = call.called == ItemKind::Arrangement ? "Arrangement" : "Style";
        return caller + " calls " + called + " '" + call.calledName + "' non-existent in '" + call.setName +
               "'\n\nRedirect this " + std::string(t.noun) + " to an existing " + called + "?";
    };
    d.callerName = [](const EditItem& item, int) { return TrimBlanks(std::get<Entry>(item).record.Name()); };

    d.eventUnits = [](const EditItem& item) { return std::get<Entry>(item).total; };
    d.refuseEventMemory = [](const SetData& data, int unitsIn, int unitsOut, std::string_view what) {
        return EventMemoryRefusal(data.bsq, data.sng, t.backingSequences, unitsIn, unitsOut, what);
    };
    d.layOut = [](SetData& data) -> KindMask {
        if (!t.backingSequences) {
            LayOutAfterSongs(data.sng);
            return 0;
        }
        return LayOutAfterBackingSequences(data.bsq, data.sng) ? MaskOf(ItemKind::Song) : 0;
    };
    // Erased backing sequences start at 8192 again; erased songs right after the backing sequences.
    d.restartRegion = [](SetData& data) {
        if (t.backingSequences)
            data.bsq.offsets[0][0] = kErasedSequencesStart;
        else
            data.sng.offsets[0][0] = data.bsq.endOffset;
    };
    // A song restore writes the table of 100 values and the pattern map; Undo puts them back.
    if (!t.backingSequences) {
        d.tablesOf = [](const SetData& data) { return TablesOf(data.sng); };
        d.putTables = [](SetData& data, const SongTables& tables) { PutTables(data.sng, tables); };
    }
    d.renumberChain = [](const EditItem& item, const std::vector<int>& newPlace) -> std::optional<EditItem> {
        Entry entry = std::get<Entry>(item);
        const int next = entry.record.Byte(kChainByte<Record>);
        if (next < 0 || next >= static_cast<int>(newPlace.size()) || newPlace[static_cast<std::size_t>(next)] == next)
            return std::nullopt;
        entry.record.SetByte(kChainByte<Record>, static_cast<std::uint8_t>(newPlace[static_cast<std::size_t>(next)]));
        return entry;
    };
    d.dropInSet = DropInSet::InsertBefore;
    d.insertBeforeQuestion = [](int from, int to) {
        return "Insert " + std::string(t.noun) + " " + std::to_string(from) + " before " + std::to_string(to) + " ?";
    };
    return d;
}

}  // namespace

const KindDescriptor& BackingSequenceDescriptor() {
    static const KindDescriptor descriptor = MakeSequences<BsqEntry>(
        ItemKind::BackingSequence, {"Backing Sequence", "BackSeq", true}, &SetData::bsq, &BlankItems::backingSequence);
    return descriptor;
}

const KindDescriptor& SongDescriptor() {
    static const KindDescriptor descriptor =
        MakeSequences<SongEntry>(ItemKind::Song, {"Song", "Song", false}, &SetData::sng, &BlankItems::song);
    return descriptor;
}

}  // namespace vx
