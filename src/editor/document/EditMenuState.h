#pragma once

#include <array>
#include <bitset>

#include "core/kinds/EditCommand.h"

#include "core/editing/Edit.h"

namespace vxe {

using vx::EditCommand;
// The commands of the Edit menu, in menu order.
inline constexpr std::array<EditCommand, 10> kEditMenuCommands = {
    EditCommand::Undo,   EditCommand::Cut,         EditCommand::Copy,    EditCommand::Paste,     EditCommand::Delete,
    EditCommand::Insert, EditCommand::PasteXStyle, EditCommand::Details, EditCommand::EraseBank, EditCommand::Import};
using EditCommandSet = std::bitset<vx::kEditCommandKinds>;

constexpr std::size_t EditIndex(EditCommand command) { return static_cast<std::size_t>(command); }

// The commands that do something in this version; the others stay disabled whatever the state.
// The edit commands themselves need the edit scheme.
EditCommandSet BuiltEditCommands(bool editing = false);

// What the view shown allows. None: the Edit menu is off until the view has been filled.
// All: every command the tab's kind has. Browse: a position that cannot be edited.
enum class EditState { None, All, Browse };

// The state a view sets after it has been filled or a position selected in it: the grids of
// tabs 0 to 2 allow editing only on a user position, the lists and the KBD set grid always.
EditState EditStateFor(int tab, bool userPosition);

struct EditMenuFlags {
    bool menu = false;  // the Edit menu itself
    std::array<bool, vx::kEditCommandKinds> enabled{};
    bool Enabled(EditCommand command) const { return enabled[EditIndex(command)]; }
};

// The one place that decides the Edit menu. The scheme's commands are offered as far as the tab's
// kind has them; twinView is the twin layout of tab 0 or 2 as shown; Undo follows undoAvailable
// alone, as long as it is built and the kind has it.
EditMenuFlags ComputeEditMenu(EditState state, int tab, bool twinView, bool undoAvailable, const EditCommandSet& built);

// The Utilities menu, in menu order.
enum class UtilityCommand { Report, SubsetReport, UpdatePreset, ExportPreset, MidiSetup, Send, SysexToFile };
inline constexpr int kUtilityCommandCount = 7;
using UtilityCommandSet = std::bitset<kUtilityCommandCount>;

constexpr std::size_t UtilityIndex(UtilityCommand command) { return static_cast<std::size_t>(command); }

UtilityCommandSet BuiltUtilityCommands();
// Update Preset Data belongs to the arrangements tab, Export to Preset File to tabs 0 and 2.
bool UtilityVisible(UtilityCommand command, int tab);
// A built command is enabled, except Create Subset Report File where the tab has no subset report.
bool UtilityEnabled(UtilityCommand command, int tab, const UtilityCommandSet& built);

}  // namespace vxe
