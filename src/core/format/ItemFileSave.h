#pragma once

#include <optional>
#include <string>

#include "core/catalogue/ItemKind.h"
#include "core/format/ByteRecord.h"

namespace vx {

class Interaction;

// The common save of one item file: a read-only destination is refused with the kind's save
// error and "Destination file is Read-Only!"; otherwise the content goes to a temporary file
// of its own beside the destination, is flushed and renamed over it. Any failure leaves the
// destination exactly as it was, removes the temporary file and shows the kind's save error
// with the reason and the file. An existing destination keeps its own name, whatever its case.
bool SaveItemFile(const std::string& setDirectory, const std::string& setName, ItemKind kind, const Bytes& content,
                  Interaction& ui);

// A file written and flushed beside its destination, waiting to be renamed over it.
struct StagedFile {
    ItemKind kind = ItemKind::Arrangement;
    std::string destination;
    std::string temporary;
    bool replacesLink = false;  // the destination is a link of the set, replaced by the file
    bool outsideSet = false;    // written where a link of the set leads, outside its directory
};

// Where a symbolic link of a set leads, as far as a save is concerned.
enum class LinkPlace {
    None,      // not a link
    Inside,    // to a plain file directly in the set directory: followed
    Outside,   // to anything else (another directory, a device): written only when asked
    Dangling,  // to nothing: written only when asked
};

// Where a kind of a set is written. file is the set's own file, an existing one in its own
// spelling; path is where the content goes: file itself, or for a link the file it leads to,
// so that a link inside the set stays a link and its target gets the new content.
struct ItemFileTarget {
    std::string file;
    std::string path;
    LinkPlace link = LinkPlace::None;
};
ItemFileTarget ItemFileDestination(const std::string& setDirectory, const std::string& setName, ItemKind kind);

// The first half of a save: the read-only check and the temporary file, written and flushed.
// A link that leads outside the set or nowhere is written through only when the person says so
// (ui.AskAboutLink); a cancelled question returns nothing without a further message. On failure
// shows the kind's save error and leaves nothing behind.
std::optional<StagedFile> StageItemFile(const std::string& setDirectory, const std::string& setName, ItemKind kind,
                                        const Bytes& content, Interaction& ui);
// Removes a staged file's temporary file; the destination is untouched.
void DiscardStagedFile(const StagedFile& staged);

// Writes bytes to a temporary file beside path and flushes it; its name on success, nothing
// and a reason naming the file otherwise.
std::optional<std::string> WriteTemporaryBeside(const std::string& path, const Bytes& content, std::string& error);
// Renames a flushed temporary file over path, keeping path's permissions; false with a reason.
bool ReplaceWithTemporary(const std::string& temporary, const std::string& path, std::string& error);

// Writes bytes to path through a temporary file beside it; false with a reason on failure.
bool WriteFileAtomically(const std::string& path, const Bytes& content, std::string& error);

// Our temporary files are named ".NAME.EXT.<process>.<counter>.tmp"; true for such a name.
bool IsOurTemporaryName(const std::string& fileName);

// The steps of a save, for tests that make one of them fail. Kill stops a set save right
// after the given number of renames, as if the program had been killed there.
enum class SaveStep { None, CreateTemporary, Write, Flush, Rename, Journal };
void SetSaveFaultForTesting(SaveStep step);
bool SaveFaultInjected(SaveStep step);
void SetSaveKillAfterRenamesForTesting(int renames);  // -1: never
bool SaveKilledForTesting(int renamesDone);

// This program's process number, and whether another process of that number is running
// (whose temporary files and journal may still be in use).
int CurrentProcessId();
bool ProcessIsRunning(int process);

// The text of the system's error number, as "No space left on device".
std::string SystemErrorText(int error);

}  // namespace vx
