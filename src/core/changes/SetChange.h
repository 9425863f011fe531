#pragma once

#include <bitset>

#include "core/catalogue/ItemKind.h"

namespace vx {

// The kinds of a set that a change touches.
using KindSet = std::bitset<kSetKindCount>;

inline KindSet KindsOf(ItemKind kind) {
    return IsSetKind(kind) ? KindSet{}.set(static_cast<std::size_t>(KindIndex(kind))) : KindSet{};
}
inline KindSet AllSetKinds() { return KindSet{}.set(); }

// One change of an open set, as the views that show the set need to know it.
struct SetChange {
    enum class What { Opened, Renamed, Closed, Items, UndoAvailability };
    // Items: no single item, every item of the kinds named.
    static constexpr int kWholeKind = -1;

    int set = 0;
    What what = What::Items;
    // Items: the kinds whose items changed.
    KindSet kinds;
    // Items of one kind: the item changed, by its number (arrangements, styles, programs) or its
    // position (the lists, the KBD sets); kWholeKind when any of them may have changed.
    int item = kWholeKind;
    // UndoAvailability: whether the set's window offers Undo from now on.
    bool undoAvailable = false;

    bool Names(ItemKind kind) const { return IsSetKind(kind) && kinds.test(static_cast<std::size_t>(KindIndex(kind))); }

    static SetChange Opened(int set) { return {set, What::Opened, {}, kWholeKind, false}; }
    static SetChange Renamed(int set) { return {set, What::Renamed, {}, kWholeKind, false}; }
    static SetChange Closed(int set) { return {set, What::Closed, {}, kWholeKind, false}; }
    static SetChange Kinds(int set, KindSet kinds) { return {set, What::Items, kinds, kWholeKind, false}; }
    static SetChange Kind(int set, ItemKind kind) { return Kinds(set, KindsOf(kind)); }
    static SetChange Item(int set, ItemKind kind, int item) { return {set, What::Items, KindsOf(kind), item, false}; }
    static SetChange Undo(int set, bool available) { return {set, What::UndoAvailability, {}, kWholeKind, available}; }
};

}  // namespace vx
