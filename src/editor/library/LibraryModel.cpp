#include "editor/library/LibraryModel.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

#include <set>

#include "core/catalogue/Catalogue.h"
#include "core/kinds/EditableKind.h"
#include "editor/views/ItemTableModel.h"

namespace vxe {

namespace {

QString FromStd(const std::string& text) { return QString::fromStdString(text); }

// Names are kept padded as the instrument stores them; the table shows them without the padding.
QString Unpadded(const std::string& text) {
    QString shown = FromStd(text);
    while (shown.endsWith(QLatin1Char(' '))) shown.chop(1);
    return shown;
}

}  // namespace

QString LibrarySetText(const vx::library::LibraryItem& item) { return QFileInfo(FromStd(item.setPath)).fileName(); }

QString LibraryKindText(vx::ItemKind kind) {
    if (const vx::EditableKind* d = vx::EditableKindOf(kind)) return FromStd(std::string(d->Noun()));
    return FromStd(std::string(vx::KindName(kind)));
}

QString LibraryDateText(std::int64_t setTime) {
    return QDateTime::fromSecsSinceEpoch(setTime).toString(QStringLiteral("yyyy-MM-dd hh:mm"));
}

void LibraryModel::SetItems(std::vector<vx::library::LibraryItem> items) {
    beginResetModel();
    items_ = std::move(items);
    endResetModel();
}

int LibraryModel::SetCount() const {
    std::set<std::string> sets;
    for (const auto& item : items_) sets.insert(item.setPath);
    return static_cast<int>(sets.size());
}

int LibraryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(items_.size());
}

int LibraryModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : ColumnCount; }

QVariant LibraryModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const auto& item = Item(index.row());
    if (role == Qt::ToolTipRole && index.column() == Set) return QDir::toNativeSeparators(FromStd(item.setPath));
    if (role == kSortRole) {
        switch (index.column()) {
            case Label:
                return vx::KindIndex(item.kind) * 1000 + item.slot;
            case Date:
                return static_cast<qlonglong>(item.setTime);
            case Name:
                // Items without a name (KBD sets) after every named one.
                return item.name.find_first_not_of(' ') == std::string::npos ? QStringLiteral("\uffff")
                                                                             : Unpadded(item.name).toLower();
            default:
                return data(index, Qt::DisplayRole).toString().toLower();
        }
    }
    if (role != Qt::DisplayRole) return {};
    switch (index.column()) {
        case Set:
            return LibrarySetText(item);
        case Label:
            return FromStd(item.label);
        case Name:
            return Unpadded(item.name);
        case Kind:
            return LibraryKindText(item.kind);
        case Category:
            return Unpadded(item.category);
        case Date:
            return LibraryDateText(item.setTime);
        default:
            return {};
    }
}

QVariant LibraryModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char* const kTitles[ColumnCount] = {"Set", "Label", "Name", "Kind", "Category", "Date"};
    return section >= 0 && section < ColumnCount ? QString::fromLatin1(kTitles[section]) : QVariant();
}

Qt::ItemFlags LibraryModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsDragEnabled : Qt::NoItemFlags;
}

QStringList LibraryModel::mimeTypes() const { return {kLibraryItemMimeType}; }

QMimeData* LibraryModel::mimeData(const QModelIndexList& indexes) const {
    if (indexes.isEmpty() || !indexes.front().isValid()) return nullptr;
    const auto& item = Item(indexes.front().row());
    return MakeLibraryDrag({item.kind, FromStd(item.setPath), item.slot});
}

}  // namespace vxe
