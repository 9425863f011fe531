#include "editor/presets/FInPrset.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "editor/selection/OkCancelRow.h"

namespace vxe {

FInPrset::FInPrset(const QString& caption, const QStringList& banks, int preselected, QWidget* parent)
    : QDialog(parent) {
    setObjectName("FInPrset");
    setWindowTitle(caption);
    cboBnk_ = new QComboBox(this);
    cboBnk_->setObjectName("cboBnk");
    cboBnk_->addItems(banks);
    cboBnk_->setCurrentIndex(preselected >= 0 && preselected < banks.size() ? preselected : -1);

    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    row->addWidget(new QLabel("Preset Bank", this));
    row->addWidget(cboBnk_, 1);
    layout->addLayout(row);
    auto* cmdOK = AddOkCancelRow(*this, *layout);
    findChild<QPushButton*>("cmdCancel")->setText("&Cancel");

    connect(cmdOK, &QPushButton::clicked, this, [this] {
        chosen_ = cboBnk_->currentIndex() >= 0;
        accept();
    });
}

int FInPrset::Chosen() const { return chosen_ ? cboBnk_->currentIndex() : -1; }

int FInPrsetPick(const QString& caption, const QStringList& banks, int preselected, QWidget* parent) {
    FInPrset dialog(caption, banks, preselected, parent);
    if (parent != nullptr) dialog.setWindowIcon(parent->window()->windowIcon());
    dialog.exec();
    return dialog.Chosen();
}

}  // namespace vxe
