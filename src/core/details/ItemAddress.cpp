#include "core/details/ItemAddress.h"

#include "core/catalogue/Catalogue.h"
#include "core/programs/ProgramNumbers.h"
#include "core/selection/ItemNumbers.h"
#include "core/text/Helpers.h"

namespace vx {

namespace {

// "C11" to bank and slot of a banked kind; -1 when the letter or digits do not fit.
int BankedNumber(int kind, std::string_view label) {
    if (label.size() != 3 || label[1] < '1' || label[1] > '8' || label[2] < '1' || label[2] > '8') return -1;
    const int slot = (label[1] - '1') * 8 + (label[2] - '1');
    for (int bank = 0; bank < BankCount(kind); ++bank) {
        if (BankLetter(kind, bank) != label.substr(0, 1)) continue;
        if (slot > BankLastIndex(kind, bank)) return -1;
        switch (kind) {
            case 0:
                return ArrNumberOf(bank, slot);
            case 1:
                return StyNumberOf(bank, slot);
            default:
                return ProgramNumberOf(bank, slot);
        }
    }
    return -1;
}

int Position(std::string_view label, int count) {
    if (label.size() != 1 || label[0] < '0' || label[0] - '0' >= count) return -1;
    return label[0] - '0';
}

}  // namespace

std::optional<ItemAddress> ParseItemAddress(std::string_view text) {
    const std::string upper = ToUpper(text);
    const std::size_t colon = upper.find(':');
    const std::string kind = upper.substr(0, colon);
    const std::string label = colon == std::string::npos ? std::string() : upper.substr(colon + 1);
    ItemAddress address;
    if (kind == "ARG" || kind == "GBL") {
        if (colon != std::string::npos) return std::nullopt;
        address.kind = kind == "ARG" ? ItemKind::ArrangementGlobal : ItemKind::Global;
        address.number = 0;
        return address;
    }
    if (kind == "ARR" || kind == "STY" || kind == "PRG") {
        address.kind = kind == "ARR" ? ItemKind::Arrangement : kind == "STY" ? ItemKind::Style : ItemKind::Program;
        address.number = BankedNumber(KindIndex(address.kind), label);
    } else if (kind == "BSQ" || kind == "SNG") {
        address.kind = kind == "BSQ" ? ItemKind::BackingSequence : ItemKind::Song;
        address.number = Position(label, 10);
    } else if (kind == "ARK") {
        address.kind = ItemKind::KbdSet;
        if (label.size() == 2 && label[0] >= '1' && label[0] <= '8' && label[1] >= '1' && label[1] <= '8')
            address.number = (label[0] - '1') * 8 + (label[1] - '1');
    }
    if (address.number < 0) return std::nullopt;
    return address;
}

}  // namespace vx
