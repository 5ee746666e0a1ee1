#include "cli/metrics_output.h"

#include <new>

#include "cli/command_status.h"
#include "data/metrics_text.h"
#include "model/grid_analysis.h"
#include "model/number_text.h"
#include "request/metrics_request.h"

namespace orbitograph {

std::string CheckMetricsOptions(const RenderOptions& o) {
    if (!o.metrics.wanted) return o.metricsTuned ? "--metrics-box, --metrics-k and --metrics-of: need --metrics" : "";
    if (o.metrics.of != MetricsOf::Attractor) return "";
    switch (CheckAnalysis(o.request.params, kDefaultAttractorDelta).value_or(AnalysisRefusal::DeltaNotValid)) {
        case AnalysisRefusal::TooManyPoints:
            return "--metrics-of attractor: the attractors are found on grids of at most " +
                   FormatInt(kMaxAnalysisStartPoints) + " start points";
        case AnalysisRefusal::TooManyIterations:
            return "--metrics-of attractor: the attractors are found with at most 2147483646 iterations";
        case AnalysisRefusal::DeltaNotValid: break;
    }
    return "";
}

void RequestMetricsGrid(const RenderOptions& o, ComputeControl& control) {
    if (!o.metrics.wanted) return;
    if (o.metrics.of == MetricsOf::Kinds)
        control.kindGrid = true;
    else
        control.analysis = true;
}

std::optional<std::string> MetricsOutput(const RenderOptions& o, const FractalModel& model) {
    if (!o.metrics.wanted) return std::string();
    try {
        return MetricsJson(MetricsOfGrid(o.request.params, model, o.metrics));
    } catch (const std::bad_alloc&) {
        Complain("not enough memory for the metrics of this grid");
        return std::nullopt;
    }
}

}  // namespace orbitograph
