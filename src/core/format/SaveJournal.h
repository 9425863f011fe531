#pragma once

#include <string>
#include <vector>

#include "format/ItemFileSave.h"

namespace vx {

// How the renames of a set save ended.
enum class CommitResult {
    Committed,    // every destination has its new content
    NothingDone,  // every destination is as it was, the temporary files are gone
    Interrupted,  // some destinations are new: the journal stays, and the next open or save finishes it
};

// Replaces the destinations of all staged files or, failing before the first rename, none.
// Before the first rename a journal naming every temporary file and its destination is written
// and flushed into directory; it is removed when the last rename is done. On failure error
// names the file and the reason, and failedKind the kind whose rename failed (the first staged
// kind when the journal could not be written).
CommitResult CommitStagedFiles(const std::string& directory, const std::string& setName,
                               const std::vector<StagedFile>& staged, std::string& error, ItemKind& failedKind);

// Finishes a save of setName in directory whose renames were interrupted (by a kill or a power
// cut) from its journal, drops the journal of a save killed before its renames began, and
// removes the temporary files our saves leave when they are killed. Files of a save that another
// running program is making are left alone.
void RecoverSetDirectory(const std::string& directory, const std::string& setName);

// The journal's name for a set saved by this process: ".NAME.<process>.journal".
std::string JournalFileName(const std::string& setName);

}  // namespace vx
