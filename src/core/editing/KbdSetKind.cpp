#include "core/editing/KindDescriptor.h"
#include "core/kbdsets/KbdSetFile.h"

namespace vx {

namespace {

KindDescriptor Make() {
    KindDescriptor d;
    d.kind = ItemKind::KbdSet;
    d.noun = "KBD Set";
    d.slotCount = kKbdSetCount;
    d.commands =
        Commands({EditCommand::Copy, EditCommand::Paste, EditCommand::EraseBank, EditCommand::Undo, EditCommand::Drop});
    // Nothing calls a KBD set.
    d.numberOf = [](int) { return -1; };
    d.viewNumberOf = [](int slot) { return slot; };
    d.slotOfNumber = [](int number) { return number >= 0 && number < kKbdSetCount ? number : -1; };
    d.label = KbdLabel;
    d.slotOfLabel = [](std::string_view label) {
        if (label.size() != 2 || label[0] < '1' || label[0] > '8' || label[1] < '1' || label[1] > '8') return -1;
        return (label[0] - '1') * 8 + (label[1] - '1');
    };
    d.read = [](const SetData& data, int slot) -> EditItem { return data.ark.records[static_cast<std::size_t>(slot)]; };
    d.write = [](SetData& data, int slot, const EditItem& item) {
        data.ark.records[static_cast<std::size_t>(slot)] = std::get<KbdSetRecord>(item);
    };
    d.blank = [](const BlankItems& blank) -> EditItem { return blank.kbdSet; };
    d.name = [](const EditItem&) { return std::string(); };
    d.isEmpty = [](const EditItem&) { return false; };
    d.turn = [](SetData& data, int first, int last, bool up) { TurnSlots(data.ark.records, first, last, up); };
    d.shiftRange = [](int) { return SlotRange{}; };
    d.eraseRange = [](int) { return SlotRange{0, kKbdSetCount - 1}; };
    d.missingCallQuestion = [](const MissingCall& call) {
        return MissingProgramQuestion("KBD Set '" + call.callerName + "'", call, "\n\n");
    };
    d.callerName = [](const EditItem&, int slot) { return KbdLabel(slot); };
    d.dropInSet = DropInSet::InsertBefore;
    d.insertBeforeQuestion = [](int from, int to) {
        return "Insert KBD Set " + KbdLabel(from) + " before " + KbdLabel(to) + " ?";
    };
    return d;
}

}  // namespace

const KindDescriptor& KbdSetDescriptor() {
    static const KindDescriptor descriptor = Make();
    return descriptor;
}

}  // namespace vx
