#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <mutex>
#include <vector>

#include "model/compute_spaces.h"
#include "model/sweep.h"
#include "support/draw.h"

using namespace orbitograph;

namespace {

ListCounts Single(const ModelParams& p) {
    const auto lists = ComputeSpaces(p, 500, 350);
    EXPECT_TRUE(lists.has_value());
    return CountsOf(p, *lists);
}

}  // namespace

// Sweeps and planes over drawn bases and values, on grids from empty and one
// point (many sets in one slice) to thousands of points (one set over many
// slices), for 1 and 3 threads: every entry equals the sizes of the lists of
// a single computation of the same parameters.
TEST(Sweep, CountsEqualSingleComputations) {
    test::Draw d{20261207};
    const double steps[] = {0.5, 0.37, 0.1, 0.05, 0.013};
    for (int round = 0; round < 12; ++round) {
        ModelParams base;
        base.step = steps[round % 5];
        base.x1 = d.Between(-2, 1);
        base.x2 = round == 7 ? base.x1 - 0.1 : d.Between(base.x1, 2);  // round 7: an empty grid
        base.y1 = d.Between(-2, 1);
        base.y2 = d.Between(base.y1, 2);
        base.dcOutward = d.Int(0, 1);
        base.kcOutward = d.Int(0, 1);
        const auto param = static_cast<SweepParam>(round % 4);
        const double lo = param == SweepParam::Iterations ? -2.0 : d.Between(-1.5, 0.5);
        const double hi = param == SweepParam::Iterations ? 40.0 : d.Between(0.5, 1.5);
        const auto values = SweepValues(lo, hi, 9, param);
        const SweepParam other = param == SweepParam::Dc ? SweepParam::Kc : SweepParam::Dc;
        const auto second = SweepValues(d.Between(0, 1), d.Between(0, 1), 3, other);
        for (const int threads : {1, 3}) {
            ComputeControl control;
            control.threads = threads;
            const auto sweep = ComputeSweep(base, param, values, control);
            const auto plane = ComputePlane(base, param, values, other, second, control);
            ASSERT_TRUE(sweep && plane);
            for (std::size_t i = 0; i < values.size(); ++i) {
                const ModelParams p = WithValue(base, param, values[i]);
                ASSERT_EQ((*sweep)[i], Single(p)) << "round " << round << " value " << values[i];
                for (std::size_t j = 0; j < second.size(); ++j) {
                    ASSERT_EQ((*plane)[j * values.size() + i], Single(WithValue(p, other, second[j])))
                        << "round " << round << " pair " << i << "," << j;
                }
            }
        }
    }
}

// The ends are exactly FROM and TO, the iteration count is rounded, and one
// value is FROM alone.
TEST(Sweep, ValueEnds) {
    const auto a = SweepValues(0.1, 0.7, 7, SweepParam::A);
    EXPECT_EQ(std::tuple(a.size(), a.front(), a.back()), std::tuple(7u, 0.1, 0.7));
    EXPECT_EQ(SweepValues(0, 5, 4, SweepParam::Iterations), (std::vector<double>{0, 2, 3, 5}));
    EXPECT_EQ(SweepValues(0.3, 0.9, 1, SweepParam::Kc), std::vector<double>{0.3});
    EXPECT_EQ(WithValue({}, SweepParam::Iterations, 1e12).iterations, INT32_MAX);
}

// Cancel before the start or from the first progress report gives no
// result; a finished run reports 1 last; bad or mixed sets are refused.
TEST(Sweep, ControlAndRefusals) {
    for (const bool before : {true, false}) {
        std::atomic<bool> cancel{before};
        ComputeControl control;
        control.threads = 2;
        control.cancel = &cancel;
        control.progress = [&cancel](double) { cancel = true; };
        EXPECT_FALSE(ComputeSweep({}, SweepParam::A, SweepValues(0.5, 1, 30, SweepParam::A), control));
    }
    std::mutex mutex;
    double largest = 0;
    ComputeControl control;
    control.progress = [&](double f) {
        const std::lock_guard<std::mutex> lock(mutex);
        largest = std::max(largest, f);
    };
    ModelParams coarse;
    coarse.step = 0.1;
    ASSERT_TRUE(ComputeSweep(coarse, SweepParam::A, {0.5, 0.6}, control));
    EXPECT_EQ(largest, 1.0);
    ModelParams other = coarse;
    other.step = 0.2;
    EXPECT_THROW(ComputeCountsOfSets({coarse, other}), std::invalid_argument);
    EXPECT_THROW(ComputeSweep(coarse, SweepParam::Dc, {NAN}), std::invalid_argument);
    EXPECT_THROW(ComputePlane(coarse, SweepParam::A, {1}, SweepParam::A, {1}), std::invalid_argument);
}
