#include <gtest/gtest.h>

#include <atomic>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include <hwy/targets.h>

#include "model/classify.h"
#include "model/compute_spaces.h"
#include "model/engine/grid_engine.h"
#include "model/grid.h"
#include "model/grid_labels.h"
#include "reference_analysis.h"
#include "reference_model.h"
#include "support/draw.h"

using namespace orbitograph;

namespace {

using reference::Describe;
using test::Draw;

// Families of parameter sets, each reaching one kind of orbit the analysis
// must get right.
enum class Family {
    Drawn,     // any coefficient and action
    ZeroA,     // A = 0: one fixed point, reached in a step or two, signs of zero included
    Inward,    // both actions inward: two or more attractors, periods 1 to 5 and longer transients
    Guard,     // a tiny A and actions beyond 50: orbits frozen by the guard
    Overflow,  // huge A or actions: infinite and NaN states within a few steps
    NoStep,    // a negative iteration count
    Early,     // just past the engine's first 32 steps, repeats that show only among the first states
};

// At most about 10 start points a side over part of the square.
void DrawGrid(Draw& d, ModelParams& p) {
    p.x1 = d.Chance(0.3) ? -2.0 : d.Between(-2.0, 1.5);
    p.x2 = d.Chance(0.3) ? 2.0 : d.Between(p.x1, 2.0);
    p.y1 = d.Chance(0.3) ? -2.0 : d.Between(-2.0, 1.5);
    p.y2 = d.Chance(0.3) ? 2.0 : d.Between(p.y1, 2.0);
    p.step = std::fmax(std::fmax(p.x2 - p.x1, p.y2 - p.y1), 0.01) / d.Between(2.0, 10.0);
}

ModelParams DrawSet(Draw& d, Family f) {
    for (;;) {
        ModelParams p;
        p.dcOutward = d.Int(0, 1);
        p.kcOutward = d.Int(0, 1);
        p.a = d.Sign() * d.Between(0.05, 2.0);
        p.dc = d.Sign() * d.Between(0.0, 1.3);
        p.kc = d.Sign() * d.Between(0.0, 1.3);
        // Past the engine's first 32 steps, and just past them, where a
        // repeat may show only among the first states.
        p.iterations = d.Chance(0.2) ? d.Int(40, 1500) : (d.Chance(0.2) ? d.Int(33, 36) : d.Int(0, 40));
        switch (f) {
            case Family::Drawn: break;
            case Family::ZeroA:
                p.a = d.Chance(0.5) ? 0.0 : -0.0;
                p.dc = d.Chance(0.3) ? d.Sign() * 0.0 : p.dc;
                p.kc = d.Chance(0.3) ? d.Sign() * 0.0 : p.kc;
                break;
            case Family::Inward:
                p.dcOutward = p.kcOutward = 0;
                p.dc = std::fabs(p.dc);
                p.kc = std::fabs(p.kc);
                p.a = d.Sign() * d.Between(0.2, 1.6);
                p.iterations = d.Int(0, 2000);
                break;
            case Family::Guard:
                p.a = d.Sign() * d.Between(1e-4, 0.03);
                p.dc = d.Sign() * d.Between(50.0, 300.0);
                p.kc = d.Sign() * d.Between(50.0, 300.0);
                break;
            case Family::Overflow:
                p.a = d.Sign() * std::pow(10.0, d.Int(0, 250));
                p.dc = d.Sign() * std::pow(10.0, d.Int(-3, 300));
                break;
            case Family::NoStep: p.iterations = -d.Int(1, 1000); break;
            case Family::Early: {
                // x -> x*x - 1 on the line y = 0: 0, -1, 0, ... from the first
                // step, so that s_33 recurs only among the first 32 states
                // (as s_31); or rounding cycles, found by search, whose
                // states differ in a few final bits.
                ModelParams e{.a = 1.0, .step = 1.0, .dc = -1.0, .kc = 0.0, .iterations = 32};
                if (d.Chance(0.5))
                    e = {.a = 0.14738314555690382,
                         .step = 0.5,
                         .dc = 0.046515639061643424,
                         .kc = -0.77890936316666581,
                         .iterations = 33};
                return e;
            }
        }
        DrawGrid(d, p);
        if (f == Family::Inward) p.step /= 2.0;  // more start points, more cycles to merge
        if (!CheckParameters(p)) return p;
    }
}

// The engine's analysis with one thread count, block size, kernel and
// instruction set.
struct EngineRun {
    int threads;
    bool scalarKernel;
    bool history;  // the analysis's own walks in the kernel's place
};
constexpr EngineRun kRuns[] = {{1, false, true}, {3, false, true}, {7, false, false}, {3, true, false}};

SpaceLists Engine(const ModelParams& p, double delta, EngineRun run, std::size_t block) {
    ComputeControl control;
    control.threads = run.threads;
    control.analysis = true;
    control.attractorDelta = delta;
    engine::EngineOptions options;
    options.kernel = run.scalarKernel ? engine::EndPointsScalar : engine::EndPointsVector;
    options.blockPoints = block;
    options.analysisHistory = run.history ? engine::kAnalysisHistoryBytes : 0;
    return engine::ComputeGrid(p, 500, 350, control, options).value();
}

bool SameBits(double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); }

std::vector<std::int32_t> Values(std::span<const std::int32_t> column) { return {column.begin(), column.end()}; }

// Every instruction set again for the tests that follow, however one ends.
struct RestoreTargets {
    ~RestoreTargets() { hwy::SetSupportedTargetsForTest(0); }
};

}  // namespace

// Exit step, cycle start, period and attractor of every start point, the
// catalogue and the two counts, equal to the transcription's for every
// family, thread count, block size, end-point kernel and instruction set, and
// for merge distances that keep every cycle apart, merge the cycles that
// rounding splits, merge distinct attractors, and merge everything; and the
// lists, which the analysis computes its own way, equal to the reference's.
TEST(AnalysisDifferential, PerPointValuesAndCatalogue) {
    RestoreTargets restore;
    const std::vector<std::int64_t> targets = hwy::SupportedAndGeneratedTargets();
    const std::vector<double> deltas = {0.0, kDefaultAttractorDelta, 0.05, 0.5,
                                        std::numeric_limits<double>::infinity()};
    Draw d{20260611};
    int set = 0, merged = 0;
    for (int f = 0; f <= static_cast<int>(Family::Early); ++f) {
        for (int i = 0; i < 60; ++i, ++set) {
            const ModelParams p = DrawSet(d, static_cast<Family>(f));
            const std::vector<GridAnalysis> expectedFor = reference::Analyse(p, deltas);
            for (std::size_t k = 1; k < deltas.size(); ++k)
                merged += expectedFor[k].attractors.size() < expectedFor[k - 1].attractors.size();
            const SpaceLists lists = reference::ComputeAll(p, {500, 350});
            const std::int64_t target = targets[static_cast<std::size_t>(set) % targets.size()];
            hwy::SetSupportedTargetsForTest(target);
            for (std::size_t r = 0; r < std::size(kRuns); ++r) {
                const EngineRun run = kRuns[r];
                const double delta = deltas[(static_cast<std::size_t>(set) + r) % deltas.size()];
                const GridAnalysis& expected = expectedFor[(static_cast<std::size_t>(set) + r) % deltas.size()];
                const auto block = static_cast<std::size_t>(run.threads == 1 ? 0 : d.Int(1, 40));
                SpaceLists all = Engine(p, delta, run, block);
                const GridAnalysis got = std::move(all.analysis);
                all.analysis = {};
                const std::string where = "family " + std::to_string(f) + " " + hwy::TargetName(target) + " threads " +
                                          std::to_string(run.threads) + (run.scalarKernel ? " scalar" : "") +
                                          (run.history ? "" : " no history") + " block " + std::to_string(block) +
                                          " delta " + std::to_string(delta) + ": " + Describe(p);
                ASSERT_EQ(Values(got.ExitStep()), Values(expected.ExitStep())) << where;
                ASSERT_EQ(Values(got.CycleStart()), Values(expected.CycleStart())) << where;
                ASSERT_EQ(Values(got.Period()), Values(expected.Period())) << where;
                ASSERT_EQ(Values(got.Attractor()), Values(expected.Attractor())) << where;
                ASSERT_EQ(got.attractors, expected.attractors) << where;
                ASSERT_EQ(got.escaped, expected.escaped) << where;
                ASSERT_EQ(got.unsettled, expected.unsettled) << where;
                ASSERT_TRUE(all == lists) << where;  // the lists as without the analysis
            }
        }
    }
    EXPECT_GT(merged, 20);  // the distances really merge cycles
}

// What the analysis refuses, by reason, and that the engine refuses it
// without computing; a cancel, before or while blocks run, gives no result.
TEST(AnalysisDifferential, RefusalsAndCancel) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const int most = std::numeric_limits<std::int32_t>::max();
    struct Row {
        ModelParams p;
        double delta;
        std::optional<AnalysisRefusal> refusal;
    };
    const Row rows[] = {
        {{}, kDefaultAttractorDelta, std::nullopt},
        {{}, 0.0, std::nullopt},
        {{}, inf, std::nullopt},
        {{}, nan, AnalysisRefusal::DeltaNotValid},
        {{}, -1e-300, AnalysisRefusal::DeltaNotValid},
        {{.step = 0.0005}, kDefaultAttractorDelta, AnalysisRefusal::TooManyPoints},  // 8001 x 8001
        {{.step = 0.0006}, kDefaultAttractorDelta, std::nullopt},                    // 6667 x 6667
        {{.iterations = most}, kDefaultAttractorDelta, AnalysisRefusal::TooManyIterations},
        {{.iterations = most - 1}, kDefaultAttractorDelta, std::nullopt},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(CheckAnalysis(row.p, row.delta), row.refusal) << row.p.step << " " << row.delta;
        if (!row.refusal) continue;
        ComputeControl control;
        control.analysis = true;
        control.attractorDelta = row.delta;
        EXPECT_THROW(ComputeSpaces(row.p, 500, 350, control), std::invalid_argument);
    }
    for (const bool before : {true, false}) {
        std::atomic<bool> cancel{before};
        ComputeControl control;
        control.threads = 2;
        control.analysis = true;
        control.cancel = &cancel;
        control.progress = [&](double) { cancel = true; };
        EXPECT_FALSE(ComputeSpaces({.a = 0.3, .step = 0.004, .iterations = 100'000}, 500, 350, control));
    }
}

// On drawn small grids: the labels, laid out row by row from the lowest row
// (and in grid order by LabelCodes), name the kind of the reference's end
// point of each start point (the kinds' own bounds: Spaces tests); every end
// point the engine keeps is the reference's bit for bit, and every NaN stands
// for an orbit the reference ends outside the square.
TEST(GridLabels, MatchTheReferenceOnDrawnGrids) {
    Draw d{1306};
    int nanSeen = 0;
    for (int set = 0; set < 350; ++set) {
        const ModelParams p = DrawSet(d, static_cast<Family>(set % 7));
        const std::vector<double> xs = AxisCoordinates(p.x1, p.x2, p.step);
        const std::vector<double> ys = AxisCoordinates(p.y1, p.y2, p.step);
        ComputeControl control;
        control.threads = 1 + set % 3;
        control.kindGrid = control.startPointEnds = true;
        const auto got = ComputeSpaces(p, 300, 200, control);
        ASSERT_TRUE(got.has_value());
        const std::size_t cols = xs.size(), rows = ys.size();
        ASSERT_EQ(got->startPointEnds.size(), cols * rows);
        const std::vector<std::uint8_t> labels = LabelRows(got->kinds, cols, rows);
        std::vector<std::uint8_t> codes(got->kinds.size());
        LabelCodes(got->kinds, codes.data());
        for (std::size_t i = 0; i < codes.size(); ++i) ASSERT_EQ(codes[i], LabelOf(got->kinds[i])) << "set " << set;
        const std::vector<double> endX = GridRows(got->startPointEnds.x, cols, rows);
        const std::vector<double> endY = GridRows(got->startPointEnds.y, cols, rows);

        std::vector<std::uint8_t> expected(cols * rows);
        for (std::size_t r = 0; r < rows; ++r) {
            for (std::size_t c = 0; c < cols; ++c) {
                double ex, ey;
                reference::IterateOrbit(p, xs[c], ys[r], ex, ey);
                const std::size_t k = r * cols + c;
                expected[k] = LabelOf(Classify(ex, ey));
                if (std::isnan(endX[k]) && std::isnan(endY[k]) && !InsideSquare(ex, ey)) {
                    ++nanSeen;
                    continue;
                }
                ASSERT_TRUE(SameBits(endX[k], ex) && SameBits(endY[k], ey)) << "set " << set << " at " << c << "," << r;
            }
        }
        ASSERT_EQ(labels, expected) << "set " << set;
    }
    EXPECT_GT(nanSeen, 100);  // the draw reaches the escape shortcut
}
