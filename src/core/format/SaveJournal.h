#pragma once

#include <string>
#include <vector>

#include "core/format/ItemFileSave.h"

namespace vx {

// How the renames of a set save ended.
enum class CommitResult {
    Committed,    // every destination has its new content
    NothingDone,  // every destination is as it was, the temporary files are gone
    Interrupted,  // some destinations are new: the journal stays, and the next open or save finishes it
};

// Replaces the destinations of all staged files or, failing before the first rename, none.
// Before the first rename a journal naming every temporary file and its destination, relative to
// directory, is written and flushed into directory; it is removed when the last rename is done.
// Files written outside directory through a link (outsideSet) are renamed last and are not in
// the journal: a kill just before them leaves them old. On failure error
// names the file and the reason, and failedKind the kind whose rename failed (the first staged
// kind when the journal could not be written).
CommitResult CommitStagedFiles(const std::string& directory, const std::string& setName,
                               const std::vector<StagedFile>& staged, std::string& error, ItemKind& failedKind);

// A journal in a set directory that recovery leaves alone, and why.
struct IgnoredJournal {
    std::string file;    // its path
    std::string reason;  // "it names ../victim, which is not a file of the set directory"
};

// What the save journals of setName in directory say, found without changing anything: whether
// a save of the set was interrupted during its renames (some files new, some old), and the
// journals recovery ignores. A journal is acted on only when it was written to its end and
// names nothing but plain files directly in directory (no "/", "..", link or other kind of file).
struct JournalScan {
    bool interrupted = false;
    std::vector<IgnoredJournal> ignored;
};
JournalScan ScanSetDirectory(const std::string& directory, const std::string& setName);

// Finishes from their journals the saves of setName in directory whose renames were
// interrupted (by a kill or a power cut), and removes the temporary files our saves leave when
// they are killed. Files of a save that another running program is making are left alone.
// Returns whether any file of the set was replaced; the journals it ignored go to ignored.
bool RecoverSetDirectory(const std::string& directory, const std::string& setName,
                         std::vector<IgnoredJournal>& ignored);

// Before a set is read: reports each ignored journal not in reported yet (and adds it), and when
// a save of the set was interrupted, asks whether to finish it (default No), or says why it
// cannot be when directory cannot be written. Reading alone never changes the directory.
void OfferToFinishInterruptedSave(const std::string& directory, const std::string& setName, Interaction& ui,
                                  std::vector<std::string>& reported);
// Before a set is written: finishes an interrupted save of it and reports ignored journals as
// above. Returns whether any file was replaced.
bool FinishInterruptedSave(const std::string& directory, const std::string& setName, Interaction& ui,
                           std::vector<std::string>& reported);

// The journal's name for a set saved by this process: ".NAME.<process>.journal".
std::string JournalFileName(const std::string& setName);

}  // namespace vx
