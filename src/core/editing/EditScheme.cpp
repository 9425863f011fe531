#include "core/editing/EditScheme.h"

#include <algorithm>
#include <cstring>

#include "core/editing/Callers.h"
#include "core/editing/UndoOp.h"
#include "core/editing/XStyleFiles.h"
#include "core/interaction/Interaction.h"
#include "core/kinds/KindParts.h"
#include "core/storage/Session.h"
#include "core/text/Helpers.h"

namespace vx {

namespace {

constexpr int kNoItem = 65535;
constexpr int kDuplicateMessages = 4;

std::string_view Trimmed(std::string_view text) {
    // Most slots of a set are empty: sixteen blanks are told at once.
    if (text.size() == kNameLength && detail::BlankName(reinterpret_cast<const std::uint8_t*>(text.data()))) return {};
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// A name of at most 16 characters to one of 256 buckets.
std::size_t BucketOf(std::string_view name) {
    std::uint64_t head = 0, tail = 0;
    std::memcpy(&head, name.data(), std::min<std::size_t>(name.size(), 8));
    if (name.size() > 8) std::memcpy(&tail, name.data() + 8, std::min<std::size_t>(name.size() - 8, 8));
    return static_cast<std::size_t>((head * 0x9E3779B97F4A7C15ULL ^ tail * 0xC2B2AE3D27D4EB4FULL ^ name.size()) >> 56);
}

// Whether two slots of the run have the same name (empty names aside): one pass over a table
// with room for twice the longest run.
bool HasDuplicate(const std::vector<std::string_view>& names, const SlotRange& run) {
    std::array<int, 256> table;
    table.fill(-1);
    for (int i = run.first; i <= run.last; ++i) {
        const std::string_view name = names[static_cast<std::size_t>(i)];
        if (name.empty()) continue;
        std::size_t bucket = BucketOf(name);
        for (; table[bucket] >= 0; bucket = (bucket + 1) % table.size())
            if (names[static_cast<std::size_t>(table[bucket])] == name) return true;
        table[bucket] = i;
    }
    return false;
}

Message Warning(std::string text, std::string title = {}) {
    return {std::move(text), std::move(title), MessageIcon::Exclamation, MessageButtons::OK, Answer::OK};
}

// The record bytes through which a held item calls, and its kind as a caller; nullptr for an
// item that calls nothing (a program, or an empty item).
std::uint8_t* CallerBytes(EditItem& item, ItemKind& caller) {
    auto named = [](auto& record, ItemKind kind, ItemKind& out, int nameOffset) -> std::uint8_t* {
        out = kind;
        std::uint8_t* const bytes = record.bytes.data();
        return nameOffset >= 0 && detail::BlankName(bytes + nameOffset) ? nullptr : bytes;
    };
    switch (item.index()) {
        case 0:
            return named(std::get<ArrangementRecord>(item), ItemKind::Arrangement, caller, 0);
        case 1:
            return named(std::get<StyleSlot>(item).record, ItemKind::Style, caller, 0);
        case 3:
            return named(std::get<BsqEntry>(item).record, ItemKind::BackingSequence, caller, 0);
        case 4:
            return named(std::get<SongEntry>(item).record, ItemKind::Song, caller, 54);
        case 5:
            return named(std::get<KbdSetRecord>(item), ItemKind::KbdSet, caller, -1);
        default:
            return nullptr;
    }
}

// Sends a held item's calls where a redirection sends the set's calls, keeping what each
// rewritten call held (a noted number is kept too, as in the set).
void RedirectHeld(EditItem& item, std::uint32_t held, const Redirection& redirection,
                  std::vector<UndoRecord::HeldCall>* kept) {
    ItemKind caller = ItemKind::Program;
    std::uint8_t* const bytes = CallerBytes(item, caller);
    if (bytes == nullptr) return;
    const detail::CallPlaces places = detail::PlacesOf(caller);
    for (int p = 0; p < places.count; ++p) {
        const detail::CallPlace& place = places.first[p];
        if (place.called != redirection.called) continue;
        const int number = detail::ReadCallAt(bytes, place);
        const int target = redirection.Target(number);
        if (target == Redirection::kKeep && number != redirection.Noted()) continue;
        if (kept != nullptr) kept->push_back({held, p, number});
        if (target != Redirection::kKeep) detail::WriteCallAt(bytes, place, target);
    }
}

// The call places at which an item edited in place calls another number than it did; nothing
// when either calls nothing at all.
std::optional<std::vector<int>> EditedCalls(EditItem& before, EditItem& now) {
    ItemKind caller = ItemKind::Program;
    const std::uint8_t* const beforeBytes = CallerBytes(before, caller);
    const std::uint8_t* const nowBytes = CallerBytes(now, caller);
    if (beforeBytes == nullptr || nowBytes == nullptr) return std::nullopt;
    std::vector<int> edited;
    const detail::CallPlaces places = detail::PlacesOf(caller);
    for (int p = 0; p < places.count; ++p)
        if (detail::ReadCallAt(beforeBytes, places.first[p]) != detail::ReadCallAt(nowBytes, places.first[p]))
            edited.push_back(p);
    return edited;
}

// Writes a kept number back into a held item's call.
void RestoreHeld(EditItem& item, int place, int before) {
    ItemKind caller = ItemKind::Program;
    std::uint8_t* const bytes = CallerBytes(item, caller);
    const detail::CallPlaces places = detail::PlacesOf(caller);
    if (bytes == nullptr || place < 0 || place >= places.count) return;
    detail::WriteCallAt(bytes, places.first[place], before);
}

}  // namespace

// The one write path: every slot write and every rewritten call of a command goes through it,
// is marked dirty and kept, so that a cancelled command is taken back and Undo can put back
// exactly what was there. The change is announced once, when the command ends.
class EditScheme::Transaction {
public:
    Transaction(Session& session, const EditableKind& kind, int setNumber, std::uint32_t& lastHeld)
        : session_(session),
          d(kind),
          called(kind.Called()),
          events(kind.EventMemory()),
          fileTables(kind.Tables()),
          set(setNumber),
          firstHeld(lastHeld + 1),
          lastHeld_(lastHeld),
          dirtyBefore_(session.Slot(setNumber).dirty) {
        if (fileTables) journal.tables = fileTables->TablesOf(Data());
    }

    // What the command did to the slots and calls, in order, for what is held to follow.
    struct Change {
        enum class Type : std::uint8_t { Redirect, Turn, Write };
        Type type = Type::Write;
        int first = 0;
        int last = -1;
        bool up = false;
        // A write: the held item that left the slot (0: gone for good), the held item that came
        // back into it (0: none), and whether the slot keeps the same item, changed.
        std::uint32_t out = 0;
        std::uint32_t in = 0;
        bool same = false;
        std::size_t redirection = 0;
        // The same item: the call places the edit changed.
        std::vector<int> edited;
    };
    std::vector<Change> changes;
    std::vector<Redirection> redirections;

    SetData& Data() { return session_.Data(set); }
    Interaction& Ui() { return session_.Ui(); }
    EditItem Read(int slot) { return d.Read(Data(), slot); }
    bool IsEmpty(int slot) { return d.IsEmptyAt(Data(), slot); }
    // What callers store for a slot; -1 for a kind nothing calls.
    int NumberOf(int slot) const { return called != nullptr ? called->NumberOf(slot) : -1; }

    // Writes an item into a slot; returns the number the item that left is held under: held
    // when a clipboard holds it too, else a new one. in is the held item that comes back into
    // the slot (a clipboard's), 0 for none.
    std::uint32_t Write(int slot, const EditItem& item, std::uint32_t held = 0, std::uint32_t in = 0) {
        EditItem before = d.TakeOut(Data(), slot);
        // An item edited in place keeps its name (a KBD set has none and always stays).
        const bool same = d.Name(before) == d.Name(item);
        if (held == 0) held = ++lastHeld_;
        EditItem now = item;
        auto edited = same ? EditedCalls(before, now) : std::nullopt;
        journal.steps.push_back({slot, -1, false, std::move(before), held, same});
        d.Write(Data(), slot, item);
        changes.push_back({Change::Type::Write, slot, slot, false, held, in, edited.has_value(), 0,
                           edited.value_or(std::vector<int>{})});
        Touch(d.Kind(), slot);
        LayOut();
        return held;
    }
    // Turns the run of slots first..last by one place (TurningKind::Turn): a shift of a bank
    // moves its items once and keeps four numbers for Undo.
    void Turn(int first, int last, bool up) {
        if (last <= first) return;
        d.Turning()->Turn(Data(), first, last, up);
        journal.steps.push_back({first, last, up, std::nullopt, 0});
        changes.push_back({Change::Type::Turn, first, last, up, 0, 0, false, 0, {}});
        Touch(d.Kind(), -1);
        LayOut();
    }
    // Lays the shared event memory out again after a write; the kinds it moved are changed too.
    void LayOut() {
        if (events) TouchKinds(events->LayOut(Data()));
    }
    void Redirect(const Redirection& redirection) {
        TouchKinds(vx::Redirect(Data(), redirection, &journal.calls));
        Redirected(redirection);
    }
    // A redirection applied to the set, for what is held to follow.
    void Redirected(const Redirection& redirection) {
        changes.push_back({Change::Type::Redirect, 0, -1, false, 0, 0, false, redirections.size(), {}});
        redirections.push_back(redirection);
    }
    // Puts back what a record says was there before, newest first. Undo first sends the calls
    // made since the command after the items it moves back; the calls the command rewrote then
    // get the numbers they held.
    void Restore(const UndoRecord& record, bool undo) {
        if (undo && record.back) {
            TouchKinds(vx::Redirect(Data(), *record.back));
            Redirected(*record.back);
        }
        TouchKinds(record.calls.Restore(Data()));
        for (auto it = record.steps.rbegin(); it != record.steps.rend(); ++it) {
            if (it->before) {
                // An item edited in place is edited in place again: it keeps the calls kept for
                // it that the edit leaves as they are.
                std::optional<std::vector<int>> edited;
                if (it->inPlace) {
                    EditItem now = d.TakeOut(Data(), it->slot);
                    EditItem before = *it->before;
                    edited = EditedCalls(now, before);
                }
                d.Write(Data(), it->slot, *it->before);
                changes.push_back({Change::Type::Write, it->slot, it->slot, false, 0, it->held, edited.has_value(), 0,
                                   edited.value_or(std::vector<int>{})});
                Touch(d.Kind(), it->slot);
            } else {
                d.Turning()->Turn(Data(), it->slot, it->last, !it->up);
                changes.push_back({Change::Type::Turn, it->slot, it->last, !it->up, 0, 0, false, 0, {}});
                Touch(d.Kind(), -1);
            }
        }
        LayOut();
        // The items are where they were, and so is the start of their region: the tables kept
        // from before fit them again, whatever the layout made of them.
        if (record.tables && fileTables) PutTables(*record.tables);
    }
    void PutTables(const SongTables& tables) {
        fileTables->PutTables(Data(), tables);
        Touch(d.Kind(), -1);
    }
    // Takes the whole command back, the dirty flags included; nothing held has followed yet.
    void Rollback() {
        Restore(journal, false);
        changes.clear();
        redirections.clear();
        session_.Slot(set).dirty = dirtyBefore_;
        touched_ = 0;
    }
    std::pair<int, int> UnitsUndone(const UndoRecord& record);
    void Announce() {
        ChangeFeed& feed = session_.Changes();
        for (int k = 0; k < kEditableKinds; ++k) {
            const ItemKind kind = KindFromIndex(k);
            if (!(touched_ & MaskOf(kind))) continue;
            if (kind == d.Kind() && !wholeKind_ && slot_ >= 0)
                feed.Publish(SetChange::Item(set, kind, d.ViewNumberOf(slot_)));
            else
                feed.Publish(SetChange::Kind(set, kind));
        }
    }

    Session& session_;
    const EditableKind& d;
    // The kind's capabilities the commands use; nullptr where it has none.
    const CalledKind* const called;
    const EventMemoryKind* const events;
    const TablesKind* const fileTables;
    const int set;
    // Items held from this number on were taken by this command.
    const std::uint32_t firstHeld;
    UndoRecord journal;
    std::int32_t op = kUndoNothing;

private:
    std::uint32_t& lastHeld_;
    // Marks a kind dirty once per command; the notice names the one slot written, or the kind.
    void Touch(ItemKind kind, int slot) {
        if (!(touched_ & MaskOf(kind))) session_.MarkDirty(set, kind);
        touched_ |= MaskOf(kind);
        if (kind != d.Kind()) return;
        if (slot < 0 || (slot_ >= 0 && slot_ != slot)) wholeKind_ = true;
        slot_ = slot;
    }
    void TouchKinds(KindMask kinds) {
        for (int k = 0; k < kEditableKinds; ++k)
            if (kinds & MaskOf(KindFromIndex(k))) Touch(KindFromIndex(k), -1);
    }

    std::array<bool, kSetKindCount> dirtyBefore_;
    KindMask touched_ = 0;
    int slot_ = -1;
    bool wholeKind_ = false;
};

EditScheme::EditScheme(Session& session) : session_(session) {
    releaseHandler_ = session_.AddReleaseHandler([this](int set, std::optional<ItemKind> replaced) {
        if (replaced)
            ForgetUndo(set, *replaced);
        else
            Release(set);
    });
}

EditScheme::~EditScheme() { session_.RemoveReleaseHandler(releaseHandler_); }

void EditScheme::Release(int set) {
    for (Clipboard& clipboard : clipboards_)
        if (clipboard.set == set) clipboard = {};
    for (UndoRecord& record : undo_)
        if (record.set == set) record = {};
}

std::uint32_t EditScheme::Hold(ItemKind kind, int set, int slot, EditItem item, std::uint32_t held) {
    clipboards_[Index(kind)] = {set, slot, std::move(item), held != 0 ? held : ++lastHeld_};
    return clipboards_[Index(kind)].held;
}

void EditScheme::DropUndo(UndoRecord& record, ItemKind kind, const std::string& why) {
    const int set = record.set;
    record = {};
    session_.Ui().Notice("Undo of " + std::string(EditableKindOf(kind)->Noun()) + "s is no longer possible: " + why);
    session_.Changes().Publish(SetChange::Undo(set, false));
}

// What is held for later (the clipboards and the undo records of the other kinds) belongs to
// its set: every redirection of the command is applied to the calls of the items held from the
// set, as to the set's own items, and every journal of rewritten calls follows the callers the
// command moved: a turn moves its entries, an item that leaves its slot takes its entries along
// into the record that keeps it, and an item that Undo brings back takes them back into the
// set. made is the record this command leaves (nullptr when it leaves none): it keeps the
// calls of held items the command rewrote, so that its own Undo can put them back.
void EditScheme::Follow(Transaction& tx, UndoRecord* made) {
    using Type = Transaction::Change::Type;
    const int set = tx.set;
    const ItemKind kind = tx.d.Kind();
    // Held items taken by this command, and the record it replaces, follow nothing.
    auto follows = [&](const UndoRecord& record, std::size_t k) {
        return record.set == set && !record.Empty() && !(made != nullptr && KindFromIndex(static_cast<int>(k)) == kind);
    };
    auto heldItems = [&](auto&& visit) {
        for (Clipboard& clipboard : clipboards_)
            if (clipboard.set == set && clipboard.item && clipboard.held < tx.firstHeld)
                visit(*clipboard.item, clipboard.held);
        for (std::size_t k = 0; k < undo_.size(); ++k)
            if (follows(undo_[k], k))
                for (UndoRecord::SlotStep& step : undo_[k].steps)
                    if (step.before) visit(*step.before, step.held);
    };
    std::vector<UndoRecord::HeldCall>* kept = made != nullptr ? &made->heldCalls : nullptr;

    for (const Transaction::Change& change : tx.changes) {
        if (change.type == Type::Redirect) {
            const Redirection& redirection = tx.redirections[change.redirection];
            heldItems([&](EditItem& item, std::uint32_t held) { RedirectHeld(item, held, redirection, kept); });
            // The record of the redirected kind keeps numbers of that kind as they were before
            // its command; they follow a redirection of the same numbering ("Call another ...").
            // Once its command moved the items, the numbers no longer match and the record is
            // dropped: its Undo would restore calls to the wrong items.
            const std::size_t k = Index(redirection.called);
            if (k < undo_.size() && follows(undo_[k], k)) {
                UndoRecord& record = undo_[k];
                if (record.back) {
                    DropUndo(record, redirection.called, "calls to them were changed since.");
                } else {
                    record.calls.MapBefore(redirection);
                    for (UndoRecord::HeldCall& call : record.heldCalls)
                        if (const int target = redirection.Target(call.before); target != Redirection::kKeep)
                            call.before = target;
                }
            }
            continue;
        }
        for (std::size_t k = 0; k < undo_.size(); ++k) {
            if (!follows(undo_[k], k)) continue;
            UndoRecord& record = undo_[k];
            if (change.type == Type::Turn) {
                record.calls.FollowTurn(kind, change.first, change.last, change.up);
                continue;
            }
            // A write: the calls kept for the item that left go with it; an item edited in place
            // keeps those of its calls the edit left as they were.
            for (const auto& [place, before] : record.calls.TakeOut(kind, change.first)) {
                const bool stays =
                    change.same && std::find(change.edited.begin(), change.edited.end(), place) == change.edited.end();
                if (stays)
                    record.calls.PutIn(kind, change.first, place, before);
                else if (made != nullptr && change.out != 0)
                    record.heldCalls.push_back({change.out, place, before});
                // Otherwise the item is gone for good and its calls with it.
            }
            if (change.in != 0) {
                std::erase_if(record.heldCalls, [&](const UndoRecord::HeldCall& call) {
                    if (call.held != change.in) return false;
                    record.calls.PutIn(kind, change.first, call.place, call.before);
                    return true;
                });
            }
        }
        // A clipboard names the slot its item was taken from; the slot follows the item.
        Clipboard& clipboard = clipboards_[Index(kind)];
        if (change.type == Type::Turn && clipboard.set == set && clipboard.held < tx.firstHeld &&
            clipboard.slot >= change.first && clipboard.slot <= change.last) {
            const int slot = clipboard.slot;
            clipboard.slot = change.up ? (slot == change.last ? change.first : slot + 1)
                                       : (slot == change.first ? change.last : slot - 1);
        }
    }
}

void EditScheme::ForgetUndo(int set, ItemKind kind) {
    if (EditableKindOf(kind) == nullptr) return;
    UndoRecord& record = undo_[Index(kind)];
    if (record.set == set) record = {};
}

bool EditScheme::Available(const Edit& edit) const {
    const EditableKind* d = EditableKindOf(edit.kind);
    if (d == nullptr || !d->Has(edit.command)) return false;
    if (edit.command == EditCommand::Undo) return !undo_[Index(edit.kind)].Empty();
    return true;
}

EditResult EditScheme::Apply(const Edit& edit) {
    const EditableKind* d = EditableKindOf(edit.kind);
    if (d == nullptr) return EditResult::Refused("Items of this kind can't be edited.");
    if (!d->Has(edit.command)) return EditResult::Refused("This command is not available for this kind.");
    if (edit.command == EditCommand::Undo) return Undo(edit.kind, edit.set);
    if (!session_.Sets().IsOpen(edit.set)) return EditResult::Refused("The set is not open.");
    if (edit.command == EditCommand::Copy) return Copy(edit.set, *d, edit.slot);

    Transaction tx(session_, *d, edit.set, lastHeld_);
    EditResult result;
    switch (edit.command) {
        case EditCommand::Cut:
            result = Cut(tx, edit.slot, false);
            tx.op = kUndoCut;
            break;
        case EditCommand::Paste:
            result = Paste(tx, edit.slot, false);
            tx.op = kUndoPaste;
            break;
        case EditCommand::Delete:
            result = Delete(tx, edit.slot);
            tx.op = kUndoDelete;
            break;
        case EditCommand::Insert:
            result = Insert(tx, edit.slot);
            tx.op = kUndoInsert;
            break;
        case EditCommand::EraseBank:
            result = EraseBank(tx, edit.bank, edit.confirmed);
            break;
        case EditCommand::Drop:
            result = Drop(tx, edit);
            break;
        default:
            break;
    }
    if (!result.done) {
        tx.Rollback();
    } else {
        if (tx.op != kUndoNothing) {
            tx.journal.op = tx.op;
            tx.journal.set = edit.set;
            Follow(tx, &tx.journal);
            undo_[Index(edit.kind)] = std::move(tx.journal);
        } else {
            Follow(tx, nullptr);
            ForgetUndo(edit.set, edit.kind);
        }
        tx.Announce();
        session_.Changes().Publish(SetChange::Undo(edit.set, tx.op != kUndoNothing));
    }
    // After a menu Paste or Insert the names are checked whatever happened; after a drop from
    // another set only when it was pasted.
    const bool fromOtherSet = edit.command == EditCommand::Drop && edit.sourceSet != edit.set;
    if (edit.command == EditCommand::Paste || edit.command == EditCommand::Insert || (fromOtherSet && result.done))
        DuplicateNameWarnings(edit.set, edit.kind, result.warnings);
    return result;
}

EditResult EditScheme::Copy(int set, const EditableKind& d, int slot) {
    if (!d.ValidSlot(slot)) return EditResult::Refused("No item is selected.");
    Hold(d.Kind(), set, slot, d.Read(session_.Data(set), slot));
    // The cut record could come back only through the clipboard it has now left.
    ForgetUndo(set, d.Kind());
    session_.Changes().Publish(SetChange::Undo(set, false));
    return EditResult::Done();
}

EditResult EditScheme::Cut(Transaction& tx, int slot, bool referencesHandled) {
    if (!tx.d.ValidSlot(slot)) return EditResult::Refused("No item is selected.");
    if (tx.IsEmpty(slot)) return EditResult::Refused("The slot is empty.");
    if (!referencesHandled)
        if (auto refused = ConfirmReferences(tx, slot)) return *refused;
    // The clipboard and the undo step hold the item under one number, so that the calls kept
    // for it come back with it from either.
    const std::uint32_t held = Hold(tx.d.Kind(), tx.set, slot, tx.Read(slot));
    tx.Write(slot, tx.d.Blank(session_.Catalogue().blank), held);
    return EditResult::Done();
}

// What the kind says against writing an item into a slot, as a warning for the caller to show.
std::optional<EditResult> EditScheme::RefuseWrite(Transaction& tx, int slot, const EditItem& item, int movedFrom) {
    auto why = tx.d.RefuseWrite(tx.Data(), slot, item, movedFrom);
    if (!why) return std::nullopt;
    return EditResult::Warned(*why);
}

// Whether the shared event memory takes unitsIn where unitsOut were; refused before anything
// changes, so the counters never go negative and every offset stays a 16-bit value.
std::optional<EditResult> EditScheme::RefuseEventMemory(Transaction& tx, int unitsIn, int unitsOut,
                                                        std::string_view what) {
    if (!tx.events) return std::nullopt;
    auto why = tx.events->RefuseEventMemory(tx.Data(), unitsIn, unitsOut, what);
    if (!why) return std::nullopt;
    return EditResult::Warned(*why);
}

// The memory an item takes where a slot's item goes, for a kind in the shared event memory.
std::optional<EditResult> EditScheme::RefuseReplacing(Transaction& tx, int slot, const EditItem& item) {
    if (!tx.events) return std::nullopt;
    return RefuseEventMemory(tx, tx.events->EventUnits(item), tx.events->EventUnits(tx.Read(slot)),
                             "Pasted " + std::string(tx.d.Noun()));
}

EditResult EditScheme::Paste(Transaction& tx, int slot, bool move) {
    if (!tx.d.ValidSlot(slot)) return EditResult::Refused("No item is selected.");
    // Nothing below changes the clipboard.
    const Clipboard& clipboard = clipboards_[Index(tx.d.Kind())];
    if (clipboard.Empty()) return EditResult::Refused("The clipboard is empty.");
    if (auto refused = RefuseWrite(tx, slot, *clipboard.item, move ? clipboard.slot : -1)) return *refused;
    if (auto refused = RefuseReplacing(tx, slot, *clipboard.item)) return *refused;
    if (!tx.IsEmpty(slot))
        if (auto refused = ConfirmReferences(tx, slot)) return *refused;
    if (move && tx.NumberOf(clipboard.slot) >= 0) {
        // The callers of the moved item follow it; those left on the slot it lands on are kept
        // too, so that Undo tells them from calls made since.
        Redirection follow(tx.d.Kind(), tx.called->NumberLimit());
        follow.Add(tx.NumberOf(clipboard.slot), tx.NumberOf(slot));
        follow.Note(tx.NumberOf(slot));
        tx.Redirect(follow);
        Redirection back(tx.d.Kind(), tx.called->NumberLimit());
        back.Add(tx.NumberOf(slot), tx.NumberOf(clipboard.slot));
        tx.journal.back = std::move(back);
    }
    tx.Write(slot, *clipboard.item, 0, clipboard.set == tx.set ? clipboard.held : 0);
    if (clipboard.set != tx.set && clipboard.set != -1 && !CheckPastedCalls(tx, clipboard.set, slot))
        return EditResult::Cancelled();
    return EditResult::Done();
}

EditResult EditScheme::Delete(Transaction& tx, int slot) {
    const SlotRange bank = tx.d.ShiftRange(slot);
    if (!tx.d.ValidSlot(slot) || !bank.Contains(slot)) return EditResult::Refused("This item can't be deleted.");
    if (auto refused = ConfirmReferences(tx, slot)) return *refused;
    const std::uint32_t held = Hold(tx.d.Kind(), tx.set, slot, tx.Read(slot));
    if (tx.NumberOf(slot) >= 0) {
        // The callers left on the deleted item's number are kept too: Undo gives them back
        // the item, while calls made since to that number follow the item that moved into it.
        Redirection down(tx.d.Kind(), tx.called->NumberLimit());
        Redirection back(tx.d.Kind(), tx.called->NumberLimit());
        for (int j = slot + 1; j <= bank.last; ++j) {
            down.Add(tx.NumberOf(j), tx.NumberOf(j - 1));
            back.Add(tx.NumberOf(j - 1), tx.NumberOf(j));
        }
        down.Note(tx.NumberOf(slot));
        tx.Redirect(down);
        tx.journal.back = std::move(back);
    }
    // The items after the slot move down; the deleted one, now last, gives way to a blank.
    tx.Turn(slot, bank.last, false);
    tx.Write(bank.last, tx.d.Blank(session_.Catalogue().blank), held);
    return EditResult::Done();
}

EditResult EditScheme::Insert(Transaction& tx, int slot) {
    const SlotRange bank = tx.d.ShiftRange(slot);
    if (!tx.d.ValidSlot(slot) || !bank.Contains(slot)) return EditResult::Refused("Nothing can be inserted here.");
    const Clipboard clipboard = clipboards_[Index(tx.d.Kind())];
    if (clipboard.Empty()) return EditResult::Refused("The clipboard is empty.");
    if (auto refused = RefuseWrite(tx, slot, *clipboard.item, -1)) return *refused;
    // The item pushed out of the bank frees its memory.
    if (auto refused = RefuseReplacing(tx, bank.last, *clipboard.item)) return *refused;
    if (auto refused = ConfirmReferences(tx, bank.last)) return *refused;
    if (tx.NumberOf(slot) >= 0) {
        // The callers left on the number of the item pushed out are kept, as for a Delete.
        Redirection up(tx.d.Kind(), tx.called->NumberLimit());
        Redirection back(tx.d.Kind(), tx.called->NumberLimit());
        for (int j = bank.last; j > slot; --j) {
            up.Add(tx.NumberOf(j - 1), tx.NumberOf(j));
            back.Add(tx.NumberOf(j), tx.NumberOf(j - 1));
        }
        up.Note(tx.NumberOf(bank.last));
        tx.Redirect(up);
        tx.journal.back = std::move(back);
    }
    // The items from the slot on move up; the one pushed out of the bank, now in the slot, gives
    // way to the inserted one.
    tx.Turn(slot, bank.last, true);
    EditItem pushedOut = tx.Read(slot);
    const std::uint32_t held = tx.Write(slot, *clipboard.item, 0, clipboard.set == tx.set ? clipboard.held : 0);
    // An item from another set calls by the numbers of that set, as after a Paste.
    if (clipboard.set != tx.set && clipboard.set != -1 && !CheckPastedCalls(tx, clipboard.set, slot))
        return EditResult::Cancelled();
    // The item pushed out of the bank can be pasted elsewhere.
    Hold(tx.d.Kind(), tx.set, slot, std::move(pushedOut), held);
    return EditResult::Done();
}

EditResult EditScheme::EraseBank(Transaction& tx, int bank, bool confirmed) {
    if (!confirmed) {
        const Answer answer =
            tx.Ui().ShowMessage({"Bank Erasing can't be undone\nContinue?", "", MessageIcon::Exclamation,
                                 MessageButtons::OKCancel, Answer::Cancel, QuestionId::EraseBank});
        if (answer != Answer::OK) return EditResult::Cancelled();
    }
    const SlotRange range = tx.d.EraseRange(bank);
    if (range.Empty()) return EditResult::Refused("A preset bank can't be erased.");
    const EditItem blank = tx.d.Blank(session_.Catalogue().blank);
    for (int slot = range.first; slot <= range.last; ++slot) tx.Write(slot, blank);
    if (tx.events) {
        tx.events->RestartRegion(tx.Data());
        tx.LayOut();
    }
    return EditResult::Done();
}

EditResult EditScheme::Drop(Transaction& tx, const Edit& edit) {
    const EditableKind& d = tx.d;
    if (edit.sourceKind != d.Kind())
        return EditResult::Refused("An item can only be dropped on a view of its own kind.");
    if (!d.ValidSlot(edit.slot) || !d.ValidSlot(edit.sourceSlot) || !session_.Sets().IsOpen(edit.sourceSet))
        return EditResult::Refused("No item can be dropped there.");
    const bool sameSet = edit.sourceSet == edit.set;
    if (sameSet && edit.sourceSlot == edit.slot) return EditResult::Refused("The item was dropped on itself.");
    const SetData& source = session_.Data(edit.sourceSet);
    // An empty slot is never dragged: not within the set, and not over a full one elsewhere.
    if (d.IsEmptyAt(source, edit.sourceSlot)) return EditResult::Refused("The slot is empty.");

    if (const InsertingDropKind* inserting = d.InsertingDrop(); sameSet && inserting != nullptr) {
        // Inserted before the entry right after it, it would stay where it is.
        if (edit.slot == edit.sourceSlot + 1) return EditResult::Refused("The item would stay where it is.");
        const Answer answer =
            tx.Ui().ShowMessage({inserting->InsertBeforeQuestion(edit.sourceSlot, edit.slot), "", MessageIcon::Question,
                                 MessageButtons::YesNo, Answer::No, QuestionId::InsertBefore});
        if (answer != Answer::Yes) return EditResult::Cancelled();
        tx.op = kUndoMoveInSet;
        return MoveBefore(tx, edit.sourceSlot, edit.slot);
    }
    Hold(d.Kind(), edit.sourceSet, edit.sourceSlot, d.Read(source, edit.sourceSlot));
    EditResult pasted = Paste(tx, edit.slot, sameSet);
    if (!pasted.done) return pasted;
    if (!sameSet) {
        tx.op = kUndoCopyBetweenSets;
        return pasted;
    }
    // Its callers already follow it to the new slot.
    tx.op = kUndoMoveInSet;
    return Cut(tx, edit.sourceSlot, true);
}

EditResult EditScheme::MoveBefore(Transaction& tx, int from, int to) {
    Hold(tx.d.Kind(), tx.set, from, tx.Read(from));
    // Where each entry ends up: the moved one before the entry dropped on, the ones between
    // shifted by one towards the place it left.
    std::vector<int> newPlace(static_cast<std::size_t>(tx.d.SlotCount()));
    for (int k = 0; k < tx.d.SlotCount(); ++k) newPlace[static_cast<std::size_t>(k)] = k;
    if (to <= from) {
        for (int k = to; k < from; ++k) newPlace[static_cast<std::size_t>(k)] = k + 1;
        newPlace[static_cast<std::size_t>(from)] = to;
        tx.Turn(to, from, true);
    } else {
        for (int k = from + 1; k < to; ++k) newPlace[static_cast<std::size_t>(k)] = k - 1;
        newPlace[static_cast<std::size_t>(from)] = to - 1;
        tx.Turn(from, to - 1, false);
    }
    // Chains to an entry follow it to its new place.
    if (const ChainingKind* chaining = tx.d.Chaining()) {
        for (int k = 0; k < tx.d.SlotCount(); ++k)
            if (auto renumbered = chaining->RenumberChain(tx.Read(k), newPlace)) tx.Write(k, *renumbered);
    }
    return EditResult::Done();
}

// The event memory an Undo brings back (the items its writes replaced that are in the slots
// again afterwards) and frees (the items in the slots now that are gone afterwards).
std::pair<int, int> EditScheme::Transaction::UnitsUndone(const UndoRecord& record) {
    // What each slot holds once the steps are taken back: a kept item, or the item of a slot now.
    struct Holding {
        const EditItem* kept = nullptr;
        int now = -1;
    };
    const auto count = static_cast<std::size_t>(d.SlotCount());
    std::vector<Holding> after(count);
    for (std::size_t k = 0; k < count; ++k) after[k].now = static_cast<int>(k);
    for (auto it = record.steps.rbegin(); it != record.steps.rend(); ++it) {
        if (it->before)
            after[static_cast<std::size_t>(it->slot)] = {&*it->before, -1};
        else
            TurnSlots(after, it->slot, it->last, !it->up);
    }
    std::vector<bool> stays(count, false);
    int unitsIn = 0, unitsOut = 0;
    for (const Holding& holding : after) {
        if (holding.kept) unitsIn += events->EventUnits(*holding.kept);
        if (holding.now >= 0) stays[static_cast<std::size_t>(holding.now)] = true;
    }
    for (std::size_t k = 0; k < count; ++k)
        if (!stays[k]) unitsOut += events->EventUnits(Read(static_cast<int>(k)));
    return {unitsIn, unitsOut};
}

EditResult EditScheme::Undo(ItemKind kind, int set) {
    const EditableKind& d = *EditableKindOf(kind);
    UndoRecord record = std::move(undo_[Index(kind)]);
    undo_[Index(kind)] = {};
    if (record.Empty() || !session_.Sets().IsOpen(record.set)) {
        session_.Changes().Publish(SetChange::Undo(set, false));
        return EditResult::Refused("Nothing to undo.");
    }
    Transaction tx(session_, d, record.set, lastHeld_);
    if (tx.events) {
        auto [unitsIn, unitsOut] = tx.UnitsUndone(record);
        // The pattern memory the kept tables take comes back too.
        if (record.tables && tx.fileTables) {
            unitsIn += record.tables->PatternUnits();
            unitsOut += tx.fileTables->TablesOf(tx.Data()).PatternUnits();
        }
        if (auto refused = RefuseEventMemory(tx, unitsIn, unitsOut, "Undo of " + std::string(d.Noun()))) {
            undo_[Index(kind)] = std::move(record);
            return *refused;
        }
    }
    // A copy another record keeps of an item edited in place since (a chain renumbered) is the
    // item in the slot as it was: where it calls what the item calls, it goes on doing so
    // through the calls this Undo gives back.
    struct Alike {
        std::size_t record = 0;
        std::size_t step = 0;
        std::vector<int> places;
    };
    std::vector<Alike> alike;
    for (std::size_t k = 0; k < undo_.size(); ++k) {
        if (undo_[k].set != record.set || undo_[k].Empty()) continue;
        const EditableKind& other = *EditableKindOf(KindFromIndex(static_cast<int>(k)));
        for (std::size_t n = 0; n < undo_[k].steps.size(); ++n) {
            UndoRecord::SlotStep& step = undo_[k].steps[n];
            if (!step.inPlace || !step.before) continue;
            EditItem now = other.Read(tx.Data(), step.slot);
            auto edited = EditedCalls(*step.before, now);
            if (!edited) continue;
            Alike same{k, n, {}};
            const detail::CallPlaces places = detail::PlacesOf(other.Kind());
            for (int p = 0; p < places.count; ++p)
                if (std::find(edited->begin(), edited->end(), p) == edited->end()) same.places.push_back(p);
            alike.push_back(std::move(same));
        }
    }
    tx.Restore(record, true);
    Follow(tx, nullptr);
    // The held items whose calls the command rewrote get the numbers they held; an item no
    // longer held is gone, and its calls with it.
    for (auto it = record.heldCalls.rbegin(); it != record.heldCalls.rend(); ++it) {
        auto restore = [&](std::optional<EditItem>& item, std::uint32_t held) {
            if (held == it->held && item) RestoreHeld(*item, it->place, it->before);
        };
        for (Clipboard& clipboard : clipboards_)
            if (clipboard.set == record.set) restore(clipboard.item, clipboard.held);
        for (UndoRecord& other : undo_)
            if (other.set == record.set)
                for (UndoRecord::SlotStep& step : other.steps) restore(step.before, step.held);
    }
    for (const Alike& same : alike) {
        // A record dropped meanwhile keeps nothing.
        UndoRecord& other = undo_[same.record];
        if (other.set != record.set || same.step >= other.steps.size()) continue;
        UndoRecord::SlotStep& step = other.steps[same.step];
        if (!step.before) continue;
        EditItem now = EditableKindOf(KindFromIndex(static_cast<int>(same.record)))->Read(tx.Data(), step.slot);
        ItemKind caller = ItemKind::Program;
        std::uint8_t* const copyBytes = CallerBytes(*step.before, caller);
        const std::uint8_t* const nowBytes = CallerBytes(now, caller);
        if (copyBytes == nullptr || nowBytes == nullptr) continue;
        const detail::CallPlaces places = detail::PlacesOf(caller);
        for (const int p : same.places)
            detail::WriteCallAt(copyBytes, places.first[p], detail::ReadCallAt(nowBytes, places.first[p]));
    }
    tx.Announce();
    session_.Changes().Publish(SetChange::Undo(record.set, false));
    if (set != record.set && session_.Sets().IsOpen(set)) session_.Changes().Publish(SetChange::Undo(set, false));
    return EditResult::Done();
}

std::optional<EditResult> EditScheme::ConfirmReferences(Transaction& tx, int slot) {
    const EditableKind& d = tx.d;
    const int number = tx.NumberOf(slot);
    if (number < 0) return std::nullopt;
    CallFilter toKind;
    toKind.called = MaskOf(d.Kind());
    if (!AnyCall(
            tx.Data(), [&](const CallSite& site) { return site.number == number; }, toKind))
        return std::nullopt;

    const CalledKind& called = *tx.called;
    const std::string name = TrimBlanks(SlotName(d, tx.Data(), slot));
    const Answer answer = tx.Ui().ShowMessage({called.ReferenceQuestion(name), "", MessageIcon::Exclamation,
                                               MessageButtons::YesNoCancel, Answer::Cancel, QuestionId::ReferencedBy});
    if (answer == Answer::Cancel) return EditResult::Cancelled();
    if (answer == Answer::No) return std::nullopt;
    // The item leaving its slot is never offered: the chooser opens on its neighbour.
    const SlotRange bank = d.ShiftRange(slot);
    const bool nextInBank = bank.Empty() ? d.ValidSlot(slot + 1) : bank.Contains(slot + 1);
    const int neighbour = nextInBank ? slot + 1 : slot - 1;
    const int start = d.ValidSlot(neighbour) && tx.NumberOf(neighbour) >= 0 ? tx.NumberOf(neighbour) : number;
    int chosen = called.Pick(tx.Ui(), tx.set, start, "");
    if (chosen < 0) {
        if (!called.CancelledPickCallsNothing()) return std::nullopt;
        chosen = kNoItem;
    }
    if (chosen == number) {
        const std::string why = "The callers of " + std::string(d.Noun()) + " '" + name +
                                "' can't be changed to call it: it is the one leaving its slot.";
        return EditResult::Warned(why);
    }
    Redirection away(d.Kind(), called.NumberLimit());
    away.Add(number, chosen);
    tx.Redirect(away);
    return std::nullopt;
}

bool EditScheme::CheckPastedCalls(Transaction& tx, int sourceSet, int slot) {
    SetData& destination = tx.Data();
    const SetData& source = session_.Data(sourceSet);
    std::vector<CallSite> calls;
    CallFilter ofItem;
    ofItem.callers = MaskOf(tx.d.Kind());
    ofItem.slot = slot;
    ForEachCall(
        destination, [&](const CallSite& site) { calls.push_back(site); }, ofItem);
    // Only kinds that call others have calls to check.
    const CallingKind* calling = tx.d.Calling();
    for (const CallSite& call : calls) {
        const EditableKind* calledKind = EditableKindOf(call.called);
        const CalledKind* called = calledKind != nullptr ? calledKind->Called() : nullptr;
        const int sourceSlot = called != nullptr ? calledKind->SlotOfNumber(call.number) : -1;
        if (sourceSlot < 0 || calling == nullptr) continue;  // a preset, or no item
        const std::string name = calledKind->Name(calledKind->Read(source, sourceSlot));
        int target = -1;
        if (const int found = called->FindByName(destination, name); found >= 0) {
            target = called->NumberOf(found);
        } else {
            const std::string track = TrimBlanks(CallingTrackName(call.caller, call.track));
            const MissingCall missing{calling->CallerName(tx.Read(slot), slot), track, call.called, TrimBlanks(name),
                                      session_.Slot(tx.set).name};
            const Answer answer =
                tx.Ui().ShowMessage({calling->MissingCallQuestion(missing), "", MessageIcon::Exclamation,
                                     MessageButtons::YesNoCancel, Answer::Cancel, QuestionId::MissingCall});
            if (answer == Answer::Cancel) return false;
            if (answer == Answer::No) continue;
            target = called->Pick(tx.Ui(), tx.set, call.number, track.empty() ? "" : "for track '" + track + "'");
            if (target < 0) return false;
        }
        // Part of the pasted item: the slot write already keeps what was there before.
        if (target != call.number) WriteCall(destination, call, target);
    }
    return true;
}

EditResult EditScheme::PasteFromXStyle(int set, ItemKind kind, int slot, const std::string& path) {
    const EditableKind* d = EditableKindOf(kind);
    const auto xstyleKind = XStyleKindFor(kind, slot);
    if (d == nullptr || !xstyleKind) return EditResult::Refused("Items of this kind can't be read from XStyle files.");
    if (!session_.Sets().IsOpen(set)) return EditResult::Refused("The set is not open.");
    if (!d->ValidSlot(slot)) return EditResult::Refused("No item is selected.");
    std::string chosen = path;
    if (chosen.empty()) {
        auto answer = session_.Ui().ChooseOpenFile(XStyleFileRequest(kind, *xstyleKind, session_.Opts().PathNam));
        if (!answer || answer->empty()) return EditResult::Cancelled();
        chosen = *answer;
    }
    // The kind of a file is told by its extension; a file of another kind is not read as this one.
    if (auto misfit = XStyleFileMisfit(chosen, *xstyleKind, d->Label(slot))) {
        return EditResult::Warned(*misfit);
    }
    std::optional<EditItem> item;
    {
        BusyPointer busy(session_.Ui());
        item = ReadXStyleItem(chosen, *xstyleKind, session_.Ui());
    }
    if (!item) return EditResult::AlreadyTold("The XStyle file could not be read.");
    Hold(kind, -1, -1, std::move(*item));
    Edit paste;
    paste.command = EditCommand::Paste;
    paste.kind = kind;
    paste.set = set;
    paste.slot = slot;
    return Apply(paste);
}

EditResult EditScheme::WriteItem(int set, ItemKind kind, int slot, const EditItem& item) {
    return WriteItems(set, kind, {{slot, item}});
}

EditResult EditScheme::WriteItems(int set, ItemKind kind, const std::vector<std::pair<int, EditItem>>& items,
                                  const std::optional<SongTables>& tables) {
    const EditableKind* d = EditableKindOf(kind);
    if (d == nullptr || !session_.Sets().IsOpen(set) || items.empty()) return EditResult::Refused("No item to write.");
    for (const auto& [slot, item] : items)
        if (!d->ValidSlot(slot) || item.index() != d->Read(session_.Data(set), 0).index())
            return EditResult::Refused("No item to write.");
    if (tables && d->Tables() == nullptr) return EditResult::Refused("The kind's file holds no tables.");
    Transaction tx(session_, *d, set, lastHeld_);
    for (const auto& [slot, item] : items) tx.Write(slot, item);
    if (tables) tx.PutTables(*tables);
    tx.journal.op = kUndoPaste;
    tx.journal.set = set;
    Follow(tx, &tx.journal);
    undo_[Index(kind)] = std::move(tx.journal);
    tx.Announce();
    session_.Changes().Publish(SetChange::Undo(set, true));
    return EditResult::Done();
}

bool EditScheme::RedirectCalls(int set, ItemKind called, int from, int to) {
    const EditableKind* d = EditableKindOf(called);
    if (d == nullptr || !session_.Sets().IsOpen(set) || d->Called() == nullptr) return false;
    Transaction tx(session_, *d, set, lastHeld_);
    Redirection redirection(called, d->Called()->NumberLimit());
    redirection.Add(from, to);
    tx.Redirect(redirection);
    Follow(tx, nullptr);
    tx.Announce();
    return !tx.journal.calls.Empty();
}

bool EditScheme::WarnDuplicateNames(int set, ItemKind kind) {
    std::vector<Message> warnings;
    const bool found = DuplicateNameWarnings(set, kind, warnings);
    for (const Message& warning : warnings) session_.Ui().ShowMessage(warning);
    return found;
}

bool EditScheme::DuplicateNameWarnings(int set, ItemKind kind, std::vector<Message>& warnings) {
    const EditableKind* d = EditableKindOf(kind);
    if (!session_.Opts().WarnDupl || d == nullptr || !session_.Sets().IsOpen(set)) return false;
    const std::vector<SlotRange> runs = d->DuplicateRuns();
    if (runs.empty()) return false;
    const SetData& data = session_.Data(set);
    std::vector<std::string_view> names(static_cast<std::size_t>(d->SlotCount()));
    for (int slot = 0; slot < d->SlotCount(); ++slot)
        names[static_cast<std::size_t>(slot)] = Trimmed(d->NameAt(data, slot));
    // Names are mostly all different: one pass tells, and the pairs are looked for only then.
    if (std::none_of(runs.begin(), runs.end(), [&](const SlotRange& run) { return HasDuplicate(names, run); }))
        return false;

    const std::string noun(d->Noun());
    int countdown = kDuplicateMessages;
    bool found = false;
    for (const SlotRange& run : runs) {
        for (int i = run.first + 1; i <= run.last; ++i) {
            const std::string_view name = names[static_cast<std::size_t>(i)];
            if (name.empty()) continue;
            for (int j = run.first; j < i; ++j) {
                if (names[static_cast<std::size_t>(j)] != name) continue;
                found = true;
                if (--countdown <= 0) {
                    warnings.push_back(
                        Warning("More than " + std::to_string(kDuplicateMessages) + " " + noun + " duplicate names !"));
                    return true;
                }
                warnings.push_back(Warning(noun + " duplicate name\n" + d->Label(i) + " - " + d->Label(j) + "  (" +
                                           std::string(name) + ")"));
            }
        }
    }
    return found;
}

void EditScheme::WarnDuplicateNamesAfterOpening(int set) {
    for (ItemKind kind : {ItemKind::Arrangement, ItemKind::Style, ItemKind::Program}) WarnDuplicateNames(set, kind);
}

}  // namespace vx
