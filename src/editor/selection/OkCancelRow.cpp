#include "editor/selection/OkCancelRow.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

namespace vxe {

QPushButton* AddOkCancelRow(QDialog& dialog, QBoxLayout& layout) {
    auto* cmdOK = new QPushButton("OK", &dialog);
    cmdOK->setObjectName("cmdOK");
    cmdOK->setDefault(true);
    auto* cmdCancel = new QPushButton("Cancel", &dialog);
    cmdCancel->setObjectName("cmdCancel");
    QObject::connect(cmdCancel, &QPushButton::clicked, &dialog, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    layout.addLayout(buttons);
    return cmdOK;
}

}  // namespace vxe
