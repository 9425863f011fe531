#include "core/storage/Session.h"

#include <filesystem>
#include <system_error>

#include "core/catalogue/Catalogue.h"
#include "core/format/ItemFile.h"
#include "core/format/ItemFileSave.h"
#include "core/format/PathLookup.h"
#include "core/format/SaveJournal.h"
#include "core/interaction/Interaction.h"
#include "core/storage/SetGuard.h"
#include "core/storage/SetLock.h"
#include "core/text/Helpers.h"
#include "core/text/KindErrors.h"

namespace vx {

namespace fs = std::filesystem;

namespace {

// The kinds in the order a set is loaded, and how far each moves the progress bar.
struct LoadStep {
    ItemKind kind;
    double advance;
};
constexpr LoadStep kLoadOrder[] = {
    {ItemKind::Arrangement, 2}, {ItemKind::Style, 6},  {ItemKind::Program, 2}, {ItemKind::BackingSequence, 2},
    {ItemKind::Song, 1},        {ItemKind::Global, 0}, {ItemKind::KbdSet, 0},  {ItemKind::ArrangementGlobal, 1},
};

bool IsExistingDirectory(const std::string& path) {
    if (path.empty()) return false;
    auto found = FindPathIgnoringCase(NormaliseSeparators(path));
    std::error_code error;
    return found && fs::is_directory(*found, error);
}

// New sets are numbered among themselves: the lowest NEWSETnn that no open set is called, so
// the first new set is NEWSET01 whatever else is open.
std::string NewSetName(const SetTable& sets) {
    for (int number = 1;; ++number) {
        std::string name = std::to_string(number);
        if (name.size() < 2) name.insert(0, "0");
        name.insert(0, "NEWSET");
        bool used = false;
        for (int set = 1; set <= sets.HighestNumber() && !used; ++set)
            used = sets.IsOpen(set) && ToUpper(sets[set].name) == name;
        if (!used) return name;
    }
}

Message Question(QuestionId question, std::string text, std::string title, MessageButtons buttons,
                 Answer defaultButton) {
    return {std::move(text), std::move(title), MessageIcon::Exclamation, buttons, defaultButton, question};
}

}  // namespace

Session::Session(CatalogueState catalogue, PresetTables presets, Options& options, Interaction& ui)
    : catalogue_(std::move(catalogue)),
      presets_(std::move(presets)),
      options_(options),
      ui_(ui),
      lockWaitSeconds_(kSetLockWaitSeconds) {
    if (options_.PathNam.empty()) options_.PathNam = catalogue_.programDirectory;
}

int Session::OpenOrNewSet(bool newSet, const std::string& givenPath) {
    std::string path;
    if (IsExistingDirectory(givenPath)) path = *FindPathIgnoringCase(NormaliseSeparators(givenPath));

    std::string name;
    if (newSet) {
        path = TemplateDirectory(catalogue_.programDirectory);
        name = std::string(kTemplateName);
    } else {
        if (path.empty()) path = ui_.ChooseSetToOpen();
        if (path.empty()) return 0;
        name = ToUpper(SetNameFromPath(path));
    }

    for (int other = 1; other <= sets_.HighestNumber(); ++other) {
        if (sets_.IsOpen(other) && sets_[other].name == name) {
            Answer answer = ui_.ShowMessage(Question(QuestionId::NameInUse,
                                                     "Name " + name + " is already in use.\nContinue anyway?",
                                                     "Warning", MessageButtons::OKCancel, Answer::Cancel));
            if (answer == Answer::Cancel) return 0;
        }
    }

    // The set stays locked until it is closed, so that no other program saves it meanwhile.
    std::shared_ptr<SetLock> lock;
    if (!newSet) {
        auto taken = LockSetDirectory(sets_, ui_, path, name, lockWaitSeconds_, "Open a Set");
        if (!taken) return 0;
        lock = std::move(*taken);
    }

    // A save of this set that was killed during its renames is finished before anything is read,
    // when the person agrees: opening alone changes nothing on disk.
    if (!newSet) OfferToFinishInterruptedSave(path, name, ui_, reportedJournals_);

    const std::string newName = newSet ? NewSetName(sets_) : std::string();
    const int set = sets_.GetFreeSlot();
    SetSlot& slot = sets_[set];
    slot.dirty.fill(newSet);
    slot.neverSaved = newSet;
    if (newSet) {
        slot.name = newName;
        slot.directory = options_.PathNam + "/" + slot.name + ".SET";
    } else {
        slot.name = name;
        slot.directory = path;
    }

    // The progress window names what is read: the template's name for a new set.
    if (!LoadSetFiles(set, path + "/" + name, name)) {
        sets_.Free(set);
        return 0;
    }
    if (!newSet) {
        slot.lock = std::move(lock);
        slot.stamps = ReadSetStamps(path, name);
    }
    changes_.Publish(SetChange::Opened(set));
    changes_.Publish(SetChange::Undo(set, false));
    return set;
}

bool Session::LoadSetFiles(int set, const std::string& basePath, const std::string& shownName) {
    BusyPointer busy(ui_);
    auto progress = ui_.BeginProgress("Loading " + shownName + " Files...", "", 0.001, 15.001);

    // Every file is opened and checked first, so that each bad one is reported.
    std::vector<Loaded<ItemFile>> files;
    bool allOpened = true;
    for (int k = 0; k < kSetKindCount; ++k) {
        files.push_back(OpenItemFile(basePath, KindFromIndex(k)));
        if (!files.back()) ShowError(ui_, files.back().Error().Text());
        allOpened = allOpened && files.back().has_value();
    }
    if (!allOpened) return false;

    // The set is filled only when every kind loaded; a bad file never opens half a set.
    auto data = std::make_unique<SetData>();
    double position = 0.001;
    for (const LoadStep& step : kLoadOrder) {
        const ItemFile& file = *files[static_cast<std::size_t>(KindIndex(step.kind))];
        if (auto loaded = LoadKind(file, step.kind, *data); !loaded) {
            progress.reset();
            ShowLoadError(ui_, step.kind, loaded.Error().Detail());
            return false;
        }
        position += step.advance;
        progress->SetValue(position);
    }
    sets_[set].data = std::move(data);
    return true;
}

bool Session::SaveSet(int set, const std::string& basePath, bool allKinds) {
    SetSlot& slot = sets_[set];
    const std::string normalised = NormaliseSeparators(basePath);
    const std::string directory = ParentDirOf(normalised);
    const std::string name = ToUpper(SetNameFromPath(normalised));

    BusyPointer busy(ui_);
    std::error_code error;
    // A directory that holds nothing yet is removed again when the save fails.
    const bool freshDirectory = !fs::exists(directory, error) || fs::is_empty(directory, error);
    if (!fs::is_directory(directory, error)) fs::create_directories(directory, error);
    auto lock = LockSetDirectory(sets_, ui_, directory, name, lockWaitSeconds_, "Save a Set");
    if (!lock) return false;
    // Another program's changes since the set was read are never overwritten unasked.
    if (name == slot.name && fs::equivalent(directory, slot.directory, error)) {
        const DiskCheck check = CheckSetOnDisk(slot, ui_);
        if (check == DiskCheck::Reload) ReloadSet(set);
        if (check == DiskCheck::Reload || check == DiskCheck::Cancel) return false;
    }
    // A set read before an interrupted save of it was finished is written whole, as it was read.
    if (FinishInterruptedSave(directory, name, ui_, reportedJournals_)) allKinds = true;

    // Every kind is written to its temporary file first; the files are replaced only when all
    // were written and flushed, so the set on disk is either the old one or wholly the new one.
    std::vector<StagedFile> staged;
    bool allStaged = true;
    for (ItemKind kind : kSaveOrder) {
        if (!slot.dirty[static_cast<std::size_t>(KindIndex(kind))] && !allKinds) continue;
        auto file = StageItemFile(directory, name, kind, SerializeKind(*slot.data, kind), ui_);
        if (!file) {
            allStaged = false;
            break;
        }
        staged.push_back(std::move(*file));
    }

    CommitResult result = CommitResult::NothingDone;
    if (allStaged) {
        std::string reason;
        ItemKind failedKind = ItemKind::Arrangement;
        result = CommitStagedFiles(directory, name, staged, reason, failedKind);
        if (result != CommitResult::Committed) ShowSaveError(ui_, failedKind, reason);
    } else {
        for (const StagedFile& file : staged) DiscardStagedFile(file);
    }
    if (result != CommitResult::Committed) {
        // The edits stay in memory and the set keeps its name and place.
        lock->reset();
        if (freshDirectory && result == CommitResult::NothingDone) fs::remove(directory, error);
        return false;
    }

    for (const StagedFile& file : staged) slot.dirty[static_cast<std::size_t>(KindIndex(file.kind))] = false;
    slot.directory = directory;
    slot.name = name;
    slot.neverSaved = false;
    slot.lock = std::move(*lock);
    slot.stamps = ReadSetStamps(directory, name);
    slot.declined.clear();
    changes_.Publish(SetChange::Renamed(set));
    return true;
}

bool Session::Save(int set) {
    const SetSlot& slot = sets_[set];
    // Only a set that has no place on disk yet needs one; a set named NEWSET... is saved in place.
    if (slot.neverSaved) return SaveAs(set);
    if (IsTemplateDirectory(slot.directory)) {
        // Every new set starts as a copy of the template: it is not overwritten by a plain Save.
        const Answer answer =
            ui_.ShowMessage(Question(QuestionId::OverwriteTemplate,
                                     std::string(kTemplateName) + ".SET is the template of every new Set.\n"
                                                                  "Overwrite it? (No saves the Set elsewhere.)",
                                     "Warning", MessageButtons::YesNoCancel, Answer::Cancel));
        if (answer == Answer::No) return SaveAs(set);
        if (answer != Answer::Yes) return false;
    }
    return SaveSet(set, slot.directory + "/" + slot.name, false);
}

bool Session::IsTemplateDirectory(const std::string& directory) const {
    std::error_code error;
    const bool same = fs::equivalent(ParentDirOf(catalogue_.templateBase), NormaliseSeparators(directory), error);
    return !error && same;
}

bool Session::SaveAs(int set) {
    const std::string destination = ui_.ChooseSetDestination(sets_[set].name);
    if (destination.empty()) return false;
    return SaveSet(set, destination, true);
}

bool Session::QueryClose(int set) {
    const SetSlot& slot = sets_[set];
    if (!slot.AnyDirty()) return true;
    Answer answer = ui_.ShowMessage(Question(QuestionId::SaveChanges, "Save the changes in " + slot.name + " ?", "",
                                             MessageButtons::YesNoCancel, Answer::Cancel));
    if (answer == Answer::Cancel) return false;
    if (answer == Answer::Yes) return Save(set);
    return true;
}

bool Session::ReloadSet(int set) {
    if (!sets_.IsOpen(set)) return false;
    SetSlot& slot = sets_[set];
    if (!LoadSetFiles(set, slot.directory + "/" + slot.name, slot.name)) return false;
    ReleaseOwner(set);
    for (const auto& [id, handler] : releaseHandlers_) handler(set, std::nullopt);
    slot.dirty = {};
    slot.stamps = ReadSetStamps(slot.directory, slot.name);
    slot.declined.clear();
    changes_.Publish(SetChange::Kinds(set, AllSetKinds()));
    changes_.Publish(SetChange::Undo(set, false));
    return true;
}

bool Session::OfferReload(int set) {
    if (!sets_.IsOpen(set)) return false;
    SetStamps current = ReadSetStamps(sets_[set].directory, sets_[set].name);
    const auto changed = ChangedFileNames(sets_[set].stamps, current);
    if (changed.empty() || current == sets_[set].declined) return false;
    const bool dirty = sets_[set].AnyDirty();
    const Answer answer = ui_.ShowMessage({ChangedOnDiskText(changed, sets_[set].name) + "\nReload the Set from disk?" +
                                               (dirty ? " Your unsaved changes are lost." : ""),
                                           "Set changed on disk", MessageIcon::Exclamation, MessageButtons::YesNo,
                                           dirty ? Answer::No : Answer::Yes, QuestionId::ReloadChangedSet});
    if (!sets_.IsOpen(set)) return false;
    if (answer == Answer::Yes) return ReloadSet(set);
    sets_[set].declined = std::move(current);
    return false;
}

void Session::CloseSet(int set) {
    if (!sets_.IsOpen(set)) return;
    ReleaseOwner(set);
    for (const auto& [id, handler] : releaseHandlers_) handler(set, std::nullopt);
    const SetSlot& slot = sets_[set];
    if (!slot.neverSaved) options_.OldSetNam = slot.directory;
    sets_.Free(set);
    changes_.Publish(SetChange::Closed(set));
}

int Session::AddReleaseHandler(ReleaseHandler handler) {
    releaseHandlers_[nextReleaseHandler_] = std::move(handler);
    return nextReleaseHandler_++;
}

void Session::RemoveReleaseHandler(int id) { releaseHandlers_.erase(id); }

void Session::MarkDirty(int set, ItemKind kind) {
    if (IsSetKind(kind)) sets_[set].dirty[static_cast<std::size_t>(KindIndex(kind))] = true;
}

void ShowNotices(Interaction& ui, const ImportResult& result) {
    for (const Message& notice : result.notices) ui.ShowMessage(notice);
}

ImportResult Session::ImportAll(int set, ItemKind kind) {
    const std::string extension(KindExtension(kind));
    FileRequest request;
    request.title = "Import all " + std::string(KindName(kind)) + " from...";
    request.initialDirectory = options_.PathNam;
    request.initialName = "*" + extension;
    request.filter = std::string(KindName(kind)) + "|*" + extension;
    request.defaultExtension = extension;
    request.mustExist = true;
    auto chosen = ui_.ChooseOpenFile(request);
    if (!chosen || chosen->empty()) return {};
    return ImportFromFile(set, kind, *chosen);
}

ImportResult Session::ImportFromFile(int set, ItemKind kind, const std::string& file) {
    if (!IsSetKind(kind) || !sets_.IsOpen(set)) return {};
    // The file as named, whatever its extension: its header says whether it holds this kind.
    // Only a name that does not exist as spelled is looked up ignoring case.
    const std::string fileName = NormaliseSeparators(file);

    LoadStatus loaded;
    {
        BusyPointer busy(ui_);
        auto opened = OpenItemFileNamed(fileName, kind);
        // LoadKind replaces the kind only when the whole file was read.
        loaded = opened ? LoadKind(*opened, kind, *sets_[set].data) : LoadStatus(opened.Error());
    }
    if (!loaded) {
        ImportResult refused;
        // A file that cannot be opened has its own message first, as when a set is opened.
        if (loaded.Error().WholeFile()) refused.notices.push_back(ErrorMessage(loaded.Error().Text()));
        refused.notices.push_back(ErrorMessage(LoadErrorText(kind, loaded.Error().Detail())));
        return refused;
    }
    MarkDirty(set, kind);
    // The kind was replaced: what was saved for its Undo no longer fits it, however it was imported.
    for (const auto& [id, handler] : releaseHandlers_) handler(set, kind);
    changes_.Publish(SetChange::Kind(set, kind));
    changes_.Publish(SetChange::Undo(set, false));
    return {true, {}};
}

bool Session::OfferMissingFiles(const std::string& setDirectory) {
    const std::string directory = NormaliseSeparators(setDirectory);
    const std::string name = ToUpper(SetNameFromPath(directory));
    for (int k = 0; k < kSetKindCount; ++k) {
        const ItemKind kind = KindFromIndex(k);
        const std::string extension(KindExtension(kind));
        if (FindPathIgnoringCase(directory + "/" + name + extension)) continue;

        Answer answer =
            ui_.ShowMessage(Question(QuestionId::CreateMissingFile, name + extension + " is missing.\nCreate it?",
                                     "Open a Set", MessageButtons::OKCancel, Answer::Cancel));
        if (answer != Answer::OK) return false;
        std::error_code error;
        fs::copy_file(catalogue_.templateBase + extension, directory + "/" + name + extension, error);
        if (error) {
            ui_.ShowMessage({"Unable to create file!", "Create file", MessageIcon::Exclamation});
            return false;
        }
    }
    return true;
}

std::string Session::CheckOpenCandidate(const std::string& parent, const std::string& typedName) {
    const std::string name = ToUpper(TrimBlanks(typedName));
    const std::string candidate = NormaliseSeparators(parent) + "/" + name + ".SET";
    if (name.empty() || !IsExistingDirectory(candidate)) {
        ui_.Beep();
        ui_.ShowMessage({"Find a *.SET directory and double-click it!", "To Open a SET...", MessageIcon::Information,
                         MessageButtons::OK, Answer::OK});
        return {};
    }
    options_.PathNam = NormaliseSeparators(parent);
    const std::string existing = *FindPathIgnoringCase(candidate);
    if (sets_.FindByDirectory(existing) != 0) {
        ui_.Beep();
        ui_.ShowMessage(
            {existing + " is already open", "Open a Set", MessageIcon::Critical, MessageButtons::OK, Answer::OK});
        return {};
    }
    return existing;
}

std::string Session::CheckSaveCandidate(const std::string& parent, const std::string& typedName) {
    const std::string name = ToUpper(TrimBlanks(typedName));
    if (name.empty()) {
        ui_.Beep();
        ui_.ShowMessage({"Type a Set name or double-click a *.SET directory!", "To Save a SET...",
                         MessageIcon::Information, MessageButtons::OK, Answer::OK});
        return {};
    }
    const std::string candidate = NormaliseSeparators(parent) + "/" + name + ".SET";
    std::string directory = candidate;
    if (IsExistingDirectory(candidate)) {
        Answer answer = ui_.ShowMessage(Question(QuestionId::OverwriteSet, "This Set already exists.\nOverwrite it?",
                                                 "Save a Set", MessageButtons::OKCancel, Answer::Cancel));
        if (answer != Answer::OK) return {};
        directory = *FindPathIgnoringCase(candidate);
    } else {
        std::error_code error;
        fs::create_directories(candidate, error);
        if (error) {
            ShowError(ui_, "Can't create directory " + candidate);
            return {};
        }
    }
    options_.PathNam = NormaliseSeparators(parent);
    return directory + "/" + name;
}

}  // namespace vx
