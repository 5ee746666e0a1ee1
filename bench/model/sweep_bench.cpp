// Sweeps and planes against one large computation, in the same run. Each
// case reports:
//   best_ms         the sweep's best time over the iterations;
//   steps_per_s     map steps a second at best_ms, N + 1 per start point of
//                   every value (the steps the reference would make);
//   large_per_s     the same for large computations (ComputeSpaces, one
//                   each) on a fine grid at every few values of the range:
//                   the same orbits' mix of escaping, settling and chaotic
//                   orbits, in grids large enough to keep every core busy;
//   ratio_to_large  steps_per_s over large_per_s (the aim: at least 0.8);
//   singles_ms      one ComputeSpaces per value, one after the other;
//   ratio_to_singles singles_ms over best_ms.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "bench_report.h"
#include "model/compute_spaces.h"
#include "model/sweep.h"

using namespace orbitograph;

namespace {

using bench::Best;
using bench::Clock;
using bench::Seconds;

double NominalSteps(const ModelParams& p) {
    return static_cast<double>(CountStartPoints(p)) * (static_cast<double>(p.iterations) + 1.0);
}

void Report(benchmark::State& state, double best, double steps, const std::vector<ModelParams>& large, double singles) {
    double largeSeconds = 0.0;
    double largeSteps = 0.0;
    for (const ModelParams& p : large) {
        largeSeconds += Best(2, [&] { benchmark::DoNotOptimize(ComputeSpaces(p, 500, 350)); });
        largeSteps += NominalSteps(p);
    }
    const double largePerS = largeSteps / largeSeconds;
    state.counters["best_ms"] = best * 1e3;
    state.counters["steps_per_s"] = steps / best;
    state.counters["large_per_s"] = largePerS;
    state.counters["ratio_to_large"] = steps / best / largePerS;
    state.counters["singles_ms"] = singles * 1e3;
    state.counters["ratio_to_singles"] = singles / best;
}

// 101 values of A from 0.3 to 1.3, the other parameters the defaults
// (160,000 start points, N 10); the large computations: every 25th value at
// h 0.001 (16,008,001 start points).
void SweepOfA(benchmark::State& state) {
    const ModelParams base;
    const std::vector<double> values = SweepValues(0.3, 1.3, 101, SweepParam::A);
    double best = 1e300;
    for (auto _ : state) {
        const Clock::time_point t0 = Clock::now();
        benchmark::DoNotOptimize(ComputeSweep(base, SweepParam::A, values));
        best = std::min(best, Seconds(Clock::now() - t0));
    }
    const double singles = Best(3, [&] {
        for (double v : values) benchmark::DoNotOptimize(ComputeSpaces(WithValue(base, SweepParam::A, v), 500, 350));
    });
    std::vector<ModelParams> large;
    for (std::size_t i = 0; i < values.size(); i += 25)
        large.push_back(WithValue({.step = 0.001}, SweepParam::A, values[i]));
    Report(state, best, NominalSteps(base) * static_cast<double>(values.size()), large, singles);
}

// 64 x 64 pairs of A from 0.3 to 1.3 and Dc from 0 to 1 at h 0.02, N 50
// (40,401 start points each); the large computations: every 21st value of
// each, 4 x 4 pairs, at h 0.005 (641,601 start points).
void PlaneOfADc(benchmark::State& state) {
    const ModelParams base{.step = 0.02, .iterations = 50};
    const std::vector<double> as = SweepValues(0.3, 1.3, 64, SweepParam::A);
    const std::vector<double> dcs = SweepValues(0.0, 1.0, 64, SweepParam::Dc);
    double best = 1e300;
    for (auto _ : state) {
        const Clock::time_point t0 = Clock::now();
        benchmark::DoNotOptimize(ComputePlane(base, SweepParam::A, as, SweepParam::Dc, dcs));
        best = std::min(best, Seconds(Clock::now() - t0));
    }
    const double singles = Best(1, [&] {
        for (double dc : dcs) {
            for (double a : as) {
                ModelParams p = WithValue(WithValue(base, SweepParam::A, a), SweepParam::Dc, dc);
                benchmark::DoNotOptimize(ComputeSpaces(p, 500, 350));
            }
        }
    });
    std::vector<ModelParams> large;
    for (std::size_t j = 0; j < dcs.size(); j += 21) {
        for (std::size_t i = 0; i < as.size(); i += 21) {
            const ModelParams fine{.step = 0.005, .iterations = 50};
            large.push_back(WithValue(WithValue(fine, SweepParam::A, as[i]), SweepParam::Dc, dcs[j]));
        }
    }
    Report(state, best, NominalSteps(base) * static_cast<double>(as.size() * dcs.size()), large, singles);
}

}  // namespace

BENCHMARK(SweepOfA)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);
BENCHMARK(PlaneOfADc)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

BENCHMARK_MAIN();
