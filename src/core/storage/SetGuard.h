#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vx {

class Interaction;
class SetLock;
class SetTable;
struct SetSlot;

// How long a program waits for a set another program is reading or saving.
inline constexpr double kSetLockWaitSeconds = 2.0;

// The lock for reading, changing and saving the set NAME in directory: shared with an open set
// of sets that holds it already, else taken, waiting up to waitSeconds. Nothing when another
// program holds it, after telling the user who (under title). A set on a disk that cannot
// hold a lock file gets a null lock and is used as before.
std::optional<std::shared_ptr<SetLock>> LockSetDirectory(const SetTable& sets, Interaction& ui,
                                                         const std::string& directory, const std::string& name,
                                                         double waitSeconds, const std::string& title);

// "LIVE.ARR, LIVE.STY changed on disk after LIVE.SET was opened or last saved."
std::string ChangedOnDiskText(const std::vector<std::string>& files, const std::string& setName);

enum class DiskCheck { Unchanged, Reload, Overwrite, Cancel };
// Before a save in place: compares the set's files with what was last read or saved and, when
// any changed, asks whether to reload the set, overwrite the changes, or cancel (the default).
DiskCheck CheckSetOnDisk(const SetSlot& slot, Interaction& ui);

}  // namespace vx
