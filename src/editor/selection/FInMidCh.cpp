#include "editor/selection/FInMidCh.h"

#include <QComboBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "editor/selection/OkCancelRow.h"

namespace vxe {

FInMidCh::FInMidCh(const QString& caption, const QStringList& entries, int preselected, QWidget* parent)
    : QDialog(parent) {
    setObjectName("FInMidCh");
    setWindowTitle(caption.isEmpty() ? QString("MIDI Channel Selection") : caption);
    cboMidCh_ = new QComboBox(this);
    cboMidCh_->setObjectName("cboMidCh");
    cboMidCh_->addItems(entries);
    cboMidCh_->setCurrentIndex(preselected >= 0 && preselected < entries.size() ? preselected : -1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(cboMidCh_);
    auto* cmdOK = AddOkCancelRow(*this, *layout);

    connect(cmdOK, &QPushButton::clicked, this, [this] {
        chosen_ = true;
        accept();
    });
}

int FInMidCh::Chosen() const { return chosen_ ? cboMidCh_->currentIndex() : -1; }

}  // namespace vxe
