#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/compute_spaces.h"
#include "model/model_params.h"

namespace orbitograph {

// UTF-8 lines of the report, in drawing order.
using ReportLines = std::vector<std::string>;

// The 19 report lines for these parameters and counts.
ReportLines BuildReport(const ModelParams& p, const ListCounts& counts);

}  // namespace orbitograph
