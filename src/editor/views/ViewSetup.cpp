#include "views/ViewSetup.h"

#include <QAbstractItemView>
#include <QColor>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QHeaderView>
#include <QPalette>
#include <QTableView>

#include <algorithm>
#include <cmath>

namespace vxe {

namespace {
constexpr int kTwipsPerInch = 1440;
}

QFont FixedPitchFont() {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setStyleHint(QFont::Monospace);
    font.setFixedPitch(true);
    return font;
}

QColor ColourOf(std::uint32_t colour, const QPalette& palette) {
    if (colour & 0x80000000u) return palette.color(QPalette::Disabled, QPalette::Text);
    return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                  static_cast<int>((colour >> 16) & 0xFF));
}

int TwipsToPixels(const QWidget& widget, int twips) {
    return static_cast<int>(std::lround(static_cast<double>(twips) * widget.logicalDpiX() / kTwipsPerInch));
}

void SetupView(QTableView& view, int rows, int columnTwips, int rowTwips, int minChars) {
    const QFontMetrics metrics(view.font());
    const int columnWidth =
        std::max(TwipsToPixels(view, columnTwips), metrics.horizontalAdvance(QString(minChars, QLatin1Char('0'))) + 10);
    const int rowHeight = std::max(TwipsToPixels(view, rowTwips), metrics.height() + 2);
    view.horizontalHeader()->setDefaultSectionSize(columnWidth);
    view.verticalHeader()->setDefaultSectionSize(rowHeight);
    view.verticalHeader()->setMinimumSectionSize(rowHeight);
    // Room for the rows, up to one bank; a twin grid scrolls.
    int height = 2 * view.frameWidth() + std::min(rows, 16) * rowHeight;
    if (view.horizontalHeader()->isVisible()) height += view.horizontalHeader()->sizeHint().height();
    view.setMinimumHeight(height);
}

void SetupListView(QAbstractItemView& view, int rows, int rowTwips) {
    const QFontMetrics metrics(view.font());
    const int rowHeight = std::max(TwipsToPixels(view, rowTwips), metrics.height() + 2);
    view.setMinimumHeight(2 * view.frameWidth() + rows * rowHeight);
}

}  // namespace vxe
