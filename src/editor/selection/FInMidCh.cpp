#include "selection/FInMidCh.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace vxe {

FInMidCh::FInMidCh(const QString& caption, const QStringList& entries, int preselected, QWidget* parent)
    : QDialog(parent) {
    setObjectName("FInMidCh");
    setWindowTitle(caption.isEmpty() ? QString("MIDI Channel Selection") : caption);
    cboMidCh_ = new QComboBox(this);
    cboMidCh_->setObjectName("cboMidCh");
    cboMidCh_->addItems(entries);
    cboMidCh_->setCurrentIndex(preselected >= 0 && preselected < entries.size() ? preselected : -1);

    auto* cmdOK = new QPushButton("OK", this);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setDefault(true);
    auto* cmdCancel = new QPushButton("Cancel", this);
    cmdCancel->setObjectName("cmdCancel");
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(cboMidCh_);
    layout->addLayout(buttons);

    connect(cmdOK, &QPushButton::clicked, this, [this] {
        chosen_ = true;
        accept();
    });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

int FInMidCh::Chosen() const { return chosen_ ? cboMidCh_->currentIndex() : -1; }

}  // namespace vxe
