#include "editor/views/FreeEventsModel.h"

#include "core/selection/BankView.h"
#include "core/storage/Session.h"

namespace vxe {

FreeEventsModel::FreeEventsModel(vx::Session& session, int set, QObject* parent)
    : QAbstractTableModel(parent), session_(session), set_(set) {}

void FreeEventsModel::RefreshAll() { Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1)); }

int FreeEventsModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : vx::kStyleBlocks; }

int FreeEventsModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 2; }

QVariant FreeEventsModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || !session_.Sets().IsOpen(set_)) return {};
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole) return {};
    const vx::BlockEvents events = vx::StyleBlockEvents(session_.Data(set_).sty, index.row());
    return QString::number(index.column() == 0 ? events.used : events.free);
}

Qt::ItemFlags FreeEventsModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled : Qt::NoItemFlags;
}

}  // namespace vxe
