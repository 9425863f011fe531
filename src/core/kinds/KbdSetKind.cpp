#include "core/kbdsets/KbdSetFile.h"
#include "core/kinds/KindParts.h"

namespace vx {

namespace {

// KBD sets: 64 unnamed records in an 8 by 8 grid labelled "11" to "88". Nothing calls them, they
// have no Cut, Delete or Insert, and a drop inside the set inserts before the one dropped on.
class KbdSetKind final : public EditableKind, public CallingKind, public TurningKind, public InsertingDropKind {
public:
    KbdSetKind()
        : EditableKind(ItemKind::KbdSet, "KBD Set", kKbdSetCount,
                       CommandSet({EditCommand::Copy, EditCommand::Paste, EditCommand::EraseBank, EditCommand::Undo,
                                   EditCommand::Drop})) {}

    int ViewNumberOf(int slot) const override { return slot; }
    int SlotOfNumber(int number) const override { return number >= 0 && number < kKbdSetCount ? number : -1; }
    std::string Label(int slot) const override { return KbdLabel(slot); }
    int SlotOfLabel(std::string_view label) const override {
        if (label.size() != 2 || label[0] < '1' || label[0] > '8' || label[1] < '1' || label[1] > '8') return -1;
        return (label[0] - '1') * 8 + (label[1] - '1');
    }

    EditItem Read(const SetData& data, int slot) const override { return data.ark.records[Index(slot)]; }
    void Write(SetData& data, int slot, const EditItem& item) const override {
        data.ark.records[Index(slot)] = std::get<KbdSetRecord>(item);
    }
    EditItem Blank(const BlankItems& blank) const override { return blank.kbdSet; }
    std::string Name(const EditItem&) const override { return {}; }
    bool IsEmpty(const EditItem&) const override { return false; }
    std::string_view NameAt(const SetData&, int) const override { return {}; }
    bool IsEmptyAt(const SetData&, int) const override { return false; }

    SlotRange EraseRange(int) const override { return {0, kKbdSetCount - 1}; }

    const CallingKind* Calling() const override { return this; }
    const TurningKind* Turning() const override { return this; }
    const InsertingDropKind* InsertingDrop() const override { return this; }

    // CallingKind
    std::string MissingCallQuestion(const MissingCall& call) const override {
        return MissingProgramQuestion("KBD Set '" + call.callerName + "'", call, "\n\n");
    }
    std::string CallerName(const EditItem&, int slot) const override { return KbdLabel(slot); }

    // TurningKind
    void Turn(SetData& data, int first, int last, bool up) const override {
        TurnSlots(data.ark.records, first, last, up);
    }

    // InsertingDropKind
    std::string InsertBeforeQuestion(int from, int to) const override {
        return "Insert KBD Set " + KbdLabel(from) + " before " + KbdLabel(to) + " ?";
    }

private:
    static std::size_t Index(int slot) { return static_cast<std::size_t>(slot); }
};

}  // namespace

const EditableKind& KbdSets() {
    static const KbdSetKind kind;
    return kind;
}

}  // namespace vx
