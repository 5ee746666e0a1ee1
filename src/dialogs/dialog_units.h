#pragma once

#include <QFont>
#include <QRect>
#include <QSize>

namespace orbitograph {

// Converts dialog-template units into pixels for one font: a horizontal unit
// is a quarter of the font's average letter width, a vertical unit an eighth
// of its line height, so a dialog laid out in these units keeps its
// proportions whatever font the desktop gives it.
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
