#pragma once

#include <cstdint>
#include <vector>

namespace orbitograph {

// A pixel position in the client area: x to the right, y downwards.
struct Point {
    std::int32_t x = 0;
    std::int32_t y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

using PointList = std::vector<Point>;

// The seven lists one computation produces, in the order of FractalModel.
// A value type, so a worker thread can build it and hand it over whole.
struct SpaceLists {
    PointList attractors;
    PointList basinInfinity;
    PointList basinM;
    PointList basinO;
    PointList basinH;
    PointList basinT;
    PointList basinZero;
    friend bool operator==(const SpaceLists&, const SpaceLists&) = default;
};

}  // namespace orbitograph
