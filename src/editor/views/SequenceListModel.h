#pragma once

#include "editor/views/ItemTableModel.h"

namespace vx {
class Session;
}

namespace vxe {

// The backing sequence or song list: one row of column-aligned text per entry, computed when a
// row is painted. Every row drags and takes drops of its own kind.
class SequenceListModel : public ItemTableModel {
    Q_OBJECT

public:
    // kind: BackingSequence or Song.
    SequenceListModel(vx::Session& session, int set, vx::ItemKind kind, QObject* parent = nullptr);

    void RefreshAll();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    int SlotAt(const QModelIndex& index) const override { return index.isValid() ? index.row() : -1; }

protected:
    // An entry whose name is blank has nothing to drag.
    bool Draggable(int slot) const override { return SlotHoldsItem(session_, kind_, set_, slot); }

private:
    vx::Session& session_;
};

}  // namespace vxe
