#pragma once

#include <QAbstractItemView>
#include <QShortcut>

class QTableView;
class QWidget;

namespace vxe {

class ItemTableModel;
class TabView;

// The measures the tabs share.
inline constexpr int kRowTwips = 240;
// Room around a tab page's content, and between a grid and the one beside it.
inline constexpr int kPageMargin = 4;
inline constexpr int kGridSpacing = 6;
// Room that a grid or list leaves between its frame and an item's text.
inline constexpr int kCellTextMargin = 3;
inline constexpr int kColumnTwips = 2925;

// A grid of fixed-pitch cells, one selected at a time, without headers.
QTableView* NewGrid(const char* name, QWidget* parent);

// Items are dragged out of a view and dropped on an item of it, never between two items.
void ConfigureDragAndDrop(QAbstractItemView& view);
// The model's drops as the view's Dropped and DroppedFromLibrary signals.
void ForwardDrops(ItemTableModel& model, TabView& view);

// Enter on the current cell or line does what a double-click on it does.
template <typename Handler>
void OnDoubleClickOrEnter(QAbstractItemView* view, QObject* context, Handler handler) {
    QObject::connect(view, &QAbstractItemView::doubleClicked, context, handler);
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* shortcut = new QShortcut(QKeySequence(key), view);
        shortcut->setContext(Qt::WidgetShortcut);
        QObject::connect(shortcut, &QShortcut::activated, context, [view, handler] {
            if (view->currentIndex().isValid()) handler(view->currentIndex());
        });
    }
}

}  // namespace vxe
