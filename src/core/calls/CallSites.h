#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <type_traits>
#include <utility>
#include <vector>

#include "core/catalogue/ItemKind.h"
#include "core/storage/SetData.h"

namespace vx {

// One call that an item of a set makes: who calls (kind, slot, track) and what it calls (kind,
// number). Calls that belong to the item as a whole (an arrangement's style, a backing
// sequence's arrangement and style) have track -1. Slots are the caller kind's own: user
// arrangement 0-127, user style 0-47, backing sequence and song 0-9, KBD set 0-63.
struct CallSite {
    ItemKind caller = ItemKind::Arrangement;
    int slot = 0;
    int track = -1;
    ItemKind called = ItemKind::Program;
    int number = -1;
};

// Kinds whose data a rewrite changed, as bits 1 << KindIndex(kind).
using KindMask = std::uint32_t;
constexpr KindMask MaskOf(ItemKind kind) { return KindMask{1} << KindIndex(kind); }

// Which calls a walk visits: those of the caller kinds (of one caller slot when slot >= 0) to
// the called kinds. A question about one item's callers, or one item's own calls, need not walk
// every call of the set.
struct CallFilter {
    KindMask callers = ~KindMask{0};
    KindMask called = ~KindMask{0};
    int slot = -1;
    bool Caller(ItemKind kind) const { return (callers & MaskOf(kind)) != 0; }
    bool Called(ItemKind kind) const { return (called & MaskOf(kind)) != 0; }
    int First() const { return slot >= 0 ? slot : 0; }
    int End(int count) const { return slot >= 0 ? (slot < count ? slot + 1 : 0) : count; }
};

namespace detail {

// Returned by a visitor to end a walk early.
inline constexpr int kStopWalk = std::numeric_limits<int>::min() + 1;

// How a call is stored in its caller's record: a 16-bit word read unsigned (an arrangement's
// style) or signed (backing sequences, songs, KBD sets), or the program call of an arrangement
// or style track, whose high byte keeps a flag in bit 7 that a rewrite leaves as it was.
enum class CallCoding : std::uint8_t { Word, SignedWord, FlaggedPair };

// One place of a call in a caller's record.
struct CallPlace {
    ItemKind called = ItemKind::Program;
    int track = -1;  // -1: a call of the whole item
    CallCoding coding = CallCoding::SignedWord;
    std::size_t offset = 0;
};

// The places of a caller kind's calls, in the order of the caller lists.
struct CallPlaces {
    const CallPlace* first = nullptr;
    int count = 0;
    const CallPlace* begin() const { return first; }
    const CallPlace* end() const { return first + count; }
};
CallPlaces PlacesOf(ItemKind caller);

// The caller kinds in the order of the program callers' list.
inline constexpr ItemKind kCallerOrder[] = {ItemKind::Arrangement, ItemKind::Style, ItemKind::BackingSequence,
                                            ItemKind::Song, ItemKind::KbdSet};

inline int ReadCallAt(const std::uint8_t* bytes, const CallPlace& place) {
    const int low = bytes[place.offset];
    const int high = bytes[place.offset + 1];
    switch (place.coding) {
        case CallCoding::Word:
            return low | high << 8;
        case CallCoding::SignedWord:
            return static_cast<std::int16_t>(low | high << 8);
        default:
            return low | (high & 0x7F) << 8;
    }
}

inline void WriteCallAt(std::uint8_t* bytes, const CallPlace& place, int number) {
    const auto high = static_cast<std::uint8_t>((number >> 8) & 0xFF);
    bytes[place.offset] = static_cast<std::uint8_t>(number & 0xFF);
    bytes[place.offset + 1] = place.coding == CallCoding::FlaggedPair
                                  ? static_cast<std::uint8_t>((bytes[place.offset + 1] & 0x80) | (high & 0x7F))
                                  : high;
}

// Whether a 16-character name is all blanks.
inline bool BlankName(const std::uint8_t* name) {
    constexpr std::uint64_t kBlanks = 0x2020202020202020ULL;
    std::uint64_t head, tail;
    std::memcpy(&head, name, sizeof head);
    std::memcpy(&tail, name + sizeof head, sizeof tail);
    return head == kBlanks && tail == kBlanks;
}

// Where a caller kind's records lie: the first one's bytes, the distance from one to the next,
// and where a record's name starts (-1: the kind is never empty).
template <typename Byte>
struct CallerRecords {
    Byte* first = nullptr;
    std::size_t stride = 0;
    int count = 0;
    int nameOffset = -1;
    // The bytes of a record, or nullptr when the item is empty and so calls nothing.
    Byte* At(int slot) const {
        Byte* const bytes = first + stride * static_cast<std::size_t>(slot);
        return nameOffset >= 0 && BlankName(bytes + nameOffset) ? nullptr : bytes;
    }
};

template <typename Items, typename RecordOf>
auto RecordsIn(Items& items, RecordOf recordOf, int nameOffset) {
    auto* const base = reinterpret_cast<decltype(recordOf(items[0]).bytes.data())>(items.data());
    return CallerRecords<std::remove_pointer_t<decltype(base)>>{
        base + (recordOf(items[0]).bytes.data() - base), sizeof(items[0]), static_cast<int>(items.size()), nameOffset};
}

template <typename Data>
auto RecordsOf(Data& data, ItemKind caller) {
    auto itself = [](auto& record) -> auto& { return record; };
    auto recordOf = [](auto& item) -> auto& { return item.record; };
    switch (caller) {
        case ItemKind::Arrangement:
            return RecordsIn(data.arr.arr, itself, ArrangementRecord::kNameOffset);
        case ItemKind::Style:
            return RecordsIn(data.sty.slots, recordOf, StyleRecord::kNameOffset);
        case ItemKind::BackingSequence:
            return RecordsIn(data.bsq.entries, recordOf, BsqRecord::kNameOffset);
        case ItemKind::Song:
            return RecordsIn(data.sng.entries, recordOf, SongRecord::kNameOffset);
        default:
            return RecordsIn(data.ark.records, itself, -1);
    }
}

// The one walk over every call of a set, in the order of the program callers' list:
// arrangements, styles, backing sequences, songs, KBD sets. Empty items call nothing; KBD sets
// are never empty. visit(site) returns the number the site is to call; on a writable set a
// different number is written back. Returns the kinds that changed.
template <typename Data, typename Visit>
KindMask WalkCalls(Data& data, Visit&& visit, const CallFilter& filter = {}) {
    KindMask changed = 0;
    for (const ItemKind caller : kCallerOrder) {
        if (!filter.Caller(caller)) continue;
        const CallPlaces places = PlacesOf(caller);
        if (std::none_of(places.begin(), places.end(), [&](const CallPlace& p) { return filter.Called(p.called); }))
            continue;
        const auto records = RecordsOf(data, caller);
        for (int s = filter.First(); s < filter.End(records.count); ++s) {
            auto* const bytes = records.At(s);
            if (bytes == nullptr) continue;
            for (const CallPlace& place : places) {
                if (!filter.Called(place.called)) continue;
                const int number = ReadCallAt(bytes, place);
                const int wanted = visit(CallSite{caller, s, place.track, place.called, number});
                if (wanted == kStopWalk) return changed;
                if constexpr (!std::is_const_v<Data>) {
                    if (wanted != number) {
                        WriteCallAt(bytes, place, wanted);
                        changed |= MaskOf(caller);
                    }
                }
            }
        }
    }
    return changed;
}

}  // namespace detail

// Visits every call of the set that passes the filter; visit(const CallSite&) returns nothing.
template <typename Visit>
void ForEachCall(const SetData& data, Visit&& visit, const CallFilter& filter = {}) {
    detail::WalkCalls(
        data,
        [&](const CallSite& site) {
            visit(site);
            return site.number;
        },
        filter);
}

// Whether any call of the set satisfies the predicate; the walk ends at the first.
template <typename Predicate>
bool AnyCall(const SetData& data, Predicate&& predicate, const CallFilter& filter = {}) {
    bool found = false;
    detail::WalkCalls(
        data,
        [&](const CallSite& site) {
            if (!predicate(site)) return site.number;
            found = true;
            return detail::kStopWalk;
        },
        filter);
    return found;
}

// Rewrites calls: rewrite(const CallSite&) returns the number the site is to call. Returns the
// kinds that changed.
template <typename Rewrite>
KindMask RewriteCalls(SetData& data, Rewrite&& rewrite) {
    return detail::WalkCalls(data, rewrite);
}

class Redirection;

// The calls a set can hold at most: every call of every caller.
inline constexpr int kMaxCallSites =
    kUserArrangements * (1 + ArrangementRecord::kTrackCount) + kUserStyles * StyleRecord::kTrackCount +
    kSequenceCount * (2 + BsqRecord::kTrackCount) + kSequenceCount * SongRecord::kTrackCount +
    kKbdSetCount * KbdSetRecord::kTrackCount;

// Rewritten calls, kept so that they can be put back. A shift of a full bank rewrites thousands
// of calls, so each is kept in four bytes: where it sits and the number it held.
class CallJournal {
public:
    // Keeps a call before it is rewritten; site.number is the number it holds.
    void Add(const CallSite& site);
    // Room for n more calls, so that a rewrite of the whole set allocates once.
    void Reserve(std::size_t n) { entries_.reserve(entries_.size() + n); }
    bool Empty() const { return entries_.empty(); }
    std::size_t Size() const { return entries_.size(); }
    // The call kept at index i, as it was before its rewrite.
    CallSite At(std::size_t i) const;
    // Writes every kept call back, newest first; a caller emptied since then is skipped.
    // Returns the kinds that changed.
    KindMask Restore(SetData& data) const;

    // Following the callers a later command moves: the calls kept for callers of a kind in the
    // run first..last follow a turn of that run (TurningKind::Turn); the calls kept for the
    // caller in a slot are taken out (its item left the set) as pairs of place and number, or
    // put in (an item came back into the slot).
    void FollowTurn(ItemKind caller, int first, int last, bool up);
    std::vector<std::pair<int, int>> TakeOut(ItemKind caller, int slot);
    void PutIn(ItemKind caller, int slot, int place, int before);
    // Every kept number of the called kind goes where the redirection sends it.
    void MapBefore(const Redirection& redirection);

    struct Entry {
        // Left unset, so that room made for a whole set's calls costs no writes.
        Entry() {}  // NOLINT(modernize-use-equals-default)
        Entry(std::uint16_t w, std::uint16_t b) : where(w), before(b) {}
        std::uint16_t where;   // caller kind, slot and the call's place in the caller's record
        std::uint16_t before;  // the number's 16 bits
    };

private:
    friend KindMask Redirect(SetData& data, const Redirection& redirection, CallJournal* journal);
    struct Place {
        ItemKind caller = ItemKind::Arrangement;
        int slot = 0;
        const detail::CallPlace* place = nullptr;
    };
    static Place Decode(Entry entry);

    std::vector<Entry> entries_;
};

// Where the calls to one kind go: Target(number) is the new number, or kKeep. One redirection
// covers a whole shift of a bank, so a Delete or an Insert rewrites the set in one pass. A run
// of numbers all moved by one step (a shift, or a single number) needs no table; any other
// entries are kept in one.
class Redirection {
public:
    static constexpr int kKeep = std::numeric_limits<int>::min();
    ItemKind called = ItemKind::Program;

    Redirection(ItemKind kind, int numbers) : called(kind), numbers_(numbers) {}
    void Add(int from, int target);
    // A number whose calls stay as they are but are kept in the journal all the same: the
    // callers of a deleted item that were left on its number, so that Undo can tell them from
    // calls made since.
    void Note(int number) { noted_ = number; }
    int Noted() const { return noted_; }
    int Target(int number) const {
        if (number < 0 || number >= numbers_) return kKeep;
        if (table_.empty()) return number >= lowest_ && number <= highest_ ? number + step_ : kKeep;
        return table_[static_cast<std::size_t>(number)];
    }
    bool Empty() const;
    // Whether the entries are the numbers lowest..highest, each moved by step.
    bool EvenShift(int& lowest, int& highest, int& step) const {
        lowest = lowest_;
        highest = highest_;
        step = step_;
        return table_.empty();
    }
    // The table of every number, or nullptr for an even shift.
    const int* Table() const { return table_.empty() ? nullptr : table_.data(); }
    int Numbers() const { return numbers_; }

private:
    int numbers_ = 0;
    // The even shift, while there is no table: no number when highest < lowest.
    int lowest_ = 0;
    int highest_ = -1;
    int step_ = 0;
    int noted_ = kKeep;
    std::vector<int> table_;
};

// Applies a redirection to every caller in the set; every rewritten call is kept in journal
// when given. Returns the kinds that changed.
KindMask Redirect(SetData& data, const Redirection& redirection, CallJournal* journal = nullptr);
// Makes one call call number; false when the site does not exist (its caller is empty).
bool WriteCall(SetData& data, const CallSite& site, int number);
// Makes one call of a caller's record (an item held apart from the set, a dialog's copy) call
// number, as every rewrite writes it: a track's flag in bit 7 of the high byte stays. track is
// -1 for a call of the whole item. False when the caller kind has no such call.
bool SetCallIn(std::uint8_t* record, ItemKind caller, ItemKind called, int track, int number);
template <typename Record>
bool SetCall(Record& record, ItemKind caller, ItemKind called, int track, int number) {
    return SetCallIn(record.bytes.data(), caller, called, track, number);
}

// Whether an edit of the caller kind can change which items of the called kind are called.
bool KindCallsKind(ItemKind caller, ItemKind called);

}  // namespace vx
