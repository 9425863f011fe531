#include "editor/shell/FHelp.h"

#include <QFileInfo>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

#include "core/catalogue/Catalogue.h"

namespace vxe {

FHelp::FHelp(const QString& programDir, QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("FHelp"));
    const QString title = QString::fromUtf8(vx::kProgramTitle.data(), static_cast<qsizetype>(vx::kProgramTitle.size()));
    setWindowTitle(title + QStringLiteral(" Help"));
    browser_ = new QTextBrowser(this);
    browser_->setObjectName(QStringLiteral("txtHelp"));
    browser_->setOpenExternalLinks(true);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(browser_);
    resize(720, 560);

    const QString index = programDir + QStringLiteral("/manual/index.html");
    if (QFileInfo(index).isFile())
        browser_->setSource(QUrl::fromLocalFile(index));
    else
        browser_->setPlainText(QStringLiteral("Can't find ") + QStringLiteral("manual/index.html"));
}

}  // namespace vxe
