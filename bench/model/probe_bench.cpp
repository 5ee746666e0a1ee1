// Following one orbit against the straightforward reference's iteration of
// its end point, in the same run. Each case reports:
//   ref_ms   the reference's time for the orbit (for N beyond 10^7 measured
//            on the first 10^7 + 1 steps and scaled: it makes every step);
//   best_ms  the probe's best time over the iterations;
//   ratio    ref_ms over best_ms.
// Times are the thread's processor time: the machine is shared, and both
// run on one thread.

#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <cstdint>
#include <limits>

#include "bench_report.h"
#include "model/probe.h"
#include "reference_model.h"

using namespace orbitograph;

namespace {

double ThreadCpuMs() { return 1e3 * bench::CpuSeconds(CLOCK_THREAD_CPUTIME_ID); }

double ReferenceMs(ModelParams p, double x0, double y0) {
    const double scale = std::max(1.0, (p.iterations + 1.0) / 1e7);
    p.iterations = std::min(p.iterations, 10'000'000);
    double xe = 0.0, ye = 0.0;
    const double t0 = ThreadCpuMs();
    reference::IterateOrbit(p, x0, y0, xe, ye);
    benchmark::DoNotOptimize(xe + ye);
    return (ThreadCpuMs() - t0) * scale;
}

void Probe(benchmark::State& state, ModelParams p, double x0, double y0) {
    double best = std::numeric_limits<double>::infinity();
    for (auto _ : state) {
        const double t0 = ThreadCpuMs();
        benchmark::DoNotOptimize(ProbeOrbit(p, x0, y0));
        best = std::min(best, ThreadCpuMs() - t0);
    }
    const double ref = ReferenceMs(p, x0, y0);
    state.counters["ref_ms"] = ref;
    state.counters["best_ms"] = best;
    state.counters["ratio"] = ref / best;
}

ModelParams Quadratic(double dc, std::int32_t n) {  // x -> x*x - dc on the x axis
    ModelParams p;
    p.a = 1.0;
    p.dc = dc;
    p.dcOutward = 0;
    p.kc = 0.0;
    p.iterations = n;
    return p;
}

ModelParams Defaults(std::int32_t n) {
    ModelParams p;
    p.iterations = n;
    return p;
}

}  // namespace

// The defaults' orbit from (-0.57, -0.02) repeats no state: every step is made.
BENCHMARK_CAPTURE(Probe, no_repeat_N2e7, Defaults(20'000'000), -0.57, -0.02)->Unit(benchmark::kMillisecond);
// Escapes at once and freezes as NaN: found as a cycle of period 1.
BENCHMARK_CAPTURE(Probe, escape_N2e9, Defaults(2'000'000'000), 0.0, 0.0)->Unit(benchmark::kMillisecond);
// A cycle of period 2 from step 1: whole periods skipped.
BENCHMARK_CAPTURE(Probe, cycle2_N2e9, Quadratic(1.0, 2'000'000'000), -1.0, 0.0)->Unit(benchmark::kMillisecond);
// x -> x*x - 1.9 from 0.3 repeats with period 19,745,917.
BENCHMARK_CAPTURE(Probe, long_cycle_N2e8, Quadratic(1.9, 200'000'000), 0.3, 0.0)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(2);

BENCHMARK_MAIN();
