#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

namespace orbitograph {

// Converts dialog-template units into pixels for one font: a horizontal unit
// is a quarter of the font's average letter width, a vertical unit an eighth
// of its cell height (ascent and descent, rounded up to whole pixels), so a
// dialog laid out in these units keeps its proportions whatever font the
// desktop gives it. The units are never smaller than those of the classic
// 8-point dialog font at 96 dpi, 6 and 13 pixels per 4 and 8 units, for
// which the pictures in the layouts were made.
class DialogUnits {
public:
    explicit DialogUnits(const QFont& font);

    QRect Rect(int x, int y, int width, int height) const;
    QSize Size(int width, int height) const;
    int X(int units) const;
    int Y(int units) const;

private:
    int m_baseX;  // pixels per 4 horizontal units
    int m_baseY;  // pixels per 8 vertical units
};

// The font the dialogs are laid out for: 8 points of the classic dialog face
// or, on Linux, the metric-compatible Liberation Sans.
QFont DialogFont();

}  // namespace orbitograph
