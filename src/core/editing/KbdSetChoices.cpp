#include "core/editing/KbdSetChoices.h"

#include "core/editing/EditScheme.h"
#include "core/interaction/Interaction.h"
#include "core/storage/Session.h"
#include "core/text/Helpers.h"

namespace vx {

namespace {
constexpr int kLowestSplit = 36;
constexpr int kHighestSplit = 96;
constexpr int kSplitColumn = 1;
constexpr int kFirstTrackColumn = 2;
constexpr int kMiddleEntry = 24;  // C4
}  // namespace

std::vector<std::string> SplitKeyEntries() {
    std::vector<std::string> entries;
    for (int key = kLowestSplit; key <= kHighestSplit; ++key) entries.push_back(NoteLabel(key));
    return entries;
}

bool KbdGridDoubleClick(Session& session, EditScheme& scheme, int set, int kbdSet, int column) {
    if (!session.Sets().IsOpen(set)) return false;
    const auto& records = session.Data(set).ark.records;
    Interaction& ui = session.Ui();
    if (column == kSplitColumn && kbdSet < 0) {
        const int entry = ui.PickNote("Set All KBD Sets Split Key", "Split Key", SplitKeyEntries(), kMiddleEntry);
        if (entry < 0) return false;
        std::vector<std::pair<int, EditItem>> changed;
        for (int i = 0; i < kKbdSetCount; ++i) {
            KbdSetRecord record = records[static_cast<std::size_t>(i)];
            record.SetSplit(kLowestSplit + entry);
            changed.emplace_back(i, record);
        }
        return scheme.WriteItems(set, ItemKind::KbdSet, changed).done;
    }
    if (kbdSet < 0 || kbdSet >= kKbdSetCount) return false;
    KbdSetRecord record = records[static_cast<std::size_t>(kbdSet)];
    if (column == kSplitColumn) {
        const int current = record.Split() - kLowestSplit;
        const int preselected = current >= 0 && current <= kHighestSplit - kLowestSplit ? current : kMiddleEntry;
        const int entry =
            ui.PickNote("Set KBD Set " + KbdLabel(kbdSet) + " Split Key", "Split Key", SplitKeyEntries(), preselected);
        if (entry < 0 || kLowestSplit + entry == record.Split()) return false;
        record.SetSplit(kLowestSplit + entry);
        return scheme.WriteItem(set, ItemKind::KbdSet, kbdSet, record).done;
    }
    const int track = column - kFirstTrackColumn;
    if (track < 0 || track >= KbdSetRecord::kTrackCount) return false;
    const int chosen = ui.PickProgram(set, record.TrackProgram(track), "");
    if (chosen < 0 || chosen == record.TrackProgram(track)) return false;
    SetCall(record, ItemKind::KbdSet, ItemKind::Program, track, chosen);
    return scheme.WriteItem(set, ItemKind::KbdSet, kbdSet, record).done;
}

}  // namespace vx
