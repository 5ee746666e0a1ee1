// Composition of a full-HD frame with every overlay on, for the defaults and
// for h 0.001 (16 million basin points), in the display of one pixel per
// grid point and in the display that fits the window. The point layers are also measured
// against the straightforward reference, one 1 x 1 QPainter fill per point,
// timed in the same run; the ratio is printed as "speedup".

#include <benchmark/benchmark.h>

#include <QPainter>
#include <chrono>
#include <memory>

#include "legend/legend_panel.h"
#include "view/fitted_frame.h"
#include "view/fitted_layers.h"
#include "view/frame.h"
#include "view/parameter_text.h"
#include "view/point_layers.h"

using namespace orbitograph;

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

std::unique_ptr<FractalModel> Computed(double step) {
    auto m = std::make_unique<FractalModel>();
    ModelParams p;
    p.step = step;
    m->SetParams(p);
    m->originX = kWidth / 2;
    m->originY = kHeight / 2;
    ComputeControl control;
    control.attractorEnds = true;  // these two read only by the fitted display
    control.kindGrid = true;
    m->Compute(control);
    return m;
}

const FractalModel& DefaultModel() {
    static const std::unique_ptr<FractalModel> m = Computed(0.01);
    return *m;
}

const FractalModel& FineModel() {
    static const std::unique_ptr<FractalModel> m = Computed(0.001);
    return *m;
}

ViewState EverythingOn(double step) {
    ViewState v;
    v.m_params.m_step = step;
    v.m_switches.m_showGrid = true;
    v.m_switches.m_showLegend = true;
    v.m_switches.m_aSymmetry = true;
    v.m_legend.m_nameHx = QStringLiteral("доход");
    v.m_legend.m_nameHy = QStringLiteral("риск");
    return v;
}

// The point layers of a two-panel frame drawn one QPainter fill per point.
void ReferencePointLayers(QImage& canvas, const FractalModel& m, std::int32_t sA, std::int32_t sB) {
    QPainter p(&canvas);
    auto fill = [&p](const PointList& list, std::int32_t s, QRgb c) {
        const QColor colour = QColor::fromRgba(c);
        for (const Point& pt : list) p.fillRect(QRect(pt.x + s, pt.y, 1, 1), colour);
    };
    fill(m.attractors, sA, kAttractorColour);
    fill(m.basinInfinity, sB, kBasinInfinityColour);
    fill(m.basinZero, sB, kBasinZeroColour);
    fill(m.basinO, sB, kBasinOColour);
    fill(m.basinT, sB, kBasinTColour);
    fill(m.basinM, sB, kBasinMColour);
    fill(m.basinH, sB, kBasinHColour);
}

void FastPointLayers(QImage& canvas, const FractalModel& m, std::int32_t sA, std::int32_t sB) {
    DrawAttractors(canvas, m.attractors, sA, false, ClientRect{0, 0, kWidth, kHeight});
    DrawBasins(canvas, m, sB);
}

template <class F>
double MillisecondsOf(F f) {
    const auto t0 = std::chrono::steady_clock::now();
    f();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

// counts: kept across frames, as the window keeps them between repaints.
void ComposeFrameBench(benchmark::State& state, double step, const FractalModel& model, bool fit = false,
                       EndCounts* counts = nullptr) {
    FractalModel m = model;
    const QImage picture(QStringLiteral(ORBITOGRAPH_LEGEND_PICTURE));
    ViewState v = EverythingOn(step);
    v.m_switches.m_fitWindow = fit;
    v.m_listsOriginX = kWidth / 2;
    v.m_listsOriginY = kHeight / 2;
    for (auto _ : state) {
        QImage frame = ComposeFrame(v, m, kWidth, kHeight, &picture, counts);
        benchmark::DoNotOptimize(frame.constBits());
    }
    if (fit) {
        // The one-pixel-per-point frame of the same lists, timed once in this run.
        ViewState classic = v;
        classic.m_switches.m_fitWindow = false;
        const double classicMs = MillisecondsOf([&] { ComposeFrame(classic, m, kWidth, kHeight, &picture); });
        const double fitMs = MillisecondsOf([&] { ComposeFrame(v, m, kWidth, kHeight, &picture, counts); });
        state.counters["classic_ms"] = classicMs;
        state.counters["vs_classic"] = classicMs > 0.0 ? fitMs / classicMs : 0.0;
    }
    state.counters["points"] =
        static_cast<double>(m.attractors.size() + m.basinInfinity.size() + m.basinZero.size() + m.basinO.size() +
                            m.basinT.size() + m.basinM.size() + m.basinH.size());
}

void BM_ComposeDefaultFrame(benchmark::State& state) { ComposeFrameBench(state, 0.01, DefaultModel()); }
void BM_ComposeFineFrame(benchmark::State& state) { ComposeFrameBench(state, 0.001, FineModel()); }
void BM_ComposeFittedDefaultFrame(benchmark::State& state) { ComposeFrameBench(state, 0.01, DefaultModel(), true); }
void BM_ComposeFittedFineFrame(benchmark::State& state) { ComposeFrameBench(state, 0.001, FineModel(), true); }
void BM_RepaintFittedFineFrame(benchmark::State& state) {
    EndCounts counts;
    ComposeFrameBench(state, 0.001, FineModel(), true, &counts);
}

// The fitted display's text and legend, drawn apart and cut to what they
// cover, against drawing them straight onto a canvas as the classic display
// does (the straightforward way, timed once in this run).
void BM_FittedOverlays(benchmark::State& state) {
    FractalModel m = DefaultModel();
    const QImage picture(QStringLiteral(ORBITOGRAPH_LEGEND_PICTURE));
    ViewState v = EverythingOn(0.01);
    v.m_switches.m_fitWindow = true;
    v.m_clientRect = ClientRect{0, 0, kWidth, kHeight};
    for (auto _ : state) {
        FittedOverlayPictures o = DrawFittedOverlays(v, m, &picture);
        benchmark::DoNotOptimize(o.report.constBits());
    }
    QImage canvas(kWidth, kHeight, QImage::Format_ARGB32);
    canvas.fill(0xFFF0F0F0);
    const double directMs = MillisecondsOf([&] {
        DrawParameterText(canvas, m.report, v.m_switches.m_fontSize);
        DrawLegend(canvas, v.m_legend, &picture, kHeight);
    });
    const double cutMs = MillisecondsOf([&] { DrawFittedOverlays(v, m, &picture); });
    state.counters["direct_ms"] = directMs;
    state.counters["vs_direct"] = directMs > 0.0 ? cutMs / directMs : 0.0;
}

// The fitted basin panel the straightforward way: every point's pixel by
// divisions into one count array for the whole panel, then the majority.
void ReferenceFittedBasins(QImage& canvas, const PixelRect& area, const FractalModel& m, const ListGrid& g) {
    std::vector<std::uint32_t> counts(static_cast<std::size_t>(area.width) * area.height * kBasinKinds);
    const AxisFit across{g.columns, area.width};
    const AxisFit up{g.rows, area.height};
    const auto lists = BasinListsInTieOrder(m);
    for (int k = 0; k < kBasinKinds; ++k) {
        for (const Point& p : *lists[static_cast<std::size_t>(k)]) {
            const AxisFit::Run xs = across.PixelRun(p.x - g.pxFirst);
            const AxisFit::Run ys = up.PixelRun(g.pyFirst - p.y);
            for (std::int64_t y = ys.begin; y < ys.end; ++y)
                for (std::int64_t x = xs.begin; x < xs.end; ++x)
                    ++counts[static_cast<std::size_t>((y * area.width + x) * kBasinKinds + k)];
        }
    }
    const auto colours = BasinColoursInTieOrder();
    for (int y = 0; y < area.height; ++y)
        for (int x = 0; x < area.width; ++x) {
            const int kind = MajorityKind(&counts[static_cast<std::size_t>((y * area.width + x) * kBasinKinds)]);
            if (kind >= 0) canvas.setPixel(area.left + x, area.top + area.height - 1 - y, colours[kind]);
        }
}

void FittedBasinsBench(benchmark::State& state, const FractalModel& m, double step) {
    QImage canvas(kWidth, kHeight, QImage::Format_ARGB32);
    ViewState v;
    v.m_params.m_step = step;
    v.m_clientRect = {0, 0, kWidth, kHeight};
    v.m_listsOriginX = kWidth / 2;
    v.m_listsOriginY = kHeight / 2;
    const PixelRect area = FittedLayoutOf(v).basinArea;
    const ListGrid grid = ListGridOfView(v);
    for (auto _ : state) {
        DrawFittedBasins(canvas, area, m, grid);
        benchmark::DoNotOptimize(canvas.constBits());
    }
    QImage expected = canvas;
    expected.fill(0xFFF0F0F0);
    canvas.fill(0xFFF0F0F0);
    const double reference = MillisecondsOf([&] { ReferenceFittedBasins(expected, area, m, grid); });
    const double fast = MillisecondsOf([&] { DrawFittedBasins(canvas, area, m, grid); });
    if (canvas != expected) state.SkipWithError("the basin panel differs from the reference's");
    state.counters["reference_ms"] = reference;
    state.counters["speedup"] = fast > 0.0 ? reference / fast : 0.0;
}

void BM_FittedBasinsDefault(benchmark::State& state) { FittedBasinsBench(state, DefaultModel(), 0.01); }
void BM_FittedBasinsFine(benchmark::State& state) { FittedBasinsBench(state, FineModel(), 0.001); }

void PointLayersBench(benchmark::State& state, const FractalModel& m, double step) {
    QImage canvas(kWidth, kHeight, QImage::Format_ARGB32);
    const std::int32_t sA = static_cast<std::int32_t>(-2.0 / step - 20.0);
    const std::int32_t sB = static_cast<std::int32_t>(2.0 / step + 20.0);
    for (auto _ : state) {
        FastPointLayers(canvas, m, sA, sB);
        benchmark::DoNotOptimize(canvas.constBits());
    }
    // The reference, timed once per benchmark run on the same lists.
    canvas.fill(0xFFF0F0F0);
    const double reference = MillisecondsOf([&] { ReferencePointLayers(canvas, m, sA, sB); });
    canvas.fill(0xFFF0F0F0);
    const double fast = MillisecondsOf([&] { FastPointLayers(canvas, m, sA, sB); });
    state.counters["reference_ms"] = reference;
    state.counters["speedup"] = fast > 0.0 ? reference / fast : 0.0;
}

void BM_PointLayersDefault(benchmark::State& state) { PointLayersBench(state, DefaultModel(), 0.01); }
void BM_PointLayersFine(benchmark::State& state) { PointLayersBench(state, FineModel(), 0.001); }

}  // namespace

BENCHMARK(BM_ComposeDefaultFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComposeFineFrame)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ComposeFittedDefaultFrame)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_ComposeFittedFineFrame)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_RepaintFittedFineFrame)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_FittedOverlays)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_FittedBasinsDefault)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_FittedBasinsFine)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_PointLayersDefault)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PointLayersFine)->Unit(benchmark::kMillisecond)->Iterations(10);
