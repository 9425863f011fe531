#pragma once

#include <QAbstractTableModel>

namespace vx {
class Session;
}

namespace vxe {

// The KBD set grid: one row per KBD set with its label, split key and the five track programs;
// the column titles are the header.
class KbdGridModel : public QAbstractTableModel {
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

    // Drag and drop of whole rows: the KBD set dragged, and the row dropped on.
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                         const QModelIndex& parent) const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;
    Qt::DropActions supportedDropActions() const override { return Qt::CopyAction; }
    Qt::DropActions supportedDragActions() const override { return Qt::CopyAction; }

Q_SIGNALS:
    void ItemDropped(int sourceKind, int sourceSet, int sourceSlot, int slot);

private:
    vx::Session& session_;
    int set_;
};

}  // namespace vxe
