#pragma once

#include "model/grid_analysis.h"
#include "model/model_params.h"

namespace orbitograph::reference {

// A literal transcription of the analysis's definitions (grid_analysis.h):
// every orbit's states s_0 ... s_T kept whole, searched for the exit and the
// smallest repeat, and the attractor cycles merged by comparing every state
// with every other. The oracle of the engine's analysis; slow.
GridAnalysis Analyse(const ModelParams& p, double delta);

}  // namespace orbitograph::reference
