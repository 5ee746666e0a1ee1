#pragma once

// The analysis and the metrics of every parameter set of a sweep or a
// plane, as the front ends ask for them beside the counts.

#include <optional>
#include <vector>

#include "model/compute_spaces.h"
#include "model/continuation.h"
#include "model/grid_analysis.h"
#include "request/metrics_request.h"

namespace orbitograph {

struct SetAnalysisRequest {
    bool analysis = false;  // the attractor catalogue of every set
    double delta = kDefaultAttractorDelta;
    MetricsRequest metrics;  // metrics.wanted: the metrics of every set
};

// What one set gives: its counts (equal to ComputeCountsOfSets'), and what
// was asked for of the catalogue (empty otherwise) and the metrics.
struct SetAnalysis {
    ListCounts counts;
    std::vector<AttractorEntry> attractors;
    std::optional<LabelMetrics> metrics;
};

// One full computation per set, one after the other, each on
// control.threads threads: the sets must pass CheckParameters and, with the
// analysis (asked for, or needed by metrics of the attractors), CheckAnalysis
// with the distance; std::invalid_argument otherwise. Progress runs over all
// sets; nothing is returned when cancelled; std::bad_alloc when memory runs
// out.
std::optional<std::vector<SetAnalysis>> AnalyseSets(const std::vector<ModelParams>& sets,
                                                    const SetAnalysisRequest& request,
                                                    const ComputeControl& control = {});

// The counts of every set, in order.
std::vector<ListCounts> CountsOf(const std::vector<SetAnalysis>& sets);

// The catalogues of analysed sets (request.analysis was true) for
// ContinueAttractors.
std::vector<CatalogueAt> Catalogues(const std::vector<ModelParams>& sets, std::vector<SetAnalysis>&& analysed);

}  // namespace orbitograph
