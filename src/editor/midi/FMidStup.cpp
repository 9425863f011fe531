#include "editor/midi/FMidStup.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

#include "core/interaction/Interaction.h"
#include "core/midi/MidiLink.h"

namespace vxe {

namespace {

QComboBox* PortCombo(QWidget* parent, const char* name, const std::vector<std::string>& ports, int preselected) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    for (const auto& port : ports) combo->addItem(QString::fromStdString(port));
    combo->setCurrentIndex(preselected);
    return combo;
}

}  // namespace

FMidStup::FMidStup(vx::MidiLink& link, const vx::MidiPortLists& lists, const std::string& problem, QWidget* parent)
    : QDialog(parent), link_(link) {
    setObjectName("FMidStup");
    setWindowTitle("MIDI Setup");
    auto* grid = new QGridLayout(this);
    cboMidOut_ = PortCombo(this, "cboMidOut", lists.outputs, lists.preferredOutput);
    cboMidIn_ = PortCombo(this, "cboMidIn", lists.inputs, lists.preferredInput);
    grid->addWidget(new QLabel("MIDI Out Device", this), 0, 0);
    grid->addWidget(cboMidOut_, 0, 1);
    grid->addWidget(new QLabel("MIDI In Device", this), 1, 0);
    grid->addWidget(cboMidIn_, 1, 1);
    auto* buttons = new QHBoxLayout;
    cmdOK_ = new QPushButton("OK", this);
    cmdOK_->setObjectName("cmdOK");
    cmdOK_->setDefault(true);
    auto* cmdCancel = new QPushButton("&Cancel", this);
    cmdCancel->setObjectName("cmdCancel");
    buttons->addStretch();
    buttons->addWidget(cmdOK_);
    buttons->addWidget(cmdCancel);
    auto* interfaceLabel =
        new QLabel("MIDI interface: " + (lists.interfaceName.empty() ? QString("none opened")
                                                                     : QString::fromStdString(lists.interfaceName)),
                   this);
    interfaceLabel->setObjectName("lblInterface");
    grid->addWidget(interfaceLabel, 2, 0, 1, 2);
    if (!problem.empty()) {
        auto* problemLabel = new QLabel(QString::fromStdString(problem), this);
        problemLabel->setObjectName("lblProblem");
        problemLabel->setWordWrap(true);
        problemLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
        grid->addWidget(problemLabel, 3, 0, 1, 2);
    }
    grid->addLayout(buttons, 4, 0, 1, 2);
    // Detection needs a port on each side.
    cmdOK_->setEnabled(!lists.outputs.empty() && !lists.inputs.empty());
    connect(cmdOK_, &QPushButton::clicked, this, &FMidStup::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void FMidStup::cmdOK_Click() {
    cmdOK_->setEnabled(false);
    link_.Detect(cboMidOut_->currentIndex(), cboMidIn_->currentIndex());
    cmdOK_->setEnabled(true);
    accept();
}

void MidiSetup(vx::MidiLink& link, QWidget* parent) {
    vx::MidiPortLists lists;
    std::string problem;
    link.ReadPorts(lists, problem);
    FMidStup dialog(link, lists, problem, parent);
    dialog.exec();
    link.Ui().Pause(0.2);
}

}  // namespace vxe
