#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

namespace vx {

// The value lists of an arrangement's parameters, as the arrangement dialog shows them; the
// stored byte is the list index.
inline constexpr std::array<std::string_view, 10> kEnsembleName = {
    "Duet", "Close", "Open 1", "Open 2", "Octave", "Power Ens.", "Fourths", "Block", "Brass Ens.", "Reed Ens.",
};
inline constexpr std::array<std::string_view, 8> kVarStartName = {
    "VAR 1", "VAR 2", "VAR 3", "VAR 4", "INTRO 1", "INTRO 2", "FILL 1", "FILL 2",
};
inline constexpr std::array<std::string_view, 4> kVarThenName = {"VAR 1", "VAR 2", "VAR 3", "VAR 4"};
inline constexpr std::array<std::string_view, 8> kDrumMapName = {"1", "2", "3", "4", "5", "6", "7", "8"};
inline constexpr std::array<std::string_view, 4> kKickSnareName = {"A", "B", "C", "D"};
inline constexpr std::array<std::string_view, 13> kFillVarName = {
    "OFF", "=>1", "=>2", "=>3", "=>4", "1<=>2", "1<=>3", "1<=>4", "2<=>3", "2<=>4", "3<=>4", "UP", "DOWN",
};

// Tempo and transpose as typed: outside their ranges a text is replaced by the default.
inline constexpr int kMinTempo = 40;
inline constexpr int kMaxTempo = 240;
inline constexpr int kDefaultTempo = 120;
inline constexpr int kMaxTranspose = 11;

// The split-key list: notes 36 (C2) to 96 (C7), "C 2", "C#2" ... "B 6", "C 7".
inline constexpr int kFirstSplitKey = 36;
inline constexpr int kSplitKeyCount = 61;
std::vector<std::string> SplitKeyNames();

// The list index a stored value selects: the value itself, or 0 when it is beyond the list.
constexpr int ListIndex(int value, std::size_t listSize) {
    return value >= 0 && static_cast<std::size_t>(value) < listSize ? value : 0;
}
template <std::size_t N>
std::string ListText(const std::array<std::string_view, N>& list, int value) {
    return std::string(list[static_cast<std::size_t>(ListIndex(value, N))]);
}

// The number a tempo or transpose text stands for, or the default when it is not a whole
// number inside the range (leading and trailing blanks allowed).
int TypedNumber(std::string_view text, int minimum, int maximum, int fallback);

}  // namespace vx
