// One live update of the window, as a dragged slider causes it, on a
// full-HD client area: the computation of both spaces (every core), the
// report, the composition of the frame and the paint of the canvas onto a
// window surface (Format_ARGB32_Premultiplied, as the backing store is).
// Counters, all from the same run:
//   best_ms                      the whole update, best of the iterations
//   compute_ms report_ms compose_ms paint_ms   each stage, in that best one
//   ref_ms                       the same update with the literal
//                                transcription of the model's walks in
//                                place of the engine (best of three)
//   ratio                        ref_ms over best_ms
//   updates_per_s                1000 / best_ms

#include <benchmark/benchmark.h>

#include <QPainter>
#include <algorithm>
#include <chrono>

#include "model/compute_spaces.h"
#include "model/report.h"
#include "reference_model.h"
#include "view/frame.h"

using namespace orbitograph;

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

struct Stages {
    double compute = 0, report = 0, compose = 0, paint = 0;
    double Total() const { return compute + report + compose + paint; }
};

// One update; lists come from the engine or from the reference.
template <class Compute>
Stages Update(const ModelParams& p, ViewState& view, FractalModel& model, QImage& surface, Compute compute) {
    Stages s;
    Clock::time_point t = Clock::now();
    SpaceLists lists = compute(p);
    Clock::time_point u = Clock::now();
    s.compute = Ms(u - t);
    ReportLines report = BuildReport(p, CountsOf(p, lists));
    t = Clock::now();
    s.report = Ms(t - u);
    view.SetParams(p);
    model.SetParams(p);
    model.Install(std::move(lists));
    model.report = std::move(report);
    const QImage canvas = ComposeFrame(view, model, kWidth, kHeight, nullptr);
    u = Clock::now();
    s.compose = Ms(u - t);
    {
        QPainter painter(&surface);
        painter.drawImage(QPoint(0, 0), canvas);
    }
    s.paint = Ms(Clock::now() - u);
    return s;
}

void LiveUpdate(benchmark::State& state, double step) {
    ModelParams p;
    p.step = step;
    ViewState view;
    FractalModel model;
    QImage surface(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    // The first repaint places the origin, as in the window.
    ComposeFrame(view, model, kWidth, kHeight, nullptr);
    double ref = 1e300;
    for (int i = 0; i < 3; ++i) {
        const Stages r = Update(p, view, model, surface, [&](const ModelParams& q) {
            return reference::ComputeAll(q, {model.originX, model.originY});
        });
        ref = std::min(ref, r.Total());
    }
    Stages best;
    best.compute = 1e300;
    for (auto _ : state) {
        // A slider's neighbouring values, as a drag passes them.
        p.a = 0.8 + 0.001 * static_cast<double>(state.iterations() % 8);
        const Stages s = Update(p, view, model, surface,
                                [&](const ModelParams& q) { return *ComputeSpaces(q, model.originX, model.originY); });
        if (s.Total() < best.Total()) best = s;
    }
    state.counters["best_ms"] = best.Total();
    state.counters["compute_ms"] = best.compute;
    state.counters["report_ms"] = best.report;
    state.counters["compose_ms"] = best.compose;
    state.counters["paint_ms"] = best.paint;
    state.counters["ref_ms"] = ref;
    state.counters["ratio"] = ref / best.Total();
    state.counters["updates_per_s"] = 1000.0 / best.Total();
}

void Defaults(benchmark::State& state) { LiveUpdate(state, 0.01); }
void HalfStep(benchmark::State& state) { LiveUpdate(state, 0.005); }

}  // namespace

BENCHMARK(Defaults)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(200);
BENCHMARK(HalfStep)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(100);
