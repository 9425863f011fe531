#include "editor/views/ItemTableModel.h"

#include "core/kinds/EditableKind.h"
#include "core/storage/Session.h"

namespace vxe {

QMimeData* MakeItemDrag(const DraggedItem& item) {
    auto* data = new QMimeData;
    const QString text = QString("%1 %2 %3").arg(vx::KindIndex(item.kind)).arg(item.set).arg(item.slot);
    data->setData(kItemMimeType, text.toLatin1());
    return data;
}

std::optional<DraggedItem> ReadItemDrag(const QMimeData* data) {
    if (data == nullptr || !data->hasFormat(kItemMimeType)) return std::nullopt;
    const QStringList parts = QString::fromLatin1(data->data(kItemMimeType)).split(' ');
    if (parts.size() != 3) return std::nullopt;
    bool ok[3] = {};
    const int kind = parts[0].toInt(&ok[0]);
    const int set = parts[1].toInt(&ok[1]);
    const int slot = parts[2].toInt(&ok[2]);
    if (!ok[0] || !ok[1] || !ok[2] || kind < 0 || kind >= vx::kSetKindCount) return std::nullopt;
    return DraggedItem{vx::KindFromIndex(kind), set, slot};
}

QMimeData* MakeLibraryDrag(const LibraryDraggedItem& item) {
    auto* data = new QMimeData;
    // The path last: it may hold spaces.
    const QString text = QString("%1 %2 %3").arg(vx::KindIndex(item.kind)).arg(item.slot).arg(item.setPath);
    data->setData(kLibraryItemMimeType, text.toUtf8());
    return data;
}

std::optional<LibraryDraggedItem> ReadLibraryDrag(const QMimeData* data) {
    if (data == nullptr || !data->hasFormat(kLibraryItemMimeType)) return std::nullopt;
    const QString text = QString::fromUtf8(data->data(kLibraryItemMimeType));
    const QStringList parts = text.section(' ', 0, 1).split(' ');
    const QString path = text.section(' ', 2);
    if (parts.size() != 2 || path.isEmpty()) return std::nullopt;
    bool ok[2] = {};
    const int kind = parts[0].toInt(&ok[0]);
    const int slot = parts[1].toInt(&ok[1]);
    if (!ok[0] || !ok[1] || kind < 0 || kind >= vx::kSetKindCount || slot < 0) return std::nullopt;
    return LibraryDraggedItem{vx::KindFromIndex(kind), path, slot};
}

bool SlotHoldsItem(const vx::Session& session, vx::ItemKind kind, int set, int slot) {
    const vx::EditableKind* d = vx::EditableKindOf(kind);
    return d != nullptr && d->ValidSlot(slot) && session.Sets().IsOpen(set) && !d->IsEmptyAt(session.Data(set), slot);
}

QMimeData* ItemTableModel::mimeData(const QModelIndexList& indexes) const {
    if (indexes.isEmpty() || !Draggable(SlotAt(indexes.front()))) return nullptr;
    return MakeItemDrag({kind_, set_, SlotAt(indexes.front())});
}

bool ItemTableModel::canDropMimeData(const QMimeData* data, Qt::DropAction, int, int, const QModelIndex& parent) const {
    if (SlotAt(parent) < 0) return false;
    if (const auto fromLibrary = ReadLibraryDrag(data)) return fromLibrary->kind == kind_;
    const auto dragged = ReadItemDrag(data);
    return dragged && dragged->kind == kind_;
}

bool ItemTableModel::dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                                  const QModelIndex& parent) {
    if (!canDropMimeData(data, action, row, column, parent)) return false;
    if (const auto fromLibrary = ReadLibraryDrag(data)) {
        Q_EMIT LibraryItemDropped(fromLibrary->setPath, fromLibrary->slot, SlotAt(parent));
        return true;
    }
    const DraggedItem dragged = *ReadItemDrag(data);
    Q_EMIT ItemDropped(vx::KindIndex(dragged.kind), dragged.set, dragged.slot, SlotAt(parent));
    return true;
}

}  // namespace vxe
