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

// Lays a grid out: columns of columnTwips (at least minChars digits of its font),
// rows of rowTwips (at least one line of text), and room for rows lines (a twin grid scrolls).
void SetupView(QTableView& view, int rows, int columnTwips, int rowTwips, int minChars);
// The same for a list: a visible height of rows lines.
void SetupListView(QAbstractItemView& view, int rows, int rowTwips);

}  // namespace vxe
