#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "model/fractal_model.h"

namespace orbitograph::python {

// What compute() asks of one grid: the analysis, and with what merge distance.
struct AnalysisAsked {
    bool analysis = false;
    double delta = kDefaultAttractorDelta;
};

// Throws std::invalid_argument with "KEYWORD: reason" (the parameter's
// Python keyword) for parameters that
// CheckParameters refuses, or for a thread count outside 0 (every core) to
// kMaxThreads; and, when the analysis is asked for, for an analysis that
// CheckAnalysis refuses ("delta: ..." or "analysis: ...").
void CheckComputation(const ModelParams& p, int threads, AnalysisAsked asked = {});

// One computed grid with everything the module hands to Python. The model
// holds the lists (for the origin in listsOriginX/Y), the kind grid and the
// attractors' end points (which the fitted display draws from) and the
// report. The labels and the end points are in grid order (column by column
// from x1, within a column from y1).
struct GridData {
    FractalModel model;  // drawing sets its origin: hold *drawing meanwhile
    std::unique_ptr<std::mutex> drawing = std::make_unique<std::mutex>();
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
    // With the analysis of every orbit (in model.analysis) and its merge
    // distance; the --analysis line.
    bool analysed = false;
    double attractorDelta = kDefaultAttractorDelta;
    std::string analysisJson;
};

// What compute() asks the engine for besides the lists: the kind grid, the
// attractors' end points and every start point's end point.
ComputeControl GridDataControl(int threads, const std::atomic<bool>& cancel, AnalysisAsked asked = {});

// Computes the grid for checked parameters at this origin; empty when
// cancelled. Throws std::bad_alloc when memory runs out.
std::optional<GridData> ComputeGridData(const ModelParams& p, std::int32_t originX, std::int32_t originY, int threads,
                                        const std::atomic<bool>& cancel, AnalysisAsked asked = {});

}  // namespace orbitograph::python
