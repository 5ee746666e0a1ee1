// The engine against the straightforward reference, case by case. Every
// case reports, besides Google Benchmark's own time of the engine:
//   ref_ms      the reference's time for the same case, measured in the same
//               run (for the heavy cases on a few columns and scaled, see
//               ref_columns);
//   best_ms     the engine's best time over the iterations (the machine is
//               shared: the best is the least disturbed);
//   ratio       ref_ms over best_ms;
//   steps_per_s map steps a second at best_ms: for the brute-force case the
//               steps made, on one core (and steps_per_cpu_s by the thread's
//               processor time); otherwise the N + 1 steps per start point
//               that the reference makes.

#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <vector>

#include "end_points_in_place.h"
#include "model/compute_spaces.h"
#include "model/engine/orbit_job.h"
#include "model/grid.h"
#include "reference_model.h"

using namespace orbitograph;

namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

double ThreadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

// Reference time of the whole grid of p, from at most `columns` of its
// columns (0: all): the reference makes N + 1 steps for every start point
// whatever the orbit does, so its time is proportional to the number of
// start points.
double ReferenceSeconds(const ModelParams& p, std::int64_t columns, std::int64_t& measuredColumns) {
    const std::int64_t all = CountColumns(p);
    ModelParams part = p;
    measuredColumns = all;
    if (columns > 0 && columns < all) {
        const GridSide xs(p.x1, p.x2, p.step);
        // Columns from the middle of the rectangle, where orbits stay longest.
        const std::size_t first = xs.Count() / 2;
        part.x1 = xs.At(first);
        part.x2 = xs.At(first + static_cast<std::size_t>(columns) - 1);
        measuredColumns = CountColumns(part);
    }
    const Clock::time_point t0 = Clock::now();
    benchmark::DoNotOptimize(reference::ComputeAll(part, {500, 350}));
    return Seconds(Clock::now() - t0) * static_cast<double>(all) / static_cast<double>(measuredColumns);
}

void GridCase(benchmark::State& state, const ModelParams& p, std::int64_t refColumns) {
    std::int64_t measured = 0;
    const double ref = ReferenceSeconds(p, refColumns, measured);
    double engine = 1e300;
    for (auto _ : state) {
        const Clock::time_point t0 = Clock::now();
        auto lists = ComputeSpaces(p, 500, 350);
        engine = std::min(engine, Seconds(Clock::now() - t0));
        benchmark::DoNotOptimize(lists);
    }
    const double points = static_cast<double>(CountStartPoints(p));
    state.counters["best_ms"] = engine * 1e3;
    state.counters["ref_ms"] = ref * 1e3;
    state.counters["ref_columns"] = static_cast<double>(measured);
    state.counters["all_columns"] = static_cast<double>(CountColumns(p));
    state.counters["ratio"] = ref / engine;
    state.counters["steps_per_s"] = points * (static_cast<double>(p.iterations) + 1.0) / engine;
}

void Defaults(benchmark::State& state) { GridCase(state, ModelParams{}, 0); }

void FineGrid(benchmark::State& state) { GridCase(state, ModelParams{.step = 0.001, .iterations = 1000}, 8); }

// No map step: the grid walk, the classification and the writing of the
// lists alone, on 16,008,001 points.
void NoSteps(benchmark::State& state) { GridCase(state, ModelParams{.step = 0.001, .iterations = -1}, 0); }

void ManyIterations(benchmark::State& state) { GridCase(state, ModelParams{.a = 0.3, .iterations = 1'000'000}, 1); }

// Processor time of the whole process, all threads.
double ProcessCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

// The analysis of every orbit and the catalogue against the plain
// computation of the same grid, alternately in the same run:
//   plain_ms, analysis_ms   best of each (means in plain_mean_ms,
//                           analysis_mean_ms);
//   ratio                   analysis_ms over plain_ms (the analysis's whole
//                           time, lists included, against the lists alone);
//   cpu_ratio               the same for the best processor time of all
//                           threads (plain_cpu_ms, analysis_cpu_ms), which a
//                           busy machine disturbs less.
void AnalysisCase(benchmark::State& state, const ModelParams& p) {
    ComputeControl withAnalysis;
    withAnalysis.analysis = true;
    double best[2] = {1e300, 1e300}, cpu[2] = {1e300, 1e300}, sum[2] = {0.0, 0.0};
    for (auto _ : state) {
        for (int k = 0; k < 2; ++k) {
            const Clock::time_point t0 = Clock::now();
            const double c0 = ProcessCpuSeconds();
            benchmark::DoNotOptimize(ComputeSpaces(p, 500, 350, k == 0 ? ComputeControl{} : withAnalysis));
            cpu[k] = std::min(cpu[k], ProcessCpuSeconds() - c0);
            const double t = Seconds(Clock::now() - t0);
            best[k] = std::min(best[k], t);
            sum[k] += t;
        }
    }
    const auto n = static_cast<double>(state.iterations());
    state.counters["plain_ms"] = best[0] * 1e3;
    state.counters["analysis_ms"] = best[1] * 1e3;
    state.counters["plain_mean_ms"] = sum[0] / n * 1e3;
    state.counters["analysis_mean_ms"] = sum[1] / n * 1e3;
    state.counters["ratio"] = best[1] / best[0];
    state.counters["plain_cpu_ms"] = cpu[0] * 1e3;
    state.counters["analysis_cpu_ms"] = cpu[1] * 1e3;
    state.counters["cpu_ratio"] = cpu[1] / cpu[0];
}

void DefaultsAnalysis(benchmark::State& state) { AnalysisCase(state, ModelParams{}); }

void FineGridAnalysis(benchmark::State& state) { AnalysisCase(state, ModelParams{.step = 0.001, .iterations = 1000}); }

// Orbits that neither escape nor repeat: the start points of the default
// grid whose orbits under the defaults stay bounded and show no cycle for
// 20,001 steps (chaotic orbits, about 4.7% of the grid), each iterated
// 20,001 steps on one thread.
void BruteForce(benchmark::State& state) {
    ModelParams p{.iterations = 20'000};
    const engine::OrbitJob job = engine::MakeOrbitJob(p);
    std::vector<double> xs, ys;
    {
        const GridSide gx(p.x1, p.x2, 0.01);
        const GridSide gy(p.y1, p.y2, 0.01);
        std::vector<double> ex, ey;
        for (std::size_t i = 0; i < gx.Count(); ++i) {
            for (std::size_t j = 0; j < gy.Count(); ++j) ex.push_back(gx.At(i)), ey.push_back(gy.At(j));
        }
        std::vector<double> sx = ex, sy = ey;
        engine::EndPointsInPlace(engine::EndPointsScalar, job, ex.data(), ey.data(), ex.size());
        for (std::size_t i = 0; i < ex.size(); ++i) {
            if (!std::isnan(ex[i])) xs.push_back(sx[i]), ys.push_back(sy[i]);
        }
    }
    // The reference, on one thread, on a tenth of these orbits.
    const Clock::time_point t0 = Clock::now();
    const std::size_t refCount = xs.size() / 10;
    for (std::size_t i = 0; i < refCount; ++i) {
        double ex, ey;
        reference::IterateOrbit(p, xs[i], ys[i], ex, ey);
        benchmark::DoNotOptimize(ex);
        benchmark::DoNotOptimize(ey);
    }
    const double ref = Seconds(Clock::now() - t0) * static_cast<double>(xs.size()) / static_cast<double>(refCount);

    double engine = 1e300;
    double cpu = 1e300;
    for (auto _ : state) {
        std::vector<double> x = xs, y = ys;
        const Clock::time_point t1 = Clock::now();
        const double c1 = ThreadCpuSeconds();
        engine::EndPointsInPlace(engine::EndPointsVector, job, x.data(), y.data(), x.size());
        cpu = std::min(cpu, ThreadCpuSeconds() - c1);
        engine = std::min(engine, Seconds(Clock::now() - t1));
        benchmark::DoNotOptimize(x);
    }
    const double steps = static_cast<double>(xs.size()) * static_cast<double>(job.steps);
    state.counters["orbits"] = static_cast<double>(xs.size());
    state.counters["best_ms"] = engine * 1e3;
    state.counters["steps_per_cpu_s"] = steps / cpu;
    state.counters["ref_ms"] = ref * 1e3;
    state.counters["ratio"] = ref / engine;
    state.counters["steps_per_s"] = steps / engine;
}

}  // namespace

BENCHMARK(Defaults)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1000);
BENCHMARK(FineGrid)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);
BENCHMARK(NoSteps)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);
BENCHMARK(ManyIterations)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);
BENCHMARK(BruteForce)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);
BENCHMARK(DefaultsAnalysis)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(300);
BENCHMARK(FineGridAnalysis)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

BENCHMARK_MAIN();
