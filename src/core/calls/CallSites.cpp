#include "core/calls/CallSites.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace vx {

namespace {

using detail::CallCoding;
using detail::CallPlace;
using detail::CallPlaces;

// A run of calls in a caller's record: count calls of one kind, the first at offset and each
// stride bytes after the one before, for the tracks from firstTrack on (-1: the whole item).
struct CallRun {
    ItemKind called;
    int firstTrack;
    int count;
    std::size_t offset;
    std::size_t stride;
    CallCoding coding;
    int firstPlace = 0;  // the place of its first call in the caller's table
};

// The calls of every caller kind, as runs and as places; a call's place is its index in its
// kind's table.
struct CallTables {
    struct OfCaller {
        std::vector<CallRun> runs;
        std::vector<CallPlace> places;
    };
    OfCaller arrangement, style, backingSequence, song, kbdSet;

    CallTables() {
        using Arr = ArrangementRecord;
        Add(arrangement, {ItemKind::Style, -1, 1, Arr::kStyleOffset, 0, CallCoding::Word});
        Add(arrangement, TrackRun(0, Arr::kTrackCount, Arr::TrackOffset, CallCoding::FlaggedPair));
        Add(style, TrackRun(0, StyleRecord::kTrackCount, StyleRecord::TrackOffset, CallCoding::FlaggedPair));
        Add(backingSequence, {ItemKind::Arrangement, -1, 1, BsqRecord::kArrangementOffset, 0, CallCoding::SignedWord});
        Add(backingSequence, {ItemKind::Style, -1, 1, BsqRecord::kStyleOffset, 0, CallCoding::SignedWord});
        // The tracks come in two blocks of different strides.
        constexpr int firstBlock = BsqRecord::kFirstBlockTracks;
        Add(backingSequence, TrackRun(0, firstBlock, BsqRecord::TrackOffset));
        Add(backingSequence, TrackRun(firstBlock, BsqRecord::kTrackCount - firstBlock, BsqRecord::TrackOffset));
        Add(song, TrackRun(0, SongRecord::kTrackCount, SongRecord::TrackOffset));
        Add(kbdSet, TrackRun(0, KbdSetRecord::kTrackCount, KbdSetRecord::TrackOffset));
    }

private:
    // The program calls of tracks first to first + count - 1, evenly spaced.
    static CallRun TrackRun(int first, int count, std::size_t (*offsetOf)(int),
                            CallCoding coding = CallCoding::SignedWord) {
        return {ItemKind::Program, first, count, offsetOf(first), offsetOf(first + 1) - offsetOf(first), coding};
    }
    static void Add(OfCaller& caller, CallRun run) {
        run.firstPlace = static_cast<int>(caller.places.size());
        caller.runs.push_back(run);
        for (int i = 0; i < run.count; ++i)
            caller.places.push_back({run.called, run.firstTrack < 0 ? -1 : run.firstTrack + i, run.coding,
                                     run.offset + run.stride * static_cast<std::size_t>(i)});
    }
};

const CallTables& Tables() {
    static const CallTables tables;
    return tables;
}

const CallTables::OfCaller* TablesOf(ItemKind caller) {
    const CallTables& tables = Tables();
    switch (caller) {
        case ItemKind::Arrangement:
            return &tables.arrangement;
        case ItemKind::Style:
            return &tables.style;
        case ItemKind::BackingSequence:
            return &tables.backingSequence;
        case ItemKind::Song:
            return &tables.song;
        case ItemKind::KbdSet:
            return &tables.kbdSet;
        default:
            return nullptr;
    }
}

// Where a call sits, in 16 bits: caller kind, slot and place.
constexpr int kPlaceBits = 5;
constexpr int kSlotBits = 8;

std::uint16_t Where(ItemKind caller, int slot, int place) {
    return static_cast<std::uint16_t>((KindIndex(caller) << (kSlotBits + kPlaceBits)) | (slot << kPlaceBits) | place);
}

int PlaceOf(const CallSite& site) {
    const CallPlaces places = detail::PlacesOf(site.caller);
    for (int i = 0; i < places.count; ++i)
        if (places.first[i].called == site.called && places.first[i].track == site.track) return i;
    return -1;
}

}  // namespace

namespace detail {

CallPlaces PlacesOf(ItemKind caller) {
    const CallTables::OfCaller* tables = TablesOf(caller);
    if (tables == nullptr) return {};
    return {tables->places.data(), static_cast<int>(tables->places.size())};
}

}  // namespace detail

void CallJournal::Add(const CallSite& site) {
    const int place = PlaceOf(site);
    if (place < 0) return;
    entries_.push_back({Where(site.caller, site.slot, place), static_cast<std::uint16_t>(site.number)});
}

CallJournal::Place CallJournal::Decode(Entry entry) {
    Place at;
    at.caller = KindFromIndex(entry.where >> (kSlotBits + kPlaceBits));
    at.slot = (entry.where >> kPlaceBits) & ((1 << kSlotBits) - 1);
    at.place = &detail::PlacesOf(at.caller).first[entry.where & ((1 << kPlaceBits) - 1)];
    return at;
}

CallSite CallJournal::At(std::size_t i) const {
    const Place at = Decode(entries_[i]);
    // The number as the place reads it.
    const std::uint8_t stored[2] = {static_cast<std::uint8_t>(entries_[i].before & 0xFF),
                                    static_cast<std::uint8_t>(entries_[i].before >> 8)};
    detail::CallPlace place = *at.place;
    place.offset = 0;
    return {at.caller, at.slot, at.place->track, at.place->called, detail::ReadCallAt(stored, place)};
}

KindMask CallJournal::Restore(SetData& data) const {
    // Where each caller kind's records and places are, looked up once.
    constexpr auto kKinds = static_cast<std::size_t>(KindIndex(ItemKind::KbdSet)) + 1;
    std::array<detail::CallerRecords<std::uint8_t>, kKinds> records{};
    std::array<CallPlaces, kKinds> places{};
    for (const ItemKind caller : detail::kCallerOrder) {
        records[static_cast<std::size_t>(KindIndex(caller))] = detail::RecordsOf(data, caller);
        places[static_cast<std::size_t>(KindIndex(caller))] = detail::PlacesOf(caller);
    }
    KindMask changed = 0;
    for (std::size_t i = entries_.size(); i-- > 0;) {
        const Entry entry = entries_[i];
        const auto kind = static_cast<std::size_t>(entry.where >> (kSlotBits + kPlaceBits));
        std::uint8_t* const bytes = records[kind].At((entry.where >> kPlaceBits) & ((1 << kSlotBits) - 1));
        if (bytes == nullptr) continue;
        detail::WriteCallAt(bytes, places[kind].first[entry.where & ((1 << kPlaceBits) - 1)], entry.before);
        changed |= KindMask{1} << kind;
    }
    return changed;
}

namespace {

int KindOfWhere(std::uint16_t where) { return where >> (kSlotBits + kPlaceBits); }
int SlotOfWhere(std::uint16_t where) { return (where >> kPlaceBits) & ((1 << kSlotBits) - 1); }
int PlaceOfWhere(std::uint16_t where) { return where & ((1 << kPlaceBits) - 1); }

}  // namespace

void CallJournal::FollowTurn(ItemKind caller, int first, int last, bool up) {
    const int kind = KindIndex(caller);
    for (Entry& entry : entries_) {
        if (KindOfWhere(entry.where) != kind) continue;
        const int slot = SlotOfWhere(entry.where);
        if (slot < first || slot > last) continue;
        const int moved = up ? (slot == last ? first : slot + 1) : (slot == first ? last : slot - 1);
        entry.where = Where(caller, moved, PlaceOfWhere(entry.where));
    }
}

std::vector<std::pair<int, int>> CallJournal::TakeOut(ItemKind caller, int slot) {
    std::vector<std::pair<int, int>> taken;
    const int kind = KindIndex(caller);
    std::erase_if(entries_, [&](const Entry& entry) {
        if (KindOfWhere(entry.where) != kind || SlotOfWhere(entry.where) != slot) return false;
        taken.emplace_back(PlaceOfWhere(entry.where), entry.before);
        return true;
    });
    return taken;
}

void CallJournal::PutIn(ItemKind caller, int slot, int place, int before) {
    entries_.push_back({Where(caller, slot, place), static_cast<std::uint16_t>(before)});
}

void CallJournal::MapBefore(const Redirection& redirection) {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const CallSite site = At(i);
        if (site.called != redirection.called) continue;
        const int target = redirection.Target(site.number);
        if (target != Redirection::kKeep) entries_[i].before = static_cast<std::uint16_t>(target);
    }
}

namespace {

// Calls are 16-bit words as the files store them; on a little-endian machine they are read and
// written whole.
static_assert(std::endian::native == std::endian::little);

// Rewrites one run of calls in every record of a caller kind; targetOf gives a number's new
// number or Redirection::kKeep, and kept receives what was there. The run's numbers are held in
// locals: the record writes are byte stores, which could otherwise change anything.
template <bool kKeep, bool kFlagged, typename TargetOf>
KindMask RedirectRun(const detail::CallerRecords<std::uint8_t> records, ItemKind caller, const CallRun& run,
                     TargetOf targetOf, CallJournal::Entry*& kept) {
    const std::size_t offset = run.offset;
    const std::size_t stride = run.stride;
    const int calls = run.count;
    CallJournal::Entry* out = kept;
    KindMask changed = 0;
    for (int s = 0; s < records.count; ++s) {
        std::uint8_t* const bytes = records.At(s);
        if (bytes == nullptr) continue;
        const std::uint16_t where = Where(caller, s, run.firstPlace);
        std::uint8_t* at = bytes + offset;
        for (int i = 0; i < calls; ++i, at += stride) {
            std::uint16_t word;
            std::memcpy(&word, at, sizeof word);
            const int number = kFlagged ? word & 0x7FFF : static_cast<std::int16_t>(word);
            const int target = targetOf(number);
            if (target == Redirection::kKeep) continue;
            if constexpr (kKeep) *out++ = {static_cast<std::uint16_t>(where + i), static_cast<std::uint16_t>(number)};
            if (target == number) continue;
            const auto stored = static_cast<std::uint16_t>(kFlagged ? (word & 0x8000) | (target & 0x7FFF) : target);
            std::memcpy(at, &stored, sizeof stored);
            changed = MaskOf(caller);
        }
    }
    kept = out;
    return changed;
}

template <typename TargetOf>
KindMask RedirectRun(SetData& data, ItemKind caller, const CallRun& run, TargetOf targetOf, CallJournal::Entry*& kept) {
    const auto records = detail::RecordsOf(data, caller);
    const bool flagged = run.coding == CallCoding::FlaggedPair;
    if (kept != nullptr)
        return flagged ? RedirectRun<true, true>(records, caller, run, targetOf, kept)
                       : RedirectRun<true, false>(records, caller, run, targetOf, kept);
    return flagged ? RedirectRun<false, true>(records, caller, run, targetOf, kept)
                   : RedirectRun<false, false>(records, caller, run, targetOf, kept);
}

}  // namespace

void Redirection::Add(int from, int target) {
    if (from < 0 || from >= numbers_) return;
    if (table_.empty()) {
        const bool none = highest_ < lowest_;
        // The first entry, or one that extends the run by the same step, keeps it even.
        if (target != kKeep && (none || (target - from == step_ && (from == lowest_ - 1 || from == highest_ + 1)))) {
            step_ = target - from;
            lowest_ = none ? from : std::min(lowest_, from);
            highest_ = none ? from : std::max(highest_, from);
            return;
        }
        table_.assign(static_cast<std::size_t>(numbers_), kKeep);
        for (int n = lowest_; n <= highest_; ++n) table_[static_cast<std::size_t>(n)] = n + step_;
    }
    table_[static_cast<std::size_t>(from)] = target;
}

bool Redirection::Empty() const {
    if (table_.empty()) return highest_ < lowest_;
    return std::all_of(table_.begin(), table_.end(), [](int target) { return target == kKeep; });
}

KindMask Redirect(SetData& data, const Redirection& redirection, CallJournal* journal) {
    // One pass over the calls of the redirected kind, working each new number out (a shift of a
    // bank) or looking it up, and writing it in place; the journal has room for every call of
    // the set, so that a bank shift allocates once.
    int lowest = 0, highest = 0, step = 0;
    const bool even = redirection.EvenShift(lowest, highest, step);
    const int noted = redirection.Noted();
    if (even && highest < lowest && (noted == Redirection::kKeep || journal == nullptr)) return 0;
    const auto span = static_cast<unsigned>(highest - lowest);
    const int* const table = redirection.Table();
    const int size = redirection.Numbers();
    CallJournal::Entry* kept = nullptr;
    std::size_t keptBefore = 0;
    if (journal != nullptr) {
        keptBefore = journal->entries_.size();
        journal->entries_.resize(keptBefore + kMaxCallSites);
        kept = journal->entries_.data() + keptBefore;
    }
    CallJournal::Entry* const keptFirst = kept;
    KindMask changed = 0;
    for (const ItemKind caller : detail::kCallerOrder) {
        for (const CallRun& run : TablesOf(caller)->runs) {
            if (run.called != redirection.called) continue;
            if (even)
                changed |= RedirectRun(
                    data, caller, run,
                    [lowest, span, step, noted, none = highest < lowest](int number) {
                        if (!none && static_cast<unsigned>(number - lowest) <= span) return number + step;
                        return number == noted ? number : Redirection::kKeep;
                    },
                    kept);
            else
                changed |= RedirectRun(
                    data, caller, run,
                    [table, size, noted](int number) {
                        if (number == noted) return number;
                        return number >= 0 && number < size ? table[number] : Redirection::kKeep;
                    },
                    kept);
        }
    }
    if (journal != nullptr) journal->entries_.resize(keptBefore + static_cast<std::size_t>(kept - keptFirst));
    return changed;
}

bool WriteCall(SetData& data, const CallSite& site, int number) {
    const int place = PlaceOf(site);
    const auto records = detail::RecordsOf(data, site.caller);
    if (place < 0 || site.slot < 0 || site.slot >= records.count) return false;
    std::uint8_t* const bytes = records.At(site.slot);
    if (bytes == nullptr) return false;
    detail::WriteCallAt(bytes, detail::PlacesOf(site.caller).first[place], number);
    return true;
}

bool SetCallIn(std::uint8_t* record, ItemKind caller, ItemKind called, int track, int number) {
    const int place = PlaceOf(CallSite{caller, 0, track, called, number});
    if (place < 0) return false;
    detail::WriteCallAt(record, detail::PlacesOf(caller).first[place], number);
    return true;
}

bool KindCallsKind(ItemKind caller, ItemKind called) {
    switch (caller) {
        case ItemKind::Arrangement:
            return called == ItemKind::Style || called == ItemKind::Program;
        case ItemKind::Style:
        case ItemKind::Song:
        case ItemKind::KbdSet:
            return called == ItemKind::Program;
        case ItemKind::BackingSequence:
            return called == ItemKind::Arrangement || called == ItemKind::Style || called == ItemKind::Program;
        default:
            return false;
    }
}

}  // namespace vx
