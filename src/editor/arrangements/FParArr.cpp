#include "editor/arrangements/FParArr.h"

#include <algorithm>

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/arrangements/ArrangementFields.h"
#include "core/calls/CallSites.h"
#include "core/catalogue/Catalogue.h"
#include "core/details/ItemDetails.h"
#include "core/editing/Callers.h"
#include "core/editing/EditScheme.h"
#include "core/interaction/Interaction.h"
#include "core/selection/ItemNumbers.h"
#include "core/storage/Session.h"

namespace vxe {

FParArr::FParArr(vx::Session& session, int set, int number, QWidget* parent)
    : ParamDialog(session, set, "FParArr", parent), number_(number) {
    const vx::SetData& setData = session.Data(set);
    record_ = setData.arr.arr[static_cast<std::size_t>(vx::ArrUserIndexOf(number))];
    const vx::ArrangementRecord& r = record_;
    setWindowTitle("Arrangement " + Latin1Text(vx::ArrLabel(number)) + InSet());

    txtNam_ = NewNameBox(r.Name());
    cboCat_ = NewCombo("cboCat", vx::ArrCategoryName, r.Category());
    lblSty_ = new ClickLabel(Latin1Text(vx::StyReference(setData, session.Presets(), r.Style(), ": ")), this);
    lblSty_->setObjectName("lblSty");
    lblSty_->setFrameShape(QFrame::Panel);
    lblSty_->setFrameShadow(QFrame::Sunken);
    lblSty_->setToolTip("Double Click to change");
    lstPrg_ = NewList("lstPrg", vx::ArrTrackLines(setData, session.Presets(), number));
    lstPrg_->setToolTip("Double Click to change");
    auto* lstCalled = NewList("lstCalled", vx::ArrCalledBy(setData, number));
    cboEnsemble_ = NewCombo("cboEnsemble", vx::kEnsembleName, r.Ensemble());
    cboVarStart_ = NewCombo("cboVarStart", vx::kVarStartName, r.VarStart());
    cboVarThen_ = NewCombo("cboVarThen", vx::kVarThenName, r.VarThen());
    txtTempo_ = new QLineEdit(QString::number(r.Tempo()), this);
    txtTempo_->setObjectName("txtTempo");
    cboChScan_ = NewCombo("cboChScan", vx::ChordScanName, r.ChordScan());
    chkFullKbd_ = new QCheckBox("Full Keyboard", this);
    chkFullKbd_->setObjectName("chkFullKbd");
    chkFullKbd_->setChecked(r.FullKbd());
    txtXpose_ = new QLineEdit(QString::number(r.Transpose()), this);
    txtXpose_->setObjectName("txtXpose");
    cboSplit_ = NewCombo("cboSplit", vx::SplitKeyNames(), r.Split() - vx::kFirstSplitKey);
    for (int i = 0; i < vx::ArrangementRecord::kDrumMaps; ++i) {
        const QByteArray name = QString("cboDrMap_%1").arg(i).toLatin1();
        cboDrMap_[static_cast<std::size_t>(i)] = NewCombo(name.constData(), vx::kDrumMapName, r.DrumMap(i));
    }
    cboKick_ = NewCombo("cboKick", vx::kKickSnareName, r.Kick());
    cboSnare_ = NewCombo("cboSnare", vx::kKickSnareName, r.Snare());
    for (int i = 0; i < vx::ArrangementRecord::kFillVars; ++i) {
        const QByteArray name = QString("cboFillVar_%1").arg(i).toLatin1();
        cboFillVar_[static_cast<std::size_t>(i)] = NewCombo(name.constData(), vx::kFillVarName, r.FillVar(i));
    }

    // Present in the form, not edited: the keyboard assignment and the two switch frames.
    auto* lblKbdAss = new QLabel("Keyboard Assign", this);
    lblKbdAss->setObjectName("lblKbdAss");
    auto* cboKbdAss = new QComboBox(this);
    cboKbdAss->setObjectName("cboKbdAss");
    auto* fraSw1 = new QGroupBox(this);
    fraSw1->setObjectName("fraSw1");
    auto* fraSw2 = new QGroupBox(this);
    fraSw2->setObjectName("fraSw2");
    for (QWidget* hidden : std::initializer_list<QWidget*>{lblKbdAss, cboKbdAss, fraSw1, fraSw2}) hidden->hide();

    auto* left = new QFormLayout;
    left->addRow("Name", txtNam_);
    left->addRow("Category", cboCat_);
    left->addRow("Style", lblSty_);
    left->addRow("Programs", lstPrg_);
    left->addRow("Called by", lstCalled);
    // Four lines high, also when there is no line to measure.
    const int line = std::max(lstCalled->sizeHintForRow(0), lstCalled->fontMetrics().height());
    lstCalled->setMaximumHeight(line * 4 + 2 * lstCalled->frameWidth() + 4);

    auto* right = new QFormLayout;
    right->addRow("Ensemble", cboEnsemble_);
    right->addRow("Start with", cboVarStart_);
    right->addRow("Then", cboVarThen_);
    auto* tempoRow = new QHBoxLayout;
    tempoRow->addWidget(txtTempo_);
    tempoRow->addWidget(NewUpDown("updTempo", txtTempo_, vx::kMinTempo, vx::kMaxTempo, vx::kDefaultTempo));
    right->addRow("Tempo", tempoRow);
    right->addRow("Chord Scan", cboChScan_);
    right->addRow("", chkFullKbd_);
    auto* xposeRow = new QHBoxLayout;
    xposeRow->addWidget(txtXpose_);
    xposeRow->addWidget(NewUpDown("updXpose", txtXpose_, -vx::kMaxTranspose, vx::kMaxTranspose, 0));
    right->addRow("Transpose", xposeRow);
    right->addRow("Split", cboSplit_);
    auto* drums = new QHBoxLayout;
    for (QComboBox* combo : cboDrMap_) drums->addWidget(combo);
    right->addRow("Drum Map", drums);
    right->addRow("Kick", cboKick_);
    right->addRow("Snare", cboSnare_);
    auto* fills = new QHBoxLayout;
    for (QComboBox* combo : cboFillVar_) fills->addWidget(combo);
    right->addRow("Fill Variation", fills);

    auto* columns = new QHBoxLayout;
    columns->addLayout(left, 3);
    columns->addLayout(right, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    AddButtons(*layout);

    connect(lblSty_, &ClickLabel::doubleClicked, this, [this] { lblSty_DblClick(); });
    connect(lstPrg_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { lstPrg_DblClick(lstPrg_->row(item)); });
    connect(chkFullKbd_, &QCheckBox::toggled, this, [this] { MarkChanged(); });
    connect(txtTempo_, &QLineEdit::textChanged, this, [this] { MarkChanged(); });
    connect(txtXpose_, &QLineEdit::textChanged, this, [this] { MarkChanged(); });
    connect(txtTempo_, &QLineEdit::editingFinished, this,
            [this] { CheckTyped(txtTempo_, vx::kMinTempo, vx::kMaxTempo, vx::kDefaultTempo); });
    connect(txtXpose_, &QLineEdit::editingFinished, this,
            [this] { CheckTyped(txtXpose_, -vx::kMaxTranspose, vx::kMaxTranspose, 0); });
}

QWidget* FParArr::NewUpDown(const char* name, QLineEdit* box, int minimum, int maximum, int fallback) {
    auto* upDown = new QWidget(this);
    upDown->setObjectName(name);
    auto* up = new QToolButton(upDown);
    up->setObjectName("up");
    up->setArrowType(Qt::UpArrow);
    auto* down = new QToolButton(upDown);
    down->setObjectName("down");
    down->setArrowType(Qt::DownArrow);
    auto* layout = new QHBoxLayout(upDown);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(down);
    layout->addWidget(up);
    auto step = [box, minimum, maximum, fallback](int by) {
        const int value = vx::TypedNumber(box->text().toStdString(), minimum, maximum, fallback);
        box->setText(QString::number(std::clamp(value + by, minimum, maximum)));
    };
    connect(up, &QToolButton::clicked, this, [step] { step(1); });
    connect(down, &QToolButton::clicked, this, [step] { step(-1); });
    return upDown;
}

void FParArr::CheckTyped(QLineEdit* box, int minimum, int maximum, int fallback) {
    const QString checked = QString::number(vx::TypedNumber(box->text().toStdString(), minimum, maximum, fallback));
    if (checked != box->text()) box->setText(checked);
}

void FParArr::lblSty_DblClick() {
    const int chosen = session_.Ui().PickStyle(set_, record_.Style(), "");
    if (chosen < 0) return;
    vx::SetCall(record_, vx::ItemKind::Arrangement, vx::ItemKind::Style, -1, chosen);
    lblSty_->setText(Latin1Text(vx::StyReference(session_.Data(set_), session_.Presets(), chosen, ": ")));
    MarkChanged();
}

void FParArr::lstPrg_DblClick(int track) {
    if (track < 0 || track >= vx::ArrangementRecord::kTrackCount) return;
    const int chosen =
        PickTrackProgram(vx::StyleTrackName[static_cast<std::size_t>(track)], record_.TrackProgram(track));
    if (chosen < 0) return;
    vx::SetCall(record_, vx::ItemKind::Arrangement, vx::ItemKind::Program, track, chosen);
    lstPrg_->item(track)->setText(Latin1Text(vx::ProgramTrackLine(
        session_.Data(set_), session_.Presets(), vx::StyleTrackName[static_cast<std::size_t>(track)], chosen)));
    MarkChanged();
}

vx::ArrangementRecord FParArr::Result() const {
    vx::ArrangementRecord r = record_;  // style and track programs are kept in the copy as chosen
    r.SetName(txtNam_->text().toLatin1().toStdString());
    r.SetCategory(cboCat_->currentIndex());
    r.SetEnsemble(cboEnsemble_->currentIndex());
    r.SetVarStart(cboVarStart_->currentIndex());
    r.SetVarThen(cboVarThen_->currentIndex());
    r.SetTempo(vx::TypedNumber(txtTempo_->text().toStdString(), vx::kMinTempo, vx::kMaxTempo, vx::kDefaultTempo));
    r.SetChordScan(cboChScan_->currentIndex());
    r.SetFullKbd(chkFullKbd_->isChecked());
    r.SetTranspose(vx::TypedNumber(txtXpose_->text().toStdString(), -vx::kMaxTranspose, vx::kMaxTranspose, 0));
    r.SetSplit(cboSplit_->currentIndex() + vx::kFirstSplitKey);
    for (int i = 0; i < vx::ArrangementRecord::kDrumMaps; ++i)
        r.SetDrumMap(i, cboDrMap_[static_cast<std::size_t>(i)]->currentIndex());
    r.SetKick(cboKick_->currentIndex());
    r.SetSnare(cboSnare_->currentIndex());
    for (int i = 0; i < vx::ArrangementRecord::kFillVars; ++i)
        r.SetFillVar(i, cboFillVar_[static_cast<std::size_t>(i)]->currentIndex());
    return r;
}

void ShowArrDetails(vx::EditScheme& scheme, vx::Session& session, int set, int number, QWidget* parent) {
    const int slot = vx::ArrUserIndexOf(number);
    if (slot < 0) {
        session.Ui().Beep();
        return;
    }
    FParArr dialog(session, set, number, parent);
    dialog.exec();
    if (!dialog.Changed()) return;
    if (scheme.WriteItem(set, vx::ItemKind::Arrangement, slot, dialog.Result()).done)
        scheme.WarnDuplicateNames(set, vx::ItemKind::Arrangement);
}

}  // namespace vxe
