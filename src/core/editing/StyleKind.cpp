#include <algorithm>

#include "core/editing/KindDescriptor.h"
#include "core/interaction/Interaction.h"
#include "core/selection/ItemNumbers.h"
#include "core/text/Helpers.h"

namespace vx {

namespace {

const StyleSlot& Sty(const EditItem& item) { return std::get<StyleSlot>(item); }

// The events a pasted style needs: its event bytes over 4, to the nearest whole event (a half
// to the even neighbour).
int EventsNeeded(int size) {
    const int bytes = size - kEmptyStyleSize;
    int events = bytes >= 0 ? bytes / 4 : -((-bytes + 3) / 4);
    const int rest = bytes - 4 * events;  // 0 to 3
    if (rest > 2 || (rest == 2 && events % 2 != 0)) ++events;
    return events;
}

// A block of four styles shares one pool of events: a style that does not fit what the
// destination block has free, once the destination's own style is gone, is refused. A move
// inside one block leaves the block's total as it was.
std::optional<std::string> RefuseOverBudget(const SetData& data, int slot, const EditItem& item, int movedFrom) {
    if (movedFrom >= 0 && movedFrom / kStylesPerBlock == slot / kStylesPerBlock) return std::nullopt;
    const int needed = EventsNeeded(Sty(item).size);
    const int available = StyleEventsUsed(data.sty, slot) + BlockEventsFree(data.sty, slot);
    if (needed <= available) return std::nullopt;
    return "Pasted Style (" + std::to_string(needed) + " events) is too big for destination\nBlock, where only " +
           std::to_string(available) + " events are available.";
}

// Styles have no Delete and no Insert.
KindDescriptor Make() {
    KindDescriptor d;
    d.kind = ItemKind::Style;
    d.noun = "Style";
    d.slotCount = kUserStyles;
    d.commands = Commands({EditCommand::Cut, EditCommand::Copy, EditCommand::Paste, EditCommand::EraseBank,
                           EditCommand::Undo, EditCommand::Drop});
    d.numberOf = StyNumberOfUserIndex;
    d.numberLimit = kFirstUserStyle + kUserStyles;
    d.viewNumberOf = StyNumberOfUserIndex;
    d.slotOfNumber = StyUserIndexOf;
    d.label = [](int slot) { return StyLabel(StyNumberOfUserIndex(slot)); };
    d.slotOfLabel = [](std::string_view label) { return StyUserIndexOf(BankedNumberOfLabel(1, label)); };
    d.read = [](const SetData& data, int slot) -> EditItem { return data.sty.slots[static_cast<std::size_t>(slot)]; };
    d.write = [](SetData& data, int slot, const EditItem& item) {
        // The slot's place in the file's directory stays; its content moves.
        StyleSlot& target = data.sty.slots[static_cast<std::size_t>(slot)];
        const std::uint8_t slotByte = target.slotByte;
        target = Sty(item);
        target.slotByte = slotByte;
    };
    d.blank = [](const BlankItems& blank) -> EditItem { return blank.style; };
    d.name = [](const EditItem& item) { return Sty(item).record.Name(); };
    d.nameAt = [](const SetData& data, int slot) {
        return NameIn(data.sty.slots[static_cast<std::size_t>(slot)].record);
    };
    d.isEmptyAt = [](const SetData& data, int slot) {
        return data.sty.slots[static_cast<std::size_t>(slot)].IsEmpty();
    };
    d.takeOut = [](SetData& data, int slot) -> EditItem {
        return std::move(data.sty.slots[static_cast<std::size_t>(slot)]);
    };
    d.isEmpty = [](const EditItem& item) { return Sty(item).IsEmpty(); };
    // Only the slots the style file holds, four per block, take part.
    d.findByName = [](const SetData& data, const std::string& name) {
        const int slots = std::min(kUserStyles, data.sty.blockCount * kStylesPerBlock);
        for (int slot = 0; slot < slots; ++slot)
            if (NameIn(data.sty.slots[static_cast<std::size_t>(slot)].record) == name) return slot;
        return -1;
    };
    d.shiftRange = [](int) { return SlotRange{}; };
    d.eraseRange = [](int bank) { return bank == 2 ? SlotRange{0, kUserStyles - 1} : SlotRange{}; };
    d.referenceQuestion = [](const std::string& name) {
        return name +
               " Style is referenced by one\nor more Arrangements or Backing Sequences.\nChange references to another "
               "Style?";
    };
    d.cancelledPickCallsNothing = true;
    d.pick = [](Interaction& ui, int set, int start, const std::string& addition) {
        return ui.PickStyle(set, start, addition);
    };
    d.missingCallQuestion = [](const MissingCall& call) {
        return MissingProgramQuestion("Style '" + call.callerName + "'", call, "\n");
    };
    d.callerName = [](const EditItem& item, int) { return TrimBlanks(Sty(item).record.Name()); };
    d.refuseWrite = RefuseOverBudget;
    d.dropInSet = DropInSet::Move;
    d.duplicateRuns = {{0, kUserStyles - 1}};
    return d;
}

}  // namespace

const KindDescriptor& StyleDescriptor() {
    static const KindDescriptor descriptor = Make();
    return descriptor;
}

}  // namespace vx
