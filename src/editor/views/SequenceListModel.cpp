#include "editor/views/SequenceListModel.h"

#include "core/sequences/SequenceFiles.h"
#include "core/storage/Session.h"
#include "editor/views/ViewSetup.h"

namespace vxe {

SequenceListModel::SequenceListModel(vx::Session& session, int set, vx::ItemKind kind, QObject* parent)
    : ItemTableModel(kind, set, parent), session_(session) {}

void SequenceListModel::RefreshAll() { Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, 0)); }

int SequenceListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : vx::kSequenceCount; }

int SequenceListModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : 1; }

QVariant SequenceListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || !session_.Sets().IsOpen(set_)) return {};
    const vx::SetData& setData = session_.Data(set_);
    return Latin1(kind_ == vx::ItemKind::Song ? vx::SongListLine(setData.sng, index.row())
                                              : vx::BsqListLine(setData.bsq, index.row()));
}

Qt::ItemFlags SequenceListModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled | Qt::ItemIsDropEnabled
                           : Qt::NoItemFlags;
}

}  // namespace vxe
