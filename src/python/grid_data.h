#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/fractal_model.h"

namespace orbitograph::python {

// Throws std::invalid_argument with "KEYWORD: reason" (the parameter's
// Python keyword) for parameters that
// CheckParameters refuses, or for a thread count outside 0 (every core) to
// kMaxThreads.
void CheckComputation(const ModelParams& p, int threads);

// One computed grid with everything the module hands to Python. The model
// holds the lists (for the origin in listsOriginX/Y), the kind grid and the
// attractors' end points (which the fitted display draws from) and the
// report. The labels and the end points are in grid order (column by column
// from x1, within a column from y1).
struct GridData {
    FractalModel model;
    std::int32_t listsOriginX = 0;
    std::int32_t listsOriginY = 0;
    std::vector<std::uint8_t> labels;  // label codes (model/grid_labels.h), one per start point
    GridEnds ends;                     // the engine's end point of every start point
    std::vector<double> columnsX;      // the accumulated grid coordinates
    std::vector<double> rowsY;
    std::size_t columns = 0;  // of the grid, whether or not the above were moved out
    std::size_t rows = 0;
    std::string countsJson;  // the headless command's --counts line
    std::string reportText;  // the report as the command prints it
};

// What compute() asks the engine for besides the lists: the kind grid, the
// attractors' end points and every start point's end point.
ComputeControl GridDataControl(int threads, const std::atomic<bool>& cancel);

// Computes the grid for checked parameters at this origin; empty when
// cancelled. Throws std::bad_alloc when memory runs out.
std::optional<GridData> ComputeGridData(const ModelParams& p, std::int32_t originX, std::int32_t originY, int threads,
                                        const std::atomic<bool>& cancel);

}  // namespace orbitograph::python
