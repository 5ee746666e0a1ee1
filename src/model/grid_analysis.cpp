#include "model/grid_analysis.h"

#include <limits>

namespace orbitograph {

std::optional<AnalysisRefusal> CheckAnalysis(const ModelParams& p, double delta) {
    if (!(delta >= 0.0)) return AnalysisRefusal::DeltaNotValid;
    if (CountStartPoints(p) > kMaxAnalysisStartPoints) return AnalysisRefusal::TooManyPoints;
    if (p.iterations == std::numeric_limits<std::int32_t>::max()) return AnalysisRefusal::TooManyIterations;
    return std::nullopt;
}

}  // namespace orbitograph
