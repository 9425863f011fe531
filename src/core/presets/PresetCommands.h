#pragma once

#include <string>

#include "core/catalogue/ItemKind.h"

namespace vx {

class Session;
struct PresetTables;
struct StagedWrite;

// The names file beside the program, in whatever case it is spelt there.
std::string PresetNamesPath(const Session& session);

// Reads the names file again after it was rewritten and has every open set's views of the
// kind rebuilt. A file that cannot be read is reported and the tables in use are kept.
bool ReloadPresetNames(Session& session, ItemKind kind);

// Export to Preset File for the bank shown in the tab of the kind: the destination bank
// dialog, the file chooser, the confirmation, the export, then the offer to update the names
// file. A bank without user items gets a warning. False when cancelled or failed.
bool ExportToPresetFile(Session& session, int set, BankedKind kind, int shownBank);

// Rewrites the names file with user banks first to last of a set at the place of a preset
// bank (the drum range for the user drum kits), then reads it again. With alongside, a staged
// preset data file is replaced together with the names file, or neither is.
bool SavePresetBankNames(Session& session, int set, BankedKind kind, int firstBank, int lastBank, int destination,
                         const StagedWrite* alongside = nullptr);

// Update Preset Data: the names of user arrangement banks C and D replace those of preset
// banks A and B in the names file, after the question.
bool UpdatePresetArrangements(Session& session, int set);

}  // namespace vx
