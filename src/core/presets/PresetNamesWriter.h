#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/catalogue/ItemKind.h"
#include "core/format/StagedWrites.h"

namespace vx {

class Interaction;
struct SetData;

// One entry of the names file: a 16-character name, a category and, for arrangements, the
// number of the style it calls.
struct PresetNameEntry {
    std::string name;
    int category = 0;
    std::optional<int> style;
};

// "/ Arr A11-A18", "/ Prg C11-C18", "/ Prg R21-R28": the section title a rewrite starts after.
std::string PresetSectionTitle(BankedKind kind, int sourceBank, int destination);
// The entries of user banks first to last (arrangements C and D, programs F and G), or of
// the eight user drum kits when the bank is R.
std::vector<PresetNameEntry> UserBankEntries(const SetData& data, BankedKind kind, int firstBank, int lastBank);

// The new text of a names file: lines up to and including the title (compared without the
// blanks around it) are kept; then each entry line, one that is neither empty nor starts with
// "/", is replaced by the next entry as "quoted name",category[,style], with the line's own
// line ending; empty and comment lines between them are kept, and so is the rest of the file.
// Nothing when the title is missing or the file ends before every entry has a place.
std::optional<std::string> RewritePresetNames(std::string_view text, const std::string& title,
                                              const std::vector<PresetNameEntry>& entries);

// Rewrites the names file on disk: the new text is built first, then the old file's copy with
// the extension .BAK (X50PRSTS.BAK) and the new file are both written to temporary files, and
// only then renamed into place, so a failure leaves the names file and its copy as they were.
// A read-only names file is refused ("Destination file is Read-Only!"), and so is a read-only
// copy; a link to a file beside it is written through and stays a link, a link to anywhere
// else is refused. With alongside (a preset data file staged by an export), that file is
// renamed into place with the others: all of them change or none. Any failure is reported
// (and alongside's temporary file removed); false then.
bool SavePresetNames(Interaction& ui, const std::string& namesPath, const std::string& title,
                     const std::vector<PresetNameEntry>& entries, const StagedWrite* alongside = nullptr);

}  // namespace vx
