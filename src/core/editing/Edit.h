#pragma once

#include <string>

#include "core/catalogue/ItemKind.h"

namespace vx {

// The commands of the Edit menu and a drop of a dragged item. The edit scheme runs Cut to Drop;
// Paste from XStyle, Details and Import are the set window's own.
enum class EditCommand { Cut, Copy, Paste, Delete, Insert, EraseBank, Undo, Drop, PasteXStyle, Details, Import };
inline constexpr int kEditCommandKinds = 11;

constexpr bool SchemeRuns(EditCommand command) {
    return static_cast<int>(command) <= static_cast<int>(EditCommand::Drop);
}

// One command, as the menu, the keyboard, drag and drop, the command-line tool and the tests
// give it. slot is the kind's own slot (user arrangement 0-127, user program 0-135, KBD set
// 0-63 ...), -1 when no editable slot is selected.
struct Edit {
    EditCommand command = EditCommand::Copy;
    ItemKind kind = ItemKind::Arrangement;
    int set = 0;
    int slot = -1;
    // Erase Bank: the bank chosen in the tab's bank list (ignored by the unbanked kinds);
    // confirmed skips the question before erasing.
    int bank = -1;
    bool confirmed = false;
    // Drop: where the dragged item came from.
    ItemKind sourceKind = ItemKind::Arrangement;
    int sourceSet = 0;
    int sourceSlot = -1;
};

// What a command did. A command that did nothing says why; a question the user cancelled,
// a refused write or a message already shown are reasons too.
struct EditResult {
    bool done = false;
    std::string reason;

    static EditResult Done() { return {true, {}}; }
    static EditResult Refused(std::string why) { return {false, std::move(why)}; }
};

}  // namespace vx
