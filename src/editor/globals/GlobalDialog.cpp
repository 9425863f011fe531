#include "editor/globals/GlobalDialog.h"

#include <QHBoxLayout>
#include <QPushButton>

#include "core/catalogue/Catalogue.h"
#include "core/storage/Session.h"
#include "editor/midi/MidiTransfer.h"

namespace vxe {

GlobalDialog::GlobalDialog(vx::Session& session, int set, const char* name, QWidget* parent)
    : ParamDialog(session, set, name, parent) {}

void GlobalDialog::AddActionButtons(QBoxLayout& layout) {
    auto* cmdImport = new QPushButton("I&mport", this);
    cmdImport->setObjectName("cmdImport");
    auto* cmdSysex2File = new QPushButton("Send SysE&x to File...", this);
    cmdSysex2File->setObjectName("cmdSysex2File");
    cmdSysex2File->setToolTip("Save data into a SysEx file");
    auto* cmdSend =
        new QPushButton("Send to &" + QString::fromLatin1(vx::kInstrumentName.data(),
                                                          static_cast<qsizetype>(vx::kInstrumentName.size())),
                        this);
    cmdSend->setObjectName("cmdSend");
    cmdSend->setToolTip("Send data via current MIDI interface");
    auto* actions = new QHBoxLayout;
    actions->addWidget(cmdImport);
    actions->addWidget(cmdSysex2File);
    actions->addWidget(cmdSend);
    actions->addStretch(1);
    layout.addLayout(actions);
    AddButtons(layout);
    auto action = [this](Action chosen) {
        action_ = chosen;
        MarkChanged();
        accept();
    };
    connect(cmdImport, &QPushButton::clicked, this, [action] { action(Action::Import); });
    connect(cmdSysex2File, &QPushButton::clicked, this, [action] { action(Action::SysExFile); });
    connect(cmdSend, &QPushButton::clicked, this, [action] { action(Action::Send); });
}

void GlobalDialog::reject() {
    action_ = Action::None;
    ParamDialog::reject();
}

void RunGlobalActions(vx::Session& session, int set, vx::ItemKind kind, const GlobalDialog& dialog, QWidget* parent) {
    switch (dialog.ChosenAction()) {
        case GlobalDialog::Action::Send:
            SendKindToInstrument(session, set, kind, 0, parent);
            break;
        case GlobalDialog::Action::SysExFile:
            SendKindToSysExFile(session, set, kind, 0);
            break;
        case GlobalDialog::Action::Import:
            vx::ShowNotices(session.Ui(), session.ImportAll(set, kind));
            break;
        case GlobalDialog::Action::None:
            break;
    }
}

}  // namespace vxe
