#pragma once

#include "core/catalogue/ItemKind.h"
#include "editor/details/ParamDialog.h"

class QPushButton;

namespace vxe {

// What the two global dialogs share: besides OK and Cancel, "I&mport" replaces the kind with
// that of another set, and the two dump buttons send the record to the instrument or to a
// SysEx file. Each action button counts as a change and closes the dialog; the action runs
// after the record has been written back.
class GlobalDialog : public ParamDialog {
    Q_OBJECT

public:
    GlobalDialog(vx::Session& session, int set, const char* name, QWidget* parent);

    enum class Action { None, Import, SysExFile, Send };
    // The action button that closed the dialog.
    Action ChosenAction() const { return action_; }

protected:
    // The button row: import, the two dump buttons, OK and Cancel.
    void AddActionButtons(QBoxLayout& layout);
    void reject() override;

private:
    Action action_ = Action::None;
};

// After a global dialog closed and its record was written back: the action it asked for, if any.
void RunGlobalActions(vx::Session& session, int set, vx::ItemKind kind, const GlobalDialog& dialog, QWidget* parent);

}  // namespace vxe
