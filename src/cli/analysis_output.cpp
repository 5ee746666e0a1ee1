#include "cli/analysis_output.h"

#include <cstdio>

#include "data/analysis_text.h"
#include "request/refusal_text.h"

namespace orbitograph {

bool NeedsAnalysis(const RenderOptions& o) {
    return o.analysis || (o.request.display.colourBy != BasinColouring::Kinds && !o.output.empty());
}

void AskForAnalysis(const RenderOptions& o, ComputeControl& control) {
    control.analysis = NeedsAnalysis(o);
    control.attractorDelta = o.request.attractorDelta;
}

std::string CheckAnalysisOptions(const RenderOptions& o) {
    // A sweep's values are checked one by one (CheckSweepOptions).
    if (!NeedsAnalysis(o) || o.sweeps.Active()) return {};
    const std::optional<AnalysisRefusal> refused = CheckAnalysis(o.request.params, o.request.attractorDelta);
    if (!refused) return {};
    return std::string(o.analysis ? "--analysis" : "--colour-by") + ": " + AnalysisRefusalText(*refused);
}

void PrintAnalysis(const RenderOptions& o, const FractalModel& model, const std::string& metrics) {
    if (!o.analysis) return;
    std::string json = AnalysisJson(model.analysis);
    if (!metrics.empty()) json.insert(json.size() - 1, ", \"metrics\": " + metrics);
    std::printf("%s\n", json.c_str());
}

}  // namespace orbitograph
