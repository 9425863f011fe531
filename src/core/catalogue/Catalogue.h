#pragma once

#include <array>
#include <string_view>

#include "core/catalogue/ItemKind.h"

namespace vx {

// The read-only tables every part of the program shares. All are indexed from 0.

std::string_view KindName(ItemKind kind);
std::string_view KindExtension(ItemKind kind);  // with its point, upper case: ".ARR"
// Byte 6 of the header of a set file; 0 for the XStyle kinds (not compared).
int KindHeaderByte(ItemKind kind);
// Dump code of a set kind; -1 for the XStyle kinds.
int KindDumpCode(ItemKind kind);

// Items have 16 categories; a number that names none reads as kNoCategory.
inline constexpr int kCategoryCount = 16;
inline constexpr int kNoCategory = 255;
extern const std::array<std::string_view, 16> ArrCategoryName;
extern const std::array<std::string_view, 16> StyCategoryName;
extern const std::array<std::string_view, 16> PrgCategoryName;

inline constexpr int kBankCount = 8;
// The slots of a bank: 8 groups of 8.
inline constexpr int kSlotsPerBank = 64;
// Bank tables by kind (0 arrangement, 1 style, 2 program) and bank 0 to 7. A bank number
// without a bank has the letter " " and last index and base 0; so has any index out of range.
std::string_view BankLetter(int kind, int bank);
int BankLastIndex(int kind, int bank);
int BankBase(int kind, int bank);
// Number of banks a kind has: 4 arrangement, 3 style, 8 program.
int BankCount(int kind);

extern const std::array<std::string_view, 5> PresetBankRange;
extern const std::array<std::string_view, 11> StyleTrackName;
extern const std::array<std::string_view, 8> BsqTrackName;
extern const std::array<std::string_view, 16> SongTrackName;
extern const std::array<std::string_view, 5> KbdTrackName;
extern const std::array<std::string_view, 12> NoteName;
extern const std::array<std::string_view, 5> ChordScanName;
extern const std::array<std::string_view, 16> ChannelRoleName;
extern const std::array<std::string_view, 65> SwitchFunctionName;

// Product texts.
inline constexpr std::string_view kInstrumentName = "Vemo-x50";
inline constexpr std::string_view kProgramTitle = "Vemo-x50 File Editor";
inline constexpr std::string_view kTemplateName = "X50EMPTY";
inline constexpr std::string_view kPresetNamesFile = "X50PRSTS.TXT";
inline constexpr std::string_view kTipsFile = "X50TIPS.TXT";
inline constexpr std::string_view kTempFileName = "VEMOX50.TMP";

}  // namespace vx
