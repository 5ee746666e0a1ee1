#pragma once

#include <cstdint>

#include "model/model_params.h"

namespace orbitograph {

// A rectangle of canvas pixels: columns left .. left + width - 1, rows
// top .. top + height - 1. Empty when width or height is below 1.
struct PixelRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool Empty() const { return width < 1 || height < 1; }
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// One axis of a fitted panel: `grid` grid points spread evenly over `pixels`
// pixels, each grid point a cell of pixels / grid pixels starting at
// index * pixels / grid. When the grid is at least as fine as the pixels
// (grid >= pixels) every grid point falls into exactly one pixel,
// floor(index * pixels / grid), and every pixel holds at least one grid
// point; otherwise every pixel shows exactly one grid point,
// floor(pixel * grid / pixels), and a grid point covers a run of pixels.
// Either way pixel p holds grid point g exactly when g lies in GridRun(p) and
// p in PixelRun(g). grid and pixels are at least 1.
struct AxisFit {
    std::int64_t grid = 1;
    std::int64_t pixels = 1;
    struct Run {
        std::int64_t begin;
        std::int64_t end;  // one past the last
        friend bool operator==(const Run&, const Run&) = default;
    };
    Run GridRun(std::int64_t pixel) const;
    Run PixelRun(std::int64_t index) const;
};

// The sizes in pixels of the texts shown beside the panels of the fitted
// display: the parameter text and the legend (0 x 0: not shown).
struct OverlaySize {
    std::int32_t width = 0;
    std::int32_t height = 0;
    bool Empty() const { return width < 1 || height < 1; }
    friend bool operator==(const OverlaySize&, const OverlaySize&) = default;
};
struct FittedOverlays {
    OverlaySize report;
    OverlaySize legend;
    friend bool operator==(const FittedOverlays&, const FittedOverlays&) = default;
};

// Where the panels of the display that fits the window lie.
struct FittedLayout {
    bool attractors = false;    // the attractor panel is shown
    bool basins = false;        // the basin panel is shown
    PixelRect attractorSquare;  // the square [-2, 2]^2
    PixelRect basinSquare;      // the square the start rectangle is fitted into
    PixelRect basinArea;        // the start rectangle's grid, one cell per grid point
    PixelRect report;           // where the parameter text stands (empty: not shown)
    PixelRect legend;           // where the legend stands (empty: not shown)
};

// Two panels: each a square of side S = min((W - 60) / 2, H - 40) (integer
// division), the attractor square ending 20 pixels left of the centre column
// W / 2 and the basin square starting 20 pixels right of it, both centred
// vertically (top (H - S) / 2). One panel (basinsAlone chooses which): side
// min(W, H) - 40, centred. The basin area keeps the grid's proportions,
// columns : rows, its longer side spanning the square and the shorter one
// rounded to the nearest pixel (at least 1), centred in the square. A side
// below 1 shows nothing; an empty grid gives an empty area.
// The overlays shown take room of their own, where they cover no panel: each
// either in a column at the left edge (the parameter text above the legend)
// or in a band along the bottom edge (side by side, tops aligned), kOverlayGap
// pixels from the edges and from each other; the panels are then laid out as above in
// the rest of the client area, W minus the column's width and gap, H minus
// the band's height and gap. Of the placements whose column and band do not
// meet and whose band is no wider than the client area, the one giving the largest panels is taken (the first in the
// order all-column, text in the band, legend in the band, both in the band on a tie); when none fits, the one with the
// largest panels.
inline constexpr std::int32_t kOverlayGap = 10;
FittedLayout LayOutFitted(std::int32_t width, std::int32_t height, bool twoPanels, bool basinsAlone,
                          std::int64_t columns, std::int64_t rows, const FittedOverlays& overlays = {});

// The pixel column (or, with y, row counted downwards) of a model coordinate
// in the attractor square of the given side: floor((v + 2) * side / 4) for x
// and floor((2 - v) * side / 4) for y, the edge value 2 (or -2) put into the
// last pixel. v must lie in [-2, 2]. Scaling by side / 4 rounds as scaling
// by side and then by the power of two 1/4 does, and truncation is floor for
// the non-negative products.
inline std::int32_t SquareBin(double offset, std::int32_t side) {
    const auto bin = static_cast<std::int32_t>(offset * (side / 4.0));
    return bin < side ? bin : side - 1;
}
inline std::int32_t SquareColumn(double x, std::int32_t side) { return SquareBin(x + 2.0, side); }
inline std::int32_t SquareRow(double y, std::int32_t side) { return SquareBin(2.0 - y, side); }

// The model point at the centre of a pixel of the attractor square.
double SquareX(std::int32_t column, std::int32_t side);
double SquareY(std::int32_t row, std::int32_t side);

// The grid of a computation in the pixels its basin lists hold: the grid
// point of column index c (from 0 at x1) and row index r (from 0 at y1) has
// the pixel (pxFirst + c, pyFirst - r).
struct ListGrid {
    std::int64_t columns = 0;
    std::int64_t rows = 0;
    std::int64_t pxFirst = 0;
    std::int64_t pyFirst = 0;
};

// For parameters that passed CheckParameters and the origin the lists were
// computed with.
ListGrid ListGridOf(const ModelParams& p, std::int32_t originX, std::int32_t originY);

}  // namespace orbitograph
