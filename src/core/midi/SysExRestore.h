#pragma once

#include <optional>
#include <string>

#include "core/catalogue/ItemKind.h"
#include "core/format/ByteRecord.h"

namespace vx {

class EditScheme;
class Session;

// File, Load SysEx File: the file chooser (in the set's directory), then RestoreSysExFile.
std::optional<ItemKind> LoadSysExFile(Session& session, EditScheme& scheme, int set);

// Reads a .SYX file that holds one dump message and replaces in the set the kind it carries (for
// a style dump, the block of four styles), as Import does: only when the whole message is valid,
// else an error message names what is wrong and the set stays as it was. Kinds with Undo are
// written through the edit scheme, so one Undo puts the previous items back. Returns the kind.
std::optional<ItemKind> RestoreSysExFile(Session& session, EditScheme& scheme, int set, const std::string& path);
// The same for a message already read; shownName names it in the messages.
std::optional<ItemKind> RestoreDump(Session& session, EditScheme& scheme, int set, const Bytes& message,
                                    const std::string& shownName);

}  // namespace vx
