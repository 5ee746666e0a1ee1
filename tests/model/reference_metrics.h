#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/label_metrics.h"

namespace orbitograph::reference {

// A literal transcription of the metrics' definitions (label_metrics.h):
// every box's labels counted in an ordered map and every inner point
// compared with its four neighbours at each distance. The oracle of
// ComputeLabelMetrics; slow. L[i, j] is labels[i * cols + j].
LabelMetrics Metrics(const std::vector<std::int64_t>& labels, std::size_t rows, std::size_t cols, double step,
                     std::int32_t box, const std::vector<std::int32_t>& ks);

}  // namespace orbitograph::reference
