#include "view/fitted_geometry.h"

#include <algorithm>
#include <cmath>

#include "model/grid.h"

namespace orbitograph {

namespace {

// floor(a / b) and ceil(a / b) for a >= 0, b > 0.
std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b; }
std::int64_t CeilDiv(std::int64_t a, std::int64_t b) { return (a + b - 1) / b; }

}  // namespace

AxisFit::Run AxisFit::GridRun(std::int64_t pixel) const {
    if (grid >= pixels) return {CeilDiv(pixel * grid, pixels), CeilDiv((pixel + 1) * grid, pixels)};
    const std::int64_t g = FloorDiv(pixel * grid, pixels);
    return {g, g + 1};
}

AxisFit::Run AxisFit::PixelRun(std::int64_t index) const {
    if (grid >= pixels) {
        const std::int64_t p = FloorDiv(index * pixels, grid);
        return {p, p + 1};
    }
    return {CeilDiv(index * pixels, grid), CeilDiv((index + 1) * pixels, grid)};
}

namespace {

// The panels in the client area's part of width x height pixels whose
// top-left corner is (x0, 0).
FittedLayout LayOutPanels(std::int32_t x0, std::int32_t width, std::int32_t height, bool twoPanels, bool basinsAlone,
                          std::int64_t columns, std::int64_t rows) {
    FittedLayout f;
    std::int32_t side = 0;
    if (twoPanels) {
        side = std::min((width - 60) / 2, height - 40);
        if (side < 1) return f;
        const std::int32_t top = (height - side) / 2;
        f.attractors = f.basins = true;
        f.attractorSquare = {x0 + width / 2 - 20 - side, top, side, side};
        f.basinSquare = {x0 + width / 2 + 20, top, side, side};
    } else {
        side = std::min(width, height) - 40;
        if (side < 1) return f;
        const PixelRect square{x0 + (width - side) / 2, (height - side) / 2, side, side};
        (basinsAlone ? f.basinSquare : f.attractorSquare) = square;
        (basinsAlone ? f.basins : f.attractors) = true;
    }
    if (f.basins && columns > 0 && rows > 0) {
        const std::int64_t longer = std::max(columns, rows);
        const std::int64_t shorter = std::min(columns, rows);
        const auto across =
            static_cast<std::int32_t>(std::max<std::int64_t>(1, (side * shorter + longer / 2) / longer));
        const std::int32_t w = columns >= rows ? side : across;
        const std::int32_t h = columns >= rows ? across : side;
        f.basinArea = {f.basinSquare.left + (side - w) / 2, f.basinSquare.top + (side - h) / 2, w, h};
    }
    return f;
}

std::int32_t PanelSide(const FittedLayout& f) {
    return f.attractors ? f.attractorSquare.width : f.basins ? f.basinSquare.width : 0;
}

}  // namespace

FittedLayout LayOutFitted(std::int32_t width, std::int32_t height, bool twoPanels, bool basinsAlone,
                          std::int64_t columns, std::int64_t rows, const FittedOverlays& overlays) {
    const OverlaySize* items[2] = {&overlays.report, &overlays.legend};
    FittedLayout best;
    bool bestFits = false;
    bool first = true;
    for (int inBand = 0; inBand < 4; ++inBand) {
        // Bit i set: item i in the bottom band; an item not shown stays out.
        if (((inBand & 1) && items[0]->Empty()) || ((inBand & 2) && items[1]->Empty())) continue;
        PixelRect at[2];
        std::int32_t columnWidth = 0, columnBottom = 0, bandHeight = 0;
        for (int i = 0; i < 2; ++i) {
            if (items[i]->Empty() || (inBand >> i & 1)) continue;
            at[i] = {kOverlayGap, columnBottom + kOverlayGap, items[i]->width, items[i]->height};
            columnBottom = at[i].top + at[i].height;
            columnWidth = std::max(columnWidth, items[i]->width);
        }
        for (int i = 0; i < 2; ++i)
            if (inBand >> i & 1) bandHeight = std::max(bandHeight, items[i]->height);
        std::int32_t bandRight = 0;
        for (int i = 0, x = kOverlayGap; i < 2; ++i) {
            if (!(inBand >> i & 1)) continue;
            at[i] = {x, height - kOverlayGap - bandHeight, items[i]->width, items[i]->height};
            bandRight = x + items[i]->width;
            x += items[i]->width + kOverlayGap;
        }
        const std::int32_t x0 = columnWidth > 0 ? columnWidth + kOverlayGap : 0;
        const std::int32_t y1 = bandHeight > 0 ? height - bandHeight - kOverlayGap : height;
        FittedLayout f = LayOutPanels(x0, width - x0, y1, twoPanels, basinsAlone, columns, rows);
        f.report = at[0];
        f.legend = at[1];
        const bool fits = columnBottom <= y1 && bandRight <= width;
        if (first || (fits && !bestFits) || (fits == bestFits && PanelSide(f) > PanelSide(best))) {
            best = f;
            bestFits = fits;
        }
        first = false;
    }
    return best;
}

double SquareX(std::int32_t column, std::int32_t side) { return (column + 0.5) * 4.0 / side - 2.0; }
double SquareY(std::int32_t row, std::int32_t side) { return 2.0 - (row + 0.5) * 4.0 / side; }

ListGrid ListGridOf(const ModelParams& p, std::int32_t originX, std::int32_t originY) {
    const BasinPlacement place = ComputeBasinPlacement(p);
    ListGrid g;
    g.columns = CountColumns(p);
    g.rows = CountRows(p);
    g.pxFirst = std::int64_t{originX} - place.centreColumn + place.firstColumn;
    g.pyFirst = std::int64_t{originY} - place.firstRow + place.centreRow;
    return g;
}

}  // namespace orbitograph
