#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/catalogue/ItemKind.h"
#include "core/interaction/Interaction.h"
#include "core/kinds/EditCommand.h"

namespace vx {

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
    // The warning a refused command ends with, for the caller to show (the set window as a
    // message box, the tool on standard error); the command itself only asks questions.
    std::optional<Message> notice;
    // The person knows why already: they cancelled a question or chooser, or a file's own
    // messages were shown. The reason is then not told again.
    bool told = false;
    // Warnings that follow the command whatever it did (duplicate names after a Paste or Insert),
    // shown after the notice.
    std::vector<Message> warnings;

    static EditResult Done() { return {true, {}, std::nullopt, false, {}}; }
    static EditResult Refused(std::string why) { return {false, std::move(why), std::nullopt, false, {}}; }
    // Refused with the reason as a warning box (title "Warning", exclamation icon, OK).
    static EditResult Warned(std::string why) {
        Message warning{why, "Warning", MessageIcon::Exclamation, MessageButtons::OK, Answer::OK};
        return {false, std::move(why), std::move(warning), false, {}};
    }
    static EditResult Cancelled() { return {false, "Cancelled.", std::nullopt, true, {}}; }
    static EditResult AlreadyTold(std::string why) { return {false, std::move(why), std::nullopt, true, {}}; }
};

// Shows the warnings a result ends with, if any: what every caller of the edit scheme does.
inline void ShowNotice(Interaction& ui, const EditResult& result) {
    if (result.notice) ui.ShowMessage(*result.notice);
    for (const Message& warning : result.warnings) ui.ShowMessage(warning);
}

}  // namespace vx
