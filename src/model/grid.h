#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/model_params.h"

namespace orbitograph {

// One side of the grid of start points: the coordinates lo, lo + step, ...
// while <= hi, each the previous double plus step (never lo + k * step), so
// that rounding accumulates exactly as in a walk by repeated addition. Empty
// unless lo <= hi. Requires a step that CheckParameters accepts.
//
// A side of at most kKeepAll coordinates keeps all of them (at most 1 MB),
// and At and Fill copy them. A longer side keeps every kSpacing-th
// coordinate only (8 bytes per 256), so that its memory stays small for any
// shape of grid; any other coordinate is regenerated, bit for bit, by fewer
// than kSpacing additions from the kept one before it. Building the side
// walks it once.
class GridSide {
public:
    static constexpr std::size_t kSpacing = 256;
    static constexpr std::size_t kKeepAll = std::size_t{1} << 17;

    GridSide(double lo, double hi, double step);

    std::size_t Count() const { return m_count; }
    double Step() const { return m_step; }
    // The coordinate number k < Count().
    double At(std::size_t k) const;
    // The coordinates k, k + 1, ..., k + n - 1 (all < Count()) into out.
    void Fill(std::size_t k, std::size_t n, double* out) const;

private:
    double m_step;
    std::size_t m_count = 0;
    std::vector<double> m_kept;  // coordinate number i * kSpacing at i
    std::vector<double> m_all;   // every coordinate, or empty beyond kKeepAll
};

// The start points first, ..., first + n - 1 of the grid xs by ys in grid
// order (column by column, within a column row by row) into x and y: a run
// of column segments, the column's x repeated and the rows' y in order, bit
// for bit the coordinates of the walk. Requires sides of one step and
// first + n <= xs.Count() * ys.Count().
void FillStartPoints(const GridSide& xs, const GridSide& ys, std::size_t first, std::size_t n, double* x, double* y);

// Every coordinate of one side of the grid, from lo while <= hi, each the
// previous plus step: bit for bit the coordinates the computation starts its
// orbits from. Empty unless lo <= hi. Requires a step that CheckParameters
// accepts.
std::vector<double> AxisCoordinates(double lo, double hi, double step);

// The number of coordinates of the side from lo to hi, counted by the walk;
// a count above `limit` stops the walk and gives limit + 1.
std::int64_t CountSide(double lo, double hi, double step, std::int64_t limit);

// A lower bound of that count, from one division: a side this long cannot
// be shorter, so a grid too large by this bound needs no walk at all.
std::int64_t SideCountAtLeast(double lo, double hi, double step);

// The integer placement of the basin pixels: px = originX - centreColumn +
// columnIndex, py = originY - rowIndex + centreRow, with the column index
// starting at firstColumn and the row index at firstRow, each +1 per point.
struct BasinPlacement {
    std::int32_t centreColumn;
    std::int32_t centreRow;
    std::int32_t firstColumn;
    std::int32_t firstRow;
};

BasinPlacement ComputeBasinPlacement(const ModelParams& p);

}  // namespace orbitograph
