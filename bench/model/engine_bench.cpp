// The engine against the straightforward reference, case by case, with the
// figures of bench_report.h; the heavy cases time the reference on a few
// columns and scale (ref_columns of all_columns). The brute-force cases and
// the ceiling are in brute_force_bench.cpp.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <vector>

#include "bench_report.h"
#include "brute_force_bench.h"
#include "model/compute_spaces.h"
#include "model/engine/grid_engine.h"
#include "model/grid.h"
#include "reference_model.h"

using namespace orbitograph;
using bench::Clock;
using bench::Seconds;

namespace {

// Reference time of the whole grid of p, from at most `columns` of its
// columns (0: all): the reference makes N + 1 steps for every start point
// whatever the orbit does, so its time is proportional to the number of
// start points.
// Its processor time, scaled alike, in `cpu`.
double ReferenceSeconds(const ModelParams& p, std::int64_t columns, std::int64_t& measuredColumns, double& cpu) {
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
    const double scale = static_cast<double>(all) / static_cast<double>(measuredColumns);
    const Clock::time_point t0 = Clock::now();
    const double c0 = bench::CpuSeconds(CLOCK_THREAD_CPUTIME_ID);
    benchmark::DoNotOptimize(reference::ComputeAll(part, {500, 350}));
    cpu = (bench::CpuSeconds(CLOCK_THREAD_CPUTIME_ID) - c0) * scale;
    return Seconds(Clock::now() - t0) * scale;
}

void GridCase(benchmark::State& state, const ModelParams& p, std::int64_t refColumns) {
    std::int64_t measured = 0;
    double refCpu = 0.0;
    const double ref = ReferenceSeconds(p, refColumns, measured, refCpu);
    std::int64_t executed = 0;
    engine::EngineOptions options;
    options.executedSteps = &executed;
    bench::Timing t;
    for (auto _ : state) {
        const Clock::time_point t0 = Clock::now();
        const double c0 = bench::CpuSeconds(CLOCK_PROCESS_CPUTIME_ID);
        auto lists = engine::ComputeGrid(p, 500, 350, ComputeControl{}, options);
        t.Add(Seconds(Clock::now() - t0), bench::CpuSeconds(CLOCK_PROCESS_CPUTIME_ID) - c0);
        benchmark::DoNotOptimize(lists);
    }
    const double points = static_cast<double>(CountStartPoints(p));
    const double nominal = p.iterations < 0 ? 0.0 : points * (static_cast<double>(p.iterations) + 1.0);
    bench::Report(state, t, {points, static_cast<double>(executed), nominal}, ref, refCpu);
    state.counters["ref_columns"] = static_cast<double>(measured);
    state.counters["all_columns"] = static_cast<double>(CountColumns(p));
}

void Defaults(benchmark::State& state) { GridCase(state, ModelParams{}, 0); }

void FineGrid(benchmark::State& state) { GridCase(state, ModelParams{.step = 0.001, .iterations = 1000}, 8); }

// No map step: the grid walk, the classification and the writing of the
// lists alone, on 16,008,001 points.
void NoSteps(benchmark::State& state) { GridCase(state, ModelParams{.step = 0.001, .iterations = -1}, 0); }

void ManyIterations(benchmark::State& state) { GridCase(state, ModelParams{.a = 0.3, .iterations = 1'000'000}, 1); }

// Processor time of the whole process, all threads.
double ProcessCpuSeconds() { return bench::CpuSeconds(CLOCK_PROCESS_CPUTIME_ID); }

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

}  // namespace

BENCHMARK(Defaults)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1000);
BENCHMARK(FineGrid)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);
BENCHMARK(NoSteps)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);
BENCHMARK(ManyIterations)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);
BENCHMARK(DefaultsAnalysis)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(300);
BENCHMARK(FineGridAnalysis)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    bench::RegisterBruteForce();
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
