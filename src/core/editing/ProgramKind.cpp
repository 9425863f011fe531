#include "core/editing/KindDescriptor.h"
#include "core/interaction/Interaction.h"
#include "core/programs/ProgramFile.h"
#include "core/programs/ProgramNumbers.h"
#include "core/text/Helpers.h"

namespace vx {

namespace {

constexpr int kFirstDrumKit = 128;

const ProgramItem& Prg(const EditItem& item) { return std::get<ProgramItem>(item); }

KindDescriptor Make() {
    KindDescriptor d;
    d.kind = ItemKind::Program;
    d.noun = "Program";
    d.slotCount = kUserPrograms;
    d.commands = AllCommands();
    d.numberOf = NumberOfUserIndex;
    d.numberLimit = 1064;
    d.viewNumberOf = NumberOfUserIndex;
    d.slotOfNumber = UserIndexOf;
    d.label = ProgramLabelOfUserIndex;
    d.slotOfLabel = [](std::string_view label) { return UserIndexOf(BankedNumberOfLabel(2, label)); };
    d.read = [](const SetData& data, int slot) -> EditItem {
        ProgramItem item{data.prg.records[static_cast<std::size_t>(slot)], nullptr};
        if (slot >= kFirstDrumKit)
            item.drumKit =
                std::make_shared<const DrumKitData>(data.prg.drumKits[static_cast<std::size_t>(slot - kFirstDrumKit)]);
        return item;
    };
    d.write = [](SetData& data, int slot, const EditItem& item) {
        data.prg.records[static_cast<std::size_t>(slot)] = Prg(item).record;
        // A blank record leaves a drum kit slot's data as it is.
        if (slot >= kFirstDrumKit && Prg(item).drumKit)
            data.prg.drumKits[static_cast<std::size_t>(slot - kFirstDrumKit)] = *Prg(item).drumKit;
    };
    d.blank = [](const BlankItems& blank) -> EditItem { return ProgramItem{blank.program, nullptr}; };
    d.name = [](const EditItem& item) { return Prg(item).record.Name(); };
    d.isEmpty = [](const EditItem& item) { return Prg(item).record.IsEmpty(); };
    d.nameAt = [](const SetData& data, int slot) { return NameIn(data.prg.records[static_cast<std::size_t>(slot)]); };
    // A drum kit's data moves with its record.
    d.turn = [](SetData& data, int first, int last, bool up) {
        TurnSlots(data.prg.records, first, last, up);
        if (first >= kFirstDrumKit) TurnSlots(data.prg.drumKits, first - kFirstDrumKit, last - kFirstDrumKit, up);
    };
    d.findByName = [](const SetData& data, const std::string& name) {
        return UserIndexOf(FindProgramByName(data.prg, name));
    };
    // Delete and Insert shift within bank F or G (list entries 5 and 6); the drum kits (7) do
    // not shift.
    d.shiftRange = [](int slot) { return BankOfSlot(slot, 2); };
    d.eraseRange = [](int bank) {
        return bank == 7 ? SlotRange{kFirstDrumKit, kUserPrograms - 1} : UserBank(bank, 5, 2);
    };
    d.referenceQuestion = [](const std::string& name) {
        return "Program '" + name +
               "' is referenced by one or more\nArrangements, Styles, Backing Sequences, etc.\n\nRedirect them to "
               "another Program?";
    };
    d.pick = [](Interaction& ui, int set, int start, const std::string& addition) {
        return ui.PickProgram(set, start, addition);
    };
    d.callerName = [](const EditItem& item, int) { return TrimBlanks(Prg(item).record.Name()); };
    // A drum kit's 880 bytes of drum kit data have no place in a program slot, and a program
    // has none to give a drum kit slot.
    d.refuseWrite = [](const SetData&, int slot, const EditItem& item, int) -> std::optional<std::string> {
        const bool drumKitSlot = slot >= kFirstDrumKit;
        if ((Prg(item).drumKit != nullptr) == drumKitSlot) return std::nullopt;
        return drumKitSlot ? std::string("A Program can't be pasted into a Drum Kit slot.")
                           : std::string("A Drum Kit can't be pasted into a Program slot.");
    };
    d.dropInSet = DropInSet::Move;
    d.duplicateRuns = {{0, kFirstDrumKit - 1}, {kFirstDrumKit, kUserPrograms - 1}};
    return d;
}

}  // namespace

const KindDescriptor& ProgramDescriptor() {
    static const KindDescriptor descriptor = Make();
    return descriptor;
}

}  // namespace vx
