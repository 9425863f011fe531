#include "editor/globals/FParGbl.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "core/catalogue/Catalogue.h"
#include "core/interaction/Interaction.h"
#include "core/storage/Session.h"

namespace vxe {

namespace {

std::vector<std::string> Numbers(int count) {
    std::vector<std::string> texts;
    for (int i = 1; i <= count; ++i) texts.push_back(std::to_string(i));
    return texts;
}

QString Text(std::string_view text) { return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())); }

}  // namespace

FParGbl::FParGbl(vx::Session& session, int set, QWidget* parent) : GlobalDialog(session, set, "FParGbl", parent) {
    record_ = session.Data(set).gbl.record;
    setWindowTitle("Global" + InSet());

    auto* fraCurves = new QGroupBox("Curves", this);
    auto* curves = new QFormLayout(fraCurves);
    cboCurv_[0] = NewCombo("cboCurv_0", Numbers(vx::kVelocityCurves), record_.VelocityCurve());
    cboCurv_[1] = NewCombo("cboCurv_1", Numbers(vx::kAftertouchCurves), record_.AftertouchCurve());
    curves->addRow("Velocity Curve", cboCurv_[0]);
    curves->addRow("Aftertouch Curve", cboCurv_[1]);

    auto* fraPedals = new QGroupBox("Pedals / Switches", this);
    auto* pedals = new QFormLayout(fraPedals);
    cboDmpr_ = NewCombo("cboDmpr", vx::kDamperPolarityName, record_.DamperPolarity());
    pedals->addRow("Damper Sw Polarity", cboDmpr_);
    for (int i = 0; i < vx::kPedalCount; ++i) {
        const vx::PedalField& field = vx::kPedalFields[static_cast<std::size_t>(i)];
        const std::vector<std::string> names(vx::SwitchFunctionName.begin(),
                                             vx::SwitchFunctionName.begin() + field.choices);
        const QByteArray name = QString("cboPeds_%1").arg(i).toLatin1();
        cboPeds_[static_cast<std::size_t>(i)] = NewCombo(name.constData(), names, record_.PedalFunction(i));
    }
    // The assignable pedals first, then the QP4 switches, then switches 1 and 2.
    for (int i : {5, 6, 0, 1, 2, 3, 4, 7, 8})
        pedals->addRow(Text(vx::kPedalFields[static_cast<std::size_t>(i)].label),
                       cboPeds_[static_cast<std::size_t>(i)]);

    auto* columns = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(fraCurves);
    left->addStretch(1);
    columns->addLayout(left);
    columns->addWidget(fraPedals, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    AddActionButtons(*layout);
}

vx::GblRecord FParGbl::Result() const {
    vx::GblRecord r = record_;
    r.SetVelocityCurve(cboCurv_[0]->currentIndex());
    r.SetAftertouchCurve(cboCurv_[1]->currentIndex());
    r.SetDamperPolarity(cboDmpr_->currentIndex());
    // A function beyond a combo's list was shown as OFF and is written back as 0.
    for (int i = 0; i < vx::kPedalCount; ++i)
        r.SetPedalFunction(i, cboPeds_[static_cast<std::size_t>(i)]->currentIndex());
    return r;
}

void ShowGbl(vx::Session& session, int set, QWidget* parent) {
    FParGbl dialog(session, set, parent);
    dialog.exec();
    if (dialog.Changed()) {
        session.Data(set).gbl.record = dialog.Result();
        session.MarkDirty(set, vx::ItemKind::Global);
        session.Changes().Publish(vx::SetChange::Kind(set, vx::ItemKind::Global));
    }
    RunGlobalActions(session, set, vx::ItemKind::Global, dialog, parent);
}

}  // namespace vxe
