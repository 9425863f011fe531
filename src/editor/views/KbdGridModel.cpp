#include "editor/views/KbdGridModel.h"

#include "core/selection/BankView.h"
#include "core/storage/Session.h"
#include "editor/views/ViewSetup.h"

namespace vxe {

KbdGridModel::KbdGridModel(vx::Session& session, int set, QObject* parent)
    : ItemTableModel(vx::ItemKind::KbdSet, set, parent), session_(session) {}

void KbdGridModel::RefreshRow(int kbdSet) {
    if (kbdSet >= 0 && kbdSet < rowCount()) Q_EMIT dataChanged(index(kbdSet, 0), index(kbdSet, columnCount() - 1));
}

void KbdGridModel::RefreshAll() { Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1)); }

int KbdGridModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : vx::kKbdSetCount; }

int KbdGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(vx::kKbdGridHeader.size());
}

QVariant KbdGridModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || !session_.Sets().IsOpen(set_)) return {};
    return Latin1(vx::KbdGridText(session_.Data(set_), session_.Presets(), index.row(), index.column()));
}

QVariant KbdGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
    const std::string_view title = vx::kKbdGridHeader[static_cast<std::size_t>(section)];
    return QString::fromLatin1(title.data(), static_cast<qsizetype>(title.size()));
}

Qt::ItemFlags KbdGridModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled
                           : Qt::NoItemFlags;
}

}  // namespace vxe
