#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/calls/CallSites.h"
#include "core/kinds/EditCommand.h"
#include "core/kinds/EditItem.h"
#include "core/storage/SetData.h"
#include "core/storage/TemplateSet.h"

namespace vx {

class Interaction;

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

// The optional capabilities of an editable kind. A kind that has one returns itself from the
// matching accessor of EditableKind; the others return nullptr.

// Kinds whose slots other items call by number (arrangements, styles, programs).
class CalledKind {
public:
    // What callers store for a slot, and the size of the number range.
    virtual int NumberOf(int slot) const = 0;
    virtual int NumberLimit() const = 0;
    // The first slot whose 16-character name is this one, or -1 (how a pasted item's calls are
    // re-pointed in another set).
    virtual int FindByName(const SetData& data, const std::string& name) const = 0;
    // The referenced-by question about an item with this trimmed name, the selection dialog
    // that answers Yes (the chosen number, or -1 when cancelled), and whether a cancelled dialog
    // makes the callers call no item (65535).
    virtual std::string ReferenceQuestion(const std::string& name) const = 0;
    virtual int Pick(Interaction& ui, int set, int start, const std::string& captionAddition) const = 0;
    virtual bool CancelledPickCallsNothing() const = 0;

protected:
    ~CalledKind() = default;
};

// Kinds whose items call others (all but programs).
class CallingKind {
public:
    // The question about a call of a pasted item that the destination set cannot satisfy, and
    // the name it gives the pasted item.
    virtual std::string MissingCallQuestion(const MissingCall& call) const = 0;
    virtual std::string CallerName(const EditItem& item, int slot) const = 0;

protected:
    ~CallingKind() = default;
};

// Kinds whose slots turn (Delete, Insert, a drop inserted before an item): up moves the items of
// first to last - 1 one slot up and the item of last to first; down the other way round. The
// items move, nothing is copied.
class TurningKind {
public:
    virtual void Turn(SetData& data, int first, int last, bool up) const = 0;

protected:
    ~TurningKind() = default;
};

// Kinds whose items live in the shared event memory (backing sequences and songs).
class EventMemoryKind {
public:
    // The 16-byte units an item takes.
    virtual int EventUnits(const EditItem& item) const = 0;
    // What refuses putting unitsIn where unitsOut were: the warning, opening with `what`.
    virtual std::optional<std::string> RefuseEventMemory(const SetData& data, int unitsIn, int unitsOut,
                                                         std::string_view what) const = 0;
    // The layout after every write, giving the other kinds it moved.
    virtual KindMask LayOut(SetData& data) const = 0;
    // The start the kind's region takes again after Erase Bank.
    virtual void RestartRegion(SetData& data) const = 0;

protected:
    ~EventMemoryKind() = default;
};

// Kinds whose file holds tables beside the items (the songs' table of 100 values and pattern
// map). A command keeps them as they were before it, and its Undo puts them back once the
// items are back.
class TablesKind {
public:
    virtual SongTables TablesOf(const SetData& data) const = 0;
    virtual void PutTables(SetData& data, const SongTables& tables) const = 0;

protected:
    ~TablesKind() = default;
};

// Kinds whose items chain to another item by position (backing sequences and songs).
class ChainingKind {
public:
    // The item with its chain number following the move of the positions (newPlace[old] = new),
    // or nothing when it is unchanged.
    virtual std::optional<EditItem> RenumberChain(const EditItem& item, const std::vector<int>& newPlace) const = 0;

protected:
    ~ChainingKind() = default;
};

// Kinds whose drop inside one set inserts the item before the one dropped on, after a question
// (Yes moves); the others move it to the slot dropped on, its callers following.
class InsertingDropKind {
public:
    virtual std::string InsertBeforeQuestion(int from, int to) const = 0;

protected:
    ~InsertingDropKind() = default;
};

// One editable kind (Arrangement to KBD Set): what the edit commands, written once, need to know
// of it. Its commands are switched on by its command set.
class EditableKind {
public:
    EditableKind(ItemKind kind, std::string_view noun, int slotCount, EditCommandSet commands)
        : kind_(kind), noun_(noun), slotCount_(slotCount), commands_(commands) {}
    virtual ~EditableKind() = default;
    EditableKind(const EditableKind&) = delete;
    EditableKind& operator=(const EditableKind&) = delete;

    ItemKind Kind() const { return kind_; }
    std::string_view Noun() const { return noun_; }  // "Arrangement", "Program", "KBD Set"
    int SlotCount() const { return slotCount_; }
    const EditCommandSet& Commands() const { return commands_; }
    bool Has(EditCommand command) const { return Contains(commands_, command); }
    bool ValidSlot(int slot) const { return slot >= 0 && slot < slotCount_; }

    // The number the kind's view shows for a slot (a cell or a list row), and back (-1: none).
    virtual int ViewNumberOf(int slot) const = 0;
    virtual int SlotOfNumber(int number) const = 0;
    // A slot's label as the grids and lists show it ("C11", "F13", "R51", "11", "3"), and back
    // (-1 for a label that names no editable slot).
    virtual std::string Label(int slot) const = 0;
    virtual int SlotOfLabel(std::string_view label) const = 0;

    // Items.
    virtual EditItem Read(const SetData& data, int slot) const = 0;
    virtual void Write(SetData& data, int slot, const EditItem& item) const = 0;
    virtual EditItem Blank(const BlankItems& blank) const = 0;
    virtual std::string Name(const EditItem& item) const = 0;  // the 16 characters; empty without names
    virtual bool IsEmpty(const EditItem& item) const = 0;
    // Slot access without copying the item: the slot's 16-character name (empty for a kind
    // without names), whether it is empty, and its item moved out of a slot that is written
    // right after.
    virtual std::string_view NameAt(const SetData& data, int slot) const = 0;
    virtual bool IsEmptyAt(const SetData& data, int slot) const { return IsEmpty(Read(data, slot)); }
    virtual EditItem TakeOut(SetData& data, int slot) const { return Read(data, slot); }

    // The slots a Delete or an Insert at a slot shifts within (empty: not there); the slots
    // Erase Bank blanks for the bank chosen in the tab's list (empty for a preset bank).
    virtual SlotRange ShiftRange(int) const { return {}; }
    virtual SlotRange EraseRange(int bank) const = 0;
    // What refuses writing an item into a slot: the warning shown, or nothing. movedFrom is the
    // slot the item leaves when it moves inside the set, else -1.
    virtual std::optional<std::string> RefuseWrite(const SetData&, int, const EditItem&, int) const {
        return std::nullopt;
    }
    // The duplicate-name warning: the slot runs compared (each slot against the earlier slots of
    // its run); none for a kind without the warning.
    virtual std::vector<SlotRange> DuplicateRuns() const { return {}; }

    // The optional capabilities.
    virtual const CalledKind* Called() const { return nullptr; }
    virtual const CallingKind* Calling() const { return nullptr; }
    virtual const TurningKind* Turning() const { return nullptr; }
    virtual const EventMemoryKind* EventMemory() const { return nullptr; }
    virtual const TablesKind* Tables() const { return nullptr; }
    virtual const ChainingKind* Chaining() const { return nullptr; }
    virtual const InsertingDropKind* InsertingDrop() const { return nullptr; }

private:
    ItemKind kind_;
    std::string_view noun_;
    int slotCount_;
    EditCommandSet commands_;
};

// The editable kind of an item kind (Arrangement to KBD Set); nullptr for the others.
const EditableKind* EditableKindOf(ItemKind kind);
// The commands of the Edit menu a kind has; none for a kind that is not edited.
EditCommandSet CommandsOf(ItemKind kind);

// The kinds, one unit each.
const EditableKind& Arrangements();
const EditableKind& Styles();
const EditableKind& Programs();
const EditableKind& BackingSequences();
const EditableKind& Songs();
const EditableKind& KbdSets();

// A slot's 16-character name as a string.
inline std::string SlotName(const EditableKind& kind, const SetData& data, int slot) {
    return std::string(kind.NameAt(data, slot));
}

}  // namespace vx
