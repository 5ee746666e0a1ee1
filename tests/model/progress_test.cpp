// The progress of a computation against the map steps really made: the
// end-point kernel is wrapped to count the steps it executes, and every
// fraction reported from within a kernel (where the time goes) is compared,
// as a bar shows it (never moving back), with the share of those steps made
// by then.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <vector>

#include "model/engine/grid_engine.h"

using namespace orbitograph;

namespace {

struct Tally {
    std::int64_t steps = 0;  // executed by the kernels so far, as told
    bool inKernel = false;
};
Tally tally;  // one computation at a time, on one thread

// EndPointsVector, counting the steps it tells of as it goes and, when it
// returns, the rest of those it executed.
std::size_t CountingKernel(const engine::OrbitJob& job, const double* x, const double* y, std::size_t n, double* ex,
                           double* ey, double* index) {
    engine::OrbitJob own = job;
    std::int64_t told = 0;
    const std::function<void(std::int64_t)> tell = [&](std::int64_t steps) {
        told += steps;
        tally.steps += steps;
        if (job.stepsMade) (*job.stepsMade)(steps);
    };
    own.stepsMade = &tell;
    const std::int64_t before = *job.executedSteps;
    tally.inKernel = true;
    const std::size_t listed = engine::EndPointsVector(own, x, y, n, ex, ey, index);
    tally.inKernel = false;
    tally.steps += *job.executedSteps - before - told;
    return listed;
}

}  // namespace

// One long orbit, and a few long orbits among many short ones:
// once a tenth of the steps is made, the bar is within 0.05 of the share of
// the steps made (counting a SIMD kernel's idle lanes, or every orbit whole
// when it ends, misses by far more), and it ends at 1.
TEST(Progress, FollowsTheStepsMade) {
    const struct {
        const char* name;
        double x1, x2;
        std::int32_t iterations;
        int longOrbits;  // at least as many orbits run their whole count
    } rows[] = {
        {"one long orbit", 0.245, 0.245, 1 << 24, 1},
        {"long first", 0.2, 1.9, 1 << 21, 4},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const ModelParams p{
            .x1 = row.x1, .x2 = row.x2, .y1 = 0.408, .y2 = 0.408, .step = 0.01, .iterations = row.iterations};
        struct Report {
            double bar;
            std::int64_t steps;
            bool inKernel;
        };
        std::vector<Report> reports;
        tally = {};
        ComputeControl control;
        control.threads = 1;  // reports in order, each after the steps it counts
        control.progress = [&](double f) {
            reports.push_back({std::max(f, reports.empty() ? 0.0 : reports.back().bar), tally.steps, tally.inKernel});
        };
        engine::EngineOptions options;
        options.kernel = CountingKernel;
        options.blockPoints = 16;
        std::int64_t executed = 0;
        options.executedSteps = &executed;
        ASSERT_TRUE(engine::ComputeGrid(p, 500, 350, control, options));
        ASSERT_EQ(tally.steps, executed);
        const double total = static_cast<double>(executed);
        ASSERT_GT(total, 0.9 * row.longOrbits * row.iterations);
        ASSERT_FALSE(reports.empty());
        EXPECT_EQ(reports.back().bar, 1.0);
        int compared = 0;
        for (const Report& r : reports) {
            const double truth = static_cast<double>(r.steps) / total;
            if (!r.inKernel || truth < 0.1) continue;
            ++compared;
            EXPECT_NEAR(r.bar, truth, 0.05) << "after " << r.steps << " of " << total << " steps";
        }
        EXPECT_GE(compared, 5);
    }
}
