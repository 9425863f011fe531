#pragma once

#include <optional>
#include <string>

#include "core/kinds/EditableKind.h"
#include "core/kinds/KindParts.h"

namespace vxcli {

class CliInteraction;

// What the edit commands read from their arguments, shared by the one-shot commands and the
// lines of a batch script. Each parser returns nothing after putting the reason in error.

inline constexpr const char* kEditKinds = "arr, sty, prg, bsq, sng or ark";

struct EditTarget {
    const vx::EditableKind* kind = nullptr;
    int slot = -1;
};

// KIND as in ITEM: arr, sty, prg, bsq, sng or ark, any case.
const vx::EditableKind* EditKindOf(const std::string& code);
// ITEM is KIND:LABEL; LABEL as the grids and lists show it.
std::optional<EditTarget> ParseEditItem(const std::string& text, std::string& error);
// A LABEL of the kind, which may repeat the kind: "C11" or "arr:C11".
std::optional<int> ParseEditSlot(const vx::EditableKind& kind, const std::string& label, std::string& error);
// A bank letter of the kind; -1 for the unbanked kinds, which have one bank.
std::optional<int> ParseEditBank(const vx::EditableKind& kind, const std::string& letter, std::string& error);

// The answers to the questions an edit command asks, from --redirect and --missing.
struct EditAnswers {
    int redirectTo = -1;  // an item number, -1: No
    bool failOnMissing = false;
};
// redirect may be empty (No); missing is "keep" or "fail".
std::optional<EditAnswers> ParseEditAnswers(const vx::EditableKind& kind, const std::string& redirect,
                                            const std::string& missing, std::string& error);
void GiveAnswers(CliInteraction& ui, const EditAnswers& answers);

}  // namespace vxcli
