#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "model/grid.h"
#include "support/draw.h"

using namespace orbitograph;

// The sides regenerate every coordinate as the accumulating walk makes it,
// also far from the coordinates they keep.
TEST(Grid, SidesAccumulateTheStep) {
    // A side short enough to be kept whole, and one kept every 256th.
    for (const double step : {0.0007, 0.00002}) {
        const GridSide side(-1.3, 1.7, step);
        std::vector<double> walk;
        for (double v = -1.3; v <= 1.7; v += step) walk.push_back(v);
        ASSERT_EQ(side.Count(), walk.size());
        std::vector<double> filled(walk.size() + 1);
        // Ranges from and to kept coordinates and between them, over more whole
        // segments than advance together and fewer.
        const std::size_t m = walk.size();
        const struct {
            std::size_t k, n;
        } ranges[] = {{0, m},      {1, m - 1},  {255, m - 255}, {256, m - 256}, {1000, m - 1000},
                      {256, 2048}, {300, 2100}, {3, 5},         {511, 2}};
        for (const auto& r : ranges) {
            std::fill(filled.begin(), filled.end(), 0.0);
            side.Fill(r.k, r.n, filled.data());
            const auto from = walk.begin() + static_cast<std::ptrdiff_t>(r.k);
            EXPECT_TRUE(std::equal(from, from + static_cast<std::ptrdiff_t>(r.n), filled.begin()))
                << step << ": " << r.k << " " << r.n;
            EXPECT_EQ(filled[r.n], 0.0) << "wrote past the range";
        }
        for (std::size_t k = 0; k < walk.size(); k += 97) EXPECT_EQ(side.At(k), walk[k]) << step << ": " << k;
    }
    EXPECT_EQ(GridSide(0.5, 0.25, 0.01).Count(), 0u);
}

// The quick lower bound of a side never exceeds the walk's count, however
// rounding accumulates.
TEST(Grid, SideLowerBoundNeverExceedsTheCount) {
    test::Draw d{12345};
    for (int i = 0; i < 3000; ++i) {
        const double lo = d.Between(-2.0, 2.0), hi = d.Between(lo, 2.0);
        const double step = std::fmax(kMinStep, (hi - lo) / d.Between(1.0, 200001.0));
        ASSERT_LE(SideCountAtLeast(lo, hi, step), CountSide(lo, hi, step, 1'000'000)) << lo << " " << hi << " " << step;
    }
}
