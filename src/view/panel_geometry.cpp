#include "view/panel_geometry.h"

#include <cmath>
#include <limits>

namespace orbitograph {

std::int32_t TruncToInt32(double v) {
    constexpr double lo = static_cast<double>(std::numeric_limits<std::int32_t>::min());
    constexpr double hi = static_cast<double>(std::numeric_limits<std::int32_t>::max());
    if (std::isnan(v)) return 0;
    if (v <= lo) return std::numeric_limits<std::int32_t>::min();
    if (v >= hi) return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(v);
}

std::int32_t AttractorShift(double h) { return TruncToInt32(-2.0 / h - 20.0); }

std::int32_t BasinShift(double x1, double x2, double h) {
    return TruncToInt32((x1 + (x2 - x1) * 0.5) / h + 2.0 / h + 20.0);
}

}  // namespace orbitograph
