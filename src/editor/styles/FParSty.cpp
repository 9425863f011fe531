#include "editor/styles/FParSty.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

#include "core/calls/CallSites.h"
#include "core/catalogue/Catalogue.h"
#include "core/details/ItemDetails.h"
#include "core/editing/Callers.h"
#include "core/editing/EditScheme.h"
#include "core/interaction/Interaction.h"
#include "core/selection/ItemNumbers.h"
#include "core/storage/Session.h"

namespace vxe {

FParSty::FParSty(vx::Session& session, int set, int number, QWidget* parent)
    : ParamDialog(session, set, "FParSty", parent) {
    const vx::SetData& setData = session.Data(set);
    const int slot = vx::StyUserIndexOf(number);
    record_ = setData.sty.slots[static_cast<std::size_t>(slot)].record;
    setWindowTitle("Style " + Latin1Text(vx::StyLabel(number)) + InSet());

    txtNam_ = NewNameBox(record_.Name());
    cboCat_ = NewCombo("cboCat", vx::StyCategoryName, record_.Category());
    lstPrg_ = NewList("lstPrg", vx::StyTrackLines(setData, session.Presets(), number));
    lstPrg_->setToolTip("Double Click to change");
    auto* lstCalled = NewList("lstCalled", vx::StyleCalledBy(setData, number));
    auto* lblUsed = new QLabel(QString::number(vx::StyleEventsUsed(setData.sty, slot)) + "  used by this Style", this);
    lblUsed->setObjectName("lblUsed");
    auto* lblFree = new QLabel(QString::number(vx::BlockEventsFree(setData.sty, slot)) + "  free in this Block", this);
    lblFree->setObjectName("lblFree");

    auto* form = new QFormLayout;
    form->addRow("Name", txtNam_);
    form->addRow("Category", cboCat_);
    form->addRow("Programs", lstPrg_);
    form->addRow("Called by", lstCalled);
    form->addRow("Events", lblUsed);
    form->addRow("", lblFree);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    AddButtons(*layout);

    connect(lstPrg_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { lstPrg_DblClick(lstPrg_->row(item)); });
}

void FParSty::lstPrg_DblClick(int track) {
    if (track < 0 || track >= vx::StyleRecord::kTrackCount) return;
    const std::string_view name = vx::StyleTrackName[static_cast<std::size_t>(track)];
    const int chosen = PickTrackProgram(name, record_.TrackProgram(track));
    if (chosen < 0) return;
    vx::SetCall(record_, vx::ItemKind::Style, vx::ItemKind::Program, track, chosen);
    lstPrg_->item(track)->setText(
        Latin1Text(vx::ProgramTrackLine(session_.Data(set_), session_.Presets(), name, chosen)));
    MarkChanged();
}

vx::StyleRecord FParSty::Result() const {
    vx::StyleRecord r = record_;
    r.SetName(txtNam_->text().toLatin1().toStdString());
    r.SetCategory(cboCat_->currentIndex());
    return r;
}

void ShowStyDetails(vx::EditScheme& scheme, vx::Session& session, int set, int number, QWidget* parent) {
    if (!vx::StyleHasData(session.Data(set), number)) {
        session.Ui().Beep();
        return;
    }
    FParSty dialog(session, set, number, parent);
    dialog.exec();
    if (!dialog.Changed()) return;
    // The dialog only writes name, category and programs; the events stay as they are.
    const int slot = vx::StyUserIndexOf(number);
    vx::StyleSlot item = session.Data(set).sty.slots[static_cast<std::size_t>(slot)];
    item.record = dialog.Result();
    if (scheme.WriteItem(set, vx::ItemKind::Style, slot, item).done)
        scheme.WarnDuplicateNames(set, vx::ItemKind::Style);
}

}  // namespace vxe
