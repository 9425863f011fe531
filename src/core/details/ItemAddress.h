#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/catalogue/ItemKind.h"

namespace vx {

// An item named as KIND:LABEL, the label as the grids and lists show it: arr:C11, sty:C11,
// prg:F13, prg:R51, bsq:3, sng:3, ark:11; arg and gbl name a set's one global item each.
// number is the item number for arrangements, styles and programs, else the position.
struct ItemAddress {
    ItemKind kind = ItemKind::Arrangement;
    int number = -1;
};
std::optional<ItemAddress> ParseItemAddress(std::string_view text);

}  // namespace vx
