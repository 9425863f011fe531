#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/catalogue/ItemKind.h"

namespace vx {

struct PresetTables;
struct SetData;
struct ArgRecord;
class EditScheme;
class Session;

// One line of what a Details dialog shows: a label and its value, or a label and a list.
struct DetailField {
    std::string label;
    std::string value;
    std::vector<std::string> lines;
    bool isList = false;
};

// Every field a kind's dialog shows, labelled as in the dialog. Arrangements, styles and
// programs by item number, backing sequences and songs by position 0 to 9.
std::vector<DetailField> ArrDetails(const SetData& data, const PresetTables& presets, int number);
std::vector<DetailField> StyDetails(const SetData& data, const PresetTables& presets, int number);
std::vector<DetailField> PrgDetails(const SetData& data, const PresetTables& presets, int number);
std::vector<DetailField> BsqDetails(const SetData& data, const PresetTables& presets, int position);
std::vector<DetailField> SngDetails(const SetData& data, const PresetTables& presets, int position);
// A KBD set as its grid row shows it: the split key and the five tracks' programs.
std::vector<DetailField> KbdDetails(const SetData& data, const PresetTables& presets, int number);
std::vector<DetailField> ArgDetails(const SetData& data);
std::vector<DetailField> GblDetails(const SetData& data);

// A called item as the dialogs show it: label, separator and name ("C11: Name...").
std::string ArrReference(const SetData& data, const PresetTables& presets, int number, std::string_view separator);
std::string StyReference(const SetData& data, const PresetTables& presets, int number, std::string_view separator);
// A track line: track name + ": " + program label + " " + program name.
std::string ProgramTrackLine(const SetData& data, const PresetTables& presets, std::string_view track, int number);
// The lines of the program lists of each kind.
std::vector<std::string> ArrTrackLines(const SetData& data, const PresetTables& presets, int number);
std::vector<std::string> StyTrackLines(const SetData& data, const PresetTables& presets, int number);
std::vector<std::string> BsqTrackLines(const SetData& data, const PresetTables& presets, int position);
std::vector<std::string> SngTrackLines(const SetData& data, const PresetTables& presets, int position);
// "Main  : 1" for channel byte 0; ": OFF" for 255 on functions 11 to 15 only.
std::string ChannelLine(int function, int value);
// The program's callers as the program dialog lists them: "Arr C11: DRUMS  ".
std::vector<std::string> ProgramCallerLines(const SetData& data, int number);

// A name as the dialogs keep it while it is typed: leading blanks dropped, cut to 16.
std::string EditedName(std::string_view typed);

// Renames a user item through the edit scheme's write path (leading blanks dropped, cut or
// padded to 16), then warns of duplicate names as the dialogs do. False for a preset, an item
// number outside the kind, a KBD set, a style slot without style data, or a name holding a
// character a name may not hold (NameCharacterProblem).
bool RenameItem(EditScheme& scheme, Session& session, int set, ItemKind kind, int number, std::string_view name);

// Whether a user style slot holds a style (a record and its events) that can be edited.
bool StyleHasData(const SetData& data, int number);

// The split key all 128 arrangements share, or -1 when they differ or the key is not one the
// arrangement global dialog offers (36 to 96, the whole split-key list).
int CommonSplitKey(const SetData& data);
inline constexpr int kLastCommonSplitKey = 96;
// The entry of the split-key list shown while the arrangements differ: note 60.
inline constexpr int kMixedSplitEntry = 24;

}  // namespace vx
