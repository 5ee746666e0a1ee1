#pragma once

#include <cstdint>

namespace orbitograph {

// Conversion of a double to a 32-bit integer toward zero. Values beyond the
// 32-bit range saturate at its ends (and not-a-number gives 0) instead of
// being undefined; within the range it is the plain truncation.
std::int32_t TruncToInt32(double v);

// Horizontal shifts of the two-panel layout, pixels: the attractor panel
// trunc(-2/h - 20), the basin panel trunc((X1 + (X2 - X1) * 0.5) / h + 2/h + 20).
// h > 0.
std::int32_t AttractorShift(double h);
std::int32_t BasinShift(double x1, double x2, double h);

}  // namespace orbitograph
