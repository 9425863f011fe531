#pragma once

namespace vx {

// The twelve item kinds in catalogue order. 0 to 7 are the files of a set (and the
// document window's tabs 0 to 5 are kinds 0 to 5); 8 to 11 are single-item XStyle files.
enum class ItemKind : int {
    Arrangement = 0,
    Style = 1,
    Program = 2,
    BackingSequence = 3,
    Song = 4,
    KbdSet = 5,
    ArrangementGlobal = 6,
    Global = 7,
    XStyleArrangement = 8,
    XStyleStyle = 9,
    XStyleProgram = 10,
    XStyleDrumKit = 11,
};

inline constexpr int kSetKindCount = 8;
inline constexpr int kKindCount = 12;

constexpr int KindIndex(ItemKind kind) { return static_cast<int>(kind); }
constexpr ItemKind KindFromIndex(int index) { return static_cast<ItemKind>(index); }
constexpr bool IsSetKind(ItemKind kind) { return KindIndex(kind) >= 0 && KindIndex(kind) < kSetKindCount; }

// The order in which a set's files are saved.
inline constexpr ItemKind kSaveOrder[kSetKindCount] = {
    ItemKind::Arrangement, ItemKind::Style,  ItemKind::Program,           ItemKind::BackingSequence,
    ItemKind::Song,        ItemKind::Global, ItemKind::ArrangementGlobal, ItemKind::KbdSet,
};

// Banked kinds index the bank tables.
enum class BankedKind : int { Arrangement = 0, Style = 1, Program = 2 };

}  // namespace vx
