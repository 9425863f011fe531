#pragma once

#include <bitset>
#include <cstddef>

namespace vx {

// The commands of the Edit menu and a drop of a dragged item. The edit scheme runs Cut to Drop;
// Paste from XStyle, Details and Import are the set window's own.
enum class EditCommand { Cut, Copy, Paste, Delete, Insert, EraseBank, Undo, Drop, PasteXStyle, Details, Import };
inline constexpr int kEditCommandKinds = 11;

constexpr bool SchemeRuns(EditCommand command) {
    return static_cast<int>(command) <= static_cast<int>(EditCommand::Drop);
}

using EditCommandSet = std::bitset<kEditCommandKinds>;

inline bool Contains(const EditCommandSet& commands, EditCommand command) {
    return commands.test(static_cast<std::size_t>(command));
}

}  // namespace vx
