#pragma once

#include <string>

#include "core/programs/ProgramNumbers.h"

namespace vx {

struct SetArrangements;
struct SetStyles;

// Arrangements: A 0-63, B 64-127 (presets), C 256-319, D 320-383 (user index 0-127).
int ArrNumberOf(int bank, int slot);  // -1 above bank 3
BankSlot ArrBankSlotOf(int number);
int ArrUserIndexOf(int number);
int ArrUserIndexInBank(int bank, int slot);
int ArrNumberOfUserIndex(int index);
std::string ArrLabel(int number);                                                            // empty outside the banks
std::string ArrNameOf(const SetArrangements& arr, const PresetTables& presets, int number);  // empty outside
int ArrCategoryOf(const SetArrangements& arr, const PresetTables& presets, int number);      // 255 = none
int FindArrangementByName(const SetArrangements& arr, const std::string& name);              // user number or -1

// Styles: A 0-63, B 64-127 (presets), C 256-303 (user index 0-47).
int StyNumberOf(int bank, int slot);  // -1 above bank 2
BankSlot StyBankSlotOf(int number);
int StyUserIndexOf(int number);
int StyNumberOfUserIndex(int index);
std::string StyLabel(int number);
std::string StyNameOf(const SetStyles& sty, const PresetTables& presets, int number);
int StyCategoryOf(const SetStyles& sty, const PresetTables& presets, int number);

}  // namespace vx
