// Composition of a full-HD frame with every overlay on, for the defaults and
// for h 0.001 (16 million basin points). The point layers are also measured
// against the straightforward reference, one 1 x 1 QPainter fill per point,
// timed in the same run; the ratio is printed as "speedup".

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QPainter>
#include <chrono>
#include <memory>

#include "view/frame.h"
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
    m->Compute();
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
    v.m_step = step;
    v.m_showGrid = 1;
    v.m_showLegend = 1;
    v.m_aSymmetry = 1;
    v.m_nameHx = QStringLiteral("доход");
    v.m_nameHy = QStringLiteral("риск");
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

void ComposeFrameBench(benchmark::State& state, double step, const FractalModel& model) {
    FractalModel m = model;
    const QImage picture(QStringLiteral(ORBITOGRAPH_LEGEND_PICTURE));
    ViewState v = EverythingOn(step);
    for (auto _ : state) {
        QImage frame = ComposeFrame(v, m, kWidth, kHeight, &picture);
        benchmark::DoNotOptimize(frame.constBits());
    }
    state.counters["points"] = static_cast<double>(m.attractors.size() + m.basinInfinity.size() + m.basinZero.size() +
                                                   m.basinO.size() + m.basinT.size() + m.basinM.size() +
                                                   m.basinH.size());
}

void BM_ComposeDefaultFrame(benchmark::State& state) { ComposeFrameBench(state, 0.01, DefaultModel()); }
void BM_ComposeFineFrame(benchmark::State& state) { ComposeFrameBench(state, 0.001, FineModel()); }

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
BENCHMARK(BM_PointLayersDefault)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PointLayersFine)->Unit(benchmark::kMillisecond)->Iterations(10);

int main(int argc, char** argv) {
    int qtArgc = 3;
    char platformOption[] = "-platform";
    char platformName[] = "offscreen";
    char* qtArgv[] = {argv[0], platformOption, platformName, nullptr};
    QGuiApplication app(qtArgc, qtArgv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
