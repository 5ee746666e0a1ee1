#include "view/grid_layer.h"

#include <algorithm>

#include "view/panel_geometry.h"

namespace orbitograph {

GridLines LayOutGrid(const ClientRect& r, std::int32_t shift, bool basinPanel, double h, double x1, double x2,
                     double y1, double y2) {
    const double cx = (r.left + r.right) / 2;
    const double cy = (r.top + r.bottom) / 2;
    double mx = 0.0;
    double my = 0.0;
    if (basinPanel) {
        mx = TruncToInt32((x1 + (x2 - x1) * 0.5) / h);
        my = TruncToInt32((y1 + (y2 - y1) * 0.5) / h);
    }
    const std::int64_t s = shift;
    GridLines g;
    for (int i = -2; i <= 2; ++i) {
        g.verticalX[i + 2] = s + TruncToInt32(i / h + cx - mx);
        g.horizontalY[i + 2] = TruncToInt32(i / h + cy + my);
    }
    g.top = TruncToInt32(cy - 2 / h + my);
    g.bottom = TruncToInt32(cy + 2 / h + my);
    // The left end gets the shift after the truncation, the right end before.
    g.left = s + TruncToInt32(cx - 2 / h - mx);
    g.right = TruncToInt32(cx + 2 / h - mx + static_cast<double>(shift));
    return g;
}

void DrawGrid(QImage& canvas, const GridLines& g) {
    if (canvas.isNull()) return;
    if (canvas.depth() != 32) canvas.convertTo(QImage::Format_ARGB32);
    if (canvas.depth() != 32) return;
    const std::int64_t width = canvas.width();
    const std::int64_t height = canvas.height();
    uchar* const bits = canvas.bits();
    const qsizetype bytesPerLine = canvas.bytesPerLine();
    auto row = [&](std::int64_t y) { return reinterpret_cast<QRgb*>(bits + static_cast<qsizetype>(y) * bytesPerLine); };

    const std::int64_t top = std::max<std::int64_t>(std::min(g.top, g.bottom), 0);
    const std::int64_t bottom = std::min<std::int64_t>(std::max(g.top, g.bottom), height - 1);
    for (const std::int64_t x : g.verticalX) {
        if (x < 0 || x >= width) continue;
        for (std::int64_t y = top; y <= bottom; ++y) row(y)[x] = kGridColour;
    }
    const std::int64_t left = std::max<std::int64_t>(std::min(g.left, g.right), 0);
    const std::int64_t right = std::min<std::int64_t>(std::max(g.left, g.right), width - 1);
    for (const std::int64_t y : g.horizontalY) {
        if (y < 0 || y >= height || left > right) continue;
        std::fill(row(y) + left, row(y) + right + 1, kGridColour);
    }
}

}  // namespace orbitograph
