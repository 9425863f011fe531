#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/format/ByteRecord.h"

namespace vx {

// A file's new content, written and flushed to a temporary file beside it and waiting to be
// renamed over it, with what the file held before so that a later failure can put it back.
struct StagedWrite {
    std::string destination;
    std::string temporary;
    std::optional<Bytes> previous;  // nothing: the destination did not exist
};

// Writes the temporary file; nothing and the reason when that failed (nothing is left behind).
std::optional<StagedWrite> StageWrite(const std::string& destination, const Bytes& content,
                                      std::optional<Bytes> previous, std::string& error);

// Renames the staged files over their destinations in order. When one rename fails, the files
// already replaced get their previous content back (or are removed when they were new), every
// temporary file is removed, and false comes with the reason: all of them or none changed.
bool CommitStagedWrites(const std::vector<StagedWrite>& writes, std::string& error);

// Removes the temporary files; the destinations are untouched.
void DiscardStagedWrites(const std::vector<StagedWrite>& writes);

}  // namespace vx
