#include "core/editing/Callers.h"

#include "core/catalogue/Catalogue.h"
#include "core/selection/ItemNumbers.h"

namespace vx {

namespace {

std::string Reference(const CallSite& site) {
    const std::string position = std::to_string(site.slot);
    switch (site.caller) {
        case ItemKind::Arrangement:
            return "Arr " + ArrLabel(ArrNumberOfUserIndex(site.slot));
        case ItemKind::Style:
            return "Sty " + StyLabel(StyNumberOfUserIndex(site.slot));
        case ItemKind::BackingSequence:
            return (site.called == ItemKind::Arrangement ? "BSeq " : "BSeq  ") + position;
        case ItemKind::Song:
            return "Song  " + position;
        case ItemKind::KbdSet:
            return "KSet " + KbdLabel(site.slot);
        default:
            return position;
    }
}

template <std::size_t N>
std::string Entry(const std::array<std::string_view, N>& names, int track) {
    return track >= 0 && static_cast<std::size_t>(track) < N ? std::string(names[static_cast<std::size_t>(track)])
                                                             : std::string();
}

}  // namespace

std::string CallingTrackName(ItemKind caller, int track) {
    switch (caller) {
        case ItemKind::Arrangement:
        case ItemKind::Style:
            return Entry(StyleTrackName, track);
        case ItemKind::BackingSequence:
            return Entry(BsqTrackName, track);
        case ItemKind::Song:
            return Entry(SongTrackName, track);
        case ItemKind::KbdSet:
            return Entry(KbdTrackName, track);
        default:
            return {};
    }
}

std::vector<CallerEntry> CallersOf(const SetData& data, ItemKind called, int number) {
    std::vector<CallerEntry> entries;
    ForEachCall(data, [&](const CallSite& site) {
        if (site.called == called && site.number == number)
            entries.push_back({Reference(site), CallingTrackName(site.caller, site.track)});
    });
    return entries;
}

namespace {
std::vector<std::string> References(const std::vector<CallerEntry>& entries) {
    std::vector<std::string> references;
    references.reserve(entries.size());
    for (const CallerEntry& entry : entries) references.push_back(entry.reference);
    return references;
}
}  // namespace

std::vector<std::string> ArrCalledBy(const SetData& data, int number) {
    return References(CallersOf(data, ItemKind::Arrangement, number));
}

std::vector<std::string> StyleCalledBy(const SetData& data, int number) {
    return References(CallersOf(data, ItemKind::Style, number));
}

std::vector<CallerEntry> FindProgramCallers(const SetData& data, int number) {
    return CallersOf(data, ItemKind::Program, number);
}

}  // namespace vx
