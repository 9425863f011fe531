#pragma once

#include <QObject>
#include <QString>

#include "core/catalogue/ItemKind.h"
#include "editor/document/EditMenuState.h"

class QAbstractItemView;
class QWidget;

namespace vx {
struct SetChange;
}

namespace vxe {

// One tab of a set's window: the page, its grid or list, and what the window and the edit
// controller ask of it. Each view refreshes itself from the set's changes.
class TabView : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    virtual vx::ItemKind Kind() const = 0;
    virtual QWidget* Page() const = 0;
    // The grid or list that takes the keyboard focus and the drops.
    virtual QAbstractItemView* MainView() const = 0;
    // Fills the view as its tab is shown.
    virtual void Show() = 0;
    // What the Edit menu may do at the current position.
    virtual EditState State() const = 0;
    // The kind's own slot at the current position (user arrangement 0-127, program 0-135, list
    // row, KBD set), or -1.
    virtual int CurrentSlot() const = 0;
    // Makes a slot of the kind the current position.
    virtual void SelectSlot(int slot) = 0;
    // The item at the current position as the status bar names it, or empty.
    virtual QString StatusItem() const = 0;
    // The number the parameter dialog of the current position takes, or -1 when it has none.
    virtual int DetailsNumber() const { return -1; }
    // The bank chosen in the tab's bank list, or -1.
    virtual int ChosenBank() const { return -1; }
    virtual bool TwinShown() const { return false; }
    // The width that shows every column, or 0 when the tab never decides the window's width.
    virtual int FullWidth() const { return 0; }
    // HighCall may have changed.
    virtual void TakeOptions() {}
    // The set's change, when it names something this view shows.
    virtual void Refresh(const vx::SetChange& change) = 0;

Q_SIGNALS:
    // The current position moved: the Edit menu and the status bar follow it.
    void CurrentChanged();
    // The status bar's item changed, not what the Edit menu may do.
    void StatusChanged();
    // Double-click or Enter on an item: its parameter dialog (by number, or position for the lists).
    void DetailsAsked(vx::ItemKind kind, int number);
    // A drag of another view, of this set or another, dropped on slot of this view.
    void Dropped(vx::ItemKind kind, int sourceKind, int sourceSet, int sourceSlot, int slot);
    // An item of the Library window, from the set in setPath, dropped on slot of this view.
    void DroppedFromLibrary(vx::ItemKind kind, const QString& setPath, int sourceSlot, int slot);
};

}  // namespace vxe
