#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/fractal_model.h"

namespace orbitograph::python {

// The parameters as the module's keywords name them ("a", "dc_outward",
// "x1", ...): what a ValueError names.
const char* KeywordOf(ParamField f);

// The label code of a kind: 0 infinity, 1 zero, 2 T, 3 O, 4 M, 5 H, 255 no list.
std::uint8_t LabelOf(EndKind kind);

// Throws std::invalid_argument with "KEYWORD: reason" for parameters that
// CheckParameters refuses, or for a thread count outside 0 (every core) to
// kMaxThreads.
void CheckComputation(const ModelParams& p, int threads);

// One computed grid with everything the module hands to Python. The model
// holds the lists (for the origin in listsOriginX/Y), the kind grid, the
// attractors' exact end points and the report; the labels are in grid order
// (column by column from x1, within a column from y1).
struct GridData {
    FractalModel model;
    std::int32_t listsOriginX = 0;
    std::int32_t listsOriginY = 0;
    std::vector<std::uint8_t> labels;  // label codes, one per start point
    std::vector<double> columnsX;      // the accumulated grid coordinates
    std::vector<double> rowsY;
    std::size_t columns = 0;           // of the grid, whether or not the above were moved out
    std::size_t rows = 0;
    std::string countsJson;            // the headless command's --counts line
    std::string reportText;            // the report as the command prints it
};

// Computes the grid for checked parameters at this origin; empty when
// cancelled. Throws std::bad_alloc when memory runs out.
std::optional<GridData> ComputeGridData(const ModelParams& p, std::int32_t originX, std::int32_t originY,
                                        int threads, const std::atomic<bool>& cancel);

// The end point of every start point in grid order, written into endX and
// endY (each kinds.size() long): NaN where the orbit ends outside the
// square. Made on demand: 16 bytes per start point that most analyses of
// the labels never need.
void FillEndPoints(const GridData& grid, double* endX, double* endY);

// The --counts line of a computation of these parameters.
std::string CountsJsonOf(const ModelParams& p, const SpaceLists& lists);

}  // namespace orbitograph::python
