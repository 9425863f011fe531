#pragma once

#include <iosfwd>
#include <string>

namespace vx {
class EditScheme;
class Session;
}  // namespace vx

namespace vxcli {

// The commands registered by AddDetailCommands (Commands.h):
// vx50 show SET ITEM [--json]: every field the item's dialog shows, with its label.
int ShowItem(vx::Session& session, int set, const std::string& item, bool json, std::ostream& out);
// vx50 rename SET ITEM NAME: renames the item as the dialogs store a name and saves the set.
int RenameItem(vx::EditScheme& scheme, vx::Session& session, int set, const std::string& item, const std::string& name);

}  // namespace vxcli
