#include <algorithm>

#include "document/Helpers.h"
#include "editing/KindDescriptor.h"
#include "interaction/Interaction.h"
#include "selection/ItemNumbers.h"

namespace vx {

namespace {

const StyleSlot& Sty(const EditItem& item) { return std::get<StyleSlot>(item); }

// The style commands (and the event budget that may refuse a paste) are not switched on yet;
// what is here serves the caller lists, the duplicate-name warning and the label lookups.
KindDescriptor Make() {
    KindDescriptor d;
    d.kind = ItemKind::Style;
    d.noun = "Style";
    d.slotCount = kUserStyles;
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
    d.isEmpty = [](const EditItem& item) { return Sty(item).IsEmpty(); };
    // Only the slots the style file holds, four per block, take part.
    d.findByName = [](const SetData& data, const std::string& name) {
        const int slots = std::min(kUserStyles, data.sty.blockCount * kStylesPerBlock);
        for (int slot = 0; slot < slots; ++slot)
            if (data.sty.slots[static_cast<std::size_t>(slot)].record.Name() == name) return slot;
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
