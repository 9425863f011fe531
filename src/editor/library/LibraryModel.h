#pragma once

#include <QAbstractTableModel>

#include <vector>

#include "core/library/Library.h"

namespace vxe {

// The items the library found, one row each: set, label, name, kind, category and the set's
// date. Rows drag as library items; the sort role orders labels by slot and dates by time.
class LibraryModel : public QAbstractTableModel {
    Q_OBJECT

public:
    enum Column { Set, Label, Name, Kind, Category, Date, ColumnCount };
    static constexpr int kSortRole = Qt::UserRole;

    using QAbstractTableModel::QAbstractTableModel;

    void SetItems(std::vector<vx::library::LibraryItem> items);
    const vx::library::LibraryItem& Item(int row) const { return items_.at(static_cast<std::size_t>(row)); }
    // How many different sets the rows come from.
    int SetCount() const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDragActions() const override { return Qt::CopyAction; }

private:
    std::vector<vx::library::LibraryItem> items_;
};

// The texts of a row's cells, as the table shows them.
QString LibrarySetText(const vx::library::LibraryItem& item);
QString LibraryKindText(vx::ItemKind kind);
QString LibraryDateText(std::int64_t setTime);

}  // namespace vxe
