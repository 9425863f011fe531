#include "core/interaction/Interaction.h"
#include "core/kinds/KindParts.h"
#include "core/programs/ProgramFile.h"
#include "core/programs/ProgramNumbers.h"

namespace vx {

namespace {

const ProgramItem& Prg(const EditItem& item) { return std::get<ProgramItem>(item); }

// User programs: banks F and G (entries 5 and 6 of the tab's bank list), slots 0-127, then the
// drum kits of bank R, slots 128-135, whose drum kit data moves with their records.
constexpr int kFirstUserBank = 5;
constexpr int kUserBanks = 2;

class ProgramKind final : public EditableKind, public CalledKind, public TurningKind {
public:
    ProgramKind() : EditableKind(ItemKind::Program, "Program", kUserPrograms, AllCommands()) {}

    int ViewNumberOf(int slot) const override { return NumberOfUserIndex(slot); }
    int SlotOfNumber(int number) const override { return UserIndexOf(number); }
    std::string Label(int slot) const override { return ProgramLabelOfUserIndex(slot); }
    int SlotOfLabel(std::string_view label) const override {
        return UserIndexOf(BankedNumberOfLabel(KindIndex(ItemKind::Program), label));
    }

    EditItem Read(const SetData& data, int slot) const override {
        ProgramItem item{data.prg.records[Index(slot)], nullptr};
        if (IsDrumKitSlot(slot)) item.drumKit = std::make_shared<const DrumKitData>(data.prg.drumKits[KitIndex(slot)]);
        return item;
    }
    void Write(SetData& data, int slot, const EditItem& item) const override {
        data.prg.records[Index(slot)] = Prg(item).record;
        // A blank record leaves a drum kit slot's data as it is.
        if (IsDrumKitSlot(slot) && Prg(item).drumKit) data.prg.drumKits[KitIndex(slot)] = *Prg(item).drumKit;
    }
    EditItem Blank(const BlankItems& blank) const override { return ProgramItem{blank.program, nullptr}; }
    std::string Name(const EditItem& item) const override { return Prg(item).record.Name(); }
    bool IsEmpty(const EditItem& item) const override { return Prg(item).record.IsEmpty(); }
    std::string_view NameAt(const SetData& data, int slot) const override {
        return NameIn(data.prg.records[Index(slot)]);
    }

    // Delete and Insert shift within bank F or G; the drum kits do not shift.
    SlotRange ShiftRange(int slot) const override { return BankOfSlot(slot, kUserBanks); }
    SlotRange EraseRange(int bank) const override {
        return bank == kDrumKitBank ? SlotRange{kFirstDrumKitSlot, kUserPrograms - 1}
                                    : UserBank(bank, kFirstUserBank, kUserBanks);
    }
    // A drum kit's 880 bytes of drum kit data have no place in a program slot, and a program
    // has none to give a drum kit slot.
    std::optional<std::string> RefuseWrite(const SetData&, int slot, const EditItem& item, int) const override {
        const bool drumKitSlot = IsDrumKitSlot(slot);
        if ((Prg(item).drumKit != nullptr) == drumKitSlot) return std::nullopt;
        return drumKitSlot ? std::string("A Program can't be pasted into a Drum Kit slot.")
                           : std::string("A Drum Kit can't be pasted into a Program slot.");
    }
    std::vector<SlotRange> DuplicateRuns() const override {
        return {{0, kFirstDrumKitSlot - 1}, {kFirstDrumKitSlot, kUserPrograms - 1}};
    }

    const CalledKind* Called() const override { return this; }
    const TurningKind* Turning() const override { return this; }

    // CalledKind
    int NumberOf(int slot) const override { return NumberOfUserIndex(slot); }
    int NumberLimit() const override { return kProgramNumberLimit; }
    int FindByName(const SetData& data, const std::string& name) const override {
        return UserIndexOf(FindProgramByName(data.prg, name));
    }
    std::string ReferenceQuestion(const std::string& name) const override {
        return "Program '" + name +
               "' is referenced by one or more\nArrangements, Styles, Backing Sequences, etc.\n\nRedirect them to "
               "another Program?";
    }
    int Pick(Interaction& ui, int set, int start, const std::string& addition) const override {
        return ui.PickProgram(set, start, addition);
    }
    bool CancelledPickCallsNothing() const override { return false; }

    // TurningKind
    void Turn(SetData& data, int first, int last, bool up) const override {
        TurnSlots(data.prg.records, first, last, up);
        if (IsDrumKitSlot(first)) TurnSlots(data.prg.drumKits, first - kFirstDrumKitSlot, last - kFirstDrumKitSlot, up);
    }

private:
    static std::size_t Index(int slot) { return static_cast<std::size_t>(slot); }
    static bool IsDrumKitSlot(int slot) { return slot >= kFirstDrumKitSlot; }
    static std::size_t KitIndex(int slot) { return static_cast<std::size_t>(slot - kFirstDrumKitSlot); }
};

}  // namespace

const EditableKind& Programs() {
    static const ProgramKind kind;
    return kind;
}

}  // namespace vx
