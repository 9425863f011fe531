#include "editor/sequences/FParSeq.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QIntValidator>
#include <QLineEdit>
#include <QListWidget>
#include <QVBoxLayout>

#include "core/calls/CallSites.h"
#include "core/catalogue/Catalogue.h"
#include "core/details/ItemDetails.h"
#include "core/editing/EditScheme.h"
#include "core/interaction/Interaction.h"
#include "core/kinds/EditableKind.h"
#include "core/storage/Session.h"

namespace vxe {

namespace {

template <typename Record>
Record& RecordOf(vx::SetData& setData, int position) {
    if constexpr (std::is_same_v<Record, vx::BsqRecord>)
        return setData.bsq.entries[static_cast<std::size_t>(position)].record;
    else
        return setData.sng.entries[static_cast<std::size_t>(position)].record;
}

template <typename Record>
std::string_view TrackName(int track) {
    if constexpr (std::is_same_v<Record, vx::BsqRecord>)
        return vx::BsqTrackName[static_cast<std::size_t>(track)];
    else
        return vx::SongTrackName[static_cast<std::size_t>(track)];
}

ClickLabel* NewCalledLabel(const char* name, const std::string& text, QWidget* parent) {
    auto* label = new ClickLabel(Latin1Text(text), parent);
    label->setObjectName(name);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    label->setToolTip("Double Click to change");
    return label;
}

}  // namespace

template <typename Record>
FParSeq<Record>::FParSeq(vx::Session& session, int set, int position, QWidget* parent)
    : ParamDialog(session, set, kBsq ? "FParBsq" : "FParSng", parent) {
    vx::SetData& setData = session.Data(set);
    record_ = RecordOf<Record>(setData, position);
    setWindowTitle(QString(kBsq ? "Backing Sequence " : "Song ") + QString::number(position) + InSet());

    txtNam_ = NewNameBox(record_.Name());
    auto* form = new QFormLayout;
    form->addRow("Name", txtNam_);
    if constexpr (kBsq) {
        lblArr_ =
            NewCalledLabel("lblArr", vx::ArrReference(setData, session.Presets(), record_.Arrangement(), " "), this);
        lblSty_ = NewCalledLabel("lblSty", vx::StyReference(setData, session.Presets(), record_.Style(), " "), this);
        form->addRow("Arrangement called", lblArr_);
        form->addRow("Style called", lblSty_);
        connect(lblArr_, &ClickLabel::doubleClicked, this, [this] { PickCalled(true); });
        connect(lblSty_, &ClickLabel::doubleClicked, this, [this] { PickCalled(false); });
    }
    lstPrg_ = NewList("lstPrg", kBsq ? vx::BsqTrackLines(setData, session.Presets(), position)
                                     : vx::SngTrackLines(setData, session.Presets(), position));
    lstPrg_->setToolTip("Double Click to change");
    form->addRow("Programs", lstPrg_);

    auto* fraChain = new QGroupBox("In automatic chaining mode", this);
    fraChain->setObjectName("fraChain");
    chkChain_ = new QCheckBox(kBsq ? "Chain  to  next  BSeq" : "Chain  to  next  Song", fraChain);
    chkChain_->setObjectName("chkChain");
    chkChain_->setChecked(record_.Chain());
    chkAuto_ = new QCheckBox("AutoStart", fraChain);
    chkAuto_->setObjectName("chkAuto");
    chkAuto_->setChecked(record_.AutoStart());
    txtNxt_ = new QLineEdit(QString::number(record_.Next()), fraChain);
    txtNxt_->setObjectName("txtNxt");
    // Only the ten entries can be chained to.
    txtNxt_->setValidator(new QIntValidator(0, vx::kSequenceCount - 1, txtNxt_));
    txtNxt_->setMaxLength(1);
    auto* chainLayout = new QFormLayout(fraChain);
    chainLayout->addRow(chkChain_);
    chainLayout->addRow(chkAuto_);
    chainLayout->addRow("Next", txtNxt_);
    auto enableChain = [this] {
        chkAuto_->setEnabled(chkChain_->isChecked());
        txtNxt_->setEnabled(chkChain_->isChecked());
    };
    enableChain();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(fraChain);
    AddButtons(*layout);

    connect(lstPrg_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { lstPrg_DblClick(lstPrg_->row(item)); });
    connect(chkChain_, &QCheckBox::toggled, this, [this, enableChain] {
        enableChain();
        MarkChanged();
    });
    connect(chkAuto_, &QCheckBox::toggled, this, [this] { MarkChanged(); });
    connect(txtNxt_, &QLineEdit::textChanged, this, [this] { MarkChanged(); });
}

template <typename Record>
void FParSeq<Record>::PickCalled(bool arrangement) {
    if constexpr (kBsq) {
        const vx::SetData& setData = session_.Data(set_);
        if (arrangement) {
            const int chosen = session_.Ui().PickArrangement(set_, record_.Arrangement(), "");
            if (chosen < 0) return;
            vx::SetCall(record_, kCaller, vx::ItemKind::Arrangement, -1, chosen);
            lblArr_->setText(Latin1Text(vx::ArrReference(setData, session_.Presets(), chosen, " ")));
        } else {
            const int chosen = session_.Ui().PickStyle(set_, record_.Style(), "");
            if (chosen < 0) return;
            vx::SetCall(record_, kCaller, vx::ItemKind::Style, -1, chosen);
            lblSty_->setText(Latin1Text(vx::StyReference(setData, session_.Presets(), chosen, " ")));
        }
        MarkChanged();
    }
}

template <typename Record>
void FParSeq<Record>::lstPrg_DblClick(int track) {
    if (track < 0 || track >= Record::kTrackCount) return;
    const int chosen = PickTrackProgram(TrackName<Record>(track), record_.TrackProgram(track));
    if (chosen < 0) return;
    vx::SetCall(record_, kCaller, vx::ItemKind::Program, track, chosen);
    lstPrg_->item(track)->setText(
        Latin1Text(vx::ProgramTrackLine(session_.Data(set_), session_.Presets(), TrackName<Record>(track), chosen)));
    MarkChanged();
}

template <typename Record>
Record FParSeq<Record>::Result() const {
    Record r = record_;
    r.SetName(txtNam_->text().toLatin1().toStdString());
    r.SetChain(chkChain_->isChecked());
    r.SetAutoStart(chkAuto_->isChecked());
    r.SetNext(txtNxt_->text().toInt());
    return r;
}

template class FParSeq<vx::BsqRecord>;
template class FParSeq<vx::SongRecord>;

namespace {

template <typename Record>
void ShowSeqDetails(vx::EditScheme& scheme, vx::Session& session, int set, int position, QWidget* parent) {
    if (position < 0 || position >= vx::kSequenceCount) return;
    FParSeq<Record> dialog(session, set, position, parent);
    dialog.exec();
    if (!dialog.Changed()) return;
    constexpr vx::ItemKind kind =
        std::is_same_v<Record, vx::BsqRecord> ? vx::ItemKind::BackingSequence : vx::ItemKind::Song;
    vx::EditItem item = vx::EditableKindOf(kind)->Read(session.Data(set), position);
    std::get<vx::SequenceEntry<Record>>(item).record = dialog.Result();
    scheme.WriteItem(set, kind, position, item);
}

}  // namespace

void ShowBsqDetails(vx::EditScheme& scheme, vx::Session& session, int set, int position, QWidget* parent) {
    ShowSeqDetails<vx::BsqRecord>(scheme, session, set, position, parent);
}

void ShowSngDetails(vx::EditScheme& scheme, vx::Session& session, int set, int position, QWidget* parent) {
    ShowSeqDetails<vx::SongRecord>(scheme, session, set, position, parent);
}

}  // namespace vxe
