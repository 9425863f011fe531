#include "core/kinds/KindParts.h"

#include "core/catalogue/Catalogue.h"

namespace vx {

EditCommandSet CommandSet(std::initializer_list<EditCommand> commands) {
    EditCommandSet set;
    for (EditCommand command : commands) set.set(static_cast<std::size_t>(command));
    return set;
}

SlotRange BankOfSlot(int slot, int bankCount) {
    if (slot < 0 || slot >= bankCount * kSlotsPerBank) return {};
    const int first = slot / kSlotsPerBank * kSlotsPerBank;
    return {first, first + kSlotsPerBank - 1};
}

SlotRange UserBank(int bank, int firstUserBank, int bankCount) {
    if (bank < firstUserBank || bank >= firstUserBank + bankCount) return {};
    return BankOfSlot((bank - firstUserBank) * kSlotsPerBank, bankCount);
}

int BankedNumberOfLabel(int kind, std::string_view label) {
    if (label.size() != 3) return -1;
    const char group = label[1];
    const char place = label[2];
    if (group < '1' || group > '8' || place < '1' || place > '8') return -1;
    const int index = (group - '1') * 8 + (place - '1');
    for (int bank = 0; bank < BankCount(kind); ++bank) {
        const std::string_view letter = BankLetter(kind, bank);
        if (letter.size() != 1 || (letter[0] != label[0] && letter[0] != (label[0] & ~0x20))) continue;
        if (index > BankLastIndex(kind, bank)) return -1;
        return BankBase(kind, bank) + index;
    }
    return -1;
}

std::string MissingProgramQuestion(const std::string& caller, const MissingCall& call, std::string_view breakText) {
    return "Track '" + call.trackName + "' of " + caller + " calls Program '" + call.calledName +
           "' non-existent in '" + call.setName + "'" + std::string(breakText) +
           "Redirect this track to an existing Program?";
}

}  // namespace vx
