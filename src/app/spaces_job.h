#pragma once

// One computation of both spaces and the report, as a job for the window's
// job runner.

#include <cstdint>
#include <functional>
#include <optional>

#include "app/job_runner.h"
#include "model/compute_spaces.h"
#include "model/fractal_model.h"
#include "model/label_metrics.h"
#include "model/model_params.h"
#include "model/point_list.h"
#include "model/report.h"

namespace orbitograph {

// What one computation gives back: on Done the lists and the report of
// exactly these parameters and this origin; otherwise nothing.
struct ComputationOutcome {
    ComputeStatus status = ComputeStatus::Cancelled;
    // The request this answers; requests are numbered from 1 in the order made.
    std::uint64_t generation = 0;
    // Cancelled because no thread could be made for it.
    bool notStarted = false;
    ModelParams params;
    std::int32_t originX = 0;
    std::int32_t originY = 0;
    SpaceLists lists;
    ReportLines report;
    // A preview: params.step is the requested step times 2^coarseLevel
    // (same rectangle, coarser grid) and report stays empty; 0 for the
    // exact grid.
    int coarseLevel = 0;
    // The engine's wall time for this grid, in seconds.
    double seconds = 0.0;
    // When asked for (SpacesExtras::metrics): the metrics of the kinds and of
    // the attractor numbers of the grid.
    std::optional<LabelMetrics> kindMetrics;
    std::optional<LabelMetrics> attractorMetrics;
};

// What a computation computes besides the lists and the report.
struct SpacesExtras {
    // The attractors' exact end points and the kind grid (what the fitted
    // display reads).
    bool withEnds = false;
    // The analysis of every orbit (grid_analysis.h), its attractor cycles
    // merged within delta; the parameters and delta must pass CheckAnalysis.
    bool analysis = false;
    double delta = kDefaultAttractorDelta;
    // The grid's metrics at the default box and distances (with analysis
    // only); the kind grid is kept only when withEnds asks for it.
    bool metrics = false;
};

// The engine a computation runs: ComputeSpaces, or a stand-in in tests.
using SpacesEngine =
    std::function<std::optional<SpaceLists>(const ModelParams&, std::int32_t, std::int32_t, const ComputeControl&)>;

using SpacesRunner = JobRunner<ComputationOutcome>;

// The job: the engine's lists for these parameters (which must pass
// CheckParameters) and this origin (OriginAcceptable), and their report.
SpacesRunner::Job SpacesJob(SpacesEngine engine, const ModelParams& params, std::int32_t originX, std::int32_t originY,
                            const SpacesExtras& extras);

// The first preview level of a refinement: the smallest m >= 0 whose grid
// of step h * 2^m (a quarter of the points per level) is expected within
// budgetSeconds at secondsPerPoint, and at most the level that still leaves
// minSide points on each side of the grid. 0: no preview is worth making.
int FirstCoarseLevel(std::int64_t columns, std::int64_t rows, double secondsPerPoint, double budgetSeconds,
                     std::int64_t minSide = 16);

// The same rectangle with the step times 2^level (exact: a power of two).
ModelParams CoarseParams(const ModelParams& params, int level);

// SpacesJob preceded by previews: the grids of levels firstLevel, ..., 1,
// each handed on as a Partial delivery (coarseLevel set, no report, the
// analysis when extras asks for it but no metrics; not counted in the
// progress), then the exact grid as the job's result (with the attractors'
// end points and the kind grid whatever extras says). A
// cancel ends it between or within the passes.
SpacesRunner::Job RefiningSpacesJob(SpacesEngine engine, const ModelParams& params, std::int32_t originX,
                                    std::int32_t originY, const SpacesExtras& extras, int firstLevel);

// What a delivery of that job tells the window: the job's outcome when it
// is Done (or Partial); otherwise Cancelled with nothing, marked notStarted when no
// thread could be made, OutOfMemory or Refused for what the engine threw.
ComputationOutcome OutcomeOf(SpacesRunner::Delivery&& delivery);

}  // namespace orbitograph
