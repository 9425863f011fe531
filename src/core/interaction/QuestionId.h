#pragma once

namespace vx {

// Which question a message box asks, whatever its words: the command-line tool and the tests
// answer by it, so that rewording a question never changes the answer it gets.
enum class QuestionId {
    None,  // a notice: only OK
    // Editing
    ReferencedBy,  // an item that leaves its slot is called: redirect its callers?
    MissingCall,   // a pasted item calls one the set lacks: redirect that call?
    InsertBefore,  // an item dropped within its set: insert it before the one there?
    EraseBank,     // erasing a bank can't be undone: continue?
    // Sets
    NameInUse,           // a set of that name is open already: open this one anyway?
    CreateMissingFile,   // one of the set's files is missing: create it from the template?
    OverwriteSet,        // the set to save into exists: overwrite it?
    OverwriteTemplate,   // a plain Save of the template set: overwrite it, or save elsewhere?
    SaveChanges,         // a changed set is closing: save it?
    InterruptedSave,     // a save of the set was interrupted: finish it now?
    ReloadChangedSet,    // the set's files changed on disk: reload them?
    SaveOverChangedSet,  // saving a set whose files changed on disk: reload, overwrite or cancel?
    LinkWrite,           // an item file is a link that leaves the set: replace the link?
    // Files and the instrument
    OverwriteFile,              // the report or SysEx file chosen exists: overwrite it?
    IncludePresetArrangements,  // a subset report of arrangements: list the presets too?
    ExportBank,                 // export this bank to the preset file?
    UpdatePresetList,           // after an export: update the preset names to match?
    UpdatePresetArrangements,   // take banks C and D as the preset arrangements' names?
    SendDump,                   // how to make the instrument receive: send now?
    // The editor's own
    SmallScreen,  // the screen is smaller than the windows: continue?
};

// How many there are, None included; the last one above ends the list.
inline constexpr int kQuestionIdCount = static_cast<int>(QuestionId::SmallScreen) + 1;

}  // namespace vx
