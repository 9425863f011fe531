#include "core/selection/ItemNumbers.h"

#include <array>

#include "core/arrangements/ArrangementFile.h"
#include "core/catalogue/Catalogue.h"
#include "core/catalogue/PresetNames.h"
#include "core/styles/StyleFile.h"

namespace vx {

namespace {

// The banks of one kind: letters, bases and last slots, bank 0 first.
template <std::size_t Banks>
struct BankTable {
    std::array<char, Banks> letter;
    std::array<int, Banks> base;
    std::array<int, Banks> last;

    int NumberOf(int bank, int slot) const {
        if (bank < 0 || bank >= static_cast<int>(Banks)) return -1;
        return base[static_cast<std::size_t>(bank)] + slot;
    }
    BankSlot BankSlotOf(int number) const {
        for (std::size_t bank = 0; bank < Banks; ++bank) {
            const int slot = number - base[bank];
            if (slot >= 0 && slot <= last[bank]) return {static_cast<int>(bank), slot};
        }
        return {};
    }
    std::string Label(int number) const {
        const BankSlot where = BankSlotOf(number);
        if (!where.Valid()) return {};
        return {letter[static_cast<std::size_t>(where.bank)], static_cast<char>('1' + where.slot / 8),
                static_cast<char>('1' + where.slot % 8)};
    }
};

constexpr BankTable<4> kArrBanks{{'A', 'B', 'C', 'D'}, {0, 64, 256, 320}, {63, 63, 63, 63}};
constexpr BankTable<3> kStyBanks{{'A', 'B', 'C'}, {0, 64, 256}, {63, 63, 47}};
constexpr int kFirstUserBank = 2;  // C, for both kinds
constexpr int kPresetItems = 128;

int CategoryOrNone(int category) { return category >= 0 && category < kCategoryCount ? category : kNoCategory; }

}  // namespace

int ArrNumberOf(int bank, int slot) { return kArrBanks.NumberOf(bank, slot); }
BankSlot ArrBankSlotOf(int number) { return kArrBanks.BankSlotOf(number); }

int ArrUserIndexOf(int number) { return IsUserArrangement(number) ? number - kFirstUserArrangement : -1; }

int ArrUserIndexInBank(int bank, int slot) {
    // C's slots 64-127 are D's, as the twin grid shows them.
    if (bank < kFirstUserBank) return -1;
    return ArrUserIndexOf(ArrNumberOf(bank, slot));
}

int ArrNumberOfUserIndex(int index) {
    return index >= 0 && index < kUserArrangements ? index + kFirstUserArrangement : -1;
}

std::string ArrLabel(int number) { return kArrBanks.Label(number); }

std::string ArrNameOf(const SetArrangements& arr, const PresetTables& presets, int number) {
    if (number >= 0 && number < kPresetItems) return presets.arrangements[static_cast<std::size_t>(number)].name;
    const int index = ArrUserIndexOf(number);
    if (index >= 0) return arr.arr[static_cast<std::size_t>(index)].Name();
    return {};
}

int ArrCategoryOf(const SetArrangements& arr, const PresetTables& presets, int number) {
    if (number >= 0 && number < kPresetItems)
        return CategoryOrNone(presets.arrangements[static_cast<std::size_t>(number)].category);
    const int index = ArrUserIndexOf(number);
    if (index >= 0) return CategoryOrNone(arr.arr[static_cast<std::size_t>(index)].Category());
    return kNoCategory;
}

int FindArrangementByName(const SetArrangements& arr, const std::string& name) {
    for (int index = 0; index < kUserArrangements; ++index) {
        if (arr.arr[static_cast<std::size_t>(index)].Name() == name) return ArrNumberOfUserIndex(index);
    }
    return -1;
}

int StyNumberOf(int bank, int slot) { return kStyBanks.NumberOf(bank, slot); }
BankSlot StyBankSlotOf(int number) { return kStyBanks.BankSlotOf(number); }

int StyUserIndexOf(int number) { return IsUserStyle(number) ? number - kFirstUserStyle : -1; }

int StyNumberOfUserIndex(int index) { return index >= 0 && index < kUserStyles ? index + kFirstUserStyle : -1; }

std::string StyLabel(int number) { return kStyBanks.Label(number); }

std::string StyNameOf(const SetStyles& sty, const PresetTables& presets, int number) {
    if (number >= 0 && number < kPresetItems) return presets.styles[static_cast<std::size_t>(number)].name;
    const int index = StyUserIndexOf(number);
    if (index >= 0) return sty.slots[static_cast<std::size_t>(index)].record.Name();
    return {};
}

int StyCategoryOf(const SetStyles& sty, const PresetTables& presets, int number) {
    if (number >= 0 && number < kPresetItems)
        return CategoryOrNone(presets.styles[static_cast<std::size_t>(number)].category);
    const int index = StyUserIndexOf(number);
    if (index >= 0) return CategoryOrNone(sty.slots[static_cast<std::size_t>(index)].record.Category());
    return kNoCategory;
}

}  // namespace vx
