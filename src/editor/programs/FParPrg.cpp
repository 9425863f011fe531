#include "editor/programs/FParPrg.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "core/catalogue/Catalogue.h"
#include "core/details/ItemDetails.h"
#include "core/editing/Callers.h"
#include "core/editing/EditScheme.h"
#include "core/interaction/Interaction.h"
#include "core/kinds/EditableKind.h"
#include "core/programs/ProgramNumbers.h"
#include "core/storage/Session.h"

namespace vxe {

FParPrg::FParPrg(vx::EditScheme& scheme, vx::Session& session, int set, int number, QWidget* parent)
    : ParamDialog(session, set, "FParPrg", parent), scheme_(scheme), number_(number) {
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
    scheme_.RedirectCalls(set_, vx::ItemKind::Program, number_, chosen);
    lstCalled_->clear();
    MarkChanged();
}

std::string FParPrg::Name() const { return txtNam_->text().toLatin1().toStdString(); }
int FParPrg::Category() const { return cboCat_->currentIndex(); }

void ShowPrgDetails(vx::EditScheme& scheme, vx::Session& session, int set, int number, QWidget* parent) {
    if (vx::ProgramLabel(number).empty()) return;
    FParPrg dialog(scheme, session, set, number, parent);
    dialog.exec();
    const int index = vx::UserIndexOf(number);
    if (!dialog.Changed() || index < 0) return;
    vx::EditItem item = vx::EditableKindOf(vx::ItemKind::Program)->Read(session.Data(set), index);
    auto& program = std::get<vx::ProgramItem>(item);
    program.record.SetName(dialog.Name());
    program.record.SetCategory(dialog.Category());
    if (scheme.WriteItem(set, vx::ItemKind::Program, index, item).done)
        scheme.WarnDuplicateNames(set, vx::ItemKind::Program);
}

}  // namespace vxe
