#pragma once

#include <QString>

#include "model/grid_analysis.h"

namespace orbitograph {

// Why the window does without the analysis of every orbit, in the words of
// its messages: what is refused, why, and what the window does instead (the
// basins coloured by kind, the dock "Аттракторы" closed).
QString AnalysisRefusalWords(AnalysisRefusal refusal);

}  // namespace orbitograph
