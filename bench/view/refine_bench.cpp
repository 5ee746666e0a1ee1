// A live change in the fitted display at h 0.001, N 1000 on a full-HD
// client area: the time from the change to the first picture on the screen
// and to the exact one, with previews (the window's refinement: the first
// level chosen from the time per start point measured on the exact grid)
// against the same update without them (today's: the exact grid, then the
// frame), in the same run. Each picture is computed, composed and painted.
// Counters:
//   level                      the first preview's level (step h * 2^level)
//   first_ms, exact_ms         best time to the first and to the exact picture
//   ref_ms                     best time of the update without previews
//   ratio_first                ref_ms over first_ms
//   exact_over_ref             exact_ms over ref_ms: what the previews cost

#include <benchmark/benchmark.h>

#include <QPainter>
#include <algorithm>
#include <chrono>

#include "app/spaces_job.h"
#include "model/compute_spaces.h"
#include "model/grid.h"
#include "model/report.h"
#include "view/frame.h"

using namespace orbitograph;

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr double kBudgetSeconds = 0.03;  // the window's

using Clock = std::chrono::steady_clock;

double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// One picture of p computed, composed and painted, as the window shows it;
// a preview has no report. Returns the engine's seconds.
double Show(const ModelParams& p, bool exact, ViewState& view, FractalModel& model, QImage& surface) {
    ComputeControl control;
    control.attractorEnds = control.kindGrid = true;
    const Clock::time_point t = Clock::now();
    SpaceLists lists = *ComputeSpaces(p, model.originX, model.originY, control);
    const double seconds = std::chrono::duration<double>(Clock::now() - t).count();
    ReportLines report = exact ? BuildReport(p, CountsOf(p, lists)) : ReportLines{};
    view.SetParams(p);
    model.SetParams(p);
    model.Install(std::move(lists));
    model.report = std::move(report);
    const QImage canvas = ComposeFrame(view, model, kWidth, kHeight, nullptr);
    QPainter painter(&surface);
    painter.drawImage(QPoint(0, 0), canvas);
    return seconds;
}

void FittedLiveChange(benchmark::State& state) {
    ModelParams p{.step = 0.001, .iterations = 1000};
    ViewState view;
    view.m_switches.m_fitWindow = true;
    FractalModel model;
    QImage surface(kWidth, kHeight, QImage::Format_ARGB32_Premultiplied);
    ComposeFrame(view, model, kWidth, kHeight, nullptr);  // places the origin
    double ref = 1e300;
    double perPoint = 1e300;
    const auto points = static_cast<double>(CountStartPoints(p));
    for (int i = 0; i < 3; ++i) {
        const Clock::time_point t = Clock::now();
        perPoint = std::min(perPoint, Show(p, true, view, model, surface) / points);
        ref = std::min(ref, Ms(Clock::now() - t));
    }
    const int level = FirstCoarseLevel(CountColumns(p), CountRows(p), perPoint, kBudgetSeconds);
    double first = 1e300, exact = 1e300;
    for (auto _ : state) {
        p.a = 0.8 + 0.001 * static_cast<double>(state.iterations() % 8);
        const Clock::time_point t = Clock::now();
        double firstThis = 0.0;
        for (int l = level; l >= 1; --l) {
            Show(CoarseParams(p, l), false, view, model, surface);
            if (l == level) firstThis = Ms(Clock::now() - t);
        }
        Show(p, true, view, model, surface);
        const double exactThis = Ms(Clock::now() - t);
        first = std::min(first, level > 0 ? firstThis : exactThis);
        exact = std::min(exact, exactThis);
    }
    state.counters["level"] = level;
    state.counters["first_ms"] = first;
    state.counters["exact_ms"] = exact;
    state.counters["ref_ms"] = ref;
    state.counters["ratio_first"] = ref / first;
    state.counters["exact_over_ref"] = exact / ref;
}

}  // namespace

BENCHMARK(FittedLiveChange)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(8);
