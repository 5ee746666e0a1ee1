#pragma once

#include <cstdint>
#include <vector>

#include "model/model_params.h"

namespace orbitograph {

// The accumulated grid coordinates lo, lo + step, ... while <= hi: each the
// previous double plus step, never lo + k * step. Empty when lo > hi.
std::vector<double> GridCoordinates(double lo, double hi, double step);

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
