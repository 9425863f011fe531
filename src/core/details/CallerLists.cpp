#include "details/CallerLists.h"

#include "catalogue/Catalogue.h"
#include "selection/ItemNumbers.h"
#include "storage/SetData.h"

namespace vx {

namespace {

// Visits every program call of the set in caller-list order; visit(kind, reference, track
// name, record, track) may rewrite the call through the record.
template <typename Data, typename Visit>
void ForEachProgramCall(Data& data, Visit visit) {
    for (int slot = 0; slot < kUserArrangements; ++slot) {
        auto& record = data.arr.arr[static_cast<std::size_t>(slot)];
        if (record.IsEmpty()) continue;
        const std::string reference = "Arr " + ArrLabel(kFirstUserArrangement + slot);
        for (int t = 0; t < ArrangementRecord::kTrackCount; ++t)
            visit(ItemKind::Arrangement, reference, StyleTrackName[static_cast<std::size_t>(t)], record, t);
    }
    for (int slot = 0; slot < kUserStyles; ++slot) {
        auto& style = data.sty.slots[static_cast<std::size_t>(slot)];
        if (style.IsEmpty()) continue;
        const std::string reference = "Sty " + StyLabel(kFirstUserStyle + slot);
        for (int t = 0; t < StyleRecord::kTrackCount; ++t)
            visit(ItemKind::Style, reference, StyleTrackName[static_cast<std::size_t>(t)], style.record, t);
    }
    for (int n = 0; n < kSequenceCount; ++n) {
        auto& entry = data.bsq.entries[static_cast<std::size_t>(n)];
        if (entry.IsEmpty()) continue;
        const std::string reference = "BSeq  " + std::to_string(n);
        for (int t = 0; t < BsqRecord::kTrackCount; ++t)
            visit(ItemKind::BackingSequence, reference, BsqTrackName[static_cast<std::size_t>(t)], entry.record, t);
    }
    for (int n = 0; n < kSequenceCount; ++n) {
        auto& entry = data.sng.entries[static_cast<std::size_t>(n)];
        if (entry.IsEmpty()) continue;
        const std::string reference = "Song  " + std::to_string(n);
        for (int t = 0; t < SongRecord::kTrackCount; ++t)
            visit(ItemKind::Song, reference, SongTrackName[static_cast<std::size_t>(t)], entry.record, t);
    }
    for (int n = 0; n < kKbdSetCount; ++n) {
        auto& record = data.ark.records[static_cast<std::size_t>(n)];
        const std::string reference = "KSet " + KbdLabel(n);
        for (int t = 0; t < KbdSetRecord::kTrackCount; ++t)
            visit(ItemKind::KbdSet, reference, KbdTrackName[static_cast<std::size_t>(t)], record, t);
    }
}

}  // namespace

std::vector<std::string> ArrCalledBy(const SetData& data, int number) {
    std::vector<std::string> callers;
    for (int n = 0; n < kSequenceCount; ++n) {
        const BsqEntry& entry = data.bsq.entries[static_cast<std::size_t>(n)];
        if (!entry.IsEmpty() && entry.record.Arrangement() == number) callers.push_back("BSeq " + std::to_string(n));
    }
    return callers;
}

std::vector<std::string> StyleCalledBy(const SetData& data, int number) {
    std::vector<std::string> callers;
    for (int slot = 0; slot < kUserArrangements; ++slot) {
        const ArrangementRecord& record = data.arr.arr[static_cast<std::size_t>(slot)];
        if (!record.IsEmpty() && record.Style() == number)
            callers.push_back("Arr " + ArrLabel(kFirstUserArrangement + slot));
    }
    for (int n = 0; n < kSequenceCount; ++n) {
        const BsqEntry& entry = data.bsq.entries[static_cast<std::size_t>(n)];
        if (!entry.IsEmpty() && entry.record.Style() == number) callers.push_back("BSeq  " + std::to_string(n));
    }
    return callers;
}

std::vector<ProgramCaller> FindProgramCallers(const SetData& data, int number) {
    std::vector<ProgramCaller> callers;
    ForEachProgramCall(data,
                       [&](ItemKind, const std::string& reference, std::string_view track, const auto& record, int t) {
                           if (record.TrackProgram(t) == number) callers.push_back({reference, std::string(track)});
                       });
    return callers;
}

std::vector<ItemKind> RedirectProgramCalls(SetData& data, int from, int to) {
    std::vector<ItemKind> changed;
    ForEachProgramCall(data, [&](ItemKind kind, const std::string&, std::string_view, auto& record, int t) {
        if (record.TrackProgram(t) != from) return;
        record.SetTrackProgram(t, to);
        if (changed.empty() || changed.back() != kind) changed.push_back(kind);
    });
    return changed;
}

}  // namespace vx
