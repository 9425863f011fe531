#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/calls/CallSites.h"
#include "core/catalogue/ItemKind.h"

namespace vx {

struct SetData;
struct SetStyles;
struct PresetTables;

// Text colours of grid cells as 0x00BBGGRR values. The grey one names the system colour of
// greyed text rather than a colour of its own (the top bit marks system colours).
inline constexpr std::uint32_t kColourBlack = 0x000000;
inline constexpr std::uint32_t kColourGreyText = 0x80000011;
inline constexpr std::uint32_t kColourCalledUser = 0x0000FF;
inline constexpr std::uint32_t kColourCalledPreset = 0x000080;
inline constexpr std::uint32_t kColourUncalledUser = 0xFF0000;
inline constexpr std::uint32_t kColourUncalledPreset = 0x7F8000;
inline constexpr bool IsSystemColour(std::uint32_t colour) { return (colour & 0x80000000u) != 0; }

// Who calls what in one set, gathered in one pass so that colouring a whole grid costs one
// scan instead of one per cell. Numbers outside a kind's ranges are never called.
class CallIndex {
public:
    bool IsArrCalled(int number) const { return Count(arr_, number) > 0; }
    bool IsStyCalled(int number) const { return Count(sty_, number) > 0; }
    bool IsPrgCalled(int number) const { return Count(prg_, number) > 0; }
    // Calling tracks of a program, as many as the list of its callers has entries.
    int PrgCallCount(int number) const { return Count(prg_, number); }

private:
    friend CallIndex BuildCallIndex(const SetData& data);
    template <std::size_t N>
    static int Count(const std::array<std::uint16_t, N>& counts, int number) {
        return number >= 0 && static_cast<std::size_t>(number) < N ? counts[static_cast<std::size_t>(number)] : 0;
    }

    std::array<std::uint16_t, 384> arr_{};   // arrangement numbers 0-383
    std::array<std::uint16_t, 304> sty_{};   // style numbers 0-303
    std::array<std::uint16_t, 1064> prg_{};  // program numbers 0-1063
};

// One scan of every call in the set: arrangements called by non-empty backing sequences;
// styles by non-empty arrangements and backing sequences; programs by the tracks of non-empty
// arrangements, styles, backing sequences and songs and of all 64 KBD sets.
CallIndex BuildCallIndex(const SetData& data);
// The number of calling tracks of one program, by the same rules.
int CountProgramCallers(const SetData& data, int number);

// Cell texts. Arrangement: "label name" and, when not empty, " (style label)" with "U" after
// it for a user style. Style: "label name" and ":" + events for a user style. Program: "label
// name". Empty for a number outside the kind's banks.
std::string ArrCellText(const SetData& data, const PresetTables& presets, int number);
std::string StyCellText(const SetData& data, const PresetTables& presets, int number);
std::string PrgCellText(const SetData& data, const PresetTables& presets, int number);

// Cell colours; calls is null while the HighCall option is off.
std::uint32_t ArrCellColour(int number, const CallIndex* calls);
std::uint32_t StyCellColour(int number, const CallIndex* calls);
// An empty user program is drawn as not called whatever calls it.
std::uint32_t PrgCellColour(const SetData& data, int number, const CallIndex* calls);

// What a bank grid of four columns shows. With twin view the second bank of a pair (arrangement
// B and D, program B, D and G) is folded into rows 16-31 of the bank before it.
struct GridLayout {
    int bank = -1;              // bank of rows 0-15
    int rows = 0;               // 0 for a bank the kind does not have
    bool twin = false;          // rows 16-31 show bank + 1
    bool twinBoxShown = false;  // the Twin View box is hidden for program banks E and R and for styles
};
inline constexpr int kGridColumns = 4;

// The layout for the bank chosen in the combo; a second bank of a pair chosen with twin view
// on shows its pair from the first bank.
GridLayout BankGridLayout(BankedKind kind, int comboBank, bool twinChecked);
// Number shown in a cell, or -1 for a cell outside the layout.
int GridCellNumber(BankedKind kind, const GridLayout& layout, int row, int column);

// Where a number is shown: the bank to choose in the combo and the cell.
struct GridPosition {
    int comboBank = -1;
    int row = -1;
    int column = -1;
    bool Valid() const { return comboBank >= 0; }
};
GridPosition GridPositionOf(BankedKind kind, int number, bool twinChecked);
// Number of a bank and slot of any banked kind; -1 outside the bank.
int BankedNumberOf(BankedKind kind, int bank, int slot);
// Whether the number is one of the set's own items (an arrangement, style or program slot).
bool IsUserNumber(BankedKind kind, int number);

// The KBD set grid: a header and one row per KBD set.
inline constexpr std::array<std::string_view, 7> kKbdGridHeader = {"KS",        "Sp",      "Main KBD", "Sub KBD",
                                                                   "Lower KBD", "Harmony", "K.Bass"};
std::string KbdGridText(const SetData& data, const PresetTables& presets, int kbdSet, int column);

// Events of one block of four user styles: their sum and what the block has left.
struct BlockEvents {
    int used = 0;
    int free = 0;
};
BlockEvents StyleBlockEvents(const SetStyles& styles, int block);

// Entries of the selection dialogs: "label name" with the item number.
struct PickEntry {
    int number = -1;
    std::string text;
};
std::vector<PickEntry> BankPickEntries(BankedKind kind, const SetData& data, const PresetTables& presets, int bank);
// Every item of the kind, over all banks in number order, whose category is the one given.
std::vector<PickEntry> CategoryPickEntries(BankedKind kind, const SetData& data, const PresetTables& presets,
                                           int category);

}  // namespace vx
