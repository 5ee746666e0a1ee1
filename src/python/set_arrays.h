#pragma once

// Sweeps and planes analysed in full for the package: their results as
// dicts of NumPy arrays.

#include <pybind11/pybind11.h>

#include <vector>

#include "model/sweep.h"
#include "request/set_analysis.h"

namespace orbitograph::python {

// The counts (int64 [n, 8] under "counts", in the order of the --counts
// line) of every set, with request.analysis "cycles" (int32 [n]) and with
// request.metrics.wanted "Sb", "Sbb", "alpha" (float64 [n], NaN where
// undefined), "boundary_boxes" and "boxes" (int64 [n]). The sets were
// checked; releases the GIL and stops on Ctrl+C.
pybind11::dict AnalysedSets(const std::vector<ModelParams>& sets, const SetAnalysisRequest& request, int threads);

// The attractors' tracks over a sweep (model/continuation.h) as columns of
// one row per (value, track): "value" (float64), "track", "attractor",
// "period" (int32), "x", "y", "share" (float64).
pybind11::dict TrackColumns(const std::vector<ModelParams>& sets, const std::vector<double>& values, double delta,
                            double tolerance, int threads);

}  // namespace orbitograph::python
