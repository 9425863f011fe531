#include "editor/views/ColumnFitter.h"

#include <QEvent>
#include <QFontInfo>
#include <QFontMetrics>
#include <QHeaderView>
#include <QTableView>

#include <algorithm>

namespace vxe {

namespace {
// Room on either side of a cell's text.
constexpr int kCellPadding = 4;

int ColumnWidth(const QFontMetrics& metrics, int chars) {
    return metrics.horizontalAdvance(QString(chars, QLatin1Char('0'))) + 2 * kCellPadding;
}
}  // namespace

ColumnFitter::ColumnFitter(QTableView& grid, std::vector<Column> columns)
    : QObject(&grid), grid_(grid), viewport_(grid.viewport()), columns_(std::move(columns)), baseFont_(grid.font()) {
    setObjectName("columnFitter");
    grid_.horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid_.horizontalHeader()->setMinimumSectionSize(1);
    grid.viewport()->installEventFilter(this);
    // A refilled model gives its columns the default width again.
    if (grid_.model() != nullptr) connect(grid_.model(), &QAbstractItemModel::modelReset, this, [this] { Fit(); });
}

ColumnFitter& ColumnFitter::Attach(QTableView& grid, std::vector<Column> columns) {
    auto* fitter = const_cast<ColumnFitter*>(Of(grid));
    if (fitter == nullptr) {
        fitter = new ColumnFitter(grid, std::move(columns));
    } else {
        fitter->columns_ = std::move(columns);
    }
    fitter->Fit();
    return *fitter;
}

const ColumnFitter* ColumnFitter::Of(const QTableView& grid) {
    return grid.findChild<ColumnFitter*>("columnFitter", Qt::FindDirectChildrenOnly);
}

int ColumnFitter::NeededWidth(const QFont& font) const {
    const QFontMetrics metrics(font);
    int width = 0;
    for (const Column& column : columns_) width += ColumnWidth(metrics, column.chars);
    return width;
}

int ColumnFitter::PixelSize() const { return QFontInfo(grid_.font()).pixelSize(); }

void ColumnFitter::Fit() {
    // Widths that show or hide a scroll bar resize the viewport while they are set: that
    // resize fits again once this pass is over (twice at most, so a bar that comes and goes
    // cannot keep it busy).
    if (fitting_) {
        refit_ = true;
        return;
    }
    fitting_ = true;
    for (int pass = 0; pass < 3; ++pass) {
        refit_ = false;
        FitOnce();
        if (!refit_) break;
    }
    fitting_ = false;
}

void ColumnFitter::FitOnce() {
    const int available = grid_.viewport()->width();
    QFont font = baseFont_;
    const int basePixels = QFontInfo(baseFont_).pixelSize();
    // The grid's own size first; smaller only where it must be, and never below legible.
    for (int pixels = basePixels; pixels >= kSmallestPixelSize; --pixels) {
        font.setPixelSize(pixels);
        if (NeededWidth(font) <= available) break;
    }
    if (grid_.font() != font) grid_.setFont(font);
    const QFontMetrics metrics(font);
    const int needed = NeededWidth(font);
    const int stretching = static_cast<int>(
        std::count_if(columns_.begin(), columns_.end(), [](const Column& column) { return column.stretch; }));
    const int spare = std::max(0, available - needed);
    int given = 0;
    int stretchIndex = 0;
    for (std::size_t c = 0; c < columns_.size(); ++c) {
        int width = ColumnWidth(metrics, columns_[c].chars);
        if (columns_[c].stretch && stretching > 0) {
            // The last stretching column takes the rounding, so the columns end at the edge.
            ++stretchIndex;
            const int share = spare * stretchIndex / stretching - given;
            given += share;
            width += share;
        }
        grid_.setColumnWidth(static_cast<int>(c), width);
    }
}

bool ColumnFitter::eventFilter(QObject* watched, QEvent* event) {
    // Compared by address only: the grid may be half destroyed when its viewport's last events come.
    if (watched == viewport_ && event->type() == QEvent::Resize) Fit();
    return QObject::eventFilter(watched, event);
}

}  // namespace vxe
