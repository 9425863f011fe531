#pragma once

#include <QAbstractTableModel>

namespace vx {
class Session;
}

namespace vxe {

// The events of the twelve blocks of user styles, one row per block beside the style grid:
// events used by the block's four styles and events the block has left.
class FreeEventsModel : public QAbstractTableModel {
    Q_OBJECT

public:
    FreeEventsModel(vx::Session& session, int set, QObject* parent = nullptr);

    void RefreshAll();

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

private:
    vx::Session& session_;
    int set_;
};

}  // namespace vxe
