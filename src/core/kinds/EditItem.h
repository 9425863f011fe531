#pragma once

#include <memory>
#include <variant>

#include "core/arrangements/ArrangementRecord.h"
#include "core/kbdsets/KbdSetFile.h"
#include "core/programs/ProgramRecord.h"
#include "core/sequences/SequenceRecords.h"
#include "core/styles/StyleFile.h"

namespace vx {

// A program slot's content: the record and, for a drum kit slot, its drum kit data (kept apart,
// so that the many program records an edit moves stay small).
struct ProgramItem {
    ProgramRecord record;
    std::shared_ptr<const DrumKitData> drumKit;
};

// Everything one slot of any editable kind holds, moved as a whole by the edit commands.
using EditItem = std::variant<ArrangementRecord, StyleSlot, ProgramItem, BsqEntry, SongEntry, KbdSetRecord>;

}  // namespace vx
