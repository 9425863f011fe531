#include "selection/BankView.h"

#include "catalogue/Catalogue.h"
#include "document/Helpers.h"
#include "presets/PresetNames.h"
#include "programs/ProgramNumbers.h"
#include "selection/ItemNumbers.h"
#include "storage/SetData.h"

namespace vx {

namespace {

constexpr int kBankRows = 16;
constexpr int kBankSlots = kBankRows * kGridColumns;  // 64

// Every call of the set, in the order of the program callers' list: arrangements, styles,
// backing sequences, songs, KBD sets. Empty items call nothing; KBD sets are never empty.
template <typename OnArr, typename OnSty, typename OnPrg>
void ForEachCall(const SetData& data, OnArr onArr, OnSty onSty, OnPrg onPrg) {
    for (const ArrangementRecord& arr : data.arr.arr) {
        if (arr.IsEmpty()) continue;
        onSty(arr.Style());
        for (int t = 0; t < ArrangementRecord::kTrackCount; ++t) onPrg(arr.TrackProgram(t));
    }
    for (const StyleSlot& style : data.sty.slots) {
        if (style.IsEmpty()) continue;
        for (int t = 0; t < StyleRecord::kTrackCount; ++t) onPrg(style.record.TrackProgram(t));
    }
    for (const BsqEntry& bsq : data.bsq.entries) {
        if (bsq.IsEmpty()) continue;
        onArr(bsq.record.Arrangement());
        onSty(bsq.record.Style());
        for (int t = 0; t < BsqRecord::kTrackCount; ++t) onPrg(bsq.record.TrackProgram(t));
    }
    for (const SongEntry& song : data.sng.entries) {
        if (song.IsEmpty()) continue;
        for (int t = 0; t < SongRecord::kTrackCount; ++t) onPrg(song.record.TrackProgram(t));
    }
    for (const KbdSetRecord& kbd : data.ark.records) {
        for (int t = 0; t < KbdSetRecord::kTrackCount; ++t) onPrg(kbd.TrackProgram(t));
    }
}

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
            return 384;
        case BankedKind::Style:
            return 304;
        case BankedKind::Program:
            return 1064;
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
    return 255;
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
    auto& arr = index.arr_;
    auto& sty = index.sty_;
    auto& prg = index.prg_;
    ForEachCall(
        data, [&](int n) { AddCall(arr, n); }, [&](int n) { AddCall(sty, n); }, [&](int n) { AddCall(prg, n); });
    return index;
}

int CountProgramCallers(const SetData& data, int number) {
    int count = 0;
    ForEachCall(
        data, [](int) {}, [](int) {}, [&](int n) { count += n == number ? 1 : 0; });
    return count;
}

bool KindCallsKind(ItemKind caller, ItemKind called) {
    switch (caller) {
        case ItemKind::Arrangement:
            return called == ItemKind::Style || called == ItemKind::Program;
        case ItemKind::Style:
        case ItemKind::Song:
        case ItemKind::KbdSet:
            return called == ItemKind::Program;
        case ItemKind::BackingSequence:
            return called == ItemKind::Arrangement || called == ItemKind::Style || called == ItemKind::Program;
        default:
            return false;
    }
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
