#include "globals/GlobalDialog.h"

#include <QHBoxLayout>
#include <QPushButton>

#include "catalogue/Catalogue.h"
#include "storage/Session.h"

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
    // The dump is not part of this version yet.
    cmdSysex2File->setEnabled(false);
    cmdSend->setEnabled(false);
    auto* actions = new QHBoxLayout;
    actions->addWidget(cmdImport);
    actions->addWidget(cmdSysex2File);
    actions->addWidget(cmdSend);
    actions->addStretch(1);
    layout.addLayout(actions);
    AddButtons(layout);
    connect(cmdImport, &QPushButton::clicked, this, [this] {
        import_ = true;
        MarkChanged();
        accept();
    });
}

void GlobalDialog::reject() {
    import_ = false;
    ParamDialog::reject();
}

void RunGlobalActions(vx::Session& session, int set, vx::ItemKind kind, const GlobalDialog& dialog) {
    if (dialog.ImportPressed()) session.ImportAll(set, kind);
}

}  // namespace vxe
