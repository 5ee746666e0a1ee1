#pragma once

// --analysis: what every orbit does and the attractors it settles on
// (model/grid_analysis.h), as the command asks for it and prints it.

#include <string>

#include "cli/render_options.h"
#include "model/compute_spaces.h"
#include "model/fractal_model.h"

namespace orbitograph {

// True when the computation analyses every orbit: for --analysis, and for a
// picture whose basins are coloured by a value of the analysis.
bool NeedsAnalysis(const RenderOptions& o);

// Asks control for the analysis the options need, with their merge distance.
void AskForAnalysis(const RenderOptions& o, ComputeControl& control);

// Why the options' analysis is refused, one line naming the option that
// asked for it; empty when it is not (or none is needed).
std::string CheckAnalysisOptions(const RenderOptions& o);

// Prints the --analysis line (AnalysisJson) when the options ask for it,
// with the --metrics object under the key "metrics" when metrics is not
// empty, so that standard output stays one JSON object.
void PrintAnalysis(const RenderOptions& o, const FractalModel& model, const std::string& metrics);

}  // namespace orbitograph
