#include <gtest/gtest.h>

#include <bit>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include <hwy/targets.h>

#include "end_points_in_place.h"
#include "model/engine/grid_engine.h"
#include "model/engine/orbit_job.h"
#include "model/orbit.h"
#include "reference_model.h"
#include "support/draw.h"

using namespace orbitograph;

namespace {

using test::Draw;

// |A| below 0.03 puts the escape bound beyond the guard; a huge one
// overflows at once.
double DrawCoefficient(Draw& d) {
    const int kind = d.Int(0, 9);
    if (kind < 2) return kind == 0 ? 0.0 : d.Sign() * d.Between(1e-4, 0.03);
    if (kind < 5) return kind == 2 ? d.Sign() * std::pow(10.0, d.Int(2, 250)) : kind == 3 ? -d.Between(0.05, 3.0) : 0.3;
    return d.Sign() * d.Between(0.05, 3.0);
}

// 50 to 300 reaches the frozen guard corner; powers of ten overflow to
// infinity and NaN.
double DrawMagnitude(Draw& d) {
    const int kind = d.Int(0, 9);
    if (kind < 2) return kind == 0 ? 0.0 : -0.0;
    if (kind < 4) return d.Sign() * (kind == 2 ? d.Between(50.0, 300.0) : std::pow(10.0, d.Int(3, 300)));
    return d.Sign() * d.Between(0.0, 1.5);
}

int DrawIterations(Draw& d) {
    const int kind = d.Int(0, 7);
    if (kind < 2) return kind == 0 ? -1 : d.Chance(0.5) ? 0 : -d.Int(2, 1000);
    return kind == 2 ? d.Int(1000, 3000) : kind == 3 ? d.Int(64, 999) : d.Int(1, 63);
}

// One side of the start rectangle: empty, a single line, the whole square, or
// an interval with a step that rarely divides it.
void DrawSide(Draw& d, double& lo, double& hi) {
    const int kind = d.Int(0, 9);
    lo = d.Between(-2.0, 2.0);
    if (kind == 0) hi = lo - d.Between(1e-9, 1.0);
    if (kind == 0 && hi < -2.0) hi = -2.0, lo = -1.5;
    if (kind == 1) hi = lo;
    if (kind == 2) lo = -2.0, hi = 2.0;
    if (kind > 2) hi = d.Between(lo, 2.0);
}

ModelParams DrawParams(Draw& d) {
    for (;;) {
        ModelParams p{.a = DrawCoefficient(d), .dc = DrawMagnitude(d), .kc = DrawMagnitude(d)};
        p.dcOutward = d.Int(0, 1);
        p.kcOutward = d.Int(0, 1);
        p.iterations = DrawIterations(d);
        DrawSide(d, p.x1, p.x2);
        DrawSide(d, p.y1, p.y2);
        // Now and then a tiny rectangle with a tiny step, whose attractor
        // pixels lie too far from the origin for 16-bit offsets.
        const bool tiny = d.Chance(0.12);
        if (tiny && p.x2 > p.x1) p.x2 = p.x1 + (p.x2 - p.x1) * 1e-3;
        if (tiny && p.y2 > p.y1) p.y2 = p.y1 + (p.y2 - p.y1) * 1e-3;
        const double span = std::fmax(std::fmax(p.x2 - p.x1, p.y2 - p.y1), tiny ? 1e-5 : 0.01);
        // At most about 12 points a side: the reference iterates every orbit in full.
        p.step = span / d.Between(1.0, 11.0);
        if (!CheckParameters(p)) return p;
    }
}

std::string Describe(const ModelParams& p, int ox, int oy) {
    char buf[400];
    std::snprintf(buf, sizeof buf, "a=%.17g dc=%.17g kc=%.17g out=%d,%d N=%d x=[%.17g,%.17g] y=[%.17g,%.17g] h=%.17g",
                  p.a, p.dc, p.kc, p.dcOutward, p.kcOutward, p.iterations, p.x1, p.x2, p.y1, p.y2, p.step);
    return buf + (" o=" + std::to_string(ox) + "," + std::to_string(oy));
}

bool Inside(double x, double y) { return x >= -2.0 && x <= 2.0 && y >= -2.0 && y <= 2.0; }

bool SameBits(double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); }

}  // namespace

// All seven lists equal to the reference's, element by element, for both
// kernels, for 1, 3 and 7 threads, and for block sizes that cut columns; the
// attractors' exact end points too when asked for (with 3 threads).
TEST(EngineDifferential, ThousandDrawnParameterSets) {
    Draw d{20260605};
    int withSteps = 0;
    for (int set = 0; set < 1200; ++set) {
        const ModelParams p = DrawParams(d);
        const bool usualOrigin = d.Chance(0.5);
        const int ox = usualOrigin ? 500 : d.Int(-kMaxOriginMagnitude, kMaxOriginMagnitude);
        const int oy = usualOrigin ? 350 : d.Int(-kMaxOriginMagnitude, kMaxOriginMagnitude);
        const SpaceLists expectedWithEnds = reference::ComputeAll(p, {ox, oy}, true);
        SpaceLists expected = expectedWithEnds;
        expected.attractorEnds = {};
        withSteps += p.iterations >= 0 && !expected.basinInfinity.empty();
        for (const int threads : {1, 3, 7, -3}) {  // -3: three threads, the scalar kernel
            ComputeControl control;
            control.threads = std::abs(threads);
            control.attractorEnds = threads == 3;
            engine::EngineOptions options;
            options.kernel = threads < 0 ? engine::EndPointsScalar : engine::EndPointsVector;
            options.blockPoints = threads == 1 ? 0 : static_cast<std::size_t>(d.Int(1, 40));
            const auto got = engine::ComputeGrid(p, ox, oy, control, options);
            ASSERT_TRUE(got.has_value());
            ASSERT_TRUE(*got == (control.attractorEnds ? expectedWithEnds : expected))
                << "set " << set << " threads " << threads << " block " << options.blockPoints << ": "
                << Describe(p, ox, oy);
        }
    }
    EXPECT_GT(withSteps, 300);  // the draw really exercises escaping orbits
}

// The kernels on states no grid starts from (far out, at the frozen guard
// corner, infinite, NaN): a reference end point inside the square must come
// back bit for bit, one outside must come back outside. The model's own
// IterateOrbit, which makes every step, must match the reference bit for bit
// everywhere.
TEST(EngineDifferential, KernelsOnExtremeStates) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double big = 1.3e154;
    const std::vector<std::pair<double, double>> fixed = {{-100, 100},
                                                          {-150, 150},
                                                          {-100, 99.99999999999999},
                                                          {-99.99999999999999, 100},
                                                          {inf, 0},
                                                          {0, -inf},
                                                          {nan, 0},
                                                          {0, nan},
                                                          {nan, nan},
                                                          {big, big},
                                                          {big, 0},
                                                          {-big, 1e-300},
                                                          {0, 0},
                                                          {-0.0, -0.0},
                                                          {1e-310, -1e-310},
                                                          {2.5, 0},
                                                          {0.1, 1e6}};
    Draw d{7};
    const double cs[] = {0.5, -0.8, 0.0, -150.0, 150.0, 1e155, -1e-300};
    for (double a : {0.8, -0.8, 0.3, 0.0, 1e-3, -1e-250, 1e250, 2.0}) {
        for (int trial = 0; trial < 40; ++trial) {
            ModelParams p{.a = a, .dc = cs[d.Int(0, 6)], .kc = cs[d.Int(0, 6)]};
            p.dcOutward = d.Int(0, 1);
            p.kcOutward = d.Int(0, 1);
            p.iterations = d.Int(-1, 700);
            const MapParams m{p.a, p.dc, p.kc, p.dcOutward, p.kcOutward, p.iterations};
            std::vector<double> x, y;
            for (auto [fx, fy] : fixed) x.push_back(fx), y.push_back(fy);
            for (int i = 0; i < 23; ++i) {
                x.push_back(d.Sign() * std::pow(10.0, d.Between(-5, 3)));
                y.push_back(d.Sign() * std::pow(10.0, d.Between(-5, 3)));
            }
            for (std::size_t i = 0; i < x.size(); ++i) {
                double ex, ey;
                reference::IterateOrbit(p, x[i], y[i], ex, ey);
                const State s = IterateOrbit(m, {x[i], y[i]});
                EXPECT_TRUE(SameBits(s.x, ex) && SameBits(s.y, ey))
                    << Describe(p, 0, 0) << " start " << x[i] << "," << y[i];
            }
            if (p.iterations < 0) continue;  // the kernels run only orbits that make steps
            for (engine::EndPointKernel kernel : {engine::EndPointsVector, engine::EndPointsScalar}) {
                std::vector<double> kx = x, ky = y;
                engine::EndPointsInPlace(kernel, engine::MakeOrbitJob(p), kx.data(), ky.data(), kx.size());
                for (std::size_t i = 0; i < x.size(); ++i) {
                    double ex, ey;
                    reference::IterateOrbit(p, x[i], y[i], ex, ey);
                    const bool same = SameBits(kx[i], ex) && SameBits(ky[i], ey);
                    EXPECT_TRUE(Inside(ex, ey) ? same : !Inside(kx[i], ky[i]))
                        << Describe(p, 0, 0) << " start " << x[i] << "," << y[i];
                }
            }
        }
    }
}

// The vector kernel compiled for every instruction set this processor can
// run (down to the portable one), against the reference: one case per
// instruction set, so that one that fails hides none of the others.
class EveryInstructionSet : public testing::TestWithParam<std::int64_t> {
protected:
    // Every instruction set again for the tests that follow, however this
    // one ends.
    void TearDown() override { hwy::SetSupportedTargetsForTest(0); }
};

TEST_P(EveryInstructionSet, VectorKernelMatchesTheReference) {
    const std::int64_t target = GetParam();
    hwy::SetSupportedTargetsForTest(target);
    Draw d{static_cast<std::uint64_t>(target)};
    for (int set = 0; set < 250; ++set) {
        const ModelParams p = DrawParams(d);
        ComputeControl control;
        control.threads = 3;
        engine::EngineOptions options;
        options.kernel = engine::EndPointsVector;
        options.blockPoints = static_cast<std::size_t>(d.Int(1, 60));
        const auto got = engine::ComputeGrid(p, 500, 350, control, options);
        ASSERT_TRUE(got.has_value());
        ASSERT_TRUE(*got == reference::ComputeAll(p, {500, 350}))
            << hwy::TargetName(target) << " set " << set << ": " << Describe(p, 500, 350);
    }
}

INSTANTIATE_TEST_SUITE_P(EngineDifferential, EveryInstructionSet,
                         testing::ValuesIn(hwy::SupportedAndGeneratedTargets()),
                         [](const testing::TestParamInfo<std::int64_t>& info) {
                             std::string name = hwy::TargetName(info.param);
                             for (char& c : name)
                                 if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                             return name;
                         });
