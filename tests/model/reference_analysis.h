#pragma once

#include <vector>

#include "model/grid_analysis.h"
#include "model/model_params.h"

namespace orbitograph::reference {

// A literal transcription of the analysis's definitions (grid_analysis.h):
// every orbit's states s_0 ... s_T kept whole, searched for the exit and the
// smallest repeat, and the attractor cycles merged by comparing every state
// with every other. The oracle of the engine's analysis; slow.
GridAnalysis Analyse(const ModelParams& p, double delta);
// The same for several merge distances, the orbits followed once.
std::vector<GridAnalysis> Analyse(const ModelParams& p, const std::vector<double>& deltas);

}  // namespace orbitograph::reference
