#include "editor/globals/FParArg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/arrangements/ArrangementFields.h"
#include "core/catalogue/Catalogue.h"
#include "core/details/ItemDetails.h"
#include "core/interaction/Interaction.h"
#include "core/storage/Session.h"
#include "core/text/Helpers.h"

namespace vxe {

namespace {

// The check boxes' names, by ArgSwitch order.
constexpr std::array<const char*, vx::kArgSwitchCount> kSwitchNames = {
    "chkChMem",  "chkSndMem", "chkBassInv", "chkTempoLock", "chkKbdLock", "chkEnsemble",
    "chkSync_0", "chkSync_1", "chkDynBack", "chkSplitLock", "chkSndSync",
};

template <std::size_t N>
QButtonGroup* NewOptions(QWidget* frame, QBoxLayout& layout, const char* name,
                         const std::array<std::string_view, N>& texts, int stored) {
    auto* group = new QButtonGroup(frame);
    for (std::size_t i = 0; i < N; ++i) {
        auto* option =
            new QRadioButton(QString::fromLatin1(texts[i].data(), static_cast<qsizetype>(texts[i].size())), frame);
        option->setObjectName(QString("%1_%2").arg(name).arg(i));
        option->setChecked(static_cast<int>(i) == stored);
        group->addButton(option, static_cast<int>(i));
        layout.addWidget(option);
    }
    return group;
}

QString ChannelText(int function, int value) { return Latin1Text(vx::ChannelLine(function, value)); }

}  // namespace

FParArg::FParArg(vx::Session& session, int set, QWidget* parent) : GlobalDialog(session, set, "FParArg", parent) {
    const vx::SetData& setData = session.Data(set);
    record_ = setData.arg.record;
    setWindowTitle("Arrangement Global" + InSet());

    auto* fraMidi = new QGroupBox("MIDI Channels", this);
    lstMidi_ = NewList("lstMidi", {});
    lstMidi_->setToolTip("Double Click to change");
    for (int i = 0; i < vx::ArgRecord::kChannels; ++i) {
        auto* item = new QListWidgetItem(ChannelText(i, record_.Channel(i)), lstMidi_);
        item->setData(Qt::UserRole, record_.Channel(i));
    }
    (new QVBoxLayout(fraMidi))->addWidget(lstMidi_);

    auto newSwitch = [this](vx::ArgSwitch which, QWidget* frame) {
        const auto i = static_cast<std::size_t>(which);
        const std::string_view label = vx::kArgSwitchFields[i].label;
        auto* box = new QCheckBox(QString::fromLatin1(label.data(), static_cast<qsizetype>(label.size())), frame);
        box->setObjectName(kSwitchNames[i]);
        box->setChecked(record_.Switch(which));
        switches_[i] = box;
        return box;
    };
    auto* fraButtons = new QGroupBox("Buttons", this);
    auto* buttonsLayout = new QVBoxLayout(fraButtons);
    for (vx::ArgSwitch which :
         {vx::ArgSwitch::SoundMemory, vx::ArgSwitch::KeyboardLock, vx::ArgSwitch::SplitPointLock,
          vx::ArgSwitch::BassInversion, vx::ArgSwitch::ChordMemory, vx::ArgSwitch::TempoLock, vx::ArgSwitch::Ensemble})
        buttonsLayout->addWidget(newSwitch(which, fraButtons));

    auto* fraSync = new QGroupBox("Synchro", this);
    auto* syncLayout = new QHBoxLayout(fraSync);
    syncLayout->addWidget(newSwitch(vx::ArgSwitch::SyncStart, fraSync));
    syncLayout->addWidget(newSwitch(vx::ArgSwitch::SyncStop, fraSync));

    auto* fraRecog = new QGroupBox("Chord Recognition", this);
    optRecog_ = NewOptions(fraRecog, *new QVBoxLayout(fraRecog), "optRecog", vx::kChordRecognitionName,
                           record_.ChordRecognition());

    auto* fraVelo = new QGroupBox("Velocity", this);
    auto* veloLayout = new QVBoxLayout(fraVelo);
    veloLayout->addWidget(newSwitch(vx::ArgSwitch::DynamicBacking, fraVelo));
    veloLayout->addWidget(new QLabel("Control", fraVelo));
    optVelo_ = NewOptions(fraVelo, *veloLayout, "optVelo", vx::kVelocityControlName, record_.VelocityControl());

    auto* fraSndSync = new QGroupBox("Chord Sound", this);
    (new QVBoxLayout(fraSndSync))->addWidget(newSwitch(vx::ArgSwitch::ChordSoundSync, fraSndSync));

    auto* fraHarmo = new QGroupBox("Harmony Type", this);
    optHarmo_ =
        NewOptions(fraHarmo, *new QHBoxLayout(fraHarmo), "optHarmo", vx::kHarmonyTypeName, record_.HarmonyType());

    // The split key of all arrangements: shown when they share one, else note 60 greyed.
    const int common = vx::CommonSplitKey(setData);
    cboSplit_ =
        NewCombo("cboSplit", vx::SplitKeyNames(), common >= 0 ? common - vx::kFirstSplitKey : vx::kMixedSplitEntry);
    if (common < 0) {
        QPalette grey = cboSplit_->palette();
        grey.setColor(QPalette::ButtonText, palette().color(QPalette::Disabled, QPalette::Text));
        grey.setColor(QPalette::Text, palette().color(QPalette::Disabled, QPalette::Text));
        grey.setColor(QPalette::Button, palette().color(QPalette::Light));
        grey.setColor(QPalette::Base, palette().color(QPalette::Light));
        cboSplit_->setPalette(grey);
    }
    auto* lblSplit = new QLabel("Set All Split Keys", this);
    lblSplit->setBuddy(cboSplit_);

    auto* grid = new QGridLayout;
    grid->addWidget(fraMidi, 0, 0, 3, 1);
    grid->addWidget(fraButtons, 0, 1);
    auto* middle = new QVBoxLayout;
    middle->addWidget(fraSync);
    middle->addWidget(fraRecog);
    middle->addWidget(fraSndSync);
    grid->addLayout(middle, 0, 2);
    grid->addWidget(fraVelo, 1, 1);
    grid->addWidget(fraHarmo, 1, 2);
    auto* splitRow = new QHBoxLayout;
    splitRow->addWidget(lblSplit);
    splitRow->addWidget(cboSplit_);
    splitRow->addStretch(1);
    grid->addLayout(splitRow, 2, 1, 1, 2);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    AddActionButtons(*layout);

    connect(lstMidi_, &QListWidget::itemDoubleClicked, this,
            [this](QListWidgetItem* item) { lstMidi_DblClick(lstMidi_->row(item)); });
    for (QCheckBox* box : switches_) connect(box, &QCheckBox::toggled, this, [this] { MarkChanged(); });
    for (QButtonGroup* group : {optRecog_, optVelo_, optHarmo_})
        connect(group, &QButtonGroup::idToggled, this, [this](int, bool on) {
            if (on) MarkChanged();
        });
    const auto pickSplit = [this] {
        splitPicked_ = true;
        MarkChanged();
        QPalette blue = palette();
        blue.setColor(QPalette::ButtonText, Qt::blue);
        blue.setColor(QPalette::Text, Qt::blue);
        cboSplit_->setPalette(blue);
    };
    connect(cboSplit_, &QComboBox::currentIndexChanged, this, pickSplit);
    // Choosing the entry already shown (the greyed C 4 while the keys differ) is a choice too.
    connect(cboSplit_, &QComboBox::activated, this, pickSplit);
}

void FParArg::lstMidi_DblClick(int function) {
    if (function < 0 || function >= vx::ArgRecord::kChannels) return;
    std::vector<std::string> entries;
    for (int channel = 1; channel <= 16; ++channel) entries.push_back(std::to_string(channel));
    // Only the functions after K.Bass may be switched off.
    const bool mayBeOff = function >= vx::ArgRecord::kFirstMayBeOff;
    if (mayBeOff) entries.push_back("OFF");
    QListWidgetItem* item = lstMidi_->item(function);
    const int value = item->data(Qt::UserRole).toInt();
    const int preselected = value < 16 ? value : mayBeOff && value == vx::ArgRecord::kChannelOff ? 16 : -1;
    const std::string role = vx::TrimBlanks(vx::ChannelRoleName[static_cast<std::size_t>(function)]);
    const int chosen = session_.Ui().PickMidiChannel("MIDI Channel of " + role, entries, preselected);
    if (chosen < 0) return;
    const int stored = chosen == 16 ? vx::ArgRecord::kChannelOff : chosen;
    item->setData(Qt::UserRole, stored);
    item->setText(ChannelText(function, stored));
    MarkChanged();
}

vx::ArgRecord FParArg::Result() const {
    vx::ArgRecord r = record_;
    for (int i = 0; i < vx::ArgRecord::kChannels; ++i) r.SetChannel(i, lstMidi_->item(i)->data(Qt::UserRole).toInt());
    for (int i = 0; i < vx::kArgSwitchCount; ++i)
        r.SetSwitch(static_cast<vx::ArgSwitch>(i), switches_[static_cast<std::size_t>(i)]->isChecked());
    // An option group with nothing set (a stored value beyond its choices) keeps the byte.
    if (optHarmo_->checkedId() >= 0) r.SetHarmonyType(optHarmo_->checkedId());
    if (optVelo_->checkedId() >= 0) r.SetVelocityControl(optVelo_->checkedId());
    if (optRecog_->checkedId() >= 0) r.SetChordRecognition(optRecog_->checkedId());
    return r;
}

int FParArg::ChosenSplitKey() const { return splitPicked_ ? cboSplit_->currentIndex() + vx::kFirstSplitKey : -1; }

void ShowArg(vx::Session& session, int set, QWidget* parent) {
    FParArg dialog(session, set, parent);
    dialog.exec();
    if (dialog.Changed()) {
        session.Data(set).arg.record = dialog.Result();
        session.MarkDirty(set, vx::ItemKind::ArrangementGlobal);
        session.Changes().Publish(vx::SetChange::Kind(set, vx::ItemKind::ArrangementGlobal));
        // Opening the dialog wrote nothing: the arrangements change only when a key was picked.
        if (const int key = dialog.ChosenSplitKey(); key >= 0) {
            for (vx::ArrangementRecord& record : session.Data(set).arr.arr) record.SetSplit(key);
            session.MarkDirty(set, vx::ItemKind::Arrangement);
            session.Changes().Publish(vx::SetChange::Kind(set, vx::ItemKind::Arrangement));
        }
    }
    RunGlobalActions(session, set, vx::ItemKind::ArrangementGlobal, dialog, parent);
}

}  // namespace vxe
