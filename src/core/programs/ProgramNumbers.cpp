#include "core/programs/ProgramNumbers.h"

#include <array>

#include "core/catalogue/Catalogue.h"
#include "core/catalogue/PresetNames.h"
#include "core/programs/ProgramFile.h"

namespace vx {

namespace {

constexpr int kProgramBanks = 8;
constexpr std::array<int, kProgramBanks> kBase = {0, 64, 256, 320, 512, 768, 832, 1024};
constexpr std::array<int, kProgramBanks> kLastIndex = {63, 63, 63, 63, 63, 63, 63, 39};
constexpr std::array<char, kProgramBanks> kLetter = {'A', 'B', 'C', 'D', 'E', 'F', 'G', 'R'};
constexpr int kBankF = 5;
constexpr int kBankR = kDrumKitBank;
constexpr int kFirstUserProgram = 768;                                    // F11
constexpr int kLastUserProgram = 895;                                     // G88
constexpr int kFirstUserDrumKit = 1056;                                   // R51
constexpr int kLastUserDrumKit = kProgramNumberLimit - 1;                 // R58
constexpr int kUserDrumKitShift = kFirstUserDrumKit - kFirstDrumKitSlot;  // 928

const ProgramRecord* UserRecord(const SetPrograms& programs, int index) {
    if (index < 0 || index >= kUserPrograms) return nullptr;
    return &programs.records[static_cast<std::size_t>(index)];
}

// The preset entry of a number, or nothing for user slots and non-programs.
const PresetItem* PresetEntry(const PresetTables& presets, int number) {
    if (number >= 0 && number < 128) return &presets.programsAB[static_cast<std::size_t>(number)];
    if (number >= 256 && number < 384) return &presets.programsCD[static_cast<std::size_t>(number - 256)];
    if (number >= 512 && number < 576) return &presets.programsE[static_cast<std::size_t>(number - 512)];
    if (number >= 1024 && number < kFirstUserDrumKit)
        return &presets.drumKitsR[static_cast<std::size_t>(number - 1024)];
    return nullptr;
}

}  // namespace

int ProgramNumberOf(int bank, int slot) {
    if (bank < 0 || bank >= kProgramBanks) return -1;
    return kBase[static_cast<std::size_t>(bank)] + slot;
}

BankSlot ProgramBankSlotOf(int number) {
    for (int bank = 0; bank < kProgramBanks; ++bank) {
        const int slot = number - kBase[static_cast<std::size_t>(bank)];
        if (slot >= 0 && slot <= kLastIndex[static_cast<std::size_t>(bank)]) return {bank, slot};
    }
    return {};
}

int UserIndexOf(int number) {
    if (number >= kFirstUserProgram && number <= kLastUserProgram) return number - kFirstUserProgram;
    if (number >= kFirstUserDrumKit && number <= kLastUserDrumKit) return number - kUserDrumKitShift;
    return -1;
}

int NumberOfUserIndex(int index) {
    if (index >= 0 && index < 128) return index + kFirstUserProgram;
    if (index >= 128 && index < kUserPrograms) return index + kUserDrumKitShift;
    return -1;
}

int UserIndexInBank(int bank, int slot) {
    // Only F, G and R hold user slots; F's slots 64-127 are G's, as the twin grid shows them.
    if (bank < kBankF || bank > kBankR) return -1;
    return UserIndexOf(ProgramNumberOf(bank, slot));
}

std::string ProgramLabel(int number) {
    const BankSlot where = ProgramBankSlotOf(number);
    if (!where.Valid()) return {};
    return {kLetter[static_cast<std::size_t>(where.bank)], static_cast<char>('1' + where.slot / 8),
            static_cast<char>('1' + where.slot % 8)};
}

std::string ProgramLabelOfUserIndex(int index) { return ProgramLabel(NumberOfUserIndex(index)); }

std::string ProgramNameOf(const SetPrograms& programs, const PresetTables& presets, int number) {
    if (const ProgramRecord* record = UserRecord(programs, UserIndexOf(number))) return record->Name();
    if (const PresetItem* preset = PresetEntry(presets, number)) return preset->name;
    return {};
}

std::string UserProgramName(const SetPrograms& programs, int index) {
    if (const ProgramRecord* record = UserRecord(programs, index)) return record->Name();
    return kBlankName;
}

int ProgramCategoryOf(const SetPrograms& programs, const PresetTables& presets, int number) {
    int category = kNoCategory;
    if (const ProgramRecord* record = UserRecord(programs, UserIndexOf(number)))
        category = record->Category();
    else if (const PresetItem* preset = PresetEntry(presets, number))
        category = preset->category;
    return category >= 0 && category < kCategoryCount ? category : kNoCategory;
}

bool IsProgramEmpty(const SetPrograms& programs, int index) {
    const ProgramRecord* record = UserRecord(programs, index);
    return record != nullptr && record->IsEmpty();
}

int FindProgramByName(const SetPrograms& programs, const std::string& name) {
    // Index order is F11..G88, then R51..R58.
    for (int index = 0; index < kUserPrograms; ++index) {
        if (programs.records[static_cast<std::size_t>(index)].Name() == name) return NumberOfUserIndex(index);
    }
    return -1;
}

}  // namespace vx
