#include "selection/FInNote.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace vxe {

FInNote::FInNote(const QString& caption, const QString& label, const QStringList& entries, int preselected,
                 QWidget* parent)
    : QDialog(parent) {
    setObjectName("FInNote");
    setWindowTitle(caption);
    lblNote_ = new QLabel(label, this);
    lblNote_->setObjectName("lblNote");
    cboNote_ = new QComboBox(this);
    cboNote_->setObjectName("cboNote");
    cboNote_->addItems(entries);
    cboNote_->setCurrentIndex(preselected >= 0 && preselected < entries.size() ? preselected : -1);
    lblNote_->setBuddy(cboNote_);

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
    layout->addWidget(lblNote_);
    layout->addWidget(cboNote_);
    layout->addLayout(buttons);

    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);
}

void FInNote::cmdOK_Click() {
    if (cboNote_->currentIndex() < 0) return;
    chosen_ = true;
    accept();
}

int FInNote::Chosen() const { return chosen_ ? cboNote_->currentIndex() : -1; }

}  // namespace vxe
