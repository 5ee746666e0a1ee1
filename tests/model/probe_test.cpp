#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "model/probe.h"
#include "reference_model.h"

using namespace orbitograph;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

bool Same(double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); }

// The reference state after k steps: its orbit with k - 1 iterations.
State ReferenceState(ModelParams p, double x0, double y0, std::int64_t k) {
    p.iterations = static_cast<std::int32_t>(k - 1);
    State s{};
    reference::IterateOrbit(p, x0, y0, s.x, s.y);
    return s;
}

// Every listed row against the reference: the state bit for bit, the frozen
// flag from the guard at the previous state, and the terms from the literal
// formula at the previous state.
void ExpectRowsMatch(const ModelParams& p, double x0, double y0, const ProbeResult& r) {
    for (const ProbeRow& row : r.rows) {
        const State s = ReferenceState(p, x0, y0, row.step);
        ASSERT_TRUE(Same(row.x, s.x) && Same(row.y, s.y)) << "step " << row.step << ": " << row.x << " " << s.x;
        if (row.step == 0) continue;
        const State prev = ReferenceState(p, x0, y0, row.step - 1);
        ASSERT_EQ(row.frozen, !(prev.y < 100.0 || prev.x > -100.0)) << "step " << row.step;
        if (row.frozen) continue;
        const double pt = (prev.x * prev.x - prev.y * prev.y) * p.a;
        ASSERT_TRUE(Same(row.p, pt)) << "step " << row.step;
        ASSERT_TRUE(Same(row.x, row.p + row.cx) && Same(row.y, row.q + row.cy)) << "step " << row.step;
        ASSERT_TRUE(row.cx == p.dc || row.cx == -p.dc) << "step " << row.step;
    }
}

struct Draw {
    std::uint64_t state;
    std::uint64_t Bits() {
        std::uint64_t z = (state += 0x9e3779b97f4a7c15ULL);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
        return z ^ (z >> 31);
    }
    double Between(double lo, double hi) { return lo + (hi - lo) * static_cast<double>(Bits() >> 11) * 0x1p-53; }
    int Int(int lo, int hi) { return lo + static_cast<int>(Bits() % static_cast<std::uint64_t>(hi - lo + 1)); }
};

ModelParams DrawParams(Draw& d) {
    ModelParams p;
    const double as[] = {0.0, 0.8, 1.0, -0.6, 1e-3, 1e200, d.Between(-3.0, 3.0)};
    p.a = as[d.Int(0, 6)];
    const double ms[] = {0.0, -0.0, 0.5, 1.0, 150.0, 1e300, d.Between(-1.5, 1.5)};
    p.dc = ms[d.Int(0, 6)];
    p.kc = ms[d.Int(0, 6)];
    p.dcOutward = d.Int(0, 1);
    p.kcOutward = d.Int(0, 1);
    p.iterations = d.Int(-2, 120);
    return p;
}

State DrawStart(Draw& d) {
    switch (d.Int(0, 6)) {
        case 0: return {kNaN, kNaN};
        case 1: return {-150.0, 150.0};  // frozen at once
        case 2: return {-99.0, 150.0};
        case 3: return {0.0, 0.0};
        case 4: return {d.Between(-1e6, 1e6), d.Between(-1e6, 1e6)};
        default: return {d.Between(-2.0, 2.0), d.Between(-2.0, 2.0)};
    }
}

}  // namespace

// Drawn parameters and start points, listed whole or with a gap: every
// listed state, the end point and the summary agree with the reference.
TEST(ProbeTest, AgreesWithTheReferenceOnDrawnOrbits) {
    Draw d{12};
    int cycles = 0, escapes = 0, frozen = 0, gaps = 0;
    for (int i = 0; i < 400; ++i) {
        const ModelParams p = DrawParams(d);
        const State s0 = DrawStart(d);
        ProbeOptions o;
        o.keep = d.Int(1, 80);
        SCOPED_TRACE(testing::Message() << "draw " << i << " a " << p.a << " N " << p.iterations << " keep " << o.keep);
        const auto r = ProbeOrbit(p, s0.x, s0.y, o);
        ASSERT_TRUE(r.has_value());
        ExpectRowsMatch(p, s0.x, s0.y, *r);
        const ProbeSummary& sum = r->summary;
        ASSERT_EQ(static_cast<std::int64_t>(r->rows.size()) + r->omitted, sum.steps + 1);
        ASSERT_NE(sum.reach, ProbeReach::Escape);
        State e{};
        reference::IterateOrbit(p, s0.x, s0.y, e.x, e.y);
        ASSERT_TRUE(Same(sum.end.x, e.x) && Same(sum.end.y, e.y));
        ASSERT_EQ(sum.kind, Classify(e.x, e.y));
        // The first state outside the square and the first repeated state,
        // found by brute force over every state of the orbit.
        std::vector<State> all;
        for (std::int64_t k = 0; k <= sum.steps; ++k) all.push_back(ReferenceState(p, s0.x, s0.y, k));
        std::optional<std::int64_t> left, start;
        for (std::int64_t k = 0; k <= sum.steps && !left; ++k)
            if (!InsideSquare(all[k].x, all[k].y)) left = k;
        for (std::int64_t k = 1; k <= sum.steps && !start; ++k)
            for (std::int64_t j = 0; j < k && !start; ++j)
                if (Same(all[j].x, all[k].x) && Same(all[j].y, all[k].y)) {
                    start = j;
                    ASSERT_EQ(sum.period, k - j);
                }
        ASSERT_EQ(sum.leftSquare, left);
        if (r->omitted == 0 || sum.cycleStart) {
            ASSERT_EQ(sum.cycleStart, start);
        }
        cycles += start.has_value();
        escapes += sum.kind == EndKind::Infinity;
        frozen += !r->rows.empty() && r->rows.back().frozen;
        gaps += r->omitted > 0;
    }
    // The draws reach every kind of orbit the test is about.
    EXPECT_GT(cycles, 40);
    EXPECT_GT(escapes, 40);
    EXPECT_GT(frozen, 20);
    EXPECT_GT(gaps, 40);
}

// Long orbits: the cycle shortcut skips whole periods and still lists the
// exact last rows; an orbit with no repeat is iterated to its end.
TEST(ProbeTest, LongOrbitsListTheirExactEnds) {
    ModelParams twoCycle;
    twoCycle.a = 1.0;
    twoCycle.dc = 1.0;
    twoCycle.dcOutward = 0;
    twoCycle.kc = 0.0;
    ModelParams still;
    still.a = 0.0;  // every step lands on (dc, kc)
    still.dc = 0.3;
    still.kc = -0.2;
    struct Case {
        ModelParams p;
        State s0;
        std::int64_t keep;
        ProbeReach reach;
        std::optional<std::int64_t> cycleStart;
        std::int64_t period;
    };
    const Case cases[] = {
        // x -> x*x - 1 on the x axis, with +1 at x = 0: -1, 0, 1, 0, 1, ...
        {[&] { auto p = twoCycle; p.iterations = 2'000'000; return p; }(), {-1.0, 0.0}, 3, ProbeReach::Cycle, 1, 2},
        {[&] { auto p = twoCycle; p.iterations = 2'000'001; return p; }(), {0.0, 0.0}, 4, ProbeReach::Cycle, 0, 2},
        {[&] { auto p = still; p.iterations = 1'000'000; return p; }(), {0.7, 0.1}, 2, ProbeReach::Cycle, 1, 1},
        // The default map from the origin escapes and falls into a frozen NaN.
        {[] { ModelParams p; p.iterations = 1'000'000; return p; }(), {0.0, 0.0}, 3, ProbeReach::Cycle, {}, 1},
        // x -> x*x - 1.9 wanders over [-2, 2] without repeating a state.
        {[&] { auto p = twoCycle; p.dc = 1.9; p.iterations = 50'000; return p; }(), {0.3, 0.0}, 3,
         ProbeReach::Iterated, {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "N " << c.p.iterations << " from " << c.s0.x << "," << c.s0.y);
        ProbeOptions o;
        o.keep = c.keep;
        const auto r = ProbeOrbit(c.p, c.s0.x, c.s0.y, o);
        ASSERT_TRUE(r.has_value());
        ASSERT_EQ(r->rows.size(), static_cast<std::size_t>(2 * c.keep));
        ASSERT_EQ(r->gapAt, static_cast<std::size_t>(c.keep));
        ASSERT_EQ(r->rows.back().step, r->summary.steps);
        ExpectRowsMatch(c.p, c.s0.x, c.s0.y, *r);
        EXPECT_EQ(r->summary.period, c.period);
        if (c.cycleStart) {
            EXPECT_EQ(r->summary.cycleStart, c.cycleStart);
        }
        EXPECT_EQ(r->summary.reach, c.reach);
        if (c.reach == ProbeReach::Iterated) {
            EXPECT_EQ(r->summary.leftSquare, std::nullopt);
        }
    }
}
