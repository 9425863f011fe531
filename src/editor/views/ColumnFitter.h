#pragma once

#include <QFont>
#include <QObject>
#include <vector>

class QTableView;

namespace vxe {

// Keeps a grid's columns fitted to the grid's width: each column at least as wide as its text
// (a number of digits of the grid's font), the columns that stretch sharing what is left. When
// even the narrowest text does not fit, the font steps down a little (never below a legible
// size) before the grid scrolls sideways; the rows keep their height.
class ColumnFitter : public QObject {
public:
    struct Column {
        int chars = 0;
        bool stretch = true;
    };
    // Attaches to the grid and its model, which must be set (one fitter per grid; a second
    // call replaces the columns).
    static ColumnFitter& Attach(QTableView& grid, std::vector<Column> columns);

    // The grid's fitter, or nullptr.
    static const ColumnFitter* Of(const QTableView& grid);
    // The width of the columns at the grid's own font size, without stretching.
    int FullWidth() const { return NeededWidth(baseFont_); }

    // Lays the columns out for the grid's width now.
    void Fit();
    // The pixel size of the font the grid uses now.
    int PixelSize() const;

    static constexpr int kSmallestPixelSize = 10;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ColumnFitter(QTableView& grid, std::vector<Column> columns);
    int NeededWidth(const QFont& font) const;
    void FitOnce();

    QTableView& grid_;
    const QObject* viewport_;
    std::vector<Column> columns_;
    QFont baseFont_;
    bool fitting_ = false;
    bool refit_ = false;
};

}  // namespace vxe
