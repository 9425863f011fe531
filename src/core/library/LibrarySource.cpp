#include "core/library/LibrarySource.h"

#include <filesystem>
#include <memory>
#include <vector>

#include "core/format/ItemFile.h"
#include "core/format/PathLookup.h"
#include "core/storage/Session.h"
#include "core/storage/SetFileStamps.h"
#include "core/text/Helpers.h"
#include "core/text/KindErrors.h"

namespace vx::library {

namespace {

// The order a set is loaded in when it is opened.
constexpr ItemKind kReadOrder[] = {
    ItemKind::Arrangement, ItemKind::Style,  ItemKind::Program, ItemKind::BackingSequence,
    ItemKind::Song,        ItemKind::Global, ItemKind::KbdSet,  ItemKind::ArrangementGlobal};

std::string FoundDirectory(const std::string& directory) {
    const auto found = FindPathIgnoringCase(NormaliseSeparators(directory));
    std::error_code error;
    return found && std::filesystem::is_directory(*found, error) ? *found : std::string();
}

}  // namespace

bool ReadSetData(const std::string& directory, SetData& data, std::string& error) {
    const std::string found = FoundDirectory(directory);
    if (found.empty()) {
        error = "The set " + directory + " is not there any more.";
        return false;
    }
    const std::string base = found + "/" + ToUpper(SetNameFromPath(found));
    auto read = std::make_unique<SetData>();
    for (const ItemKind kind : kReadOrder) {
        auto file = OpenItemFile(base, kind);
        if (!file) {
            error = file.Error().Text();
            return false;
        }
        if (auto loaded = LoadKind(*file, kind, *read); !loaded) {
            error = LoadErrorText(kind, loaded.Error().Detail());
            return false;
        }
    }
    data = std::move(*read);
    return true;
}

int OpenSetOf(const Session& session, const std::string& directory) {
    const std::string found = FoundDirectory(directory);
    return found.empty() ? 0 : session.Sets().FindByDirectory(found);
}

SourceSet::SourceSet(Session& session, const std::string& directory) : session_(session) {
    set_ = OpenSetOf(session, directory);
    if (set_ != 0) return;
    const std::string found = FoundDirectory(directory);
    auto data = std::make_unique<SetData>();
    if (!ReadSetData(directory, *data, error_)) return;
    set_ = session.Sets().GetFreeSlot();
    copy_ = true;
    SetSlot& slot = session.Slot(set_);
    slot.name = ToUpper(SetNameFromPath(found));
    slot.directory = found;
    slot.data = std::move(data);
    // As read: nothing changed on disk for a watcher to offer reloading.
    slot.stamps = ReadSetStamps(found, slot.name);
}

SourceSet::~SourceSet() {
    if (!copy_ || !session_.Sets().IsOpen(set_)) return;
    // Closing runs the release handlers (the clipboard the drop filled goes); the last set the
    // user closed stays the one remembered.
    const std::string lastSet = session_.Opts().OldSetNam;
    session_.CloseSet(set_);
    session_.Opts().OldSetNam = lastSet;
}

}  // namespace vx::library
