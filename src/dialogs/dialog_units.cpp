#include "dialogs/dialog_units.h"

#include <QFontMetricsF>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <cmath>

namespace orbitograph {

namespace {

// The base units of the classic 8-point dialog font at 96 dpi, for which
// the layouts were made: at these the legend dialog's picture control,
// 173 x 160 units, holds its 260 x 260 pixel bitmap. Smaller units would
// clip the bitmap and push it into the controls around it.
constexpr int kMinBaseX = 6;
constexpr int kMinBaseY = 13;

}  // namespace

DialogUnits::DialogUnits(const QFont& font) {
    const QFontMetricsF metrics(font);
    // Twice the average width of the 52 Latin letters, halved with rounding.
    const int letters = static_cast<int>(
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")));
    m_baseX = std::max((letters / 26 + 1) / 2, kMinBaseX);
    // The letters' cell, ascent and descent, in whole pixels.
    m_baseY = std::max(static_cast<int>(std::ceil(metrics.height())), kMinBaseY);
}

QFont DialogFont() {
    QFont font;
    font.setFamilies(QStringList{QStringLiteral("MS Shell Dlg 2"), QStringLiteral("Tahoma"),
                                 QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    font.setPointSize(8);
    return font;
}

int DialogUnits::X(int units) const { return (units * m_baseX + 2) / 4; }
int DialogUnits::Y(int units) const { return (units * m_baseY + 4) / 8; }

QRect DialogUnits::Rect(int x, int y, int width, int height) const { return QRect(X(x), Y(y), X(width), Y(height)); }

QSize DialogUnits::Size(int width, int height) const { return QSize(X(width), Y(height)); }

}  // namespace orbitograph
