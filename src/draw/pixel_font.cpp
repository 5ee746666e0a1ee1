#include "draw/pixel_font.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QRectF>

namespace orbitograph {

QFont ArialPixelFont(int pixelSize) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixelSize);
    font.setHintingPreference(QFont::PreferVerticalHinting);
    return font;
}

double LineSpacing(const QPainter& painter) { return QFontMetricsF(painter.font(), painter.device()).lineSpacing(); }

void DrawTextAt(QPainter& painter, double x, double y, const QString& text) {
    painter.drawText(QRectF(x, y, 0.0, 0.0), Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, text);
}

}  // namespace orbitograph
