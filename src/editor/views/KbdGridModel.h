#pragma once

#include "editor/views/ItemTableModel.h"

namespace vx {
class Session;
}

namespace vxe {

// The KBD set grid: one row per KBD set with its label, split key and the five track programs;
// the column titles are the header.
class KbdGridModel : public ItemTableModel {
    Q_OBJECT

public:
    KbdGridModel(vx::Session& session, int set, QObject* parent = nullptr);

    void RefreshRow(int kbdSet);
    void RefreshAll();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // Whole rows drag and take drops.
    int SlotAt(const QModelIndex& index) const override { return index.isValid() ? index.row() : -1; }

private:
    vx::Session& session_;
};

}  // namespace vxe
