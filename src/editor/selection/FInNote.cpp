#include "editor/selection/FInNote.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "editor/selection/OkCancelRow.h"

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

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblNote_);
    layout->addWidget(cboNote_);
    auto* cmdOK = AddOkCancelRow(*this, *layout);

    connect(cmdOK, &QPushButton::clicked, this, [this] { cmdOK_Click(); });
}

void FInNote::cmdOK_Click() {
    if (cboNote_->currentIndex() < 0) return;
    chosen_ = true;
    accept();
}

int FInNote::Chosen() const { return chosen_ ? cboNote_->currentIndex() : -1; }

}  // namespace vxe
