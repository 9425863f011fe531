#pragma once

#include <algorithm>
#include <string>
#include <string_view>

#include "core/kinds/EditableKind.h"

namespace vx {

// Pieces the editable kinds share.

// The 16-character name a record holds at offset, without a copy; valid while the record lives.
template <typename Record>
std::string_view NameIn(const Record& record, std::size_t offset = 0) {
    return {reinterpret_cast<const char*>(record.bytes.data() + offset), kNameLength};
}

// The turn of a run of slots kept in one array: one item is held aside while the others move
// along, which for plain records is a single block move.
template <typename Slots>
void TurnSlots(Slots& slots, int first, int last, bool up) {
    const auto begin = slots.begin() + first;
    const auto end = slots.begin() + last + 1;
    if (up) {
        auto held = std::move(*(end - 1));
        std::move_backward(begin, end - 1, end);
        *begin = std::move(held);
    } else {
        auto held = std::move(*begin);
        std::move(begin + 1, end, begin);
        *(end - 1) = std::move(held);
    }
}

// Builds a command set.
EditCommandSet CommandSet(std::initializer_list<EditCommand> commands);
// Every command of the Edit menu, and drops.
inline EditCommandSet AllCommands() { return EditCommandSet{}.set(); }

// The slot ranges of a kind whose user slots are banks of 64: the bank holding a slot (empty
// past the banks), and the bank chosen in the tab's list, whose user banks start at firstUserBank.
SlotRange BankOfSlot(int slot, int bankCount);
SlotRange UserBank(int bank, int firstUserBank, int bankCount);
// "C11" style labels of a banked kind (0 arrangement, 1 style, 2 program) to an item number.
int BankedNumberOfLabel(int kind, std::string_view label);
// "Track 'T' of <caller> calls Program 'P' non-existent in 'SET'" + breakText +
// "Redirect this track to an existing Program?".
std::string MissingProgramQuestion(const std::string& caller, const MissingCall& call, std::string_view breakText);

}  // namespace vx
