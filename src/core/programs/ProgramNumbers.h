#pragma once

#include <string>

namespace vx {

struct PresetTables;
struct SetPrograms;

// Program numbers: bank base + slot (A 0, B 64, C 256, D 320, E 512, F 768, G 832, R 1024).
// User programs are F and G (user index 0-127) and R51-R58 (numbers 1056-1063, user index 128-135).
// One past the highest program number (R58), and the bank of the drum kits (R).
inline constexpr int kProgramNumberLimit = 1064;
inline constexpr int kDrumKitBank = 7;

struct BankSlot {
    int bank = -1;
    int slot = -1;
    bool Valid() const { return bank >= 0; }
};

int ProgramNumberOf(int bank, int slot);  // -1 above bank 7; the slot is not checked
BankSlot ProgramBankSlotOf(int number);   // (-1, -1) outside the banks
int UserIndexOf(int number);              // -1 for presets and non-programs
int NumberOfUserIndex(int index);
int UserIndexInBank(int bank, int slot);
std::string ProgramLabel(int number);  // "F11"; empty outside the banks
std::string ProgramLabelOfUserIndex(int index);
// Name (16 characters) of any program number; empty text for no program.
std::string ProgramNameOf(const SetPrograms& programs, const PresetTables& presets, int number);
std::string UserProgramName(const SetPrograms& programs, int index);                          // 16 blanks outside 0-135
int ProgramCategoryOf(const SetPrograms& programs, const PresetTables& presets, int number);  // 255 = none
bool IsProgramEmpty(const SetPrograms& programs, int index);
// First user program (F11..G88, then R51..R58) whose 16-character name equals name exactly; -1 if none.
int FindProgramByName(const SetPrograms& programs, const std::string& name);

}  // namespace vx
