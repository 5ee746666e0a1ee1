// A sweep of 101 values of A (0.3 to 1.3, the other parameters the
// defaults: 160,801 start points, N 10) with the attractors and the metrics
// of every value (AnalyseSets, every core), against the literal
// transcriptions of the analysis and the metrics on every tenth value, in
// the same run. Reports:
//   best_ms            the analysed sweep's best time over the iterations;
//   per_value_ms       best_ms / 101;
//   counts_ms          the same sweep counting the kinds only (ComputeSweep);
//   ratio_to_counts    best_ms over counts_ms;
//   ref_per_value_ms   the transcriptions' mean time per value (one thread);
//   ratio              ref_per_value_ms over per_value_ms;
//   tracks_ms          ContinueAttractors over the 101 catalogues.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "bench_report.h"
#include "model/continuation.h"
#include "model/grid_labels.h"
#include "model/sweep.h"
#include "reference_analysis.h"
#include "reference_metrics.h"
#include "request/set_analysis.h"

using namespace orbitograph;

namespace {

using bench::Best;
using bench::Clock;
using bench::Seconds;

// The transcriptions' work for one value: the analysis and the metrics of
// its attractor numbers (the kinds' metrics cost the same).
void ReferenceValue(const ModelParams& p) {
    const GridAnalysis a = reference::Analyse(p, kDefaultAttractorDelta);
    const auto cols = static_cast<std::size_t>(CountColumns(p));
    const auto rows = static_cast<std::size_t>(CountRows(p));
    const std::vector<std::int32_t> grid = GridRows(a.Attractor(), cols, rows);
    const std::vector<std::int64_t> labels(grid.begin(), grid.end());
    const std::vector<std::int32_t> ks(std::begin(kDefaultMetricsDistances), std::end(kDefaultMetricsDistances));
    benchmark::DoNotOptimize(reference::Metrics(labels, rows, cols, p.step, kDefaultMetricsBox, ks));
}

void AnalysedSweepOfA(benchmark::State& state) {
    const std::vector<double> values = SweepValues(0.3, 1.3, 101, SweepParam::A);
    std::vector<ModelParams> sets;
    for (const double v : values) sets.push_back(WithValue(ModelParams{}, SweepParam::A, v));
    SetAnalysisRequest request;
    request.analysis = true;
    request.metrics.wanted = true;
    double best = 1e300;
    std::vector<SetAnalysis> analysed;
    for (auto _ : state) best = std::min(best, Best(1, [&] { analysed = *AnalyseSets(sets, request); }));
    const double counts =
        Best(3, [&] { benchmark::DoNotOptimize(ComputeSweep(ModelParams{}, SweepParam::A, values)); });
    double reference = 0.0;
    int referenced = 0;
    for (std::size_t i = 0; i < sets.size(); i += 10, ++referenced) {
        const Clock::time_point t0 = Clock::now();
        ReferenceValue(sets[i]);
        reference += Seconds(Clock::now() - t0);
    }
    const std::vector<CatalogueAt> catalogues = Catalogues(sets, std::move(analysed));
    const double tracks = Best(3, [&] { benchmark::DoNotOptimize(ContinueAttractors(catalogues, 0.05)); });
    const double perValue = best / static_cast<double>(values.size());
    state.counters["best_ms"] = best * 1e3;
    state.counters["per_value_ms"] = perValue * 1e3;
    state.counters["counts_ms"] = counts * 1e3;
    state.counters["ratio_to_counts"] = best / counts;
    state.counters["ref_per_value_ms"] = reference / referenced * 1e3;
    state.counters["ratio"] = reference / referenced / perValue;
    state.counters["tracks_ms"] = tracks * 1e3;
}

}  // namespace

BENCHMARK(AnalysedSweepOfA)->Name("sweep_a_101_analysis_metrics")->Unit(benchmark::kMillisecond)->Iterations(3);

BENCHMARK_MAIN();
