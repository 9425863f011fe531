#include "core/selection/BankView.h"

#include "core/calls/CallSites.h"
#include "core/catalogue/Catalogue.h"
#include "core/catalogue/PresetNames.h"
#include "core/programs/ProgramNumbers.h"
#include "core/selection/ItemNumbers.h"
#include "core/storage/SetData.h"
#include "core/text/Helpers.h"

namespace vx {

namespace {

constexpr int kBankRows = 16;
constexpr int kBankSlots = kBankRows * kGridColumns;  // 64

template <std::size_t N>
void AddCall(std::array<std::uint16_t, N>& counts, int number) {
    if (number >= 0 && static_cast<std::size_t>(number) < N) ++counts[static_cast<std::size_t>(number)];
}

int KindIndexOf(BankedKind kind) { return static_cast<int>(kind); }

std::uint32_t CellColour(bool user, bool called, const CallIndex* calls) {
    if (calls == nullptr) return user ? kColourBlack : kColourGreyText;
    if (called) return user ? kColourCalledUser : kColourCalledPreset;
    return user ? kColourUncalledUser : kColourUncalledPreset;
}

// The first bank of the pair a bank belongs to in twin view, or the bank itself.
int PairFirstBank(BankedKind kind, int bank) {
    switch (kind) {
        case BankedKind::Arrangement:
            return bank == 1 || bank == 3 ? bank - 1 : bank;
        case BankedKind::Program:
            return bank == 1 || bank == 3 || bank == 6 ? bank - 1 : bank;
        case BankedKind::Style:
            break;
    }
    return bank;
}

bool HasTwin(BankedKind kind, int bank) {
    switch (kind) {
        case BankedKind::Arrangement:
            return bank >= 0 && bank <= 3;
        case BankedKind::Program:
            return bank >= 0 && bank <= 6 && bank != 4;
        case BankedKind::Style:
            break;
    }
    return false;
}

int NumberLimit(BankedKind kind) {
    switch (kind) {
        case BankedKind::Arrangement:
            return kArrangementNumberLimit;
        case BankedKind::Style:
            return kStyleNumberLimit;
        case BankedKind::Program:
            return kProgramNumberLimit;
    }
    return 0;
}

BankSlot BankSlotOfNumber(BankedKind kind, int number) {
    switch (kind) {
        case BankedKind::Arrangement:
            return ArrBankSlotOf(number);
        case BankedKind::Style:
            return StyBankSlotOf(number);
        case BankedKind::Program:
            return ProgramBankSlotOf(number);
    }
    return {};
}

int CategoryOfNumber(BankedKind kind, const SetData& data, const PresetTables& presets, int number) {
    switch (kind) {
        case BankedKind::Arrangement:
            return ArrCategoryOf(data.arr, presets, number);
        case BankedKind::Style:
            return StyCategoryOf(data.sty, presets, number);
        case BankedKind::Program:
            return ProgramCategoryOf(data.prg, presets, number);
    }
    return kNoCategory;
}

std::string PickText(BankedKind kind, const SetData& data, const PresetTables& presets, int number) {
    switch (kind) {
        case BankedKind::Arrangement:
            return ArrLabel(number) + " " + ArrNameOf(data.arr, presets, number);
        case BankedKind::Style:
            return StyLabel(number) + " " + StyNameOf(data.sty, presets, number);
        case BankedKind::Program:
            return ProgramLabel(number) + " " + ProgramNameOf(data.prg, presets, number);
    }
    return {};
}

}  // namespace

CallIndex BuildCallIndex(const SetData& data) {
    CallIndex index;
    ForEachCall(data, [&](const CallSite& site) {
        switch (site.called) {
            case ItemKind::Arrangement:
                AddCall(index.arr_, site.number);
                break;
            case ItemKind::Style:
                AddCall(index.sty_, site.number);
                break;
            case ItemKind::Program:
                AddCall(index.prg_, site.number);
                break;
            default:
                break;
        }
    });
    return index;
}

int CountProgramCallers(const SetData& data, int number) {
    int count = 0;
    ForEachCall(data,
                [&](const CallSite& site) { count += site.called == ItemKind::Program && site.number == number; });
    return count;
}

std::string ArrCellText(const SetData& data, const PresetTables& presets, int number) {
    const std::string name = ArrNameOf(data.arr, presets, number);
    if (name.empty()) return {};
    std::string text = ArrLabel(number) + " " + name;
    if (TrimBlanks(name).empty()) return text;

    int style = -1;
    if (const int index = ArrUserIndexOf(number); index >= 0)
        style = data.arr.arr[static_cast<std::size_t>(index)].Style();
    else if (number >= 0 && number < static_cast<int>(presets.arrangements.size()))
        style = presets.arrangements[static_cast<std::size_t>(number)].style;
    text += " (" + StyLabel(style) + ")";
    if (IsUserStyle(style)) text += "U";
    return text;
}

std::string StyCellText(const SetData& data, const PresetTables& presets, int number) {
    const std::string name = StyNameOf(data.sty, presets, number);
    if (name.empty()) return {};
    std::string text = StyLabel(number) + " " + name;
    if (const int slot = StyUserIndexOf(number); slot >= 0)
        text += ":" + std::to_string(StyleEventsUsed(data.sty, slot));
    return text;
}

std::string PrgCellText(const SetData& data, const PresetTables& presets, int number) {
    const std::string label = ProgramLabel(number);
    if (label.empty()) return {};
    return label + " " + ProgramNameOf(data.prg, presets, number);
}

std::uint32_t ArrCellColour(int number, const CallIndex* calls) {
    return CellColour(ArrUserIndexOf(number) >= 0, calls != nullptr && calls->IsArrCalled(number), calls);
}

std::uint32_t StyCellColour(int number, const CallIndex* calls) {
    return CellColour(StyUserIndexOf(number) >= 0, calls != nullptr && calls->IsStyCalled(number), calls);
}

std::uint32_t PrgCellColour(const SetData& data, int number, const CallIndex* calls) {
    const int index = UserIndexOf(number);
    if (index >= 0 && IsProgramEmpty(data.prg, index)) return kColourUncalledUser;
    return CellColour(index >= 0, calls != nullptr && calls->IsPrgCalled(number), calls);
}

int BankedNumberOf(BankedKind kind, int bank, int slot) {
    const int k = KindIndexOf(kind);
    if (bank < 0 || bank >= BankCount(k) || slot < 0 || slot > BankLastIndex(k, bank)) return -1;
    return BankBase(k, bank) + slot;
}

bool IsUserNumber(BankedKind kind, int number) {
    switch (kind) {
        case BankedKind::Arrangement:
            return ArrUserIndexOf(number) >= 0;
        case BankedKind::Style:
            return StyUserIndexOf(number) >= 0;
        case BankedKind::Program:
            return UserIndexOf(number) >= 0;
    }
    return false;
}

GridLayout BankGridLayout(BankedKind kind, int comboBank, bool twinChecked) {
    const int k = KindIndexOf(kind);
    GridLayout layout;
    if (comboBank < 0 || comboBank >= BankCount(k)) return layout;
    layout.twinBoxShown = HasTwin(kind, comboBank);
    if (twinChecked && layout.twinBoxShown) {
        layout.bank = PairFirstBank(kind, comboBank);
        layout.twin = true;
        layout.rows = 2 * kBankRows;
        return layout;
    }
    layout.bank = comboBank;
    // Rows enough for the bank's slots: 16 for a full bank, 12 for the user styles, 10 for R.
    layout.rows = (BankLastIndex(k, comboBank) + kGridColumns) / kGridColumns;
    return layout;
}

int GridCellNumber(BankedKind kind, const GridLayout& layout, int row, int column) {
    if (row < 0 || row >= layout.rows || column < 0 || column >= kGridColumns) return -1;
    const int position = row * kGridColumns + column;
    if (position < kBankSlots) return BankedNumberOf(kind, layout.bank, position);
    if (!layout.twin) return -1;
    return BankedNumberOf(kind, layout.bank + 1, position - kBankSlots);
}

GridPosition GridPositionOf(BankedKind kind, int number, bool twinChecked) {
    const BankSlot where = BankSlotOfNumber(kind, number);
    if (!where.Valid()) return {};
    int bank = where.bank;
    int slot = where.slot;
    if (twinChecked && HasTwin(kind, bank) && PairFirstBank(kind, bank) != bank) {
        bank = PairFirstBank(kind, bank);
        slot += kBankSlots;
    }
    return {bank, slot / kGridColumns, slot % kGridColumns};
}

std::string KbdGridText(const SetData& data, const PresetTables& presets, int kbdSet, int column) {
    if (kbdSet < 0 || kbdSet >= kKbdSetCount) return {};
    const KbdSetRecord& record = data.ark.records[static_cast<std::size_t>(kbdSet)];
    if (column == 0) return KbdLabel(kbdSet);
    if (column == 1) return NoteLabel(record.Split());
    const int track = column - 2;
    if (track < 0 || track >= KbdSetRecord::kTrackCount) return {};
    const int program = record.TrackProgram(track);
    return ProgramLabel(program) + " " + ProgramNameOf(data.prg, presets, program);
}

BlockEvents StyleBlockEvents(const SetStyles& styles, int block) {
    if (block < 0 || block >= kStyleBlocks) return {};
    const int first = block * kStylesPerBlock;
    BlockEvents events;
    for (int slot = first; slot < first + kStylesPerBlock; ++slot) events.used += StyleEventsUsed(styles, slot);
    events.free = BlockEventsFree(styles, first);
    return events;
}

std::vector<PickEntry> BankPickEntries(BankedKind kind, const SetData& data, const PresetTables& presets, int bank) {
    std::vector<PickEntry> entries;
    const int k = KindIndexOf(kind);
    if (bank < 0 || bank >= BankCount(k)) return entries;
    for (int slot = 0; slot <= BankLastIndex(k, bank); ++slot) {
        const int number = BankedNumberOf(kind, bank, slot);
        entries.push_back({number, PickText(kind, data, presets, number)});
    }
    return entries;
}

std::vector<PickEntry> CategoryPickEntries(BankedKind kind, const SetData& data, const PresetTables& presets,
                                           int category) {
    std::vector<PickEntry> entries;
    for (int number = 0; number < NumberLimit(kind); ++number) {
        if (!BankSlotOfNumber(kind, number).Valid()) continue;
        if (CategoryOfNumber(kind, data, presets, number) != category) continue;
        entries.push_back({number, PickText(kind, data, presets, number)});
    }
    return entries;
}

}  // namespace vx
