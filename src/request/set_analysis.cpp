#include "request/set_analysis.h"

#include <stdexcept>

#include "request/request.h"

namespace orbitograph {

std::optional<std::vector<SetAnalysis>> AnalyseSets(const std::vector<ModelParams>& sets,
                                                    const SetAnalysisRequest& request, const ComputeControl& control) {
    const bool analyse = request.analysis || (request.metrics.wanted && request.metrics.of == MetricsOf::Attractor);
    for (const ModelParams& p : sets) {
        if (CheckParameters(p) || (analyse && CheckAnalysis(p, request.delta)))
            throw std::invalid_argument("a parameter set is refused for the analysis");
    }
    const PixelPoint origin = Request{}.Origin();
    std::vector<SetAnalysis> out;
    out.reserve(sets.size());
    for (std::size_t i = 0; i < sets.size(); ++i) {
        ComputeControl one = control;
        one.analysis = analyse;
        one.attractorDelta = request.delta;
        one.kindGrid = request.metrics.wanted && request.metrics.of == MetricsOf::Kinds;
        one.attractorEnds = one.startPointEnds = false;
        if (control.progress) {
            const double n = static_cast<double>(sets.size());
            one.progress = [&control, i, n](double f) { control.progress((static_cast<double>(i) + f) / n); };
        }
        std::optional<SpaceLists> lists = ComputeSpaces(sets[i], origin.x, origin.y, one);
        if (!lists) return std::nullopt;
        SetAnalysis& a = out.emplace_back();
        a.counts = CountsOf(sets[i], *lists);
        if (request.analysis) a.attractors = lists->analysis.attractors;
        if (request.metrics.wanted) a.metrics = MetricsOfGrid(sets[i], *lists, request.metrics);
    }
    if (control.progress && sets.empty() && !(control.cancel && control.cancel->load())) control.progress(1.0);
    return out;
}

std::vector<ListCounts> CountsOf(const std::vector<SetAnalysis>& sets) {
    std::vector<ListCounts> counts;
    for (const SetAnalysis& s : sets) counts.push_back(s.counts);
    return counts;
}

std::vector<CatalogueAt> Catalogues(const std::vector<ModelParams>& sets, std::vector<SetAnalysis>&& analysed) {
    std::vector<CatalogueAt> out;
    out.reserve(analysed.size());
    for (std::size_t i = 0; i < analysed.size() && i < sets.size(); ++i)
        out.push_back({sets[i], std::move(analysed[i].attractors), analysed[i].counts.startPoints});
    return out;
}

}  // namespace orbitograph
