#pragma once

// What a request asks of the machine, known before anything is computed:
// how a picture's description from an untrusted file is kept in bounds.

#include <cstdint>
#include <string>

#include "request/request.h"

namespace orbitograph {

struct RequestCost {
    std::int64_t startPoints = 0;   // points of the grid, one orbit each
    std::int64_t steps = 0;         // the most map steps of one orbit (iterations + 1)
    std::int64_t canvasPixels = 0;  // width x height
    // The most map steps of the whole computation (a double: up to 10^8 x 2^31).
    double MapSteps() const { return static_cast<double>(startPoints) * static_cast<double>(steps); }
};

RequestCost CostOf(const Request& r);

// The bounds of a request taken from a picture without being asked: about a
// minute of computing on one core and a canvas of 64 MB.
inline constexpr double kMaxQuietMapSteps = 1e10;
inline constexpr std::int64_t kMaxQuietCanvasPixels = std::int64_t{4096} * 4096;

bool WithinQuietBounds(const RequestCost& c);

// "100000000 start points x 2147483648 steps (2.15e+17 map steps) on a
// 16384x16384 canvas", the canvas's sides being r's.
std::string CostText(const RequestCost& c, const Request& r);

}  // namespace orbitograph
