#pragma once

#include <string>

#include "catalogue/ItemKind.h"
#include "format/ByteRecord.h"

namespace vx {

class Interaction;

// The common save of an item file: a read-only destination is refused with the kind's save
// error and "Destination file is Read-Only!"; otherwise the content goes to a temporary file
// of its own in the destination's directory, is flushed and renamed over the destination.
// Any failure leaves the destination exactly as it was, removes the temporary file and shows
// the kind's save error. An existing destination keeps its own name, whatever its case.
bool SaveItemFile(const std::string& setDirectory, const std::string& setName, ItemKind kind, const Bytes& content,
                  Interaction& ui);

// The steps of an atomic write, for tests that make one of them fail.
enum class SaveStep { None, CreateTemporary, Write, Flush, Rename };
void SetSaveFaultForTesting(SaveStep step);

// Writes bytes to path through a temporary file beside it; false with a reason on failure.
bool WriteFileAtomically(const std::string& path, const Bytes& content, std::string& error);

}  // namespace vx
