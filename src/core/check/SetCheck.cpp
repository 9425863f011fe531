#include "core/check/SetCheck.h"

#include <algorithm>
#include <unordered_map>

#include "core/calls/CallSites.h"
#include "core/catalogue/Catalogue.h"
#include "core/editing/Callers.h"
#include "core/kinds/EditableKind.h"
#include "core/selection/ItemNumbers.h"
#include "core/text/Helpers.h"

namespace vx {

namespace {

constexpr int kEventsPerUnit = 4;
// What a call stores for "no item": 65535, or its 15 bits in a flagged program pair.
bool CallsNothing(int number) { return number < 0 || number == 0xFFFF || number == 0x7FFF; }

std::string Quoted(const std::string& name) { return name.empty() ? std::string() : " '" + name + "'"; }

// "Arrangement C11 'POP 1'", "Backing Sequence 3 'INTRO'", "KBD Set 11".
std::string ItemTitle(const SetData& data, ItemKind kind, int slot) {
    const EditableKind& d = *EditableKindOf(kind);
    return std::string(d.Noun()) + " " + d.Label(slot) + Quoted(TrimBlanks(SlotName(d, data, slot)));
}

std::string Lower(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
    return lower;
}

bool InSomeBank(ItemKind kind, int number) {
    switch (kind) {
        case ItemKind::Arrangement:
            return ArrBankSlotOf(number).Valid();
        case ItemKind::Style:
            return StyBankSlotOf(number).Valid();
        default:
            return ProgramBankSlotOf(number).Valid();
    }
}

std::string CalledLabel(ItemKind kind, int number) {
    switch (kind) {
        case ItemKind::Arrangement:
            return ArrLabel(number);
        case ItemKind::Style:
            return StyLabel(number);
        default:
            return ProgramLabel(number);
    }
}

// Which user slots of a called kind hold nothing, read once for all the calls of the set.
std::vector<bool> EmptySlots(const SetData& data, const EditableKind& d) {
    std::vector<bool> empty(static_cast<std::size_t>(d.SlotCount()));
    for (int slot = 0; slot < d.SlotCount(); ++slot) empty[static_cast<std::size_t>(slot)] = d.IsEmptyAt(data, slot);
    return empty;
}

std::string WhoCalls(const CallSite& site) {
    if (site.track < 0) return "It calls ";
    return "Track '" + TrimBlanks(CallingTrackName(site.caller, site.track)) + "' calls ";
}

void CheckCalls(const SetData& data, std::vector<Finding>& out) {
    const std::array<ItemKind, 3> calledKinds = {ItemKind::Arrangement, ItemKind::Style, ItemKind::Program};
    std::array<std::vector<bool>, 3> empty;
    for (std::size_t k = 0; k < calledKinds.size(); ++k) empty[k] = EmptySlots(data, *EditableKindOf(calledKinds[k]));
    ForEachCall(data, [&](const CallSite& site) {
        if (CallsNothing(site.number)) return;
        const EditableKind& called = *EditableKindOf(site.called);
        if (!InSomeBank(site.called, site.number)) {
            const std::string noun = Lower(called.Noun());
            out.push_back({FindingType::CallOutsideBanks, ItemTitle(data, site.caller, site.slot),
                           WhoCalls(site) + noun + " number " + std::to_string(site.number) + ", which is in no bank.",
                           "Make it call an existing " + noun + "."});
            return;
        }
        const int slot = called.SlotOfNumber(site.number);
        const auto& emptyOfKind = empty[static_cast<std::size_t>(KindIndex(site.called))];
        if (slot < 0 || static_cast<std::size_t>(slot) >= emptyOfKind.size() ||
            !emptyOfKind[static_cast<std::size_t>(slot)])
            return;
        const std::string label = CalledLabel(site.called, site.number);
        out.push_back({FindingType::CallToEmptySlot, ItemTitle(data, site.caller, site.slot),
                       WhoCalls(site) + std::string(called.Noun()) + " " + label + ", which is empty.",
                       "Put a " + Lower(called.Noun()) + " into " + label + " or make it call another one."});
    });
}

void CheckStyleBlocks(const SetData& data, std::vector<Finding>& out) {
    const int blocks = std::clamp(data.sty.blockCount, 0, kStyleBlocks);
    for (int block = 0; block < blocks; ++block) {
        const int first = block * kStylesPerBlock;
        const int free = BlockEventsFree(data.sty, first);
        if (free >= 0) continue;
        const std::string range =
            StyLabel(StyNumberOfUserIndex(first)) + "-" + StyLabel(StyNumberOfUserIndex(first + kStylesPerBlock - 1));
        out.push_back({FindingType::StyleBlockOverBudget, "Style block " + range,
                       "Its styles take " + std::to_string(kBlockEvents - free) + " events, " + std::to_string(-free) +
                           " more than the " + std::to_string(kBlockEvents) + " a block holds.",
                       "Cut one of its styles or move it to a block with room."});
    }
}

void CheckEventMemory(const SetData& data, std::vector<Finding>& out) {
    const EventCounters counters = CountEvents(data.bsq, data.sng);
    if (counters.Free() >= 0) return;
    out.push_back({FindingType::EventMemoryFull, "Event memory",
                   "Backing sequences, songs and patterns take " + std::to_string(counters.Total() * kEventsPerUnit) +
                       " events, " + std::to_string(-counters.Free() * kEventsPerUnit) + " more than the " +
                       std::to_string(kEventMemoryUnits * kEventsPerUnit) + " it holds.",
                   "Delete a backing sequence or a song."});
}

void CheckOffsets(const SetData& data, std::vector<Finding>& out) {
    const std::string again = "Take the backing sequences and songs from one set the instrument saved.";
    const int bsqStart = data.bsq.offsets[0][0];
    if (bsqStart < 0)
        out.push_back({FindingType::OffsetsOverlap, "Backing sequences",
                       "They start at unit " + std::to_string(bsqStart) + ", before the start of the memory.", again});
    const int songStart = data.sng.offsets[0][0];
    if (songStart < data.bsq.endOffset)
        out.push_back({FindingType::OffsetsOverlap, "Songs",
                       "They start at unit " + std::to_string(songStart) +
                           ", inside the backing sequences, which end at unit " + std::to_string(data.bsq.endOffset) +
                           ".",
                       again});
    for (int p = 1; p < kPatternCount; ++p) {
        const int offset = data.sng.patternOffsets[static_cast<std::size_t>(p)];
        const int before = data.sng.patternOffsets[static_cast<std::size_t>(p - 1)];
        if (offset < before)
            out.push_back({FindingType::OffsetsOverlap, "Pattern " + std::to_string(p),
                           "It starts at unit " + std::to_string(offset) + ", before pattern " + std::to_string(p - 1) +
                               " at unit " + std::to_string(before) + ".",
                           again});
    }
}

void CheckMaps(const SetData& data, bool sequencesUnsaved, std::vector<Finding>& out) {
    // The header repeats each backing sequence's size; the instrument reads it, the editor
    // writes it from the offsets on every save of the kind.
    constexpr std::size_t kHeaderTotalsAt = 44;
    for (int b = 0; b < kSequenceCount && !sequencesUnsaved; ++b) {
        const std::size_t at = kHeaderTotalsAt + 4 * static_cast<std::size_t>(b);
        const int stored = data.bsq.header[at] | (data.bsq.header[at + 1] << 8);
        const int total = data.bsq.entries[static_cast<std::size_t>(b)].total;
        if (stored == total) continue;
        out.push_back({FindingType::MapMismatch, ItemTitle(data, ItemKind::BackingSequence, b),
                       "The file's size table gives it " + std::to_string(stored) + " units, its offsets " +
                           std::to_string(total) + ".",
                       "Save the set with Save As, which writes the table from the offsets."});
    }
    const int firstPattern = data.sng.patternOffsets[0];
    if (data.sng.endOffset < firstPattern)
        out.push_back({FindingType::MapMismatch, "Pattern map",
                       "The song file ends its memory at unit " + std::to_string(data.sng.endOffset) +
                           ", before the first pattern at unit " + std::to_string(firstPattern) + ".",
                       "Take the song file from a set the instrument saved."});
    for (int p = 0; p < kPatternCount; ++p) {
        const int offset = data.sng.patternOffsets[static_cast<std::size_t>(p)];
        if (offset <= std::max(data.sng.endOffset, firstPattern)) continue;
        out.push_back({FindingType::MapMismatch, "Pattern " + std::to_string(p),
                       "It starts at unit " + std::to_string(offset) +
                           ", past the end of the song file's memory at unit " +
                           std::to_string(std::max(data.sng.endOffset, firstPattern)) + ".",
                       "Take the song file from a set the instrument saved."});
    }
}

template <typename Sequences>
void CheckChains(const SetData& data, const Sequences& sequences, ItemKind kind, std::vector<Finding>& out) {
    for (int s = 0; s < kSequenceCount; ++s) {
        const auto& record = sequences.entries[static_cast<std::size_t>(s)].record;
        if (record.IsEmpty() || record.NextRaw() <= 9) continue;
        const std::string noun = Lower(EditableKindOf(kind)->Noun());
        out.push_back({FindingType::ChainOutOfRange, ItemTitle(data, kind, s),
                       "It chains to " + std::to_string(record.NextRaw()) + ", which is not a " + noun +
                           " (0 to 9); the instrument takes it as 0.",
                       "Choose the " + noun + " it chains to in its Details."});
    }
}

void CheckDuplicateNames(const SetData& data, std::vector<Finding>& out) {
    for (ItemKind kind : {ItemKind::Arrangement, ItemKind::Style, ItemKind::Program}) {
        const EditableKind& d = *EditableKindOf(kind);
        for (const SlotRange& run : d.DuplicateRuns()) {
            // Each name's first slot in the run; a later slot with that name is a duplicate of it.
            std::unordered_map<std::string, int> first;
            for (int slot = run.first; slot <= run.last; ++slot) {
                std::string name = TrimBlanks(SlotName(d, data, slot));
                if (name.empty()) continue;
                const auto [known, added] = first.emplace(std::move(name), slot);
                if (added) continue;
                out.push_back({FindingType::DuplicateName, ItemTitle(data, kind, slot),
                               "It has the same name as " + d.Label(known->second) + ".",
                               "Rename one of them: a paste into another set finds called items by name."});
            }
        }
    }
}

}  // namespace

std::string FindingTypeName(FindingType type) {
    switch (type) {
        case FindingType::CallToEmptySlot:
            return "call-to-empty-slot";
        case FindingType::CallOutsideBanks:
            return "call-outside-banks";
        case FindingType::StyleBlockOverBudget:
            return "style-block-over-budget";
        case FindingType::EventMemoryFull:
            return "event-memory-full";
        case FindingType::OffsetsOverlap:
            return "offsets-overlap";
        case FindingType::MapMismatch:
            return "map-mismatch";
        case FindingType::ChainOutOfRange:
            return "chain-out-of-range";
        case FindingType::DuplicateName:
            return "duplicate-name";
    }
    return {};
}

std::vector<Finding> CheckSet(const SetData& data, const std::array<bool, kSetKindCount>& unsaved) {
    std::vector<Finding> findings;
    CheckCalls(data, findings);
    CheckStyleBlocks(data, findings);
    CheckEventMemory(data, findings);
    CheckOffsets(data, findings);
    CheckMaps(data, unsaved[static_cast<std::size_t>(KindIndex(ItemKind::BackingSequence))], findings);
    CheckChains(data, data.bsq, ItemKind::BackingSequence, findings);
    CheckChains(data, data.sng, ItemKind::Song, findings);
    CheckDuplicateNames(data, findings);
    return findings;
}

std::string CheckReportText(const std::string& setName, const std::vector<Finding>& findings) {
    std::string text;
    for (const Finding& finding : findings) text += finding.Text() + "\n";
    if (findings.empty()) return "No findings: " + setName + " is consistent.\n";
    text +=
        std::to_string(findings.size()) + (findings.size() == 1 ? " finding in " : " findings in ") + setName + ".\n";
    return text;
}

}  // namespace vx
