#pragma once

#include <array>
#include <utility>
#include <vector>

#include "core/calls/CallSites.h"
#include "core/editing/Edit.h"
#include "core/kinds/EditItem.h"
#include "core/kinds/EditableKind.h"

namespace vx {

class Session;

inline constexpr int kEditableKinds = 6;  // Arrangement to KBD Set

// A kind's clipboard: the set it came from (0: empty, -1: read from an XStyle file), the slot
// and the item.
struct Clipboard {
    int set = 0;
    int slot = 0;
    std::optional<EditItem> item;
    // Which item is held, for the undo records that keep calls of it (0: none).
    std::uint32_t held = 0;
    bool Empty() const { return set == 0 || !item.has_value(); }
};

// A kind's one level of undo: the operation code and the set it touched, with what every
// step of the command changed, so that Undo puts back exactly what was there: the items a write
// replaced, the runs of slots a shift turned, and every rewritten call.
struct UndoRecord {
    // A write keeps the item it replaced; a turn (last >= 0) keeps the run it turned.
    struct SlotStep {
        int slot = 0;
        int last = -1;
        bool up = false;
        std::optional<EditItem> before;
        std::uint32_t held = 0;  // which item before is
        // The write kept the item in its slot, edited (the slot's name did not change; before is
        // that item as it was): taking it back edits it in place again.
        bool inPlace = false;
    };
    // A call of an item held outside the set (a clipboard's, another record's kept item) that
    // the command rewrote: the item, the call's place in its kind's calls and the number it held.
    struct HeldCall {
        std::uint32_t held = 0;
        int place = 0;
        int before = 0;
    };
    std::int32_t op = 0;
    int set = 0;
    std::vector<SlotStep> steps;
    CallJournal calls;
    std::vector<HeldCall> heldCalls;
    // Where the command moved the items of its kind, taken back: Undo sends the calls made since
    // after the items they name.
    std::optional<Redirection> back;
    // The tables of the kind's file as they were before the command (TablesKind::TablesOf).
    std::optional<SongTables> tables;
    bool Empty() const { return op == 0 || set == 0; }
};

// The edit commands of every kind, written once over the editable kinds: one entry point,
// one write path, the clipboards and the undo records shared by all open sets.
class EditScheme {
public:
    explicit EditScheme(Session& session);
    ~EditScheme();
    EditScheme(const EditScheme&) = delete;
    EditScheme& operator=(const EditScheme&) = delete;

    // Runs one command. Questions go through the session's interaction; the warning that ends
    // a refused command comes back in the result for the caller to show (ShowNotice). Every
    // change is marked dirty, recorded for Undo and announced once when the command ends.
    EditResult Apply(const Edit& edit);

    // Whether the kind has the command and, for Undo, holds a record to undo. The clipboard is
    // not looked at: the menu reads ClipboardOf for Paste and Insert.
    bool Available(const Edit& edit) const;

    // Paste from XStyle: reads the one item of an XStyle file (chosen by the user when path is
    // empty) into the kind's clipboard as an item from outside every set, then pastes it into
    // the slot like Paste, so its calls stay as they stand. Cancelling the chooser does nothing.
    EditResult PasteFromXStyle(int set, ItemKind kind, int slot, const std::string& path = {});

    // The write path for the parameter dialogs: writes a changed item into a slot, marks the
    // kind dirty, records Undo as a Paste would and announces the change.
    EditResult WriteItem(int set, ItemKind kind, int slot, const EditItem& item);
    // The same for several slots at once, undone together; tables, when given, replace the
    // kind's file tables (TablesKind::PutTables) in the same command.
    EditResult WriteItems(int set, ItemKind kind, const std::vector<std::pair<int, EditItem>>& items,
                          const std::optional<SongTables>& tables = std::nullopt);
    // Makes every call of a kind's number in the set call another number (a dialog's "Call
    // another ..."); not undoable. Returns whether a call changed.
    bool RedirectCalls(int set, ItemKind called, int from, int to);

    // The duplicate-name warning of a kind (while the WarnDupl option is on); true when a
    // duplicate was found.
    bool WarnDuplicateNames(int set, ItemKind kind);
    // The warnings of arrangements, styles and programs, as after opening a set.
    void WarnDuplicateNamesAfterOpening(int set);
    // The same warnings, collected instead of shown.
    bool DuplicateNameWarnings(int set, ItemKind kind, std::vector<Message>& warnings);

    // A kind's data was replaced as a whole (the session's import calls it): its undo record no longer fits.
    void ForgetUndo(int set, ItemKind kind);

    const Clipboard& ClipboardOf(ItemKind kind) const { return clipboards_[Index(kind)]; }
    const UndoRecord& UndoOf(ItemKind kind) const { return undo_[Index(kind)]; }

private:
    class Transaction;

    static std::size_t Index(ItemKind kind) { return static_cast<std::size_t>(KindIndex(kind)); }
    void Release(int set);
    // Makes what is held for later follow what a command did to the set (see EditScheme.cpp).
    void Follow(Transaction& tx, UndoRecord* made);
    // Puts an item in the kind's clipboard under held (0: a new number); returns the number.
    std::uint32_t Hold(ItemKind kind, int set, int slot, EditItem item, std::uint32_t held = 0);
    // Drops a record that cannot follow a change, and tells the user.
    void DropUndo(UndoRecord& record, ItemKind kind, const std::string& why);

    EditResult Cut(Transaction& tx, int slot, bool referencesHandled);
    EditResult Copy(int set, const EditableKind& d, int slot);
    EditResult Paste(Transaction& tx, int slot, bool move);
    EditResult Delete(Transaction& tx, int slot);
    EditResult Insert(Transaction& tx, int slot);
    EditResult EraseBank(Transaction& tx, int bank, bool confirmed);
    EditResult Undo(ItemKind kind, int set);
    EditResult Drop(Transaction& tx, const Edit& edit);
    EditResult MoveBefore(Transaction& tx, int from, int to);

    std::optional<EditResult> RefuseWrite(Transaction& tx, int slot, const EditItem& item, int movedFrom);
    std::optional<EditResult> RefuseEventMemory(Transaction& tx, int unitsIn, int unitsOut, std::string_view what);
    std::optional<EditResult> RefuseReplacing(Transaction& tx, int slot, const EditItem& item);
    // The referenced-by question about a slot; the result that ends the command, or nothing to
    // go on.
    std::optional<EditResult> ConfirmReferences(Transaction& tx, int slot);
    // Re-points the calls of an item just pasted from another set by name; false when the user
    // cancelled.
    bool CheckPastedCalls(Transaction& tx, int sourceSet, int slot);

    Session& session_;
    int releaseHandler_ = 0;
    std::array<Clipboard, kEditableKinds> clipboards_{};
    std::array<UndoRecord, kEditableKinds> undo_{};
    std::uint32_t lastHeld_ = 0;
};

}  // namespace vx
