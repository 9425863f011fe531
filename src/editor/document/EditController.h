#pragma once

#include <QObject>

#include <array>
#include <functional>

#include "core/catalogue/ItemKind.h"
#include "editor/document/EditMenuState.h"

class QWidget;

namespace vx {
class Session;
struct SetChange;
}  // namespace vx

namespace vxe {

class ShellServices;
class TabView;

inline constexpr int kTabCount = 6;

// The Edit menu of one set's window: what it offers at the position shown, the commands it
// runs there, the drops on the window's views and the parameter dialogs their items open.
class EditController : public QObject {
    Q_OBJECT

public:
    using Views = std::array<TabView*, kTabCount>;
    // currentTab answers the tab shown; window is the parent of the dialogs.
    EditController(vx::Session& session, ShellServices& shell, int set, const Views& views,
                   std::function<int()> currentTab, QWidget* window);

    void SetState(EditState state);
    bool UndoAvailable() const { return undoAvailable_; }
    // What the Edit menu offers for the tab shown, its selected slot, the kind's clipboard and Undo.
    EditMenuFlags Menu() const;
    // Commands are enabled only once they are built.
    void SetBuiltCommands(const EditCommandSet& built);
    // Runs a command of the Edit menu on the tab shown and its selected slot.
    void Run(EditCommand command);
    // The parameter dialog of an item (by number, or position for the lists).
    void Details(vx::ItemKind kind, int number);
    // A drag of another view, of this set or another, dropped on slot of a view of this window.
    void Drop(vx::ItemKind kind, int sourceKind, int sourceSet, int sourceSlot, int slot);
    // An item of the Library window dropped on slot: the drop from its set's window when that set
    // is open, else from the set read from disk (never locked, never written).
    void DropFromLibrary(vx::ItemKind kind, const QString& setPath, int sourceSlot, int slot);
    // Undo availability of the set.
    void Follow(const vx::SetChange& change);

Q_SIGNALS:
    // What Menu() answers may have changed.
    void MenuChanged();

private:
    // The commands built for the kind shown: the scheme's commands the kind has, Paste and
    // Insert with something on its clipboard, Paste from XStyle for the kinds XStyle files hold.
    EditCommandSet BuiltFor(int tab) const;
    TabView* Shown() const;
    void Import();
    void PasteXStyle();

    vx::Session& session_;
    ShellServices& shell_;
    const int set_;
    const Views views_;
    const std::function<int()> currentTab_;
    QWidget* window_;
    EditState state_ = EditState::None;
    EditCommandSet built_;
    bool undoAvailable_ = false;
};

}  // namespace vxe
