#pragma once

#include <algorithm>
#include <bitset>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/calls/CallSites.h"
#include "core/editing/Edit.h"
#include "core/editing/EditItem.h"
#include "core/storage/SetData.h"
#include "core/storage/TemplateSet.h"

namespace vx {

class Interaction;

using EditCommandSet = std::bitset<kEditCommandKinds>;

// A run of slots: first to last, both included; empty when last < first.
struct SlotRange {
    int first = 0;
    int last = -1;
    bool Empty() const { return last < first; }
    bool Contains(int slot) const { return slot >= first && slot <= last; }
};

// A call of a pasted item to an item the destination set does not have, for the question.
struct MissingCall {
    std::string callerName;  // trimmed; for a KBD set its label
    std::string trackName;   // trimmed; empty for a call of the whole item
    ItemKind called = ItemKind::Program;
    std::string calledName;  // trimmed
    std::string setName;     // the destination set's name
};

// How a drop inside one set works: the item moves to the slot dropped on (its callers follow),
// or it is inserted before the one dropped on, after a question.
enum class DropInSet { Move, InsertBefore };

// Everything in which the editable kinds differ. The edit commands are written once over it;
// a kind's commands are switched on by its command set.
struct KindDescriptor {
    ItemKind kind = ItemKind::Arrangement;
    std::string_view noun;  // "Arrangement", "Program", "KBD Set"
    int slotCount = 0;
    EditCommandSet commands;

    // Numbers: what callers store for a slot (-1: nothing calls the kind), the size of the
    // number range, and the number the kind's view shows for a slot (a cell or a list row).
    int (*numberOf)(int slot) = nullptr;
    int numberLimit = 0;
    int (*viewNumberOf)(int slot) = nullptr;
    int (*slotOfNumber)(int number) = nullptr;
    std::string (*label)(int slot) = nullptr;
    // A label as the grids and lists show it ("C11", "F13", "R51", "11", "3") to a slot; -1
    // for a label that names no editable slot.
    int (*slotOfLabel)(std::string_view label) = nullptr;

    // Items.
    EditItem (*read)(const SetData& data, int slot) = nullptr;
    void (*write)(SetData& data, int slot, const EditItem& item) = nullptr;
    EditItem (*blank)(const BlankItems& blank) = nullptr;
    std::string (*name)(const EditItem& item) = nullptr;  // the 16 characters
    bool (*isEmpty)(const EditItem& item) = nullptr;
    // Slot access without copying the item: the slot's 16-character name (kinds with names),
    // and, for the kinds whose items carry their events (styles, backing sequences, songs),
    // whether it is empty and its item moved out of a slot that is written right after.
    std::string_view (*nameAt)(const SetData& data, int slot) = nullptr;
    bool (*isEmptyAt)(const SetData& data, int slot) = nullptr;
    EditItem (*takeOut)(SetData& data, int slot) = nullptr;
    // Turns a run of slots by one place: up moves the items of first to last - 1 one slot up and
    // the item of last to first; down the other way round. The kinds whose slots shift (Delete,
    // Insert, a drop inserted before an item) have it; the items move, nothing is copied.
    void (*turn)(SetData& data, int first, int last, bool up) = nullptr;
    // The first slot whose 16-character name is this one, or -1 (how a pasted item's calls are
    // re-pointed in another set).
    int (*findByName)(const SetData& data, const std::string& name) = nullptr;

    // The slots a Delete or an Insert at a slot shifts within (empty: not there); the slots
    // Erase Bank blanks for the bank chosen in the tab's list (empty for a preset bank).
    SlotRange (*shiftRange)(int slot) = nullptr;
    SlotRange (*eraseRange)(int bank) = nullptr;

    // The referenced-by question about an item with this trimmed name, the selection dialog
    // that answers Yes, and whether a cancelled dialog makes the callers call no item (65535).
    std::string (*referenceQuestion)(const std::string& name) = nullptr;
    bool cancelledPickCallsNothing = false;
    // The kind's selection dialog: the chosen number, or -1 when cancelled.
    int (*pick)(Interaction& ui, int set, int start, const std::string& captionAddition) = nullptr;

    // The question about a call of a pasted item that the destination set cannot satisfy.
    std::string (*missingCallQuestion)(const MissingCall& call) = nullptr;
    // The name the questions give a pasted item.
    std::string (*callerName)(const EditItem& item, int slot) = nullptr;

    // What may refuse writing an item into a slot: the warning shown, or nothing. movedFrom is
    // the slot the item leaves when it moves inside the set, else -1.
    std::optional<std::string> (*refuseWrite)(const SetData& data, int slot, const EditItem& item,
                                              int movedFrom) = nullptr;

    // Kinds whose items live in the shared event memory: the 16-byte units an item takes; what
    // refuses putting unitsIn where unitsOut were (the warning, opening with `what`, or nothing);
    // the layout after every write, giving the other kinds it moved; and the start the kind's
    // region takes again after Erase Bank.
    int (*eventUnits)(const EditItem& item) = nullptr;
    std::optional<std::string> (*refuseEventMemory)(const SetData& data, int unitsIn, int unitsOut,
                                                    std::string_view what) = nullptr;
    KindMask (*layOut)(SetData& data) = nullptr;
    void (*restartRegion)(SetData& data) = nullptr;
    // Kinds whose file holds tables beside the items (the songs' table of 100 values and pattern
    // map): the tables as they stand, and putting kept ones back. A command keeps them as they
    // were before it, and its Undo puts them back once the items are back.
    SongTables (*tablesOf)(const SetData& data) = nullptr;
    void (*putTables)(SetData& data, const SongTables& tables) = nullptr;

    // Kinds whose items chain to another item by position: the item with its chain number
    // following the move of the positions (newPlace[old] = new), or nothing when it is unchanged.
    std::optional<EditItem> (*renumberChain)(const EditItem& item, const std::vector<int>& newPlace) = nullptr;

    DropInSet dropInSet = DropInSet::Move;
    // The question before an insert-before drop; Yes moves.
    std::string (*insertBeforeQuestion)(int from, int to) = nullptr;

    // The duplicate-name warning: the slot runs compared (each slot against the earlier slots
    // of its run), and the noun of its messages; no runs for a kind without the warning.
    std::vector<SlotRange> duplicateRuns;

    bool Has(EditCommand command) const { return commands.test(static_cast<std::size_t>(command)); }
    bool ValidSlot(int slot) const { return slot >= 0 && slot < slotCount; }
};

// The descriptor of an editable kind (Arrangement to KBD Set); nullptr for the others.
const KindDescriptor* DescriptorOf(ItemKind kind);

// The descriptors of the kinds, one unit each.
const KindDescriptor& ArrangementDescriptor();
const KindDescriptor& StyleDescriptor();
const KindDescriptor& ProgramDescriptor();
const KindDescriptor& BackingSequenceDescriptor();
const KindDescriptor& SongDescriptor();
const KindDescriptor& KbdSetDescriptor();

// A slot's 16-character name and whether it is empty, through the cheap access where the kind has it.
std::string SlotName(const KindDescriptor& d, const SetData& data, int slot);
bool SlotIsEmpty(const KindDescriptor& d, const SetData& data, int slot);

// Shared pieces of the descriptors.
EditCommandSet Commands(std::initializer_list<EditCommand> commands);
// The 16-character name a record holds at offset, without a copy; valid while the record lives.
template <typename Record>
std::string_view NameIn(const Record& record, std::size_t offset = 0) {
    return {reinterpret_cast<const char*>(record.bytes.data() + offset), kNameLength};
}
// Every command of the Edit menu, and drops.
inline EditCommandSet AllCommands() { return EditCommandSet{}.set(); }
// The turn of a run of slots kept in one array: one item is held aside while the others move
// along, which for plain records is a single block move.
template <typename Slots>
void TurnSlots(Slots& slots, int first, int last, bool up) {
    const auto begin = slots.begin() + first;
    const auto end = slots.begin() + last + 1;
    if (up) {
        auto held = std::move(*(end - 1));
        std::move_backward(begin, end - 1, end);
        *begin = std::move(held);
    } else {
        auto held = std::move(*begin);
        std::move(begin + 1, end, begin);
        *(end - 1) = std::move(held);
    }
}
// The slot ranges of a kind whose user slots are banks of 64: the bank holding a slot (empty
// past the banks), and the bank chosen in the tab's list, whose user banks start at firstUserBank.
SlotRange BankOfSlot(int slot, int bankCount);
SlotRange UserBank(int bank, int firstUserBank, int bankCount);
// "C11" style labels of a banked kind (0 arrangement, 1 style, 2 program) to an item number.
int BankedNumberOfLabel(int kind, std::string_view label);
// "Track 'T' of <caller> calls Program 'P' non-existent in 'SET'" + breakText +
// "Redirect this track to an existing Program?".
std::string MissingProgramQuestion(const std::string& caller, const MissingCall& call, std::string_view breakText);

}  // namespace vx
