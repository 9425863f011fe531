#pragma once

#include <string>

namespace vx {

struct SetData;
struct PresetTables;
class Session;

// Subset reports exist for the arrangement, style and program tabs (0 to 2) only.
bool SubsetReportAvailable(int tab);

// The subset report of a tab: a line of column headings, then one line per item in position
// order; fields are separated by tabs and lines end with CR LF. Arrangements: set, label,
// name, category, the style's label, name and category, and the program of each of the eleven
// tracks; styles: set, label, name, category and the program of each of the six tracks;
// programs: set, label, name, category. A program is shown as its label and name. With
// presets, the preset arrangements A11-B88 come before the user ones. Empty for other tabs.
std::string SubsetReportText(const SetData& data, const PresetTables& presets, const std::string& setName, int tab,
                             bool withPresets);

// Create Subset Report File: the file chooser, the overwrite question, for arrangements
// "Include Preset Arrangements?", then the file written. False when cancelled, unavailable or
// failed (a failure is reported).
bool CreateSubsetReportFile(Session& session, int set, int tab);

}  // namespace vx
