#pragma once

#include <bitset>
#include <cstddef>

namespace vx {

// The commands of the Edit menu that change a set, and a drop of a dragged item.
enum class EditCommand { Cut, Copy, Paste, Delete, Insert, EraseBank, Undo, Drop };
inline constexpr int kEditCommandKinds = 8;

using EditCommandSet = std::bitset<kEditCommandKinds>;

inline bool Contains(const EditCommandSet& commands, EditCommand command) {
    return commands.test(static_cast<std::size_t>(command));
}

}  // namespace vx
