#include "document/Helpers.h"
#include "editing/KindDescriptor.h"
#include "interaction/Interaction.h"
#include "programs/ProgramFile.h"
#include "programs/ProgramNumbers.h"

namespace vx {

namespace {

constexpr int kFirstDrumKit = 128;

const ProgramItem& Prg(const EditItem& item) { return std::get<ProgramItem>(item); }

KindDescriptor Make() {
    KindDescriptor d;
    d.kind = ItemKind::Program;
    d.noun = "Program";
    d.slotCount = kUserPrograms;
    d.commands = Commands({EditCommand::Cut, EditCommand::Copy, EditCommand::Paste, EditCommand::Delete,
                           EditCommand::Insert, EditCommand::EraseBank, EditCommand::Undo, EditCommand::Drop});
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
    d.findByName = [](const SetData& data, const std::string& name) {
        return UserIndexOf(FindProgramByName(data.prg, name));
    };
    // Delete and Insert shift within bank F or G; the drum kits do not shift.
    d.shiftRange = [](int slot) {
        if (slot < 0 || slot >= kFirstDrumKit) return SlotRange{};
        return slot < 64 ? SlotRange{0, 63} : SlotRange{64, kFirstDrumKit - 1};
    };
    d.eraseRange = [](int bank) {
        if (bank == 5) return SlotRange{0, 63};
        if (bank == 6) return SlotRange{64, kFirstDrumKit - 1};
        if (bank == 7) return SlotRange{kFirstDrumKit, kUserPrograms - 1};
        return SlotRange{};
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
    d.refuseWrite = [](const SetData&, int slot, const EditItem& item) -> std::optional<std::string> {
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
