// The metrics of a label grid against the straightforward transcription, in
// the same run, on grids of 4001 x 4001 start points (step 0.001): the
// defaults' kinds, and the attractor numbers of a map with two attractors
// (both actions inward). Each case reports:
//   ref_ms   the transcription's time;
//   best_ms  ComputeLabelMetrics's best time over the iterations;
//   ratio    ref_ms over best_ms;
//   boundary the share of boxes holding two labels or more.
// Times are the thread's processor time: the machine is shared, and both
// run on one thread.

#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <vector>

#include "bench_report.h"
#include "model/compute_spaces.h"
#include "model/grid_labels.h"
#include "model/label_metrics.h"
#include "reference_metrics.h"

using namespace orbitograph;

namespace {

double ThreadCpuMs() { return 1e3 * bench::CpuSeconds(CLOCK_THREAD_CPUTIME_ID); }

struct LabelGrid {
    std::vector<std::int64_t> labels;  // row by row, row 0 the lowest
    std::size_t rows = 0, cols = 0;
    double step = 0.0;
};

LabelGrid AtMillistep(bool attractors) {
    ModelParams p;
    p.step = 0.001;
    if (attractors) {
        p.dcOutward = p.kcOutward = 0;
        p.kc = 0.2;
        p.iterations = 100;
    }
    ComputeControl control;
    control.kindGrid = !attractors;
    control.analysis = attractors;
    const SpaceLists lists = *ComputeSpaces(p, 500, 350, control);
    LabelGrid g{{}, static_cast<std::size_t>(CountRows(p)), static_cast<std::size_t>(CountColumns(p)), p.step};
    if (attractors) {
        const auto rows = GridRows(lists.analysis.Attractor(), g.cols, g.rows);
        g.labels.assign(rows.begin(), rows.end());
    } else {
        const auto rows = LabelRows(lists.kinds, g.cols, g.rows);
        g.labels.assign(rows.begin(), rows.end());
    }
    return g;
}

template <class Label>
void Run(benchmark::State& state, bool attractors) {
    static const LabelGrid kinds = AtMillistep(false), numbers = AtMillistep(true);
    const LabelGrid& g = attractors ? numbers : kinds;
    const std::vector<Label> labels(g.labels.begin(), g.labels.end());
    const std::vector<std::int32_t> ks(std::begin(kDefaultMetricsDistances), std::end(kDefaultMetricsDistances));
    double best = std::numeric_limits<double>::infinity();
    LabelMetrics m;
    for (auto _ : state) {
        const double t0 = ThreadCpuMs();
        m = ComputeLabelMetrics<Label>(labels, g.rows, g.cols, g.step, kDefaultMetricsBox, ks);
        best = std::min(best, ThreadCpuMs() - t0);
        benchmark::DoNotOptimize(m);
    }
    const double t0 = ThreadCpuMs();
    benchmark::DoNotOptimize(reference::Metrics(g.labels, g.rows, g.cols, g.step, kDefaultMetricsBox, ks));
    const double ref = ThreadCpuMs() - t0;
    state.counters["ref_ms"] = ref;
    state.counters["best_ms"] = best;
    state.counters["ratio"] = ref / best;
    state.counters["boundary"] = static_cast<double>(m.boundaryBoxes) / static_cast<double>(m.boxes);
}

void Kinds(benchmark::State& state) { Run<std::uint8_t>(state, false); }
void Attractors(benchmark::State& state) { Run<std::int32_t>(state, true); }

}  // namespace

BENCHMARK(Kinds)->Name("kinds_16M")->Unit(benchmark::kMillisecond);
BENCHMARK(Attractors)->Name("attractors_16M")->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
