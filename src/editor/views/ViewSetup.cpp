#include "editor/views/ViewSetup.h"

#include <QAbstractItemView>
#include <QColor>
#include <QFont>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QHeaderView>
#include <QPalette>
#include <QScrollBar>
#include <QTableView>

#include <algorithm>
#include <cmath>

namespace vxe {

namespace {
constexpr int kTwipsPerInch = 1440;
}  // namespace

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

int RowHeight(const QWidget& widget, int rowTwips) {
    return std::max(TwipsToPixels(widget, rowTwips), QFontMetrics(widget.font()).height() + 2);
}

void SetupView(QTableView& view, int rows, int columnTwips, int rowTwips) {
    // The columns' widths follow the grid's own width (ColumnFitter); this is where they start.
    view.horizontalHeader()->setDefaultSectionSize(TwipsToPixels(view, columnTwips));
    // Rows keep one height from the first fill on.
    const int rowHeight = RowHeight(view, rowTwips);
    QHeaderView& lines = *view.verticalHeader();
    lines.setMinimumSectionSize(rowHeight);
    lines.setDefaultSectionSize(rowHeight);
    lines.setSectionResizeMode(QHeaderView::Fixed);
    // Room for a few rows at least; the window's height decides the rest and a longer grid scrolls.
    int height = 2 * view.frameWidth() + std::min(rows, 4) * rowHeight;
    if (view.horizontalHeader()->isVisible()) height += view.horizontalHeader()->sizeHint().height();
    view.setMinimumHeight(height);
}

void SetupListView(QAbstractItemView& view, int rows, int rowTwips) {
    const int rowHeight = RowHeight(view, rowTwips);
    // The list is exactly as tall as its rows: no empty strip below them.
    view.setFixedHeight(2 * view.frameWidth() + rows * rowHeight);
}

}  // namespace vxe
