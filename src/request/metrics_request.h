#pragma once

// The metrics of a computed grid (model/label_metrics.h) as a front end asks
// for them: of which labels, with which box and distances.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "model/label_metrics.h"
#include "model/point_list.h"

namespace orbitograph {

// The labels measured: the kind codes (model/grid_labels.h) or the
// attractor numbers of the analysis (model/grid_analysis.h).
enum class MetricsOf { Kinds, Attractor };

struct MetricsRequest {
    bool wanted = false;
    std::int32_t box = kDefaultMetricsBox;
    std::vector<std::int32_t> ks{std::begin(kDefaultMetricsDistances), std::end(kDefaultMetricsDistances)};
    MetricsOf of = MetricsOf::Kinds;
};

// Most distances one request lists.
inline constexpr std::size_t kMaxMetricsDistances = 64;

// Reading an option's value: true, or false with error set to one line
// naming the option. A box side from 1 to 2^31 - 1; distances as
// increasing positive integers separated by commas; "kinds" or "attractor".
bool ReadMetricsBox(MetricsRequest& m, std::string_view option, std::string_view text, std::string& error);
bool ReadMetricsDistances(MetricsRequest& m, std::string_view option, std::string_view text, std::string& error);
bool ReadMetricsOf(MetricsRequest& m, std::string_view option, std::string_view text, std::string& error);

// The metrics of a grid computed for p with the kinds (ComputeControl::
// kindGrid) or, for MetricsOf::Attractor, the analysis; the grid's row 0 is
// its lowest (y1), its step p.step. std::invalid_argument when the lists
// lack what is measured.
LabelMetrics MetricsOfGrid(const ModelParams& p, const SpaceLists& lists, const MetricsRequest& m);

}  // namespace orbitograph
