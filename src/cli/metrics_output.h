#pragma once

#include <string>

#include "cli/render_options.h"
#include "model/compute_spaces.h"
#include "model/fractal_model.h"

namespace orbitograph {

// Why the metrics options are refused on this command line; empty when
// they are not.
std::string CheckMetricsOptions(const RenderOptions& o);

// Asks the computation for the labels --metrics measures.
void RequestMetricsGrid(const RenderOptions& o, ComputeControl& control);

// Prints the --metrics line of the computed model; the exit status.
int PrintMetrics(const RenderOptions& o, const FractalModel& model);

}  // namespace orbitograph
