#include "editor/shell/FOptions.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace vxe {

namespace {

QCheckBox* AddCheck(QWidget* parent, QVBoxLayout* layout, const char* name, const QString& text, int value) {
    auto* box = new QCheckBox(text, parent);
    box->setObjectName(QLatin1String(name));
    box->setChecked(value == 1);
    layout->addWidget(box);
    return box;
}

}  // namespace

FOptions::FOptions(const vx::Options& options, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FOptions"));
    setWindowTitle(QStringLiteral("Options"));
    auto* layout = new QVBoxLayout(this);
    chkStartOld_ = AddCheck(this, layout, "chkStartOld", QStringLiteral("Open last Set at Start-up"), options.StartOld);
    chkWarnDupl_ = AddCheck(this, layout, "chkWarnDupl", QStringLiteral("Duplicate name warning"), options.WarnDupl);
    chkHighCall_ = AddCheck(this, layout, "chkHighCall", QStringLiteral("Highlight called Items"), options.HighCall);
    auto* close = new QPushButton(QStringLiteral("&Close"), this);
    close->setObjectName(QStringLiteral("cmdClose"));
    close->setDefault(true);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(close);
    layout->addLayout(row);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
}

void FOptions::ReadBack(vx::Options& options) const {
    options.StartOld = chkStartOld_->isChecked() ? 1 : 0;
    options.WarnDupl = chkWarnDupl_->isChecked() ? 1 : 0;
    options.HighCall = chkHighCall_->isChecked() ? 1 : 0;
}

void FOptions::closeEvent(QCloseEvent* event) {
    // Closing by the frame is the same as Close.
    event->ignore();
    accept();
}

}  // namespace vxe
