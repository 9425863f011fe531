#include "editor/document/EditMenuState.h"

#include "core/kinds/EditableKind.h"
#include "core/reports/SubsetReport.h"

namespace vxe {

EditCommandSet BuiltEditCommands(bool editing) {
    EditCommandSet built;
    built.set(EditIndex(EditCommand::Import));
    if (editing)
        for (EditCommand command :
             {EditCommand::Undo, EditCommand::Cut, EditCommand::Copy, EditCommand::Paste, EditCommand::Delete,
              EditCommand::Insert, EditCommand::PasteXStyle, EditCommand::EraseBank})
            built.set(EditIndex(command));
    built.set(EditIndex(EditCommand::Details));
    return built;
}

EditState EditStateFor(int tab, bool userPosition) {
    switch (tab) {
        case 0:
        case 1:
        case 2:
            return userPosition ? EditState::All : EditState::Browse;
        case 3:
        case 4:
        case 5:
            return EditState::All;
        default:
            return EditState::None;
    }
}

EditMenuFlags ComputeEditMenu(EditState state, int tab, bool twinView, bool undoAvailable,
                              const EditCommandSet& built) {
    EditMenuFlags flags;
    auto set = [&](EditCommand command, bool on) { flags.enabled[EditIndex(command)] = on; };
    switch (state) {
        case EditState::None:
            return flags;
        case EditState::All:
            for (EditCommand command :
                 {EditCommand::Cut, EditCommand::Copy, EditCommand::Paste, EditCommand::Delete, EditCommand::Insert,
                  EditCommand::PasteXStyle, EditCommand::Details, EditCommand::EraseBank, EditCommand::Import})
                set(command, true);
            break;
        case EditState::Browse:
            // A preset position can still be looked at, and the whole kind can still be replaced.
            set(EditCommand::Details, true);
            set(EditCommand::Import, true);
            break;
    }
    flags.menu = true;
    // A twin grid shows two banks at once; Erase Bank and Import are offered on single banks only.
    if ((tab == 0 || tab == 2) && twinView) {
        set(EditCommand::EraseBank, false);
        set(EditCommand::Import, false);
    }
    // KBD sets have no parameter dialog.
    if (tab == 5) set(EditCommand::Details, false);
    set(EditCommand::Undo, undoAvailable);
    // The tab's kind says which of the scheme's commands it has (styles: no Delete or Insert).
    const bool kindTab = tab >= 0 && tab <= vx::KindIndex(vx::ItemKind::KbdSet);
    const vx::EditCommandSet kindCommands =
        kindTab ? vx::CommandsOf(vx::KindFromIndex(tab)) : vx::EditCommandSet{}.set();
    for (std::size_t i = 0; i < flags.enabled.size(); ++i) {
        const auto command = static_cast<EditCommand>(i);
        const bool ofKind = !vx::SchemeRuns(command) || vx::Contains(kindCommands, command);
        flags.enabled[i] = flags.enabled[i] && ofKind && built.test(i);
    }
    return flags;
}

UtilityCommandSet BuiltUtilityCommands() {
    UtilityCommandSet built;
    for (UtilityCommand command :
         {UtilityCommand::Report, UtilityCommand::SubsetReport, UtilityCommand::UpdatePreset,
          UtilityCommand::ExportPreset, UtilityCommand::MidiSetup, UtilityCommand::Send, UtilityCommand::SysexToFile})
        built.set(UtilityIndex(command));
    return built;
}

bool UtilityVisible(UtilityCommand command, int tab) {
    switch (command) {
        case UtilityCommand::UpdatePreset:
            return tab == 0;
        case UtilityCommand::ExportPreset:
            return tab == 0 || tab == 2;
        default:
            return true;
    }
}

bool UtilityEnabled(UtilityCommand command, int tab, const UtilityCommandSet& built) {
    if (!built.test(UtilityIndex(command))) return false;
    return command != UtilityCommand::SubsetReport || vx::SubsetReportAvailable(tab);
}

}  // namespace vxe
