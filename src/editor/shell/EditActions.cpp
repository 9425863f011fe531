#include "editor/shell/EditActions.h"

#include <QAction>
#include <QMenu>

#include "editor/document/FDoc.h"

namespace vxe {

EditActions::EditActions(QWidget* parent) : QObject(parent), menu_(new QMenu(QStringLiteral("&Edit"), parent)) {
    menu_->setObjectName(QStringLiteral("mnuEdit"));
    menu_->menuAction()->setObjectName(QStringLiteral("mnuEdit_menu"));
    auto add = [this](EditCommand command, const char* name, const QString& caption) {
        auto* action = new QAction(caption, menu_);
        action->setObjectName(QLatin1String(name));
        menu_->addAction(action);
        actions_[EditIndex(command)] = action;
        connect(action, &QAction::triggered, this, [this, command] {
            if (doc_) doc_->RunEdit(command);
        });
        return action;
    };
    add(EditCommand::Undo, "mnuEUndo", QStringLiteral("&Undo"))->setShortcut(QKeySequence::Undo);
    menu_->addSeparator();
    add(EditCommand::Cut, "mnuECut", QStringLiteral("Cu&t"))->setShortcut(QKeySequence::Cut);
    add(EditCommand::Copy, "mnuECopy", QStringLiteral("&Copy"))->setShortcut(QKeySequence::Copy);
    add(EditCommand::Paste, "mnuEPaste", QStringLiteral("&Paste"))->setShortcut(QKeySequence::Paste);
    add(EditCommand::Delete, "mnuEDelete", QStringLiteral("&Delete"))->setShortcut(QKeySequence::Delete);
    add(EditCommand::Insert, "mnuEInsert", QStringLiteral("In&sert"));
    add(EditCommand::PasteXStyle, "mnuEXStyle", QStringLiteral("Paste from &XStyle..."));
    menu_->addSeparator();
    add(EditCommand::Details, "mnuEDetails", QStringLiteral("Detai&ls"));
    menu_->addSeparator();
    add(EditCommand::EraseBank, "mnuEEraseBnk", QStringLiteral("&Erase Bank"));
    add(EditCommand::Import, "mnuEImport", QStringLiteral("I&mport..."));
    // A shortcut may reach an entry whose state was read before another window changed a clipboard.
    connect(menu_, &QMenu::aboutToShow, this, &EditActions::Refresh);
    Refresh();
}

EditActions::~EditActions() {
    if (menu_ && menu_->parent() == nullptr) delete menu_;
}

void EditActions::SetDocument(FDoc* doc) {
    if (doc_ != doc) {
        disconnect(docChanges_);
        doc_ = doc;
        if (doc) docChanges_ = connect(doc, &FDoc::EditMenuChanged, this, &EditActions::Refresh);
    }
    Refresh();
}

void EditActions::Refresh() {
    const EditMenuFlags flags = doc_ ? doc_->EditMenu() : EditMenuFlags{};
    menu_->menuAction()->setEnabled(flags.menu);
    for (const EditCommand command : kEditMenuCommands) Action(command)->setEnabled(flags.Enabled(command));
    Action(EditCommand::Undo)
        ->setText(doc_ && doc_->UndoAvailable() ? QStringLiteral("&Undo") : QStringLiteral("Can't Undo"));
}

}  // namespace vxe
