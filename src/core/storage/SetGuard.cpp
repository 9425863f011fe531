#include "core/storage/SetGuard.h"

#include <filesystem>

#include "core/interaction/Interaction.h"
#include "core/storage/SetLock.h"
#include "core/storage/SetTable.h"
#include "core/text/Helpers.h"

namespace vx {

namespace fs = std::filesystem;

namespace {

bool IsLockOf(const SetLock& lock, const std::string& directory, const std::string& name) {
    const fs::path held(lock.Path());
    std::error_code error;
    return held.filename() == SetLock::LockFileName(name) && fs::equivalent(held.parent_path(), directory, error);
}

}  // namespace

std::optional<std::shared_ptr<SetLock>> LockSetDirectory(const SetTable& sets, Interaction& ui,
                                                         const std::string& directory, const std::string& name,
                                                         double waitSeconds, const std::string& title) {
    for (int set = 1; set <= sets.HighestNumber(); ++set) {
        const SetSlot& slot = sets[set];
        if (!slot.free && slot.lock && IsLockOf(*slot.lock, directory, name)) return slot.lock;
    }
    SetLock::Result taken = SetLock::Acquire(directory, name, waitSeconds);
    if (taken.outcome == SetLock::Outcome::Held) {
        ui.ShowMessage({ToUpper(name) + ".SET is in use by " + taken.holder + ". Close it there and try again.", title,
                        MessageIcon::Exclamation, MessageButtons::OK, Answer::OK});
        return std::nullopt;
    }
    return std::shared_ptr<SetLock>(std::move(taken.lock));
}

std::string ChangedOnDiskText(const std::vector<std::string>& files, const std::string& setName) {
    std::string names;
    for (const std::string& file : files) names += (names.empty() ? "" : ", ") + file;
    return names + " changed on disk after " + setName + ".SET was opened or last saved.";
}

DiskCheck CheckSetOnDisk(const SetSlot& slot, Interaction& ui) {
    const auto changed = ChangedFileNames(slot.stamps, ReadSetStamps(slot.directory, slot.name));
    if (changed.empty()) return DiskCheck::Unchanged;
    const Answer answer = ui.ShowMessage(
        {ChangedOnDiskText(changed, slot.name) +
             "\nReload the Set from disk (your changes are lost), Overwrite the changes on disk, or Cancel the save?",
         "Set changed on disk", MessageIcon::Exclamation, MessageButtons::ReloadOverwriteCancel, Answer::Cancel,
         QuestionId::SaveOverChangedSet});
    if (answer == Answer::Reload) return DiskCheck::Reload;
    if (answer == Answer::Overwrite) return DiskCheck::Overwrite;
    return DiskCheck::Cancel;
}

}  // namespace vx
