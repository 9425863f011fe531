#include <algorithm>

#include "core/interaction/Interaction.h"
#include "core/kinds/KindParts.h"
#include "core/selection/ItemNumbers.h"
#include "core/text/Helpers.h"

namespace vx {

namespace {

const StyleSlot& Sty(const EditItem& item) { return std::get<StyleSlot>(item); }

// The bank of the user styles in the tab's bank list (C).
constexpr int kUserBank = 2;

// The events a pasted style needs: its event bytes over 4, to the nearest whole event (a half
// to the even neighbour).
int EventsNeeded(int size) {
    const int bytes = size - kEmptyStyleSize;
    int events = bytes >= 0 ? bytes / 4 : -((-bytes + 3) / 4);
    const int rest = bytes - 4 * events;  // 0 to 3
    if (rest > 2 || (rest == 2 && events % 2 != 0)) ++events;
    return events;
}

// User styles: one bank of 48, in blocks of four sharing a pool of events. Styles have no
// Delete and no Insert, so their slots never turn.
class StyleKind final : public EditableKind, public CalledKind, public CallingKind {
public:
    StyleKind()
        : EditableKind(ItemKind::Style, "Style", kUserStyles,
                       CommandSet({EditCommand::Cut, EditCommand::Copy, EditCommand::Paste, EditCommand::EraseBank,
                                   EditCommand::Undo, EditCommand::Drop})) {}

    int ViewNumberOf(int slot) const override { return StyNumberOfUserIndex(slot); }
    int SlotOfNumber(int number) const override { return StyUserIndexOf(number); }
    std::string Label(int slot) const override { return StyLabel(StyNumberOfUserIndex(slot)); }
    int SlotOfLabel(std::string_view label) const override {
        return StyUserIndexOf(BankedNumberOfLabel(KindIndex(ItemKind::Style), label));
    }

    EditItem Read(const SetData& data, int slot) const override { return data.sty.slots[Index(slot)]; }
    void Write(SetData& data, int slot, const EditItem& item) const override {
        // The slot's place in the file's directory stays; its content moves.
        StyleSlot& target = data.sty.slots[Index(slot)];
        const std::uint8_t slotByte = target.slotByte;
        target = Sty(item);
        target.slotByte = slotByte;
    }
    EditItem Blank(const BlankItems& blank) const override { return blank.style; }
    std::string Name(const EditItem& item) const override { return Sty(item).record.Name(); }
    bool IsEmpty(const EditItem& item) const override { return Sty(item).IsEmpty(); }
    std::string_view NameAt(const SetData& data, int slot) const override {
        return NameIn(data.sty.slots[Index(slot)].record);
    }
    bool IsEmptyAt(const SetData& data, int slot) const override { return data.sty.slots[Index(slot)].IsEmpty(); }
    EditItem TakeOut(SetData& data, int slot) const override { return std::move(data.sty.slots[Index(slot)]); }

    SlotRange EraseRange(int bank) const override {
        return bank == kUserBank ? SlotRange{0, kUserStyles - 1} : SlotRange{};
    }
    // A block of four styles shares one pool of events: a style that does not fit what the
    // destination block has free, once the destination's own style is gone, is refused. A move
    // inside one block leaves the block's total as it was.
    std::optional<std::string> RefuseWrite(const SetData& data, int slot, const EditItem& item,
                                           int movedFrom) const override {
        if (movedFrom >= 0 && movedFrom / kStylesPerBlock == slot / kStylesPerBlock) return std::nullopt;
        const int needed = EventsNeeded(Sty(item).size);
        const int available = StyleEventsUsed(data.sty, slot) + BlockEventsFree(data.sty, slot);
        if (needed <= available) return std::nullopt;
        return "Pasted Style (" + std::to_string(needed) + " events) is too big for destination\nBlock, where only " +
               std::to_string(available) + " events are available.";
    }
    std::vector<SlotRange> DuplicateRuns() const override { return {{0, kUserStyles - 1}}; }

    const CalledKind* Called() const override { return this; }
    const CallingKind* Calling() const override { return this; }

    // CalledKind
    int NumberOf(int slot) const override { return StyNumberOfUserIndex(slot); }
    int NumberLimit() const override { return kStyleNumberLimit; }
    // Only the slots the style file holds, four per block, take part.
    int FindByName(const SetData& data, const std::string& name) const override {
        const int slots = std::min(kUserStyles, data.sty.blockCount * kStylesPerBlock);
        for (int slot = 0; slot < slots; ++slot)
            if (NameIn(data.sty.slots[Index(slot)].record) == name) return slot;
        return -1;
    }
    std::string ReferenceQuestion(const std::string& name) const override {
        return name +
               " Style is referenced by one\nor more Arrangements or Backing Sequences.\nChange references to another "
               "Style?";
    }
    int Pick(Interaction& ui, int set, int start, const std::string& addition) const override {
        return ui.PickStyle(set, start, addition);
    }
    bool CancelledPickCallsNothing() const override { return true; }

    // CallingKind
    std::string MissingCallQuestion(const MissingCall& call) const override {
        return MissingProgramQuestion("Style '" + call.callerName + "'", call, "\n");
    }
    std::string CallerName(const EditItem& item, int) const override { return TrimBlanks(Sty(item).record.Name()); }

private:
    static std::size_t Index(int slot) { return static_cast<std::size_t>(slot); }
};

}  // namespace

const EditableKind& Styles() {
    static const StyleKind kind;
    return kind;
}

}  // namespace vx
