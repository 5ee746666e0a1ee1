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

FittedLayout LayOutFitted(std::int32_t width, std::int32_t height, bool twoPanels, bool basinsAlone,
                          std::int64_t columns, std::int64_t rows) {
    FittedLayout f;
    std::int32_t side = 0;
    if (twoPanels) {
        side = std::min((width - 60) / 2, height - 40);
        if (side < 1) return f;
        const std::int32_t top = (height - side) / 2;
        f.attractors = f.basins = true;
        f.attractorSquare = {width / 2 - 20 - side, top, side, side};
        f.basinSquare = {width / 2 + 20, top, side, side};
    } else {
        side = std::min(width, height) - 40;
        if (side < 1) return f;
        const PixelRect square{(width - side) / 2, (height - side) / 2, side, side};
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
