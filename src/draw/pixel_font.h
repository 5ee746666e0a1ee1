#pragma once

#include <QFont>
#include <QString>

class QPainter;

namespace orbitograph {

// The family "Arial" at a size in pixels, regular. Where Arial itself is not
// installed the font system substitutes its metric-compatible equivalent
// (Liberation Sans), or failing that whatever it has. The hinting is fixed
// (vertical only), so the glyphs do not depend on the platform plugin or the
// desktop's font settings.
QFont ArialPixelFont(int pixelSize);

// The painter's font line spacing in pixels: the distance between the
// baselines of two consecutive lines (ascent + descent + leading).
double LineSpacing(const QPainter& painter);

// Draws text with the painter's font and pen, its layout box's top-left
// corner at (x, y), without wrapping or clipping; a line feed starts a new
// line, so a text made of a line feed alone draws nothing.
void DrawTextAt(QPainter& painter, double x, double y, const QString& text);

}  // namespace orbitograph
