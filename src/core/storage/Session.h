#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "core/catalogue/PresetNames.h"
#include "core/changes/ChangeFeed.h"
#include "core/interaction/Interaction.h"
#include "core/storage/Options.h"
#include "core/storage/SetTable.h"
#include "core/storage/TemplateSet.h"

namespace vx {

// What an import came to: done, or the messages that say why not, for the caller to show in
// order (nothing when the person cancelled the file chooser).
struct ImportResult {
    bool done = false;
    std::vector<Message> notices;
    explicit operator bool() const { return done; }
};
void ShowNotices(Interaction& ui, const ImportResult& result);

// A running editor's state: the catalogue, the preset tables, the settings, the open sets,
// and the operations that open, create, save, import and close sets.
class Session {
public:
    Session(CatalogueState catalogue, PresetTables presets, Options& options, Interaction& ui);

    const CatalogueState& Catalogue() const { return catalogue_; }
    const PresetTables& Presets() const { return presets_; }
    void SetPresets(PresetTables presets) { presets_ = std::move(presets); }
    Options& Opts() { return options_; }
    const Options& Opts() const { return options_; }
    Interaction& Ui() { return ui_; }
    // What changed in the open sets, for whoever shows them.
    ChangeFeed& Changes() { return changes_; }

    SetTable& Sets() { return sets_; }
    const SetTable& Sets() const { return sets_; }
    SetSlot& Slot(int set) { return sets_[set]; }
    const SetSlot& Slot(int set) const { return sets_[set]; }
    SetData& Data(int set) { return *sets_[set].data; }
    const SetData& Data(int set) const { return *sets_[set].data; }

    // Opens a set directory, or (newSet) a new set from the template. With no usable path the
    // open dialog asks for one. Returns the set number, or 0 when nothing was opened.
    int OpenOrNewSet(bool newSet, const std::string& path);
    // Writes the dirty kinds (or all) to basePath (set directory + separator + name); the
    // set takes that directory and name. False when any kind failed (it stays dirty).
    bool SaveSet(int set, const std::string& basePath, bool allKinds);
    // File Save: a NEWSET behaves as Save As; the template set is overwritten only when the
    // user says so. False when cancelled or failed.
    bool Save(int set);
    bool SaveAs(int set);
    // The question before closing a set with changes; true when the window may close (not when
    // the save it asked for failed or was cancelled).
    bool QueryClose(int set);
    // Reads the set again from its directory; its edits, undo and clipboard are dropped.
    // False (the set as it was) when a file cannot be read.
    bool ReloadSet(int set);
    // When a file of the set changed on disk since it was read or saved, asks whether to reload it
    // (once per change). True when the set was reloaded.
    bool OfferReload(int set);
    // How long opening or saving waits for a set another program holds.
    void SetLockWait(double seconds) { lockWaitSeconds_ = seconds; }
    // Releases the set: owners of clipboards and undo copies, the slot, OldSetNam.
    void CloseSet(int set);
    bool AnySetOpen() const { return sets_.AnySetOpen(); }
    // Whether a set directory is the template set beside the program.
    bool IsTemplateDirectory(const std::string& directory) const;

    void MarkDirty(int set, ItemKind kind);

    // Import all of one kind: the file chooser, then ImportFromFile.
    ImportResult ImportAll(int set, ItemKind kind);
    // Replaces the kind's data with the file's when the whole file loads, and ends the kind's
    // Undo in the set; otherwise leaves the set as it was and returns the messages that say why
    // (the file's own message when it cannot be opened, then "Error getting <kind> data.").
    ImportResult ImportFromFile(int set, ItemKind kind, const std::string& file);

    // The open dialog's check of a ".SET" directory: for each missing file offers to create it
    // from the template. True when all eight files exist afterwards.
    bool OfferMissingFiles(const std::string& setDirectory);
    // The open dialog's OK: the set directory parent/NAME.SET, or empty after telling the user why.
    std::string CheckOpenCandidate(const std::string& parent, const std::string& typedName);
    // The save dialog's OK: the base path, creating the directory; empty when the user declines
    // the overwrite question or the directory cannot be made.
    std::string CheckSaveCandidate(const std::string& parent, const std::string& typedName);

    // Called when a set is closed, so that the edit parts release what the set owned.
    virtual void ReleaseOwner(int set) { (void)set; }
    // Handlers run when what was kept of a set no longer fits it: with no kind for every set
    // that closes or is reloaded, with the kind when an import replaced that kind as a whole.
    // The id removes one again.
    using ReleaseHandler = std::function<void(int set, std::optional<ItemKind> replaced)>;
    int AddReleaseHandler(ReleaseHandler handler);
    void RemoveReleaseHandler(int id);
    virtual ~Session() = default;

private:
    bool LoadSetFiles(int set, const std::string& basePath, const std::string& shownName);

    CatalogueState catalogue_;
    PresetTables presets_;
    Options& options_;
    Interaction& ui_;
    ChangeFeed changes_;
    SetTable sets_;
    std::map<int, ReleaseHandler> releaseHandlers_;
    int nextReleaseHandler_ = 1;
    // The save journals already reported as ignored, each reported once.
    std::vector<std::string> reportedJournals_;
    double lockWaitSeconds_;
};

}  // namespace vx
