#include "programs/FParPrg.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "catalogue/Catalogue.h"
#include "details/CallerLists.h"
#include "details/ItemDetails.h"
#include "interaction/Interaction.h"
#include "programs/ProgramNumbers.h"
#include "storage/Session.h"

namespace vxe {

FParPrg::FParPrg(vx::Session& session, int set, int number, QWidget* parent)
    : ParamDialog(session, set, "FParPrg", parent), number_(number) {
    const vx::SetData& setData = session.Data(set);
    setWindowTitle("Program " + Latin1Text(vx::ProgramLabel(number)) + InSet());

    txtNam_ = NewNameBox(vx::ProgramNameOf(setData.prg, session.Presets(), number));
    cboCat_ = NewCombo("cboCat", vx::PrgCategoryName, vx::ProgramCategoryOf(setData.prg, session.Presets(), number));
    lstCalled_ = NewList("lstCalled", vx::ProgramCallerLines(setData, number));
    auto* cmdReplPrg = new QPushButton("Call another Program", this);
    cmdReplPrg->setObjectName("cmdReplPrg");
    if (vx::UserIndexOf(number) < 0) {
        // A preset is looked at, not changed.
        txtNam_->setEnabled(false);
        cboCat_->setEnabled(false);
    }

    auto* form = new QFormLayout;
    form->addRow("Name", txtNam_);
    form->addRow("Category", cboCat_);
    form->addRow("Called by", lstCalled_);
    form->addRow("", cmdReplPrg);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    AddButtons(*layout);

    connect(cmdReplPrg, &QPushButton::clicked, this, [this] { cmdReplPrg_Click(); });
}

void FParPrg::cmdReplPrg_Click() {
    const int chosen = session_.Ui().PickProgram(set_, number_, "");
    if (chosen < 0 || chosen == number_ || vx::ProgramLabel(chosen).empty()) return;
    // The callers change in the set at once, as the button says; Cancel keeps only the name.
    for (vx::ItemKind kind : vx::RedirectProgramCalls(session_.Data(set_), number_, chosen)) {
        session_.MarkDirty(set_, kind);
        session_.Ui().KindChanged(set_, kind);
    }
    lstCalled_->clear();
    MarkChanged();
}

std::string FParPrg::Name() const { return txtNam_->text().toLatin1().toStdString(); }
int FParPrg::Category() const { return cboCat_->currentIndex(); }

void ShowPrgDetails(vx::Session& session, int set, int number, QWidget* parent) {
    if (vx::ProgramLabel(number).empty()) return;
    FParPrg dialog(session, set, number, parent);
    dialog.exec();
    const int index = vx::UserIndexOf(number);
    if (!dialog.Changed() || index < 0) return;
    vx::ProgramRecord& record = session.Data(set).prg.records[static_cast<std::size_t>(index)];
    record.SetName(dialog.Name());
    record.SetCategory(dialog.Category());
    vx::CommitItem(session, set, vx::ItemKind::Program, number);
}

}  // namespace vxe
