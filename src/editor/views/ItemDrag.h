#pragma once

#include <QMimeData>
#include <QStringList>

#include <optional>

#include "catalogue/ItemKind.h"

namespace vxe {

// What a view's drag carries: the kind, set and slot of the dragged item. A drop reads it back;
// views of another kind refuse it.
struct DraggedItem {
    vx::ItemKind kind = vx::ItemKind::Arrangement;
    int set = 0;
    int slot = -1;
};

inline const QString kItemMimeType = QStringLiteral("application/x-vxeditr-item");

QMimeData* MakeItemDrag(const DraggedItem& item);
std::optional<DraggedItem> ReadItemDrag(const QMimeData* data);

}  // namespace vxe
