#pragma once

#include <cstdint>
#include <limits>
#include <type_traits>
#include <vector>

#include "catalogue/ItemKind.h"
#include "storage/SetData.h"

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

namespace detail {

// Returned by a visitor to end a walk early.
inline constexpr int kStopWalk = std::numeric_limits<int>::min() + 1;

// Program calls of arrangement and style tracks are a byte pair whose high byte keeps a flag in
// bit 7; a rewrite changes the number and leaves the flag as it was.
template <typename Record>
void SetFlaggedCall(Record& record, std::size_t offset, int number) {
    const std::uint8_t flag = record.Byte(offset + 1) & 0x80;
    record.SetByte(offset, static_cast<std::uint8_t>(number & 0xFF));
    record.SetByte(offset + 1, static_cast<std::uint8_t>(flag | ((number >> 8) & 0x7F)));
}

// The one walk over every call of a set, in the order of the program callers' list:
// arrangements, styles, backing sequences, songs, KBD sets. Empty items call nothing; KBD sets
// are never empty. visit(site) returns the number the site is to call; on a writable set a
// different number is written back. Returns the kinds that changed.
template <typename Data, typename Visit>
KindMask WalkCalls(Data& data, Visit&& visit) {
    constexpr bool kWrite = !std::is_const_v<Data>;
    KindMask changed = 0;
    bool stopped = false;
    auto site = [&](ItemKind caller, int slot, int track, ItemKind called, int number, auto&& write) {
        if (stopped) return;
        const int wanted = visit(CallSite{caller, slot, track, called, number});
        if (wanted == kStopWalk) {
            stopped = true;
            return;
        }
        if constexpr (kWrite) {
            if (wanted != number) {
                write(wanted);
                changed |= MaskOf(caller);
            }
        } else {
            (void)write;
        }
    };
    for (int s = 0; s < kUserArrangements; ++s) {
        auto& arr = data.arr.arr[static_cast<std::size_t>(s)];
        if (stopped) return changed;
        if (arr.IsEmpty()) continue;
        site(ItemKind::Arrangement, s, -1, ItemKind::Style, arr.Style(), [&](int n) {
            if constexpr (kWrite) arr.SetStyle(n);
        });
        for (int t = 0; t < ArrangementRecord::kTrackCount; ++t)
            site(ItemKind::Arrangement, s, t, ItemKind::Program, arr.TrackProgram(t), [&](int n) {
                if constexpr (kWrite) SetFlaggedCall(arr, 39 + 8 * static_cast<std::size_t>(t), n);
            });
    }
    for (int s = 0; s < kUserStyles; ++s) {
        auto& style = data.sty.slots[static_cast<std::size_t>(s)];
        if (stopped) return changed;
        if (style.IsEmpty()) continue;
        for (int t = 0; t < StyleRecord::kTrackCount; ++t)
            site(ItemKind::Style, s, t, ItemKind::Program, style.record.TrackProgram(t), [&](int n) {
                if constexpr (kWrite) SetFlaggedCall(style.record, 46 + 4 * static_cast<std::size_t>(t), n);
            });
    }
    for (int s = 0; s < kSequenceCount; ++s) {
        auto& bsq = data.bsq.entries[static_cast<std::size_t>(s)].record;
        if (stopped) return changed;
        if (bsq.IsEmpty()) continue;
        site(ItemKind::BackingSequence, s, -1, ItemKind::Arrangement, bsq.Arrangement(), [&](int n) {
            if constexpr (kWrite) bsq.SetArrangement(n);
        });
        site(ItemKind::BackingSequence, s, -1, ItemKind::Style, bsq.Style(), [&](int n) {
            if constexpr (kWrite) bsq.SetStyle(n);
        });
        for (int t = 0; t < BsqRecord::kTrackCount; ++t)
            site(ItemKind::BackingSequence, s, t, ItemKind::Program, bsq.TrackProgram(t), [&](int n) {
                if constexpr (kWrite) bsq.SetTrackProgram(t, n);
            });
    }
    for (int s = 0; s < kSequenceCount; ++s) {
        auto& song = data.sng.entries[static_cast<std::size_t>(s)].record;
        if (stopped) return changed;
        if (song.IsEmpty()) continue;
        for (int t = 0; t < SongRecord::kTrackCount; ++t)
            site(ItemKind::Song, s, t, ItemKind::Program, song.TrackProgram(t), [&](int n) {
                if constexpr (kWrite) song.SetTrackProgram(t, n);
            });
    }
    for (int s = 0; s < kKbdSetCount; ++s) {
        auto& kbd = data.ark.records[static_cast<std::size_t>(s)];
        if (stopped) return changed;
        for (int t = 0; t < KbdSetRecord::kTrackCount; ++t)
            site(ItemKind::KbdSet, s, t, ItemKind::Program, kbd.TrackProgram(t), [&](int n) {
                if constexpr (kWrite) kbd.SetTrackProgram(t, n);
            });
    }
    return changed;
}

}  // namespace detail

// Visits every call of the set; visit(const CallSite&) returns nothing.
template <typename Visit>
void ForEachCall(const SetData& data, Visit&& visit) {
    detail::WalkCalls(data, [&](const CallSite& site) {
        visit(site);
        return site.number;
    });
}

// Whether any call of the set satisfies the predicate; the walk ends at the first.
template <typename Predicate>
bool AnyCall(const SetData& data, Predicate&& predicate) {
    bool found = false;
    detail::WalkCalls(data, [&](const CallSite& site) {
        if (!predicate(site)) return site.number;
        found = true;
        return detail::kStopWalk;
    });
    return found;
}

// Rewrites calls: rewrite(const CallSite&) returns the number the site is to call. Returns the
// kinds that changed.
template <typename Rewrite>
KindMask RewriteCalls(SetData& data, Rewrite&& rewrite) {
    return detail::WalkCalls(data, rewrite);
}

// One rewritten call, kept so that it can be put back.
struct CallChange {
    CallSite site;  // number: the call before
    int after = -1;
};

// Where the calls to one kind go: to[number] is the new number, or kKeep. One table covers a
// whole shift of a bank, so a Delete or an Insert rewrites the set in one pass.
struct Redirection {
    static constexpr int kKeep = std::numeric_limits<int>::min();
    ItemKind called = ItemKind::Program;
    std::vector<int> to;

    Redirection(ItemKind kind, int numbers) : called(kind), to(static_cast<std::size_t>(numbers), kKeep) {}
    void Add(int from, int target) {
        if (from >= 0 && static_cast<std::size_t>(from) < to.size()) to[static_cast<std::size_t>(from)] = target;
    }
    int Target(int number) const {
        return number >= 0 && static_cast<std::size_t>(number) < to.size() ? to[static_cast<std::size_t>(number)]
                                                                           : kKeep;
    }
    bool Empty() const {
        for (int target : to)
            if (target != kKeep) return false;
        return true;
    }
};

// Applies a redirection to every caller in the set; every rewritten call is appended to changes
// when given. Returns the kinds that changed.
KindMask Redirect(SetData& data, const Redirection& redirection, std::vector<CallChange>* changes = nullptr);
// Writes one call back (used by Undo); false when the site no longer exists.
bool WriteCall(SetData& data, const CallSite& site, int number);

// Whether an edit of the caller kind can change which items of the called kind are called.
bool KindCallsKind(ItemKind caller, ItemKind called);

}  // namespace vx
