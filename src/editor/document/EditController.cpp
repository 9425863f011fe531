#include "editor/document/EditController.h"

#include <QAbstractItemView>

#include <algorithm>

#include "core/changes/SetChange.h"
#include "core/editing/EditScheme.h"
#include "core/editing/XStyleFiles.h"
#include "core/kinds/EditableKind.h"
#include "core/library/LibrarySource.h"
#include "core/storage/Session.h"
#include "editor/details/Details.h"
#include "editor/document/TabView.h"
#include "editor/shell/ShellServices.h"

namespace vxe {

namespace {

bool IsBankedTab(int tab) { return tab >= 0 && tab <= 2; }

}  // namespace

EditController::EditController(vx::Session& session, ShellServices& shell, int set, const Views& views,
                               std::function<int()> currentTab, QWidget* window)
    : QObject(window),
      session_(session),
      shell_(shell),
      set_(set),
      views_(views),
      currentTab_(std::move(currentTab)),
      window_(window),
      built_(BuiltEditCommands(shell.Editing() != nullptr)) {
    for (TabView* view : views_) {
        connect(view, &TabView::DetailsAsked, this, &EditController::Details);
        connect(view, &TabView::Dropped, this, &EditController::Drop);
        connect(view, &TabView::DroppedFromLibrary, this, &EditController::DropFromLibrary);
    }
}

TabView* EditController::Shown() const {
    const int tab = currentTab_();
    return tab >= 0 && tab < kTabCount ? views_[static_cast<std::size_t>(tab)] : nullptr;
}

void EditController::SetState(EditState state) {
    state_ = state;
    Q_EMIT MenuChanged();
}

void EditController::Follow(const vx::SetChange& change) {
    if (change.what != vx::SetChange::What::UndoAvailability) return;
    undoAvailable_ = change.undoAvailable;
    Q_EMIT MenuChanged();
}

void EditController::SetBuiltCommands(const EditCommandSet& built) {
    built_ = built;
    Q_EMIT MenuChanged();
}

EditCommandSet EditController::BuiltFor(int tab) const {
    EditCommandSet built = built_;
    const vx::EditScheme* scheme = shell_.Editing();
    if (scheme == nullptr || tab < 0 || tab >= kTabCount) return built;
    const vx::ItemKind kind = vx::KindFromIndex(tab);
    // Paste and Insert need an item to put in; the clipboard is shared by every window.
    if (scheme->ClipboardOf(kind).Empty()) {
        built.reset(EditIndex(EditCommand::Paste));
        built.reset(EditIndex(EditCommand::Insert));
    }
    // Only arrangements, styles, programs and drum kits come in XStyle files.
    const int slot = views_[static_cast<std::size_t>(tab)]->CurrentSlot();
    if (!vx::XStyleKindFor(kind, std::max(slot, 0))) built.reset(EditIndex(EditCommand::PasteXStyle));
    return built;
}

EditMenuFlags EditController::Menu() const {
    const int tab = currentTab_();
    const TabView* shown = Shown();
    return ComputeEditMenu(state_, tab, shown != nullptr && shown->TwinShown(), undoAvailable_, BuiltFor(tab));
}

void EditController::Run(EditCommand command) {
    TabView* shown = Shown();
    if (shown == nullptr || !session_.Sets().IsOpen(set_)) return;
    switch (command) {
        case EditCommand::Details:
            Details(shown->Kind(), shown->DetailsNumber());
            break;
        case EditCommand::Import:
            Import();
            break;
        case EditCommand::PasteXStyle:
            PasteXStyle();
            break;
        default:
            if (vx::EditScheme* scheme = shell_.Editing(); scheme != nullptr && vx::SchemeRuns(command)) {
                vx::Edit edit;
                edit.command = command;
                edit.kind = shown->Kind();
                edit.set = set_;
                edit.slot = shown->CurrentSlot();
                edit.bank = shown->ChosenBank();
                vx::ShowNotice(session_.Ui(), scheme->Apply(edit));
            }
            break;
    }
    // A clipboard may have been filled or emptied.
    Q_EMIT MenuChanged();
}

void EditController::Import() {
    const vx::ItemKind kind = Shown()->Kind();
    // The session ends the kind's Undo and tells the views what changed.
    vx::ShowNotices(session_.Ui(), session_.ImportAll(set_, kind));
}

void EditController::PasteXStyle() {
    vx::EditScheme* scheme = shell_.Editing();
    const TabView* shown = Shown();
    if (scheme == nullptr || !IsBankedTab(vx::KindIndex(shown->Kind()))) return;
    // The chooser, the file's messages and the paste's questions all come from the scheme.
    vx::ShowNotice(session_.Ui(), scheme->PasteFromXStyle(set_, shown->Kind(), shown->CurrentSlot()));
}

void EditController::Details(vx::ItemKind kind, int number) {
    if (number < 0 || !session_.Sets().IsOpen(set_)) return;
    if (vx::EditScheme* edits = shell_.Editing()) ShowDetails(*edits, session_, set_, {kind, number}, window_);
}

void EditController::Drop(vx::ItemKind kind, int sourceKind, int sourceSet, int sourceSlot, int slot) {
    vx::EditScheme* scheme = shell_.Editing();
    if (scheme == nullptr || sourceKind < 0 || sourceKind >= kTabCount) return;
    vx::Edit edit;
    edit.command = vx::EditCommand::Drop;
    edit.kind = kind;
    edit.set = set_;
    edit.slot = slot;
    edit.sourceKind = vx::KindFromIndex(sourceKind);
    edit.sourceSet = sourceSet;
    edit.sourceSlot = sourceSlot;
    TabView* view = views_[static_cast<std::size_t>(vx::KindIndex(kind))];
    const vx::EditResult dropped = scheme->Apply(edit);
    vx::ShowNotice(session_.Ui(), dropped);
    if (!dropped.done) {
        // A drop answered with Cancel changed nothing: the cell under the pointer shows what
        // it held at once, not the item dragged over it.
        view->MainView()->viewport()->update();
        return;
    }
    // The dropped item is selected where it landed; moved down inside its list, an entry goes
    // before the one it was dropped on.
    const bool movedDown = !IsBankedTab(vx::KindIndex(kind)) && sourceSet == set_ &&
                           vx::EditableKindOf(kind)->InsertingDrop() != nullptr && sourceSlot < slot;
    view->SelectSlot(movedDown ? slot - 1 : slot);
    SetState(EditStateFor(currentTab_(), true));
}

void EditController::DropFromLibrary(vx::ItemKind kind, const QString& setPath, int sourceSlot, int slot) {
    if (shell_.Editing() == nullptr || !session_.Sets().IsOpen(set_)) return;
    {
        const vx::library::SourceSet source(session_, setPath.toStdString());
        if (source.Set() == 0) {
            vx::ShowNotice(session_.Ui(), vx::EditResult::Warned(source.Error()));
            views_[static_cast<std::size_t>(vx::KindIndex(kind))]->MainView()->viewport()->update();
            return;
        }
        Drop(kind, vx::KindIndex(kind), source.Set(), sourceSlot, slot);
    }
    // A set read for the drop took the clipboard it filled with it.
    Q_EMIT MenuChanged();
}

}  // namespace vxe
