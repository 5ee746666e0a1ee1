#include "view/point_layers.h"

namespace orbitograph {

namespace {

bool EnsureThirtyTwoBits(QImage& canvas) {
    if (canvas.isNull()) return false;
    if (canvas.depth() != 32) canvas.convertTo(QImage::Format_ARGB32);
    return canvas.depth() == 32;
}

// Writes colour at map(point) for every point that lands on the canvas.
// Coordinates are 64-bit, so no shift or translation can overflow; one
// unsigned comparison per axis rejects both negative and too large values.
template <class Map>
void Plot(QImage& canvas, const PointList& points, QRgb colour, Map map) {
    if (points.empty() || !EnsureThirtyTwoBits(canvas)) return;
    uchar* const bits = canvas.bits();
    const qsizetype bytesPerLine = canvas.bytesPerLine();
    const auto width = static_cast<std::uint64_t>(canvas.width());
    const auto height = static_cast<std::uint64_t>(canvas.height());
    for (const Point& p : points) {
        const auto [x, y] = map(p);
        if (static_cast<std::uint64_t>(x) < width && static_cast<std::uint64_t>(y) < height) {
            reinterpret_cast<QRgb*>(bits + static_cast<qsizetype>(y) * bytesPerLine)[x] = colour;
        }
    }
}

struct Pixel {
    std::int64_t x;
    std::int64_t y;
};

}  // namespace

void PlotPoints(QImage& canvas, const PointList& points, std::int32_t shift, QRgb colour) {
    const std::int64_t s = shift;
    Plot(canvas, points, colour, [s](const Point& p) { return Pixel{p.x + s, p.y}; });
}

void DrawAttractors(QImage& canvas, const PointList& attractors, std::int32_t shift, bool copy,
                    const ClientRect& clientRect) {
    if (!copy) {
        PlotPoints(canvas, attractors, shift, kAttractorColour);
        return;
    }
    // The copy is the drawing point (px - shift, py) turned half a turn about
    // the origin and translated by (w, H): its 1 x 1 cell
    // [px - s, px - s + 1] x [py, py + 1] lands on the pixel
    // (w - 1 - px + s, H - 1 - py).
    const std::int64_t xBase = std::int64_t{clientRect.Width()} - 1 + shift;
    const std::int64_t yBase = std::int64_t{clientRect.Height()} - 1;
    Plot(canvas, attractors, kAttractorCopyColour, [xBase, yBase](const Point& p) {
        return Pixel{xBase - p.x, yBase - p.y};
    });
}

void DrawBasins(QImage& canvas, const FractalModel& model, std::int32_t shift) {
    PlotPoints(canvas, model.basinInfinity, shift, kBasinInfinityColour);
    PlotPoints(canvas, model.basinZero, shift, kBasinZeroColour);
    PlotPoints(canvas, model.basinO, shift, kBasinOColour);
    PlotPoints(canvas, model.basinT, shift, kBasinTColour);
    PlotPoints(canvas, model.basinM, shift, kBasinMColour);
    PlotPoints(canvas, model.basinH, shift, kBasinHColour);
}

}  // namespace orbitograph
