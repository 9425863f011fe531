#include "editor/shell/FTip.h"

#include <QCheckBox>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRandomGenerator>
#include <QVBoxLayout>

#include "core/catalogue/Catalogue.h"

namespace vxe {

namespace {
constexpr qint64 kMaxTipsBytes = 1 << 20;
}

QStringList ReadTips(const QString& path, bool* found) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (found) *found = false;
        return {};
    }
    if (found) *found = true;
    // Single-byte text, lines ended by CR LF or LF.
    const QString text = QString::fromLatin1(file.read(kMaxTipsBytes));
    QStringList lines = text.split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    for (QString& line : lines)
        if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
    return lines;
}

FTip::FTip(const QString& programDir, bool showAtStartup, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FTip"));
    setWindowTitle(QStringLiteral("Tip of the Day"));

    auto* heading = new QLabel(QStringLiteral("Did you know..."), this);
    heading->setObjectName(QStringLiteral("lblDidYouKnow"));
    QFont big = heading->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.3);
    heading->setFont(big);
    lblTipText_ = new QLabel(this);
    lblTipText_->setObjectName(QStringLiteral("lblTipText"));
    lblTipText_->setTextFormat(Qt::PlainText);
    lblTipText_->setWordWrap(true);
    lblTipText_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblTipText_->setMinimumSize(360, 120);

    chkLoadTipsAtStartup_ = new QCheckBox(QStringLiteral("&Show Tips at Start-up"), this);
    chkLoadTipsAtStartup_->setObjectName(QStringLiteral("chkLoadTipsAtStartup"));
    chkLoadTipsAtStartup_->setToolTip(QStringLiteral("Uncheck to disable"));
    chkLoadTipsAtStartup_->setChecked(showAtStartup);

    auto* next = new QPushButton(QStringLiteral("&Next Tip"), this);
    next->setObjectName(QStringLiteral("cmdNextTip"));
    auto* close = new QPushButton(QStringLiteral("&Close"), this);
    close->setObjectName(QStringLiteral("cmdOK"));
    close->setDefault(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(chkLoadTipsAtStartup_);
    buttons->addStretch(1);
    buttons->addWidget(next);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addWidget(lblTipText_, 1);
    layout->addLayout(buttons);

    connect(next, &QPushButton::clicked, this, &FTip::cmdNext_Click);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    const QString fileName = QString::fromUtf8(vx::kTipsFile.data(), static_cast<qsizetype>(vx::kTipsFile.size()));
    bool found = false;
    tips_ = ReadTips(programDir + QLatin1Char('/') + fileName, &found);
    if (!found) {
        lblTipText_->setText(QStringLiteral("Can't find ") + fileName);
        next->setEnabled(false);
        return;
    }
    if (!tips_.isEmpty()) current_ = static_cast<int>(QRandomGenerator::global()->bounded(tips_.size()));
    ShowTip();
}

bool FTip::ShowAtStartup() const { return chkLoadTipsAtStartup_->isChecked(); }

QString FTip::CurrentTip() const { return lblTipText_->text(); }

void FTip::ShowTip() { lblTipText_->setText(tips_.isEmpty() ? QString() : tips_[current_]); }

void FTip::cmdNext_Click() {
    if (tips_.isEmpty()) return;
    current_ = (current_ + 1) % static_cast<int>(tips_.size());
    ShowTip();
}

}  // namespace vxe
