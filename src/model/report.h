#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "model/model_params.h"
#include "model/point_list.h"

namespace orbitograph {

// UTF-8 lines of the report, in drawing order.
using ReportLines = std::vector<std::string>;

// The sizes of the seven lists: counts of start points, repeats included.
struct ListCounts {
    std::int64_t attractors = 0;
    std::int64_t infinity = 0;
    std::int64_t zero = 0;
    std::int64_t t = 0;
    std::int64_t o = 0;
    std::int64_t m = 0;
    std::int64_t h = 0;

    static ListCounts Of(const SpaceLists& s);
};

// The 19 report lines for these parameters and counts.
ReportLines BuildReport(const ModelParams& p, const ListCounts& counts);

}  // namespace orbitograph
