#include "editor/reports/FReport.h"

#include <QApplication>
#include <QFontMetricsF>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTextDocument>
#include <algorithm>
#include <cmath>

#include "core/interaction/Interaction.h"
#include "core/reports/SetReport.h"
#include "core/storage/Session.h"
#include "core/text/KindErrors.h"
#include "editor/views/ViewSetup.h"

namespace vxe {

namespace {

constexpr int kWindowTwips = 11085;
constexpr int kInitialHeightTwips = 7200;
constexpr int kMinHeightTwips = 960;
constexpr int kTextBoxReserveTwips = 1035;
constexpr int kButtonsFromBottomTwips = 810;
constexpr int kMarginTwips = 120;
constexpr int kButtonHeightTwips = 375;
constexpr int kLeadingEmptyLines = 4;

}  // namespace

QStringList PrintedLines(const QString& line, int width) {
    const QString indent =
        QString::fromLatin1(vx::kReportContinuation.data(), static_cast<qsizetype>(vx::kReportContinuation.size()));
    QStringList lines;
    QString rest = line;
    while (rest.size() > width) {
        // Broken after the last ", " that fits; a line without one is cut at the width.
        const qsizetype comma = rest.lastIndexOf(QStringLiteral(", "), width - 1);
        const qsizetype cut = comma > indent.size() ? comma + 2 : width;
        QString head = rest.left(cut);
        while (head.endsWith(QLatin1Char(' '))) head.chop(1);
        lines << head;
        rest = indent + rest.mid(cut);
    }
    lines << rest;
    return lines;
}

bool PrintReportText(const QString& text, const QFont& font, QPrinter& printer) {
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    const QRectF page(QPointF(0, 0), printer.pageLayout().paintRectPixels(printer.resolution()).size());
    QFont printed = font;
    const qreal lineWidth = QFontMetricsF(printed, &printer).horizontalAdvance(QString(vx::kReportWidth, 'M'));
    if (lineWidth > page.width() && lineWidth > 0)
        printed.setPointSizeF(printed.pointSizeF() * page.width() / lineWidth);
    painter.setFont(printed);
    const QFontMetricsF metrics(printed, &printer);

    QStringList lines;
    for (const QString& line : QString(text).remove('\r').split('\n')) lines << PrintedLines(line, vx::kReportWidth);
    if (!lines.isEmpty() && lines.back().isEmpty()) lines.removeLast();
    for (int i = 0; i < kLeadingEmptyLines; ++i) lines.prepend(QString());
    qreal y = metrics.ascent();
    for (const QString& line : lines) {
        if (y + metrics.descent() > page.height()) {
            printer.newPage();
            y = metrics.ascent();
        }
        painter.drawText(QPointF(0, y), line);
        y += metrics.lineSpacing();
    }
    return painter.end();
}

FReport::FReport(vx::Session& session, int set, std::string report, QWidget* parent)
    : QWidget(parent, Qt::Window),
      session_(session),
      set_(set),
      report_(std::move(report)),
      setDirectory_(session.Slot(set).directory),
      setName_(session.Slot(set).name),
      printer_(std::make_unique<QPrinter>(QPrinter::HighResolution)) {
    setObjectName("FReport");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle("Report on " + QString::fromStdString(setName_));

    txtRep_ = new QPlainTextEdit(this);
    txtRep_->setObjectName("txtRep");
    txtRep_->setFont(FixedPitchFont());
    txtRep_->setReadOnly(true);
    txtRep_->setLineWrapMode(QPlainTextEdit::NoWrap);
    txtRep_->setPlainText(Latin1(report_).remove('\r'));

    auto button = [this](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(name);
        return b;
    };
    cmdPrint_ = button("cmdPrint", "&Print Report");
    cmdSetPrnt_ = button("cmdSetPrnt", "Printer Se&tup...");
    cmdSave_ = button("cmdSave", "&Save to File...");
    cmdClose_ = button("cmdClose", "&Close");
    connect(cmdPrint_, &QPushButton::clicked, this, [this] { cmdPrint_Click(); });
    connect(cmdSetPrnt_, &QPushButton::clicked, this, [this] { cmdSetPrnt_Click(); });
    connect(cmdSave_, &QPushButton::clicked, this, [this] { cmdSave_Click(); });
    connect(cmdClose_, &QPushButton::clicked, this, &QWidget::close);

    // Wide enough for a whole report line in the text box's fixed-pitch font.
    const int lineWidth = QFontMetrics(txtRep_->font()).horizontalAdvance(QString(vx::kReportWidth, QLatin1Char('M')));
    const int textBox = lineWidth + 2 * static_cast<int>(std::ceil(txtRep_->document()->documentMargin())) +
                        2 * txtRep_->frameWidth() + txtRep_->verticalScrollBar()->sizeHint().width() +
                        txtRep_->cursorWidth() + 2;
    const int width = std::max(TwipsToPixels(*this, kWindowTwips), textBox + 2 * TwipsToPixels(*this, kMarginTwips));
    setFixedWidth(width);
    resize(width, TwipsToPixels(*this, kInitialHeightTwips));
}

FReport::~FReport() = default;

void FReport::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const int inner = height();
    if (inner <= TwipsToPixels(*this, kMinHeightTwips)) return;
    const int margin = TwipsToPixels(*this, kMarginTwips);
    const int usable = width() - 2 * margin;
    txtRep_->setGeometry(margin, margin, usable, inner - TwipsToPixels(*this, kTextBoxReserveTwips));
    const int top = inner - TwipsToPixels(*this, kButtonsFromBottomTwips);
    const int buttonHeight = TwipsToPixels(*this, kButtonHeightTwips);
    QPushButton* buttons[] = {cmdPrint_, cmdSetPrnt_, cmdSave_, cmdClose_};
    const int count = static_cast<int>(std::size(buttons));
    const int step = usable / count;
    for (int i = 0; i < count; ++i) buttons[i]->setGeometry(margin + i * step, top, step - margin, buttonHeight);
}

bool FReport::cmdPrint_Click() {
    bool printed = false;
    {
        const vx::BusyPointer busy(session_.Ui());
        printed = PrintReportText(Latin1(report_), txtRep_->font(), *printer_);
    }
    if (!printed) vx::ShowError(session_.Ui(), "Error printing the Report.\nCheck the printer with Printer Setup.");
    return printed;
}

void FReport::cmdSetPrnt_Click() {
    QPrintDialog dialog(printer_.get(), this);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.exec();
}

bool FReport::cmdSave_Click() { return vx::SaveReportToFile(session_.Ui(), setDirectory_, setName_, report_); }

}  // namespace vxe
