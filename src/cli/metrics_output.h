#pragma once

#include <optional>
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

// The --metrics object of the computed model (MetricsJson); empty when the
// options do not ask for it. Complains and returns nullopt when the memory
// for the metrics is lacking.
std::optional<std::string> MetricsOutput(const RenderOptions& o, const FractalModel& model);

}  // namespace orbitograph
