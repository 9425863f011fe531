#pragma once

#include <QMenu>
#include <QObject>
#include <QPointer>

#include <array>

#include "editor/document/EditMenuState.h"

class QAction;
class QWidget;

namespace vxe {

class FDoc;

// The Edit menu, built once for the main window. Its entries act on the active document window
// and take their enabled state from it; with no document every entry is off.
class EditActions : public QObject {
    Q_OBJECT

public:
    // The menu is the parent's child, so that the parent finds its entries by name; without a
    // parent it belongs to this object.
    explicit EditActions(QWidget* parent = nullptr);
    ~EditActions() override;

    QMenu* Menu() const { return menu_; }
    QAction* Action(EditCommand command) const { return actions_[EditIndex(command)]; }

    // The document the entries act on from now on (nullptr: none).
    void SetDocument(FDoc* doc);
    FDoc* Document() const { return doc_.data(); }
    // Reads the document's state again.
    void Refresh();

private:
    QPointer<QMenu> menu_;
    // By command; none for a drop.
    std::array<QAction*, vx::kEditCommandKinds> actions_{};
    QPointer<FDoc> doc_;
    QMetaObject::Connection docChanges_;
};

}  // namespace vxe
