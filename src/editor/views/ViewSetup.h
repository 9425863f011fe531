#pragma once

#include <cstdint>
#include <string>

#include <QString>

class QAbstractItemView;
class QColor;
class QFont;
class QPalette;
class QTableView;
class QWidget;

namespace vxe {

// Item texts are single-byte characters.
inline QString Latin1(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// Cell texts, list rows and reports are names padded to 16 characters: they line up in a fixed pitch.
QFont FixedPitchFont();

// A 0x00BBGGRR colour; a system colour (top bit set) becomes the palette's disabled text colour.
QColor ColourOf(std::uint32_t colour, const QPalette& palette);

// Pixels of a length in twips on this widget's screen.
int TwipsToPixels(const QWidget& widget, int twips);

// Pixels of a row of rowTwips, at least one line of the widget's font.
int RowHeight(const QWidget& widget, int rowTwips);

// Lays a grid's rows out: rows of rowTwips (at least one line of text) that keep their height,
// and a grid of at least a few rows (a longer one scrolls). Columns start at columnTwips until
// a ColumnFitter fits them to the grid's width.
void SetupView(QTableView& view, int rows, int columnTwips, int rowTwips);
// The same for a list: exactly rows lines high.
void SetupListView(QAbstractItemView& view, int rows, int rowTwips);

}  // namespace vxe
