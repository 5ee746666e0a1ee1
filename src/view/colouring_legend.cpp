#include "view/colouring_legend.h"

#include <QPainter>
#include <algorithm>

#include "draw/pixel_font.h"
#include "legend/legend_panel.h"
#include "view/basin_colouring.h"

namespace orbitograph {

namespace {

constexpr int kLineHeight = 16;
constexpr int kBarHeight = 256;

QString Number(std::int64_t v) { return QString::number(v); }

}  // namespace

std::vector<LegendLine> ColouringLegendLines(const GridAnalysis& a, AnalysisColumn column) {
    const BasinColours colours = BasinColoursOf(a, column);
    switch (column) {
        case AnalysisColumn::Attractor: {
            std::vector<LegendLine> lines{{QStringLiteral(u"Аттракторы"), 0}};
            const std::size_t shown = std::min<std::size_t>(a.attractors.size(), kLegendAttractors);
            for (std::size_t k = 0; k < shown; ++k) {
                const AttractorEntry& e = a.attractors[k];
                lines.push_back(
                    {QStringLiteral(u"Аттрактор ") + Number(e.id) + QStringLiteral(u", период ") + Number(e.period),
                     colours.Of(e.id)});
            }
            if (a.attractors.size() > shown)
                lines.push_back({QStringLiteral(u"и ещё ") + Number(std::int64_t(a.attractors.size() - shown)), 0});
            lines.push_back({QStringLiteral(u"Уходят из квадрата"), colours.Of(0)});
            lines.push_back({QStringLiteral(u"Не установились"), colours.Of(-1)});
            return lines;
        }
        case AnalysisColumn::ExitStep:
            return {{QStringLiteral(u"Шаг выхода из квадрата"), 0},
                    {Number(colours.largest), 0},
                    {Number(colours.smallest), 0},
                    {QStringLiteral(u"Не выходят из квадрата"), kNoValueColour}};
        case AnalysisColumn::CycleStart:
            return {{QStringLiteral(u"Начало цикла"), 0},
                    {Number(colours.largest), 0},
                    {Number(colours.smallest), 0},
                    {QStringLiteral(u"Без цикла"), kNoValueColour}};
        case AnalysisColumn::Period:
            return {{QStringLiteral(u"Период цикла"), 0},
                    {Number(colours.largest), 0},
                    {Number(colours.smallest), 0},
                    {QStringLiteral(u"Без цикла"), kNoValueColour}};
    }
    return {};
}

void DrawColouringLegend(QImage& canvas, const GridAnalysis& a, AnalysisColumn column, std::int32_t clientHeight) {
    if (canvas.isNull()) return;
    const std::vector<LegendLine> lines = ColouringLegendLines(a, column);
    const int left = 15, top = clientHeight - 400;
    QPainter painter(&canvas);
    painter.setFont(ArialPixelFont(kLegendFontSize));
    const auto swatch = [&painter](int x, int y, QRgb colour) {
        painter.fillRect(x, y, 12, 12, QColor::fromRgba(colour));
        painter.setPen(QColor::fromRgba(kLegendTextColour));
        painter.drawRect(x, y, 11, 11);
    };
    const auto text = [&painter](int x, int y, const QString& s) {
        painter.setPen(QColor::fromRgba(kLegendTextColour));
        DrawTextAt(painter, x, y, s);
    };
    text(left, top, lines.front().text);
    if (column == AnalysisColumn::Attractor) {
        for (std::size_t k = 1; k < lines.size(); ++k) {
            const int y = top + static_cast<int>(k) * kLineHeight;
            if (lines[k].swatch != 0) swatch(left, y + 2, lines[k].swatch);
            text(left + 18, y, lines[k].text);
        }
        return;
    }
    // The bar: row k from the top shows the value at t = 1 - k / 255.
    const int barTop = top + kLineHeight + 4;
    for (int k = 0; k < kBarHeight; ++k)
        painter.fillRect(left, barTop + k, 16, 1, QColor::fromRgba(ScaleColour(1.0 - k / 255.0)));
    text(left + 22, barTop - 2, lines[1].text);
    text(left + 22, barTop + kBarHeight - 14, lines[2].text);
    const int y = barTop + kBarHeight + 8;
    swatch(left, y + 2, lines[3].swatch);
    text(left + 18, y, lines[3].text);
}

}  // namespace orbitograph
