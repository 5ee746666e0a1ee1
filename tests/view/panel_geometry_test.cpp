#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "view/panel_geometry.h"

using namespace orbitograph;

TEST(PanelGeometry, ShiftsOfTheTwoPanelLayout) {
    struct Row {
        double h, x1, x2;
        std::int32_t sA, sB;
    } rows[] = {
        {0.01, -2.0, 2.0, -220, 220},    {0.02, -2.0, 2.0, -120, 120},
        {0.03, -2.0, 2.0, -86, 86},  // -86.67 and 86.67 truncate toward zero
        {0.01, 0.0, 2.0, -220, 320},     {0.01, -1.0, 2.0, -220, 270},
        {0.001, -2.0, 2.0, -2020, 2020},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(AttractorShift(r.h), r.sA) << r.h;
        EXPECT_EQ(BasinShift(r.x1, r.x2, r.h), r.sB) << r.h << " " << r.x1;
    }
}

TEST(PanelGeometry, TruncationTowardZeroSaturatesOutsideTheRange) {
    constexpr auto lo = std::numeric_limits<std::int32_t>::min();
    constexpr auto hi = std::numeric_limits<std::int32_t>::max();
    const std::pair<double, std::int32_t> rows[] = {
        {-220.9, -220},      {220.9, 220}, {-0.5, 0},    {2147483647.5, hi},
        {-2147483648.9, lo}, {1e300, hi},  {-1e300, lo}, {std::numeric_limits<double>::infinity(), hi},
        {std::nan(""), 0},
    };
    for (const auto& [v, expected] : rows) EXPECT_EQ(TruncToInt32(v), expected) << v;
    // A step of zero reaches the view only by mistake; it must not be undefined.
    EXPECT_EQ(AttractorShift(0.0), lo);
}
