#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include "end_points_in_place.h"
#include "model/engine/grid_engine.h"
#include "model/fractal_model.h"
#include "model/grid.h"
#include "reference_model.h"

using namespace orbitograph;

namespace {

engine::EngineOptions Options(std::size_t blockPoints, engine::EndPointKernel kernel = nullptr) {
    engine::EngineOptions o;
    o.blockPoints = blockPoints;
    o.kernel = kernel;
    return o;
}

std::optional<SpaceLists> Grid(const ModelParams& p, int threads, engine::EngineOptions options = {}) {
    ComputeControl control;
    control.threads = threads;
    return engine::ComputeGrid(p, 500, 350, control, options);
}

}  // namespace

// A cancel raised before the computation, or while blocks are running (from
// the first progress report, on a worker thread), leaves the previous lists
// and report as they were; so do parameters or an origin that were never
// checked (a step of 0 would walk for ever; which parameters are refused is
// the parameter checks' to test).
TEST(EngineControl, CancelAndRefusalChangeNothing) {
    for (const bool before : {true, false}) {
        FractalModel m;
        m.SetParams({});
        m.originX = 500;
        m.originY = 350;
        ASSERT_EQ(m.Compute(), ComputeStatus::Done);
        const SpaceLists lists = m;
        const ReportLines report = m.report;
        m.SetParams({.a = 0.3, .iterations = 5000});
        std::atomic<bool> cancel{before};
        std::atomic<int> reports{0};
        ComputeControl control;
        control.threads = 2;
        control.cancel = &cancel;
        control.progress = [&](double) { ++reports, cancel = true; };
        EXPECT_EQ(m.Compute(control), ComputeStatus::Cancelled);
        EXPECT_EQ(reports.load() >= 1, !before);
        EXPECT_EQ(m.report, report);
        EXPECT_TRUE(m.TakeLists() == lists);
        m.Install(SpaceLists(lists));
        m.SetParams({.step = 0.0});
        EXPECT_EQ(m.Compute(), ComputeStatus::Refused);
        m.SetParams({});
        m.originX = kMaxOriginMagnitude + 1;
        EXPECT_EQ(m.Compute(), ComputeStatus::Refused);
        EXPECT_EQ(m.report, report);
        EXPECT_TRUE(m.TakeLists() == lists);
    }
}

// Grids with more start points than blocks times threads, one of a single
// long column, and one with no start point: the join puts every list in grid
// order whatever the thread count. Worker threads the system refuses (from
// the given one on): those that did start run every block. Progress is
// reported once per block, within (0, 1], reaching 1.
TEST(EngineControl, SameListsAndProgressForEveryThreadCountBlockSizeAndRefusedThread) {
    const ModelParams sets[] = {
        {.step = 0.02, .iterations = 200},
        {.x1 = -0.3, .x2 = -0.3, .y1 = -2.0, .y2 = 2.0, .a = 0.3, .step = 0.002, .iterations = 3000},
        {.x1 = 1.0, .x2 = 0.5},
    };
    struct Row {
        int threads;
        std::size_t block;
        int refusedFrom;
    } rows[] = {{2, 0, 99}, {3, 3, 99}, {8, 333, 99}, {8, 0, 99}, {6, 100, 1}, {6, 100, 2}, {6, 100, 5}};
    for (const ModelParams& p : sets) {
        const auto expected = Grid(p, 1);
        ASSERT_TRUE(expected);
        const auto points = static_cast<std::size_t>(CountStartPoints(p));
        for (const Row& r : rows) {
            std::mutex mutex;
            std::vector<double> seen;
            ComputeControl control;
            control.threads = r.threads;
            control.progress = [&](double f) {
                const std::lock_guard<std::mutex> lock(mutex);
                seen.push_back(f);
            };
            engine::EngineOptions options = Options(r.block);
            options.beforeThreadStart = [&r](int worker) {
                if (worker < r.refusedFrom) return;
                throw std::system_error(std::make_error_code(std::errc::resource_unavailable_try_again));
            };
            SCOPED_TRACE(testing::Message() << r.threads << " " << r.block << " " << r.refusedFrom);
            EXPECT_TRUE(engine::ComputeGrid(p, 500, 350, control, options) == expected);
            ASSERT_FALSE(seen.empty());
            EXPECT_EQ(*std::max_element(seen.begin(), seen.end()), 1.0);
            EXPECT_TRUE(std::all_of(seen.begin(), seen.end(), [](double f) { return f > 0.0 && f <= 1.0; }));
            const std::size_t blocks = r.block == 0 || points == 0 ? seen.size() : (points + r.block - 1) / r.block;
            EXPECT_EQ(seen.size(), blocks);
        }
    }
}

// The largest iteration counts, where only the cycle shortcut makes the
// computation finish: orbits of A = 0.3 settle on cycles of period 2, so the
// end point alternates with the parity of N. The vector kernel (cycles seen
// at its checks) and the scalar one (Brent's scheme at every step) must agree
// on the lists and the exact end points. The two points of each cycle differ
// in the last bits only (one pixel), so N and N - 1 must differ in the exact
// end points.
TEST(EngineControl, LargestIterationCountsFollowTheCycle) {
    std::vector<AttractorEnds> ends;
    for (const int n : {2147483647, 2147483646, 1000001}) {
        const ModelParams p{.a = 0.3, .step = 0.05, .iterations = n};
        ComputeControl control;
        control.threads = 2;
        control.attractorEnds = true;
        const auto fast = engine::ComputeGrid(p, 500, 350, control, {});
        const auto slow = engine::ComputeGrid(p, 500, 350, control, Options(0, engine::EndPointsScalar));
        ASSERT_TRUE(fast && slow);
        EXPECT_TRUE(*fast == *slow) << n;
        EXPECT_EQ(fast->attractors.size(), static_cast<std::size_t>(CountStartPoints(p))) << n;
        ends.push_back(fast->attractorEnds);
    }
    EXPECT_NE(ends[0], ends[1]);
}

TEST(EngineControl, ProgressAndCancelReachOrbitsThatNeverSettle) {
    // With the largest iteration count some of these orbits neither escape
    // nor repeat for hours. Progress must still be reported from within the
    // first block, and a cancel (raised by that report, or after 5 s at the
    // latest) must end the computation at once, with either kernel. The
    // bound on the time leaves room for a loaded machine.
    const ModelParams p{.step = 0.05, .iterations = 2147483647};
    for (const engine::EndPointKernel kernel : {engine::EndPointsVector, engine::EndPointsScalar}) {
        std::atomic<bool> cancel{false};
        std::atomic<int> reports{0};
        ComputeControl control;
        control.threads = 1;
        control.cancel = &cancel;
        control.progress = [&](double f) { reports += f > 0.0 && f < 1.0, cancel = true; };
        const auto start = std::chrono::steady_clock::now();
        std::jthread canceller([&cancel](std::stop_token stop) {
            for (int i = 0; i < 500 && !cancel && !stop.stop_requested(); ++i)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            cancel = true;
        });
        EXPECT_FALSE(engine::ComputeGrid(p, 500, 350, control, Options(0, kernel)).has_value());
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
        EXPECT_GT(reports.load(), 0) << "no progress from within a long orbit";
    }
}

// The map steps the engine reports as executed: every step of orbits that
// never settle (chosen with the reference), with either kernel; none without
// iteration; on grids at most N + 1 per start point, and fewer where the
// shortcuts apply, for any thread count.
TEST(EngineControl, ExecutedStepsAreTheStepsMade) {
    const ModelParams chaos{.step = 0.05, .iterations = 2000};
    std::vector<double> xs, ys;
    const GridSide gx(chaos.x1, chaos.x2, chaos.step), gy(chaos.y1, chaos.y2, chaos.step);
    for (std::size_t i = 0; i < gx.Count(); ++i) {
        for (std::size_t j = 0; j < gy.Count(); ++j) {
            if (reference::NeverSettles(chaos, gx.At(i), gy.At(j))) xs.push_back(gx.At(i)), ys.push_back(gy.At(j));
        }
    }
    ASSERT_FALSE(xs.empty());
    for (const engine::EndPointKernel kernel : {engine::EndPointsVector, engine::EndPointsScalar}) {
        std::int64_t executed = 0;
        engine::OrbitJob job = engine::MakeOrbitJob(chaos);
        job.executedSteps = &executed;
        std::vector<double> x = xs, y = ys;
        engine::EndPointsInPlace(kernel, job, x.data(), y.data(), x.size());
        EXPECT_EQ(executed, static_cast<std::int64_t>(xs.size()) * job.steps);
    }
    const struct {
        ModelParams p;
        bool none;  // no step at all; otherwise some, and fewer than N + 1 per start point
    } rows[] = {{{.iterations = -1}, true}, {{}, false}, {{.a = 0.0, .iterations = 1000}, false}, {chaos, false}};
    for (const auto& row : rows) {
        for (const int threads : {1, 2}) {
            std::int64_t executed = -1;
            engine::EngineOptions options;
            options.executedSteps = &executed;
            ASSERT_TRUE(Grid(row.p, threads, options).has_value());
            const std::int64_t nominal = CountStartPoints(row.p) * (std::int64_t{row.p.iterations} + 1);
            EXPECT_TRUE(row.none ? executed == 0 : executed > 0 && executed < nominal)
                << row.p.iterations << " threads " << threads << ": " << executed << " of " << nominal;
        }
    }
}

// Under an address-space limit the stacks of a thousand threads take the
// memory the lists need: the computation still ends with the lists (made
// again on one thread), not with a shortage of memory. Run in a child
// process, so that the limit binds nothing else.
TEST(EngineControl, ThreadStacksThatTakeTheMemory) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer reserves more address space than the limit allows";
#else
    const ModelParams p{.step = 0.002};
    const auto expected = Grid(p, 2);
    ASSERT_TRUE(expected);
    const pid_t child = fork();
    ASSERT_NE(child, -1);
    if (child == 0) {
        const rlimit limit{1'000'000'000, 1'000'000'000};
        if (setrlimit(RLIMIT_AS, &limit) != 0) _exit(2);
        try {
            const auto got = Grid(p, 1024);
            _exit(got && *got == *expected ? 0 : 3);
        } catch (...) {
            _exit(4);
        }
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "2: no limit, 3: wrong lists, 4: an exception";
#endif
}
