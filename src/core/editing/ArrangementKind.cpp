#include "core/catalogue/Catalogue.h"
#include "core/editing/KindDescriptor.h"
#include "core/interaction/Interaction.h"
#include "core/selection/ItemNumbers.h"
#include "core/text/Helpers.h"

namespace vx {

namespace {

const ArrangementRecord& Arr(const EditItem& item) { return std::get<ArrangementRecord>(item); }

KindDescriptor Make() {
    KindDescriptor d;
    d.kind = ItemKind::Arrangement;
    d.noun = "Arrangement";
    d.slotCount = kUserArrangements;
    d.commands = AllCommands();
    d.numberOf = ArrNumberOfUserIndex;
    d.numberLimit = kFirstUserArrangement + kUserArrangements;
    d.viewNumberOf = ArrNumberOfUserIndex;
    d.slotOfNumber = ArrUserIndexOf;
    d.label = [](int slot) { return ArrLabel(ArrNumberOfUserIndex(slot)); };
    d.slotOfLabel = [](std::string_view label) { return ArrUserIndexOf(BankedNumberOfLabel(0, label)); };
    d.read = [](const SetData& data, int slot) -> EditItem { return data.arr.arr[static_cast<std::size_t>(slot)]; };
    d.write = [](SetData& data, int slot, const EditItem& item) {
        data.arr.arr[static_cast<std::size_t>(slot)] = Arr(item);
    };
    d.blank = [](const BlankItems& blank) -> EditItem { return blank.arrangement; };
    d.name = [](const EditItem& item) { return Arr(item).Name(); };
    d.isEmpty = [](const EditItem& item) { return Arr(item).IsEmpty(); };
    d.nameAt = [](const SetData& data, int slot) { return NameIn(data.arr.arr[static_cast<std::size_t>(slot)]); };
    d.turn = [](SetData& data, int first, int last, bool up) { TurnSlots(data.arr.arr, first, last, up); };
    d.findByName = [](const SetData& data, const std::string& name) {
        return ArrUserIndexOf(FindArrangementByName(data.arr, name));
    };
    // Two banks of 64: C (list entry 2) holds slots 0-63, D (3) 64-127.
    d.shiftRange = [](int slot) { return BankOfSlot(slot, 2); };
    d.eraseRange = [](int bank) { return UserBank(bank, 2, 2); };
    d.referenceQuestion = [](const std::string& name) {
        return name +
               " Arrangement is referenced by\none or more Backing Sequences.\nChange references to another "
               "Arrangement?";
    };
    d.cancelledPickCallsNothing = true;
    d.pick = [](Interaction& ui, int set, int start, const std::string& addition) {
        return ui.PickArrangement(set, start, addition);
    };
    d.missingCallQuestion = [](const MissingCall& call) {
        const std::string caller = "Arrangement '" + call.callerName + "'";
        if (call.called == ItemKind::Style)
            return caller + " calls Style '" + call.calledName + "' non-existent in '" + call.setName +
                   "'\nRedirect this Arrangement to an existing Style?";
        return MissingProgramQuestion(caller, call, "\n");
    };
    d.callerName = [](const EditItem& item, int) { return TrimBlanks(Arr(item).Name()); };
    d.dropInSet = DropInSet::Move;
    d.duplicateRuns = {{0, kUserArrangements - 1}};
    return d;
}

}  // namespace

const KindDescriptor& ArrangementDescriptor() {
    static const KindDescriptor descriptor = Make();
    return descriptor;
}

}  // namespace vx
