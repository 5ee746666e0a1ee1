#include "view/parameter_text.h"

#include <QPainter>

#include "draw/pixel_font.h"
#include "view/panel_geometry.h"

namespace orbitograph {

void DrawParameterText(QImage& canvas, const ReportLines& report, std::int32_t fontSize) {
    if (canvas.isNull() || report.empty() || fontSize < 1) return;
    QPainter painter(&canvas);
    painter.setFont(ArialPixelFont(fontSize));
    painter.setPen(QColor::fromRgba(kParameterTextColour));
    const double lineSpacing = LineSpacing(painter);
    std::int32_t y = 0;
    for (const std::string& line : report) {
        // Lines move only downwards; once one starts below the canvas the
        // rest cannot be seen.
        if (y >= canvas.height()) break;
        DrawTextAt(painter, 0.0, y, QString::fromStdString(line));
        y = TruncToInt32(y + lineSpacing + 1.0);
    }
}

}  // namespace orbitograph
