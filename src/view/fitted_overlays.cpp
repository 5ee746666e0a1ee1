#include "view/fitted_overlays.h"

#include <QFontMetricsF>
#include <algorithm>
#include <cmath>

#include "draw/pixel_font.h"
#include "legend/legend_panel.h"
#include "model/grid.h"
#include "model/report.h"
#include "view/basin_colouring.h"
#include "view/colouring_legend.h"
#include "view/fitted_frame.h"
#include "view/parameter_text.h"

namespace orbitograph {

namespace {

// The smallest rectangle holding every pixel of the image that is not fully
// transparent (empty for none).
QRect DrawnRect(const QImage& image) {
    int left = image.width(), right = -1, top = image.height(), bottom = -1;
    for (int y = 0; y < image.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (qAlpha(row[x]) == 0) continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

// Runs draw on a transparent image of width x height pixels and cuts it to
// what was drawn.
template <typename Draw>
QImage DrawnCut(std::int32_t width, std::int32_t height, const Draw& draw) {
    if (width < 1 || height < 1) return {};
    QImage scratch(width, height, QImage::Format_ARGB32_Premultiplied);
    if (scratch.isNull()) return {};
    scratch.fill(0);
    draw(scratch);
    const QRect drawn = DrawnRect(scratch);
    return drawn.isEmpty() ? QImage() : scratch.copy(drawn);
}

OverlaySize SizeOf(const QImage& image) { return {image.width(), image.height()}; }

// The report with every count as large as the grid: its lines are as wide
// as any these parameters give.
ReportLines WidestReport(const ModelParams& p) {
    const bool empty = !(p.x1 <= p.x2 && p.y1 <= p.y2);
    const std::int64_t all = empty ? 0 : CountColumns(p) * CountRows(p);
    ListCounts bound;
    bound.attractors = bound.zero = bound.infinity = bound.t = bound.o = bound.m = bound.h = all;
    return BuildReport(p, bound);
}

}  // namespace

FittedOverlayPictures DrawFittedOverlays(const ViewState& view, const FractalModel& model,
                                         const QImage* legendPicture) {
    FittedOverlayPictures o;
    const std::int32_t width = view.m_clientRect.Width();
    const std::int32_t height = view.m_clientRect.Height();
    const DisplaySwitches& s = view.m_switches;
    if (s.m_showParams && s.m_fontSize >= 1) {
        // Drawn on no more than the widest report's lines can cover.
        const ReportLines widestLines = WidestReport(view.Params());
        const QFontMetricsF metrics(ArialPixelFont(s.m_fontSize));
        double across = 0.0;
        for (const std::string& line : widestLines)
            across = std::max(across, metrics.horizontalAdvance(QString::fromStdString(line)));
        const double down = static_cast<double>(widestLines.size()) * (metrics.lineSpacing() + 2.0);
        const auto bound = [](double v, std::int32_t limit, std::int32_t pad) {
            return static_cast<std::int32_t>(std::min<double>(limit, std::ceil(v) + pad));
        };
        const std::int32_t w = bound(across, width, 2 * s.m_fontSize), h = bound(down, height, 2 * s.m_fontSize);
        const auto text = [&](const ReportLines& lines) {
            return DrawnCut(w, h, [&](QImage& c) { DrawParameterText(c, lines, s.m_fontSize); });
        };
        o.report = text(model.report);
        const QImage widest = text(widestLines);
        o.room.report = {std::max(o.report.width(), widest.width()), std::max(o.report.height(), widest.height())};
    }
    if (s.m_showLegend) {
        // Drawn for a client 400 pixels high, which puts its top at row 0.
        const bool hasPicture = legendPicture != nullptr && !legendPicture->isNull();
        const std::int32_t tall =
            hasPicture ? std::max(legendPicture->height(), legendPicture->width() + 64) + 16 : 400;
        const std::optional<AnalysisColumn> colouring = ShownColouring(view, model);
        // Wide enough for the panel's texts beside its picture and for any
        // colouring legend's lines.
        const std::int32_t wide = hasPicture ? legendPicture->width() + legendPicture->height() + 400 : 800;
        o.legend = DrawnCut(std::min(width, wide), std::min(height, std::max(400, tall)), [&](QImage& c) {
            if (colouring)
                DrawColouringLegend(c, model.analysis, *colouring, 400);
            else
                DrawLegend(c, view.m_legend, legendPicture, 400);
        });
        o.room.legend = SizeOf(o.legend);
    }
    return o;
}

}  // namespace orbitograph
