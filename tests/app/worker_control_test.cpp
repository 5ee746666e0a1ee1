#include "app/worker_control.h"

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

namespace orbitograph {
namespace {

// Workers report in any order; the fraction seen never moves back.
TEST(WorkerControl, ProgressKeepsTheLargestFractionAndCancelIsShared) {
    struct Row {
        std::vector<double> reports;
        double expected;
    };
    const Row rows[] = {
        {{0.25, 0.5, 0.75}, 0.75},
        {{0.75, 0.25}, 0.75},
        {{0.5, 1.0, 0.0}, 1.0},
        {{}, 0.0},
    };
    for (const Row& row : rows) {
        std::atomic<bool> cancel{false};
        std::atomic<double> progress{0.0};
        const ComputeControl control = WorkerControl(cancel, progress);
        for (const double f : row.reports) control.progress(f);
        EXPECT_EQ(progress.load(), row.expected);
        EXPECT_EQ(control.cancel, &cancel);
    }
}

}  // namespace
}  // namespace orbitograph
