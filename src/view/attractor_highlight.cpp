#include "view/attractor_highlight.h"

#include <QPainter>
#include <vector>

#include "model/classify.h"
#include "view/basin_colouring.h"
#include "view/fitted_frame.h"
#include "view/orbit_overlay.h"
#include "view/panel_geometry.h"

namespace orbitograph {

namespace {

QRgb* Row(QImage& canvas, std::int64_t y) { return reinterpret_cast<QRgb*>(canvas.bits() + y * canvas.bytesPerLine()); }

void DimPixel(QImage& canvas, std::int64_t x, std::int64_t y, QRgb background) {
    if (x < 0 || y < 0 || x >= canvas.width() || y >= canvas.height()) return;
    QRgb& pixel = Row(canvas, y)[x];
    pixel = Dimmed(pixel, background);
}

void DimClassic(QImage& canvas, const ViewState& view, std::span<const std::int32_t> ids, const ListGrid& grid,
                std::int32_t id, QRgb background) {
    const bool two = view.m_switches.m_twoModes;
    if (!two && !view.BasinsAlone()) return;
    const ModelParams p = view.Params();
    const std::int64_t shift = two ? BasinShift(p.x1, p.x2, p.step) : 0;
    for (std::int64_t c = 0; c < grid.columns; ++c) {
        for (std::int64_t r = 0; r < grid.rows; ++r) {
            if (ids[static_cast<std::size_t>(c * grid.rows + r)] != id)
                DimPixel(canvas, grid.pxFirst + c + shift, grid.pyFirst - r, background);
        }
    }
}

void DimFitted(QImage& canvas, const ViewState& view, std::span<const std::int32_t> ids, const ListGrid& grid,
               std::int32_t id, QRgb background) {
    const FittedLayout f = FittedLayoutOf(view);
    const PixelRect& area = f.basinArea;
    if (!f.basins || area.Empty()) return;
    const AxisFit across{grid.columns, area.width};
    const AxisFit up{grid.rows, area.height};
    std::vector<AxisFit::Run> rowRuns(static_cast<std::size_t>(area.height));
    for (std::int64_t u = 0; u < area.height; ++u) rowRuns[static_cast<std::size_t>(u)] = up.GridRun(u);
    for (std::int64_t q = 0; q < area.width; ++q) {
        const AxisFit::Run columns = across.GridRun(q);
        for (std::int64_t u = 0; u < area.height; ++u) {
            const AxisFit::Run rows = rowRuns[static_cast<std::size_t>(u)];
            bool holds = false;
            for (std::int64_t c = columns.begin; c < columns.end && !holds; ++c) {
                for (std::int64_t r = rows.begin; r < rows.end && !holds; ++r)
                    holds = ids[static_cast<std::size_t>(c * grid.rows + r)] == id;
            }
            if (!holds) DimPixel(canvas, area.left + q, std::int64_t{area.top} + area.height - 1 - u, background);
        }
    }
}

}  // namespace

QRgb Dimmed(QRgb colour, QRgb background) {
    const auto mix = [](int c, int b) { return b + (c - b) / 4; };
    return qRgba(mix(qRed(colour), qRed(background)), mix(qGreen(colour), qGreen(background)),
                 mix(qBlue(colour), qBlue(background)), qAlpha(colour));
}

void DimOtherBasins(QImage& canvas, const ViewState& view, const SpaceLists& lists, std::int32_t id, QRgb background) {
    const ListGrid grid = ListGridOfView(view);
    if (canvas.format() != QImage::Format_ARGB32 || !HoldsAnalysis(lists, grid)) return;
    const std::span<const std::int32_t> ids = lists.analysis.Attractor();
    if (view.m_switches.m_fitWindow)
        DimFitted(canvas, view, ids, grid, id, background);
    else
        DimClassic(canvas, view, ids, grid, id, background);
}

void DrawAttractorCycle(QImage& canvas, const ViewState& view, std::span<const State> states, QRgb colour) {
    const std::optional<AttractorPanelMap> map = AttractorPanelOf(view);
    if (!map || map->panel.Empty() || states.empty()) return;
    QPainter painter(&canvas);
    painter.setClipRect(QRect(map->panel.left, map->panel.top, map->panel.width, map->panel.height));
    for (const State& s : states) {
        if (!InsideSquare(s.x, s.y)) continue;
        const QPoint p = map->Pixel(s.x, s.y);
        painter.fillRect(QRect(p.x() - 4, p.y() - 4, 9, 9), Qt::black);
        painter.fillRect(QRect(p.x() - 3, p.y() - 3, 7, 7), QColor::fromRgba(colour));
    }
}

}  // namespace orbitograph
