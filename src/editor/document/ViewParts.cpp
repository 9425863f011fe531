#include "editor/document/ViewParts.h"

#include <QHeaderView>
#include <QTableView>

#include "editor/document/TabView.h"
#include "editor/views/ItemTableModel.h"
#include "editor/views/ViewSetup.h"

namespace vxe {

QTableView* NewGrid(const char* name, QWidget* parent) {
    auto* grid = new QTableView(parent);
    grid->setObjectName(name);
    grid->setFont(FixedPitchFont());
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setWordWrap(false);
    grid->setTextElideMode(Qt::ElideNone);
    grid->horizontalHeader()->hide();
    grid->verticalHeader()->hide();
    // Tab moves on to the next control (the bank box, Twin View), as in every other window.
    grid->setTabKeyNavigation(false);
    return grid;
}

void ConfigureDragAndDrop(QAbstractItemView& view) {
    view.setDragEnabled(true);
    view.setAcceptDrops(true);
    view.setDropIndicatorShown(true);
    view.setDragDropMode(QAbstractItemView::DragDrop);
    view.setDefaultDropAction(Qt::CopyAction);
    // A drop lands on the item under the pointer, never between two items.
    view.setDragDropOverwriteMode(true);
}

void ForwardDrops(ItemTableModel& model, TabView& view) {
    QObject::connect(&model, &ItemTableModel::ItemDropped, &view,
                     [&view, kind = model.ShownKind()](int sourceKind, int sourceSet, int sourceSlot, int slot) {
                         Q_EMIT view.Dropped(kind, sourceKind, sourceSet, sourceSlot, slot);
                     });
    QObject::connect(&model, &ItemTableModel::LibraryItemDropped, &view,
                     [&view, kind = model.ShownKind()](const QString& setPath, int sourceSlot, int slot) {
                         Q_EMIT view.DroppedFromLibrary(kind, setPath, sourceSlot, slot);
                     });
}

}  // namespace vxe
