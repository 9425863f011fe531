#pragma once

#include <QAbstractTableModel>
#include <QMimeData>
#include <QStringList>

#include <optional>

#include "core/catalogue/ItemKind.h"

namespace vx {
class Session;
}

namespace vxe {

// What a view's drag carries: the kind, set and slot of the dragged item. A drop reads it back;
// views of another kind refuse it.
struct DraggedItem {
    vx::ItemKind kind = vx::ItemKind::Arrangement;
    int set = 0;
    int slot = -1;
};

inline const QString kItemMimeType = QStringLiteral("application/x-vxeditr-item");

// What a drag from the Library window carries: an item of a set on disk, by its set's directory,
// which may or may not be open.
struct LibraryDraggedItem {
    vx::ItemKind kind = vx::ItemKind::Arrangement;
    QString setPath;
    int slot = -1;
};

inline const QString kLibraryItemMimeType = QStringLiteral("application/x-vxeditr-library-item");

QMimeData* MakeLibraryDrag(const LibraryDraggedItem& item);
std::optional<LibraryDraggedItem> ReadLibraryDrag(const QMimeData* data);

QMimeData* MakeItemDrag(const DraggedItem& item);
std::optional<DraggedItem> ReadItemDrag(const QMimeData* data);

// Whether a slot of an open set holds an item: an empty slot has nothing to drag.
bool SlotHoldsItem(const vx::Session& session, vx::ItemKind kind, int set, int slot);

// A grid of one kind's items that drags its items and takes drops of its own kind, from a set's
// window or from the Library window: the drag data name the item, a drop reports the dragged
// item and the slot it was dropped on.
class ItemTableModel : public QAbstractTableModel {
    Q_OBJECT

public:
    ItemTableModel(vx::ItemKind kind, int set, QObject* parent) : QAbstractTableModel(parent), kind_(kind), set_(set) {}

    // The kind's own slot shown in a cell (user arrangement 0-127, program 0-135, KBD set), or
    // -1 for a cell no item can be dragged from or dropped on.
    virtual int SlotAt(const QModelIndex& index) const = 0;
    vx::ItemKind ShownKind() const { return kind_; }

    QStringList mimeTypes() const override { return {kItemMimeType, kLibraryItemMimeType}; }
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                         const QModelIndex& parent) const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;
    Qt::DropActions supportedDropActions() const override { return Qt::CopyAction; }
    Qt::DropActions supportedDragActions() const override { return Qt::CopyAction; }

protected:
    // Whether the item of a slot may be dragged.
    virtual bool Draggable(int slot) const { return slot >= 0; }

Q_SIGNALS:
    void ItemDropped(int sourceKind, int sourceSet, int sourceSlot, int slot);
    // An item of the Library window, of this grid's kind, dropped on slot.
    void LibraryItemDropped(const QString& setPath, int sourceSlot, int slot);

protected:
    const vx::ItemKind kind_;
    const int set_;
};

}  // namespace vxe
