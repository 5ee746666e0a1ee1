// Brute force: orbits that neither escape, freeze nor repeat a state within
// their N + 1 steps, so that no exact shortcut applies and the kernel must
// execute every step; and beside it, on one thread, the ceiling kernel on the
// same orbits (ceiling_kernel.h). Besides the figures of bench_report.h:
//   orbits                 the orbits, each iterated N + 1 = 20,001 steps;
//   ceiling_steps_per_s    the ceiling kernel's best rate by its thread's
//                          processor time, at its best vector count
//                          ceiling_groups (one-thread cases);
//   ceiling_g<G>           the ceiling kernel's rate with G vectors;
//   share_of_ceiling       the engine's rate by processor time over the
//                          ceiling's: on a busy machine the processor time
//                          of a thread is disturbed far less than its
//                          elapsed time.
// The case fails when the kernels' count of executed steps differs from the
// orbits' steps: the orbits would then not be brute force.

#include "brute_force_bench.h"

#include <hwy/targets.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "bench_report.h"
#include "ceiling_kernel.h"
#include "end_points_in_place.h"
#include "model/engine/orbit_job.h"
#include "model/grid.h"
#include "reference_model.h"

namespace orbitograph::bench {

namespace {

struct BruteOrbits {
    ModelParams p{.iterations = 20'000};
    engine::OrbitJob job = engine::MakeOrbitJob(p);
    std::vector<double> x, y;
    double refSeconds = 0.0;  // the reference on all of them, one thread
    double refCpu = 0.0;      // its processor time
};

// The default grid's start points whose orbits under the defaults with
// N = 20,000 never settle; candidates are those the scalar kernel lists.
BruteOrbits SelectOrbits() {
    BruteOrbits b;
    const GridSide gx(b.p.x1, b.p.x2, b.p.step);
    const GridSide gy(b.p.y1, b.p.y2, b.p.step);
    std::vector<double> ex, ey;
    for (std::size_t i = 0; i < gx.Count(); ++i) {
        for (std::size_t j = 0; j < gy.Count(); ++j) ex.push_back(gx.At(i)), ey.push_back(gy.At(j));
    }
    const std::vector<double> sx = ex, sy = ey;
    engine::EndPointsInPlace(engine::EndPointsScalar, b.job, ex.data(), ey.data(), ex.size());
    for (std::size_t i = 0; i < ex.size(); ++i) {
        if (!std::isnan(ex[i]) && reference::NeverSettles(b.p, sx[i], sy[i]))
            b.x.push_back(sx[i]), b.y.push_back(sy[i]);
    }
    // The reference on a tenth of them, scaled.
    const std::size_t refCount = std::max<std::size_t>(1, b.x.size() / 10);
    const Clock::time_point t0 = Clock::now();
    const double c0 = CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
    for (std::size_t i = 0; i < refCount && i < b.x.size(); ++i) {
        double xe, ye;
        reference::IterateOrbit(b.p, b.x[i], b.y[i], xe, ye);
        benchmark::DoNotOptimize(xe);
        benchmark::DoNotOptimize(ye);
    }
    const double scale = static_cast<double>(b.x.size()) / static_cast<double>(refCount);
    b.refSeconds = Seconds(Clock::now() - t0) * scale;
    b.refCpu = (CpuSeconds(CLOCK_THREAD_CPUTIME_ID) - c0) * scale;
    return b;
}

// One thread's share of the orbits, padded as the kernel asks.
struct Share {
    std::vector<double> x, y, ex, ey, index;
    std::int64_t executed = 0;
    Share(const BruteOrbits& b, std::size_t begin, std::size_t end)
        : x(b.x.begin() + static_cast<std::ptrdiff_t>(begin), b.x.begin() + static_cast<std::ptrdiff_t>(end)),
          y(b.y.begin() + static_cast<std::ptrdiff_t>(begin), b.y.begin() + static_cast<std::ptrdiff_t>(end)) {
        const std::size_t n = x.size() + engine::kKernelPadding;
        x.resize(n);
        y.resize(n);
        ex.resize(n);
        ey.resize(n);
        index.resize(n);
    }
    void Run(const engine::OrbitJob& job) {
        engine::OrbitJob counted = job;
        counted.executedSteps = &executed;
        engine::EndPointsVector(counted, x.data(), y.data(), x.size() - engine::kKernelPadding, ex.data(), ey.data(),
                                index.data());
    }
};

// The engine's kernel on every orbit, split between `threads` threads; the
// seconds, their processor time in `cpu`, and the executed steps in
// `executed`.
double EngineSeconds(const BruteOrbits& b, int threads, double& cpu, std::int64_t& executed) {
    std::vector<Share> shares;
    const std::size_t n = b.x.size();
    for (int t = 0; t < threads; ++t) shares.emplace_back(b, n * t / threads, n * (t + 1) / threads);
    const Clock::time_point t0 = Clock::now();
    const double c0 = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
    {
        std::vector<std::jthread> pool;
        for (int t = 1; t < threads; ++t) pool.emplace_back([&b, &shares, t] { shares[t].Run(b.job); });
        shares[0].Run(b.job);
    }
    const double s = Seconds(Clock::now() - t0);
    cpu = CpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - c0;
    executed = 0;
    for (const Share& share : shares) executed += share.executed;
    return s;
}

// The ceiling kernel's best rate by processor time over its vector counts,
// on the first orbits (at most 2,048), each for its N + 1 steps.
double CeilingRate(const BruteOrbits& b, int& bestGroups, std::vector<double>& byGroups) {
    double best = 0.0;
    byGroups.resize(std::size(kCeilingGroups));
    std::size_t k = 0;
    const std::size_t lanes = CeilingLanes();
    for (const int g : kCeilingGroups) {
        const std::size_t width = lanes * static_cast<std::size_t>(g);
        const std::size_t n = std::min<std::size_t>(b.x.size(), 2048) / width * width;
        if (n == 0) {
            ++k;
            continue;
        }
        std::vector<double> x(b.x.begin(), b.x.begin() + static_cast<std::ptrdiff_t>(n));
        std::vector<double> y(b.y.begin(), b.y.begin() + static_cast<std::ptrdiff_t>(n));
        const double c0 = CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
        for (std::size_t i = 0; i < n; i += width) CeilingSteps(b.job, g, b.job.steps, x.data() + i, y.data() + i);
        const double rate =
            static_cast<double>(n) * static_cast<double>(b.job.steps) / (CpuSeconds(CLOCK_THREAD_CPUTIME_ID) - c0);
        benchmark::DoNotOptimize(x.data());
        benchmark::DoNotOptimize(y.data());
        byGroups[k] = std::max(byGroups[k], rate);
        ++k;
        if (rate > best) best = rate, bestGroups = g;
    }
    return best;
}

void BruteForce(benchmark::State& state, const std::shared_ptr<std::unique_ptr<BruteOrbits>>& cache,
                std::int64_t target, int threads) {
    if (!*cache) *cache = std::make_unique<BruteOrbits>(SelectOrbits());
    const BruteOrbits& b = **cache;
    hwy::SetSupportedTargetsForTest(target);
    const double nominal = static_cast<double>(b.x.size()) * static_cast<double>(b.job.steps);
    Timing t;
    double ceiling = 0.0;
    int groups = 0;
    std::vector<double> byGroups;
    std::int64_t executed = 0;
    for (auto _ : state) {
        double cpu = 0.0;
        const double s = EngineSeconds(b, threads, cpu, executed);
        t.Add(s, cpu);
        int g = 0;
        const double rate = threads == 1 ? CeilingRate(b, g, byGroups) : 0.0;
        if (rate > ceiling) ceiling = rate, groups = g;
    }
    hwy::SetSupportedTargetsForTest(0);
    if (static_cast<double>(executed) != nominal) {
        state.SkipWithError("executed steps differ from the orbits' steps");
        return;
    }
    Report(state, t, {static_cast<double>(b.x.size()), static_cast<double>(executed), nominal}, b.refSeconds, b.refCpu);
    state.counters["orbits"] = static_cast<double>(b.x.size());
    if (threads == 1) {
        state.counters["ceiling_steps_per_s"] = ceiling;
        state.counters["ceiling_groups"] = groups;
        state.counters["share_of_ceiling"] = nominal / t.bestCpu / ceiling;
        for (std::size_t k = 0; k < byGroups.size(); ++k)
            state.counters["ceiling_g" + std::to_string(kCeilingGroups[k])] = byGroups[k];
    }
}

}  // namespace

void RegisterBruteForce() {
    const auto cache = std::make_shared<std::unique_ptr<BruteOrbits>>();
    const int cores = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
    for (const std::int64_t target : hwy::SupportedAndGeneratedTargets()) {
        for (const int threads : {1, cores}) {
            const std::string name =
                std::string("BruteForce/") + hwy::TargetName(target) + "/threads:" + std::to_string(threads);
            benchmark::RegisterBenchmark(name.c_str(), BruteForce, cache, target, threads)
                ->Unit(benchmark::kMillisecond)
                ->UseRealTime()
                ->Iterations(10);
            if (cores == 1) break;
        }
    }
}

}  // namespace orbitograph::bench
