#pragma once

#include <string>

#include "core/catalogue/ItemKind.h"
#include "core/format/ByteRecord.h"

namespace vx {

class Interaction;

// Asks for a .SYX file name in the set's directory and writes the message there. An existing
// file is replaced only after the user agrees, and only once the new file is complete: the
// message goes to a temporary file beside it that is renamed over it. True when written.
bool SaveSysExFile(Interaction& ui, ItemKind kind, const std::string& setDirectory, const Bytes& message);

}  // namespace vx
