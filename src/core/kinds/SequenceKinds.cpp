#include "core/kinds/KindParts.h"
#include "core/sequences/EventMemory.h"
#include "core/text/Helpers.h"

namespace vx {

namespace {

// Backing sequences and songs: ten entries each, in a list. Their events share one memory, so
// every write lays that memory out again and a write that does not fit it is refused. An entry
// chains to another by position, and a drop inside the set inserts it before the one dropped on.
template <typename Entry, typename Sequences>
class SequenceKind : public EditableKind,
                     public CallingKind,
                     public TurningKind,
                     public EventMemoryKind,
                     public ChainingKind,
                     public InsertingDropKind {
public:
    using Record = decltype(Entry::record);

    // trackOwner names the caller in the missing-program question ("BackSeq", "Song").
    SequenceKind(ItemKind kind, std::string_view noun, std::string_view trackOwner, Sequences SetData::*sequences,
                 Entry BlankItems::*blank)
        : EditableKind(kind, noun, kSequenceCount, AllCommands()),
          trackOwner_(trackOwner),
          sequences_(sequences),
          blank_(blank) {}

    int ViewNumberOf(int slot) const override { return slot; }
    int SlotOfNumber(int number) const override { return number >= 0 && number < kSequenceCount ? number : -1; }
    std::string Label(int slot) const override { return std::to_string(slot); }
    int SlotOfLabel(std::string_view label) const override {
        return label.size() == 1 && label[0] >= '0' && label[0] <= '9' ? label[0] - '0' : -1;
    }

    EditItem Read(const SetData& data, int slot) const override { return At(data, slot); }
    void Write(SetData& data, int slot, const EditItem& item) const override { At(data, slot) = std::get<Entry>(item); }
    EditItem Blank(const BlankItems& blank) const override { return blank.*blank_; }
    std::string Name(const EditItem& item) const override { return std::get<Entry>(item).record.Name(); }
    bool IsEmpty(const EditItem& item) const override { return std::get<Entry>(item).IsEmpty(); }
    std::string_view NameAt(const SetData& data, int slot) const override {
        return NameIn(At(data, slot).record, Record::kNameOffset);
    }
    bool IsEmptyAt(const SetData& data, int slot) const override { return At(data, slot).IsEmpty(); }
    EditItem TakeOut(SetData& data, int slot) const override { return std::move(At(data, slot)); }

    SlotRange ShiftRange(int slot) const override {
        return slot >= 0 && slot < kSequenceCount ? SlotRange{0, kSequenceCount - 1} : SlotRange{};
    }
    SlotRange EraseRange(int) const override { return {0, kSequenceCount - 1}; }

    const CallingKind* Calling() const override { return this; }
    const TurningKind* Turning() const override { return this; }
    const EventMemoryKind* EventMemory() const override { return this; }
    const ChainingKind* Chaining() const override { return this; }
    const InsertingDropKind* InsertingDrop() const override { return this; }

    // CallingKind
    std::string MissingCallQuestion(const MissingCall& call) const override {
        const std::string noun(Noun());
        if (call.called == ItemKind::Program)
            return MissingProgramQuestion(std::string(trackOwner_) + " '" + call.callerName + "'", call, "\n\n");
        const std::string called = call.called == ItemKind::Arrangement ? "Arrangement" : "Style";
        return noun + " '" + call.callerName + "' calls " + called + " '" + call.calledName + "' non-existent in '" +
               call.setName + "'\n\nRedirect this " + noun + " to an existing " + called + "?";
    }
    std::string CallerName(const EditItem& item, int) const override {
        return TrimBlanks(std::get<Entry>(item).record.Name());
    }

    // TurningKind
    void Turn(SetData& data, int first, int last, bool up) const override {
        TurnSlots((data.*sequences_).entries, first, last, up);
    }

    // EventMemoryKind
    int EventUnits(const EditItem& item) const override { return std::get<Entry>(item).total; }
    std::optional<std::string> RefuseEventMemory(const SetData& data, int unitsIn, int unitsOut,
                                                 std::string_view what) const override {
        return EventMemoryRefusal(data.bsq, data.sng, IsBackingSequences(), unitsIn, unitsOut, what);
    }
    KindMask LayOut(SetData& data) const override {
        if (!IsBackingSequences()) {
            LayOutAfterSongs(data.sng);
            return 0;
        }
        return LayOutAfterBackingSequences(data.bsq, data.sng) ? MaskOf(ItemKind::Song) : 0;
    }
    // Erased backing sequences start at 8192 again; erased songs right after the backing sequences.
    void RestartRegion(SetData& data) const override {
        if (IsBackingSequences())
            data.bsq.offsets[0][0] = kErasedSequencesStart;
        else
            data.sng.offsets[0][0] = data.bsq.endOffset;
    }

    // ChainingKind: a stored chain byte above 9 names no entry and stays as stored.
    std::optional<EditItem> RenumberChain(const EditItem& item, const std::vector<int>& newPlace) const override {
        Entry entry = std::get<Entry>(item);
        const int next = entry.record.NextRaw();
        if (next < 0 || next >= static_cast<int>(newPlace.size()) || newPlace[static_cast<std::size_t>(next)] == next)
            return std::nullopt;
        entry.record.SetNext(newPlace[static_cast<std::size_t>(next)]);
        return entry;
    }

    // InsertingDropKind
    std::string InsertBeforeQuestion(int from, int to) const override {
        return "Insert " + std::string(Noun()) + " " + std::to_string(from) + " before " + std::to_string(to) + " ?";
    }

private:
    bool IsBackingSequences() const { return Kind() == ItemKind::BackingSequence; }
    Entry& At(SetData& data, int slot) const { return (data.*sequences_).entries[static_cast<std::size_t>(slot)]; }
    const Entry& At(const SetData& data, int slot) const {
        return (data.*sequences_).entries[static_cast<std::size_t>(slot)];
    }

    std::string_view trackOwner_;
    Sequences SetData::*sequences_;
    Entry BlankItems::*blank_;
};

using BackingSequenceKind = SequenceKind<BsqEntry, SetBackingSequences>;

// A song restore writes the table of 100 values and the pattern map; Undo puts them back.
class SongKind final : public SequenceKind<SongEntry, SetSongs>, public TablesKind {
public:
    SongKind() : SequenceKind(ItemKind::Song, "Song", "Song", &SetData::sng, &BlankItems::song) {}

    const TablesKind* Tables() const override { return this; }
    SongTables TablesOf(const SetData& data) const override { return vx::TablesOf(data.sng); }
    void PutTables(SetData& data, const SongTables& tables) const override { vx::PutTables(data.sng, tables); }
};

}  // namespace

const EditableKind& BackingSequences() {
    static const BackingSequenceKind kind(ItemKind::BackingSequence, "Backing Sequence", "BackSeq", &SetData::bsq,
                                          &BlankItems::backingSequence);
    return kind;
}

const EditableKind& Songs() {
    static const SongKind kind;
    return kind;
}

}  // namespace vx
