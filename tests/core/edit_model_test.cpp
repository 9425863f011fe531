// The edit commands in sequence, checked at the level of names: seeded random scripts over two
// copies of the demo set whose items all have names of their own. The user sequences that once
// left items calling the wrong items are a vx50 transcript (tests/data/tool/held.txt).
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "core/check/SetCheck.h"
#include "core/editing/EditScheme.h"
#include "core/library/LibrarySource.h"
#include "core/storage/Session.h"
#include "core/text/Helpers.h"
#include "support/ScriptedInteraction.h"
#include "support/TestPaths.h"
#include "support/TestSession.h"

namespace vx {
namespace {

using enum ItemKind;
namespace fs = std::filesystem;

// The kinds; all but programs call others, all but KBD sets have names, and so an identity the
// oracle can follow.
constexpr ItemKind kKinds[] = {Arrangement, Style, Program, BackingSequence, Song, KbdSet};

std::string Trim(std::string_view text) { return TrimBlanks(text); }

std::string Key(ItemKind kind, const std::string& name) { return std::to_string(KindIndex(kind)) + ":" + name; }

// What a call names: the called item's kind and name, "#N" for a number no user slot has, ""
// for an empty slot.
std::string CallName(const SetData& data, ItemKind called, int number) {
    const EditableKind* d = EditableKindOf(called);
    const int slot = d != nullptr ? d->SlotOfNumber(number) : -1;
    if (slot < 0 || !d->ValidSlot(slot)) return "#" + std::to_string(number);
    const std::string name = Trim(SlotName(*d, data, slot));
    return name.empty() ? std::string() : Key(called, name);
}

// The calls of an item, as names in the set it belongs to.
std::vector<std::string> CallNames(const SetData& data, ItemKind caller, int slot) {
    std::vector<std::string> names;
    CallFilter filter;
    filter.callers = MaskOf(caller);
    filter.slot = slot;
    ForEachCall(
        data, [&](const CallSite& site) { names.push_back(CallName(data, site.called, site.number)); }, filter);
    return names;
}

// The calls of an item held apart from its set, as names in that set: the item is looked at in
// slot 0 of a copy of the set (no kind calls its own kind).
std::vector<std::string> HeldCallNames(SetData copy, const EditItem& item) {
    const EditableKind& d = *EditableKindOf(kKinds[item.index()]);
    d.Write(copy, 0, item);
    return CallNames(copy, d.Kind(), 0);
}

// A set at the level of names: how often each name is there, and what each named caller calls.
struct Picture {
    std::map<std::string, int> count;
    std::map<std::string, std::vector<std::string>> calls;
    bool Unique(const std::string& key) const {
        const auto it = count.find(key);
        return it != count.end() && it->second == 1;
    }
};

Picture Take(const SetData& data) {
    Picture picture;
    for (const ItemKind kind : kKinds) {
        const EditableKind& d = *EditableKindOf(kind);
        for (int slot = 0; kind != KbdSet && slot < d.SlotCount(); ++slot) {
            const std::string name = Trim(SlotName(d, data, slot));
            if (name.empty()) continue;
            ++picture.count[Key(kind, name)];
            if (kind != Program) picture.calls[Key(kind, name)] = CallNames(data, kind, slot);
        }
    }
    return picture;
}

// Gives every item of the editable kinds a name of its own: its kind, a tag and its label.
void NameEveryItem(SetData& data, char tag) {
    for (const ItemKind kind : kKinds) {
        const EditableKind& d = *EditableKindOf(kind);
        for (int slot = 0; kind != KbdSet && slot < d.SlotCount(); ++slot) {
            if (d.IsEmptyAt(data, slot)) continue;
            EditItem item = d.Read(data, slot);
            const std::string name = std::string(1, "ASPBNK"[KindIndex(kind)]) + tag + " " + d.Label(slot);
            std::visit(
                [&](auto& value) {
                    using T = std::decay_t<decltype(value)>;
                    if constexpr (std::is_same_v<T, ArrangementRecord>)
                        value.SetName(name);
                    else if constexpr (!std::is_same_v<T, KbdSetRecord>)
                        value.record.SetName(name);
                },
                item);
            d.Write(data, slot, item);
        }
    }
}

// Answers every question and chooser from a seed, so that a script plays the same way again.
class SeededInteraction : public test::ScriptedInteraction {
public:
    std::mt19937 random;
    const SetData* set = nullptr;
    int notices = 0;

    Answer ShowMessage(const Message& message) override {
        messages.push_back(message);
        switch (message.question) {
            case QuestionId::ReferencedBy:
            case QuestionId::MissingCall: {
                const int roll = static_cast<int>(random() % 10);
                return roll < 5 ? Answer::No : roll < 8 ? Answer::Yes : Answer::Cancel;
            }
            case QuestionId::InsertBefore:
                return random() % 4 != 0 ? Answer::Yes : Answer::No;
            default:
                return message.defaultButton;
        }
    }
    int PickArrangement(int, int, const std::string&) override { return Pick(Arrangement); }
    int PickStyle(int, int, const std::string&) override { return Pick(Style); }
    int PickProgram(int, int, const std::string&) override { return Pick(Program); }
    void Notice(const std::string&) override { ++notices; }

private:
    int Pick(ItemKind kind) {
        if (random() % 6 == 0) return -1;
        const EditableKind& d = *EditableKindOf(kind);
        return d.Called()->NumberOf(static_cast<int>(random() % static_cast<unsigned>(d.SlotCount())));
    }
};

// One command of a script and the seed of its answers.
struct Step {
    Edit edit;
    std::uint32_t answers = 0;
    // A drop from the Library window: the source set saved, and dropped from a copy on disk.
    bool fromDisk = false;
};

// The words of a step, in the order of EditCommand and of kKinds.
const std::vector<std::string> kCommandWords = {"cut", "copy", "paste", "delete", "insert", "erase-bank", "undo", "drop"};
const std::string kKindWords = "arr sty prg bsq sng ark";

std::string Describe(const Step& step) {
    const Edit& e = step.edit;
    std::ostringstream out;
    out << kCommandWords[static_cast<std::size_t>(e.command)] << ' ' << e.set + 1 << ' '
        << kKindWords.substr(static_cast<std::size_t>(KindIndex(e.kind)) * 4, 3) << ':';
    if (e.command == EditCommand::EraseBank)
        out << "bank " << e.bank;
    else
        out << e.slot;
    if (e.command == EditCommand::Drop)
        out << " from " << (step.fromDisk ? "disk " : "") << e.sourceSet + 1 << ':' << e.sourceSlot;
    out << " (answers " << step.answers << ')';
    return out.str();
}

// A step as Describe writes it, for the scripts kept as fixed cases.
Step Parse(const std::string& line) {
    Step step;
    Edit& e = step.edit;
    std::istringstream words(line);
    std::string command, kind, word;
    char colon = 0;
    words >> command >> e.set >> kind;
    e.command = static_cast<EditCommand>(std::find(kCommandWords.begin(), kCommandWords.end(), command) -
                                         kCommandWords.begin());
    e.kind = kKinds[kKindWords.find(kind.substr(0, 3)) / 4];
    --e.set;
    std::istringstream(kind.substr(4)) >> e.slot;
    if (e.command == EditCommand::EraseBank) {
        words >> e.bank;
        e.confirmed = true;
    }
    if (e.command == EditCommand::Drop) {
        words >> word >> word;  // "from", then "disk" or the source
        step.fromDisk = word == "disk";
        if (step.fromDisk) words >> word;
        std::istringstream(word) >> e.sourceSet >> colon >> e.sourceSlot;
        e.sourceKind = e.kind;
        --e.sourceSet;
    }
    words >> word >> step.answers;
    return step;
}

// Two copies of the demo set in a session, every item with a name of its own; in the second,
// the programs of each user bank stand in the opposite order, so that calls between the sets
// need their names.
class ModelSets {
public:
    explicit ModelSets(const fs::path& demo) {
        session = test::MakeSession(ui, options);
        scheme = std::make_unique<EditScheme>(*session);
        for (const char tag : {'1', '2'}) {
            const fs::path path = tag == '1' ? demo : demo.parent_path() / "OTHER.SET";
            const int set = session->OpenOrNewSet(false, path.string());
            // The same names in both: a paste into the other set finds its called items by name.
            NameEveryItem(session->Data(set), 'x');
            if (tag == '2') {
                const EditableKind& d = Programs();
                for (int slot = 0; slot + 1 < d.SlotCount(); slot += 2) {
                    EditItem first = d.Read(session->Data(set), slot);
                    d.Write(session->Data(set), slot, d.Read(session->Data(set), slot + 1));
                    d.Write(session->Data(set), slot + 1, first);
                }
            }
            sets.push_back(set);
        }
    }
    SetData& Data(int index) { return session->Data(sets[static_cast<std::size_t>(index)]); }

    SeededInteraction ui;
    Options options;
    std::unique_ptr<Session> session;
    std::unique_ptr<EditScheme> scheme;
    std::vector<int> sets;
};

// The finding types no command of a script can make. Calls of empty slots (a Delete answered
// No, Erase Bank) and duplicate names (a Paste) are the script's own; the sequence files' size
// table in memory is not kept up to date by the commands but written afresh by every save, which
// the comparison of the saved bytes covers.
std::map<FindingType, int> LastingFindings(const SetData& data, const std::array<bool, kSetKindCount>& unsaved) {
    std::map<FindingType, int> counts;
    for (const Finding& finding : CheckSet(data, unsaved))
        if (finding.type != FindingType::CallToEmptySlot && finding.type != FindingType::DuplicateName &&
            finding.type != FindingType::MapMismatch)
            ++counts[finding.type];
    return counts;
}

// Plays a script and checks every command; the first fault found, or empty.
class ModelRun {
public:
    ModelRun(const fs::path& demo, const fs::path& scratch) : sets_(demo), scratch_(scratch) {
        for (int i = 0; i < 2; ++i) {
            pictures_.push_back(Take(sets_.Data(i)));
            findings_.push_back(LastingFindings(sets_.Data(i), {}));
        }
        Record();
    }

    // The first fault and the number of commands played up to it; the files are checked every
    // checkEvery commands and after the last.
    std::pair<std::string, std::size_t> Play(const std::vector<Step>& script, int checkEvery) {
        for (std::size_t n = 0; n < script.size(); ++n) {
            std::string fault = Apply(script[n]);
            const bool last = n + 1 == script.size();
            if (fault.empty() && (last || (n + 1) % static_cast<std::size_t>(checkEvery) == 0)) fault = CheckFiles();
            if (!fault.empty()) return {"after command " + std::to_string(n + 1) + ": " + fault, n + 1};
        }
        return {};
    }

    ModelSets& Sets() { return sets_; }

private:
    struct HeldModel {
        std::uint32_t held = 0;
        int set = -1;                    // index of the set it came from
        std::vector<std::string> calls;  // "*": anything, its item has left the set since
    };
    struct UndoModel {
        int command = -1;  // index of the command
        int set = -1;
    };

    std::string Apply(const Step& step) {
        Edit edit = step.edit;
        edit.set = sets_.sets[static_cast<std::size_t>(edit.set)];
        edit.sourceSet = sets_.sets[static_cast<std::size_t>(edit.sourceSet)];
        sets_.ui.random.seed(step.answers);
        const int kind = KindIndex(edit.kind);
        const int setIndex = step.edit.set;
        // A drop from the other set pastes that set's item as it is there now.
        std::vector<std::string> dropped;
        if (edit.command == EditCommand::Drop && step.edit.sourceSet != step.edit.set)
            dropped = CallNames(sets_.Data(step.edit.sourceSet), edit.kind, edit.sourceSlot);
        const HeldModel clip = clipboards_[static_cast<std::size_t>(kind)];
        // What the held items call before an Undo, which gives back calls it finds in them.
        std::array<std::vector<std::string>, kEditableKinds> heldBefore{};
        if (edit.command == EditCommand::Undo)
            for (std::size_t k = 0; k < heldBefore.size(); ++k) heldBefore[k] = HeldNow(kKinds[k]);
        // The item a command removes from its slot leaves the set, even when an item of the same
        // name takes its place.
        std::string replaced;
        {
            const EditableKind& d = *EditableKindOf(edit.kind);
            int slot = edit.command == EditCommand::Insert ? d.ShiftRange(edit.slot).last : edit.slot;
            if (edit.command == EditCommand::Copy || edit.command == EditCommand::Undo ||
                edit.command == EditCommand::EraseBank)
                slot = -1;
            if (d.ValidSlot(slot)) replaced = Key(edit.kind, Trim(SlotName(d, sets_.Data(setIndex), slot)));
        }
        EditResult result;
        if (step.fromDisk) {
            // As the Library window drops: from the set read from disk, not the open one.
            const fs::path copy = SavedCopy(step.edit.sourceSet);
            if (copy.empty()) return Describe(step) + ": the source set could not be saved";
            const library::SourceSet source(*sets_.session, copy.string());
            if (!source.ReadFromDisk()) return Describe(step) + ": the saved copy was not read from disk";
            edit.sourceSet = source.Set();
            result = sets_.scheme->Apply(edit);
        } else {
            result = sets_.scheme->Apply(edit);
        }

        const std::vector<Picture> before = pictures_;
        for (int i = 0; i < 2; ++i) pictures_[static_cast<std::size_t>(i)] = Take(sets_.Data(i));
        Record();
        const int state = static_cast<int>(history_[0].size()) - 1;  // the state after this command

        std::string fault;
        if (edit.command == EditCommand::Undo && result.done) {
            const UndoModel undone = undo_[static_cast<std::size_t>(kind)];
            for (int i = 0; i < 2 && fault.empty(); ++i)
                fault = CheckUndo(i, before[static_cast<std::size_t>(i)], i == undone.set ? undone.command : -1, state);
        } else {
            for (int i = 0; i < 2 && fault.empty(); ++i)
                fault = CheckKept(i, before[static_cast<std::size_t>(i)], i == setIndex ? replaced : std::string());
        }
        if (fault.empty() && result.done) {
            const EditableKind& d = *EditableKindOf(edit.kind);
            const SetData& data = sets_.Data(setIndex);
            if (edit.command == EditCommand::Paste || edit.command == EditCommand::Insert)
                fault = CheckCameBack(setIndex, CallNames(data, edit.kind, edit.slot), clip);
            else if (!dropped.empty() && d.InsertingDrop() == nullptr)
                fault =
                    CheckCameBack(setIndex, CallNames(data, edit.kind, edit.slot), {0, setIndex == 0 ? 1 : 0, dropped});
        }
        if (!fault.empty()) return Describe(step) + ": " + fault;
        // An item replaced by another of the same name, or brought from elsewhere with a name
        // the set has had, is another item, which the names alone cannot tell apart.
        auto& alike = replacedAlike_[static_cast<std::size_t>(setIndex)];
        if (result.done && !replaced.empty() && pictures_[static_cast<std::size_t>(setIndex)].Unique(replaced))
            alike.emplace_back(state, replaced);
        const bool pastedFromElsewhere =
            (edit.command == EditCommand::Paste || edit.command == EditCommand::Insert) && clip.set != setIndex;
        if (result.done && (pastedFromElsewhere || !dropped.empty())) {
            const EditableKind& d = *EditableKindOf(edit.kind);
            alike.emplace_back(state, Key(edit.kind, Trim(SlotName(d, sets_.Data(setIndex), edit.slot))));
        }

        // What is held now. Copy and Erase Bank leave nothing to undo: they drop their own set's
        // record and keep another set's, which Undo then still takes back.
        UndoModel& undone = undo_[static_cast<std::size_t>(kind)];
        if (result.done && edit.command != EditCommand::Undo && edit.command != EditCommand::Copy &&
            edit.command != EditCommand::EraseBank)
            undone = {state - 1, setIndex};
        // Held records the scheme dropped (a Copy, an Erase Bank, a notice) are no longer undone.
        for (const ItemKind k : kKinds)
            if (sets_.scheme->UndoOf(k).Empty()) undo_[static_cast<std::size_t>(KindIndex(k))] = {};
        for (const ItemKind k : kKinds) {
            const Clipboard& clipboard = sets_.scheme->ClipboardOf(k);
            HeldModel& model = clipboards_[static_cast<std::size_t>(KindIndex(k))];
            if (clipboard.held != model.held) {
                model = {clipboard.held, -1, {}};
                for (int i = 0; i < 2; ++i)
                    if (clipboard.set == sets_.sets[static_cast<std::size_t>(i)] && clipboard.item) {
                        model.set = i;
                        model.calls = HeldCallNames(sets_.Data(i), *clipboard.item);
                    }
            }
            // A call an Undo gave back in a held item names what the undone command found there,
            // which the oracle does not follow into held items.
            if (edit.command == EditCommand::Undo && model.held == clipboard.held) {
                const std::vector<std::string> now = HeldNow(k);
                const std::vector<std::string>& was = heldBefore[static_cast<std::size_t>(KindIndex(k))];
                for (std::size_t p = 0; p < model.calls.size() && p < now.size() && p < was.size(); ++p)
                    if (now[p] != was[p]) model.calls[p] = "*";
            }
            // A call of a held item whose item left the set may name anything from then on.
            if (model.set >= 0)
                for (std::string& call : model.calls)
                    if (!call.empty() && call[0] != '#' && !pictures_[static_cast<std::size_t>(model.set)].Unique(call))
                        call = "*";
        }
        return {};
    }

    // The calls of a kind's held item, as names in the set it came from (none from outside).
    std::vector<std::string> HeldNow(ItemKind kind) {
        const Clipboard& clipboard = sets_.scheme->ClipboardOf(kind);
        for (int i = 0; i < 2; ++i)
            if (clipboard.set == sets_.sets[static_cast<std::size_t>(i)] && clipboard.item)
                return HeldCallNames(sets_.Data(i), *clipboard.item);
        return {};
    }

    // Saves a set and copies its files to a set directory of their own, which no open set has.
    fs::path SavedCopy(int index) {
        const int set = sets_.sets[static_cast<std::size_t>(index)];
        const std::string name = "SAVED" + std::to_string(index);
        const fs::path saved = scratch_ / (name + ".SET");
        fs::create_directories(saved);
        if (!sets_.session->SaveSet(set, (saved / name).string(), true)) return {};
        sets_.session->Slot(set).lock.reset();
        const fs::path copy = scratch_ / "LIBRARY.SET";
        fs::remove_all(copy);
        fs::create_directories(copy);
        for (const auto& entry : fs::directory_iterator(saved))
            if (entry.path().stem() == name)
                fs::copy(entry.path(), copy / ("LIBRARY" + entry.path().extension().string()));
        return copy;
    }

    // Every named caller calls what it called, unless that item left the set.
    std::string CheckKept(int set, const Picture& before, const std::string& replaced) {
        const Picture& after = pictures_[static_cast<std::size_t>(set)];
        for (const auto& [caller, calls] : before.calls) {
            if (!before.Unique(caller) || !after.Unique(caller) || caller == replaced) continue;
            const std::vector<std::string>& now = after.calls.at(caller);
            for (std::size_t p = 0; p < calls.size() && p < now.size(); ++p) {
                const std::string& was = calls[p];
                if (was.empty() || was == replaced || (was[0] != '#' && !(before.Unique(was) && after.Unique(was))))
                    continue;
                if (now[p] != was)
                    return "set " + std::to_string(set + 1) + ": " + caller + " call " + std::to_string(p) + " named " +
                           was + ", now " + now[p];
            }
        }
        return {};
    }

    // An item that comes back calls what it called when it left.
    std::string CheckCameBack(int set, const std::vector<std::string>& now, const HeldModel& held) {
        if (held.set < 0) return {};
        const Picture& after = pictures_[static_cast<std::size_t>(set)];
        for (std::size_t p = 0; p < held.calls.size() && p < now.size(); ++p) {
            const std::string& was = held.calls[p];
            if (was == "*" || was.empty() || (was[0] != '#' && !after.Unique(was))) continue;
            if (now[p] != was)
                return "set " + std::to_string(set + 1) + ": the item that came back, call " + std::to_string(p) +
                       " named " + was + " when it left, now " + now[p];
        }
        return {};
    }

    // After an Undo, calls name what they named before the undone command (command, -1 when it
    // touched another set); calls made since name what they named before the Undo.
    std::string CheckUndo(int set, const Picture& beforeUndo, int command, int state) {
        const Picture& after = pictures_[static_cast<std::size_t>(set)];
        // The set before and after the undone command.
        const auto& snapshots = snapshots_[static_cast<std::size_t>(set)];
        const Picture* original = command >= 0 ? &snapshots[static_cast<std::size_t>(command)] : nullptr;
        const Picture* done = command >= 0 ? &snapshots[static_cast<std::size_t>(command) + 1] : nullptr;
        for (const auto& [caller, calls] : beforeUndo.calls) {
            if (!beforeUndo.Unique(caller) || !after.Unique(caller)) continue;
            const std::vector<std::string>& now = after.calls.at(caller);
            const std::vector<std::string>* was = nullptr;
            const std::vector<std::string>* made = nullptr;
            if (original != nullptr && original->Unique(caller) && done->Unique(caller)) {
                was = &original->calls.at(caller);
                made = &done->calls.at(caller);
            } else if (original != nullptr) {
                // Held apart from the set during the undone command, its calls come back as
                // they were then: the oracle does not follow held items that far.
                continue;
            }
            // Replaced since by another item of its name, the caller is not the one the undone
            // command changed; the oracle does not tell them apart.
            if (original != nullptr &&
                std::any_of(replacedAlike_[static_cast<std::size_t>(set)].begin(),
                            replacedAlike_[static_cast<std::size_t>(set)].end(), [&](const auto& replacement) {
                                return replacement.second == caller && replacement.first > command + 1;
                            }))
                continue;
            for (std::size_t p = 0; p < calls.size() && p < now.size(); ++p) {
                std::string expected = calls[p];
                if (was != nullptr && p < was->size() && p < made->size() && (*was)[p] != (*made)[p]) {
                    // The undone command changed the call: it names its item again, when that item
                    // stayed in the set (or left with the command and came back with the Undo).
                    expected = Followed(set, (*was)[p], command, state) ? (*was)[p] : std::string();
                } else if (!expected.empty() && expected[0] != '#' &&
                           !(beforeUndo.Unique(expected) && after.Unique(expected))) {
                    expected.clear();
                }
                if (!expected.empty() && now[p] != expected)
                    return "set " + std::to_string(set + 1) + ": after Undo " + caller + " call " + std::to_string(p) +
                           " should name " + expected + ", names " + now[p];
            }
        }
        return {};
    }

    // Whether an item named in the state before command was there, once, in every state since
    // (or in none from the command up to the Undo).
    bool Followed(int set, const std::string& key, int command, int state) {
        if (key.empty()) return false;
        if (key[0] == '#') return true;
        const std::string presence = Presence(set, key);
        // presence[s] is '1' when the item was there once in state s.
        if (presence.size() <= static_cast<std::size_t>(state) || presence[static_cast<std::size_t>(command)] != '1' ||
            presence[static_cast<std::size_t>(state)] != '1')
            return false;
        bool gone = false;
        for (int s = command + 1; s < state; ++s) {
            const bool there = presence[static_cast<std::size_t>(s)] == '1';
            if (!there && s == command + 1) gone = true;
            if (there == gone) return false;
        }
        return true;
    }

    std::string Presence(int set, const std::string& key) {
        std::string presence;
        for (const auto& names : history_[static_cast<std::size_t>(set)]) presence += names.count(key) ? '1' : '0';
        return presence;
    }

    // The state after each command: the names there once, and the picture before each command.
    void Record() {
        for (int i = 0; i < 2; ++i) {
            std::map<std::string, int> unique;
            for (const auto& [key, count] : pictures_[static_cast<std::size_t>(i)].count)
                if (count == 1) unique.emplace(key, 1);
            history_[static_cast<std::size_t>(i)].push_back(std::move(unique));
            snapshots_[static_cast<std::size_t>(i)].push_back(pictures_[static_cast<std::size_t>(i)]);
        }
    }

    // The check finds nothing new, and saving and opening again gives the same bytes.
    std::string CheckFiles() {
        for (int i = 0; i < 2; ++i) {
            const int set = sets_.sets[static_cast<std::size_t>(i)];
            const auto& unsaved = sets_.session->Slot(set).dirty;
            if (LastingFindings(sets_.Data(i), unsaved) != findings_[static_cast<std::size_t>(i)]) {
                std::string found;
                for (const Finding& finding : CheckSet(sets_.Data(i), unsaved)) found += "\n    " + finding.Text();
                return "set " + std::to_string(i + 1) + ": the check finds something new:" + found;
            }
            const std::string name = "SAVED" + std::to_string(i);
            const fs::path directory = scratch_ / (name + ".SET");
            fs::create_directories(directory);
            if (!sets_.session->SaveSet(set, (directory / name).string(), true)) return "the set could not be saved";
            // Opened again in a session of its own, as another run of the program would once this
            // one has let the set go.
            sets_.session->Slot(set).lock.reset();
            test::ScriptedInteraction ui;
            Options options;
            auto reader = test::MakeSession(ui, options);
            const int reopened = reader ? reader->OpenOrNewSet(false, directory.string()) : 0;
            if (reopened == 0) return "the saved set could not be opened";
            for (const ItemKind kind : kKinds)
                if (SerializeKind(reader->Data(reopened), kind) != SerializeKind(sets_.Data(i), kind))
                    return "set " + std::to_string(i + 1) + ": saved and opened again, kind " +
                           std::to_string(KindIndex(kind)) + " differs";
        }
        return {};
    }

    ModelSets sets_;
    fs::path scratch_;
    std::array<HeldModel, kEditableKinds> clipboards_{};
    std::array<UndoModel, kEditableKinds> undo_{};
    std::vector<Picture> pictures_;
    std::vector<std::map<FindingType, int>> findings_;
    std::array<std::vector<std::map<std::string, int>>, 2> history_{};
    std::array<std::vector<Picture>, 2> snapshots_{};
    // The state after each command that put another item in the place of one of the same name,
    // and the name.
    std::array<std::vector<std::pair<int, std::string>>, 2> replacedAlike_{};
};

// A random script: commands of every kind, on the slots that hold items more often than not.
std::vector<Step> RandomScript(std::uint32_t seed, int length, ModelSets& sets) {
    std::mt19937 random(seed);
    std::mt19937 library(seed + 0x11b);
    auto roll = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    std::vector<Step> script;
    for (int n = 0; n < length; ++n) {
        Step step;
        Edit& e = step.edit;
        e.kind = kKinds[roll(6)];
        const EditableKind& d = *EditableKindOf(e.kind);
        e.set = roll(2);
        auto slot = [&](int set) {
            for (int tries = 0; tries < 8; ++tries) {
                const int s = roll(d.SlotCount());
                if (roll(10) < 3 || !d.IsEmptyAt(sets.Data(set), s)) return s;
            }
            return roll(d.SlotCount());
        };
        const int command = roll(100);
        if (command < 14) {
            e.command = EditCommand::Copy;
        } else if (command < 22) {
            e.command = EditCommand::Cut;
        } else if (command < 34) {
            e.command = EditCommand::Paste;
        } else if (command < 46) {
            e.command = EditCommand::Delete;
        } else if (command < 56) {
            e.command = EditCommand::Insert;
        } else if (command < 74) {
            e.command = EditCommand::Drop;
            e.sourceKind = e.kind;
            e.sourceSet = roll(10) < 6 ? e.set : 1 - e.set;
            e.sourceSlot = slot(e.sourceSet);
            // One drop from another set in four comes from the Library window; chosen apart from
            // the script's own numbers, so that the scripts stay as they were otherwise.
            step.fromDisk = e.sourceSet != e.set && library() % 4 == 0;
        } else if (command < 76) {
            e.command = EditCommand::EraseBank;
            e.bank = roll(8);
            e.confirmed = true;
        } else {
            e.command = EditCommand::Undo;
        }
        e.slot = slot(e.set);
        step.answers = static_cast<std::uint32_t>(random());
        script.push_back(step);
    }
    return script;
}

class EditModelTest : public ::testing::Test {
protected:
    void SetUp() override {
        demo = temp.Path() / "DEMO.SET";
        fs::copy(test::SourceDir() + "/examples/DEMO.SET", demo);
        // The second copy, under a name of its own.
        fs::create_directories(other);
        for (const auto& entry : fs::directory_iterator(demo))
            fs::copy(entry.path(), other / ("OTHER" + entry.path().extension().string()));
    }
    std::string Replay(const std::vector<Step>& script) {
        ModelRun run(demo, temp.Path());
        return run.Play(script, kCheckEvery).first;
    }
    static constexpr int kCheckEvery = 100;

    test::TempDirectory temp;
    fs::path demo;
    fs::path other = temp.Path() / "OTHER.SET";
};

#if defined(__SANITIZE_ADDRESS__)
constexpr int kScripts = 4;  // the sanitizer build plays them ten times slower
#else
constexpr int kScripts = 25;
#endif
constexpr int kCommands = 400;

TEST_F(EditModelTest, RandomScriptsKeepEveryCallOnItsItem) {
    int notices = 0;
    for (std::uint32_t seed = 1; seed <= static_cast<std::uint32_t>(kScripts); ++seed) {
        auto model = std::make_unique<ModelRun>(demo, temp.Path());
        const std::vector<Step> script = RandomScript(seed, kCommands, model->Sets());
        const auto [fault, played] = model->Play(script, kCheckEvery);
        notices += model->Sets().ui.notices;
        // Its sets are opened again by the shorter scripts: until saved elsewhere, they are in use.
        model.reset();
        if (fault.empty()) continue;
        // The shortest script that still fails: the commands after the fault go, then every
        // command that can be left out while it still fails, in runs first.
        std::vector<Step> shortest(script.begin(), script.begin() + static_cast<std::ptrdiff_t>(played));
        std::string last = fault;
        for (std::size_t run = std::max<std::size_t>(1, shortest.size() / 2);; run /= 2) {
            for (std::size_t end = shortest.size(); end > 0;) {
                const std::size_t first = end >= run ? end - run : 0;
                std::vector<Step> shorter = shortest;
                shorter.erase(shorter.begin() + static_cast<std::ptrdiff_t>(first),
                              shorter.begin() + static_cast<std::ptrdiff_t>(end));
                if (std::string again = Replay(shorter); !again.empty()) {
                    shortest = std::move(shorter);
                    last = again;
                }
                end = first;
            }
            if (run == 1) break;
        }
        std::string lines;
        for (const Step& step : shortest) lines += "  " + Describe(step) + "\n";
        FAIL() << "seed " << seed << ": " << fault << "\nshortest failing script (" << shortest.size() << " commands; "
               << last << "):\n"
               << lines;
    }
    RecordProperty("notices", notices);
}

// Scripts the random ones once failed with, shrunk, played by the same oracle
// (tests/data/edit/shrunk_scripts.txt: a blank line ends a script).
TEST_F(EditModelTest, ShrunkScriptsKeepEveryCallOnItsItem) {
    std::istringstream in(test::ReadFileText(test::SourceDir() + "/tests/data/edit/shrunk_scripts.txt") + "\n");
    std::vector<Step> script;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line[0] != '#') script.push_back(Parse(line));
        if (!line.empty() || script.empty()) continue;
        EXPECT_EQ(Replay(script), "") << Describe(script.front());
        script.clear();
    }
}

// "Call another Program" follows what is held: the calls a record keeps follow it while the
// record's own command moved no programs; after a shift its numbers no longer match the set's,
// so the record is dropped with a notice rather than restoring calls to the wrong programs.
TEST_F(EditModelTest, CallAnotherProgramAfterAShiftDropsTheProgramUndoWithANotice) {
    test::ScriptedInteraction ui;
    Options options;
    auto session = test::MakeSession(ui, options);
    ASSERT_TRUE(session);
    EditScheme scheme(*session);
    const int set = session->OpenOrNewSet(false, demo.string());
    const EditableKind& programs = Programs();
    const int f12 = programs.Called()->NumberOf(programs.SlotOfLabel("F12"));
    const int f13 = programs.Called()->NumberOf(programs.SlotOfLabel("F13"));
    const std::vector<std::string> sunday = CallNames(session->Data(set), Arrangement, 0);
    auto command = [&](EditCommand what, ItemKind kind, const std::string& label) {
        return scheme
            .Apply({.command = what, .kind = kind, .set = set, .slot = EditableKindOf(kind)->SlotOfLabel(label)})
            .done;
    };

    // A cut moves nothing: Call another Program follows into the record, and Undo gives the
    // callers of the cut program back to it.
    ui.AnswerTo(QuestionId::ReferencedBy, Answer::No);
    ASSERT_TRUE(command(EditCommand::Cut, Program, "F11"));
    EXPECT_TRUE(scheme.RedirectCalls(set, Program, f12, f13));
    ASSERT_TRUE(command(EditCommand::Undo, Program, ""));
    std::vector<std::string> expected = sunday;
    for (std::string& call : expected)
        if (call == "2:Dry Stage EP") call = "2:Hymn Organ";
    EXPECT_EQ(CallNames(session->Data(set), Arrangement, 0), expected);

    // After a Delete the record cannot follow: it goes, and the status bar says so.
    ui.AnswerTo(QuestionId::ReferencedBy, Answer::No);
    ui.events.clear();
    ASSERT_TRUE(command(EditCommand::Delete, Program, "F11"));
    EXPECT_TRUE(scheme.RedirectCalls(set, Program, f12, f13));
    EXPECT_TRUE(scheme.UndoOf(Program).Empty());
    EXPECT_EQ(std::count(ui.events.begin(), ui.events.end(),
                         "Notice Undo of Programs is no longer possible: calls to them were changed since."),
              1);
    EXPECT_FALSE(command(EditCommand::Undo, Program, ""));
}

}  // namespace
}  // namespace vx
