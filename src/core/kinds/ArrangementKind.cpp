#include "core/interaction/Interaction.h"
#include "core/kinds/KindParts.h"
#include "core/selection/ItemNumbers.h"
#include "core/text/Helpers.h"

namespace vx {

namespace {

const ArrangementRecord& Arr(const EditItem& item) { return std::get<ArrangementRecord>(item); }

// User arrangements: two banks of 64, C (entry 2 of the tab's bank list) holding slots 0-63
// and D (3) slots 64-127. Backing sequences call them.
constexpr int kFirstUserBank = 2;
constexpr int kUserBanks = 2;

class ArrangementKind final : public EditableKind, public CalledKind, public CallingKind, public TurningKind {
public:
    ArrangementKind() : EditableKind(ItemKind::Arrangement, "Arrangement", kUserArrangements, AllCommands()) {}

    int ViewNumberOf(int slot) const override { return ArrNumberOfUserIndex(slot); }
    int SlotOfNumber(int number) const override { return ArrUserIndexOf(number); }
    std::string Label(int slot) const override { return ArrLabel(ArrNumberOfUserIndex(slot)); }
    int SlotOfLabel(std::string_view label) const override {
        return ArrUserIndexOf(BankedNumberOfLabel(KindIndex(ItemKind::Arrangement), label));
    }

    EditItem Read(const SetData& data, int slot) const override { return data.arr.arr[Index(slot)]; }
    void Write(SetData& data, int slot, const EditItem& item) const override { data.arr.arr[Index(slot)] = Arr(item); }
    EditItem Blank(const BlankItems& blank) const override { return blank.arrangement; }
    std::string Name(const EditItem& item) const override { return Arr(item).Name(); }
    bool IsEmpty(const EditItem& item) const override { return Arr(item).IsEmpty(); }
    std::string_view NameAt(const SetData& data, int slot) const override { return NameIn(data.arr.arr[Index(slot)]); }

    SlotRange ShiftRange(int slot) const override { return BankOfSlot(slot, kUserBanks); }
    SlotRange EraseRange(int bank) const override { return UserBank(bank, kFirstUserBank, kUserBanks); }
    std::vector<SlotRange> DuplicateRuns() const override { return {{0, kUserArrangements - 1}}; }

    const CalledKind* Called() const override { return this; }
    const CallingKind* Calling() const override { return this; }
    const TurningKind* Turning() const override { return this; }

    // CalledKind
    int NumberOf(int slot) const override { return ArrNumberOfUserIndex(slot); }
    int NumberLimit() const override { return kArrangementNumberLimit; }
    int FindByName(const SetData& data, const std::string& name) const override {
        return ArrUserIndexOf(FindArrangementByName(data.arr, name));
    }
    std::string ReferenceQuestion(const std::string& name) const override {
        return name +
               " Arrangement is referenced by\none or more Backing Sequences.\nChange references to another "
               "Arrangement?";
    }
    int Pick(Interaction& ui, int set, int start, const std::string& addition) const override {
        return ui.PickArrangement(set, start, addition);
    }
    bool CancelledPickCallsNothing() const override { return true; }

    // CallingKind
    std::string MissingCallQuestion(const MissingCall& call) const override {
        const std::string caller = "Arrangement '" + call.callerName + "'";
        if (call.called == ItemKind::Style)
            return caller + " calls Style '" + call.calledName + "' non-existent in '" + call.setName +
                   "'\nRedirect this Arrangement to an existing Style?";
        return MissingProgramQuestion(caller, call, "\n");
    }
    std::string CallerName(const EditItem& item, int) const override { return TrimBlanks(Arr(item).Name()); }

    // TurningKind
    void Turn(SetData& data, int first, int last, bool up) const override { TurnSlots(data.arr.arr, first, last, up); }

private:
    static std::size_t Index(int slot) { return static_cast<std::size_t>(slot); }
};

}  // namespace

const EditableKind& Arrangements() {
    static const ArrangementKind kind;
    return kind;
}

}  // namespace vx
