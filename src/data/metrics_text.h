#pragma once

#include <string>

#include "model/label_metrics.h"

namespace orbitograph {

// The metrics as one JSON object: {"Sb": .., "Sbb": .., "boundary_boxes": ..,
// "boxes": .., "f": {"K": .., ...}, "alpha": ..}, the reals as the shortest
// text that reads back as exactly them, NaN as null.
std::string MetricsJson(const LabelMetrics& m);

}  // namespace orbitograph
