#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "model/grid.h"

using namespace orbitograph;

// The sides regenerate every coordinate as the accumulating walk makes it,
// also far from the coordinates they keep.
TEST(Grid, SidesAccumulateTheStep) {
    const GridSide xs(-2.0, 2.0, 0.01);
    ASSERT_EQ(xs.Count(), 400u);
    EXPECT_EQ(xs.At(399), 1.990000000000003);
    EXPECT_EQ(xs.At(100), -0.9999999999999991);  // passes -1 without hitting it
    EXPECT_EQ(xs.At(300), 1.0000000000000022);
    const GridSide side(-1.3, 1.7, 0.0007);
    std::vector<double> walk;
    for (double v = -1.3; v <= 1.7; v += 0.0007) walk.push_back(v);
    ASSERT_EQ(side.Count(), walk.size());
    std::vector<double> filled(walk.size());
    for (std::size_t k : {std::size_t{0}, std::size_t{1}, std::size_t{255}, std::size_t{256}, std::size_t{1000}}) {
        side.Fill(k, walk.size() - k, filled.data());
        EXPECT_TRUE(std::equal(walk.begin() + static_cast<std::ptrdiff_t>(k), walk.end(), filled.begin())) << k;
    }
    for (std::size_t k = 0; k < walk.size(); k += 97) EXPECT_EQ(side.At(k), walk[k]) << k;
    EXPECT_EQ(GridSide(0.5, 0.25, 0.01).Count(), 0u);
}

// The quick lower bound of a side never exceeds the walk's count, however
// rounding accumulates.
TEST(Grid, SideLowerBoundNeverExceedsTheCount) {
    std::uint64_t state = 12345;
    const auto unit = [&state] {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<double>(state >> 11) * 0x1p-53;
    };
    for (int i = 0; i < 3000; ++i) {
        const double lo = -2.0 + 4.0 * unit();
        const double hi = lo + (2.0 - lo) * unit();
        const double step = std::fmax(kMinStep, (hi - lo) / (1.0 + 200000.0 * unit()));
        ASSERT_LE(SideCountAtLeast(lo, hi, step), CountSide(lo, hi, step, 1'000'000))
            << lo << " " << hi << " " << step;
    }
}
