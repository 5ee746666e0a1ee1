#include <gtest/gtest.h>

#include <atomic>
#include <bit>
#include <chrono>
#include <cstdint>
#include <limits>
#include <thread>
#include <vector>

#include "model/probe.h"
#include "reference_model.h"
#include "support/draw.h"

using namespace orbitograph;

namespace {

using reference::RefState;

bool Same(double a, double b) { return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b); }
bool Same(RefState a, RefState b) { return Same(a.x, b.x) && Same(a.y, b.y); }

// Every listed row against the reference's states s: the state bit for bit,
// the frozen flag from the guard at the previous state, the step's terms
// adding up.
void ExpectRowsMatch(const ModelParams& p, const std::vector<RefState>& s, const ProbeResult& r) {
    for (const ProbeRow& row : r.rows) {
        const auto k = static_cast<std::size_t>(row.step);
        ASSERT_TRUE(Same({row.x, row.y}, s[k])) << "step " << row.step;
        if (k == 0) continue;
        const RefState prev = s[k - 1];
        ASSERT_EQ(row.frozen, !(prev.y < 100.0 || prev.x > -100.0)) << "step " << row.step;
        if (row.frozen) continue;
        ASSERT_TRUE(Same(row.p, (prev.x * prev.x - prev.y * prev.y) * p.a)) << "step " << row.step;
        ASSERT_TRUE(Same(row.x, row.p + row.cx) && Same(row.y, row.q + row.cy)) << "step " << row.step;
        ASSERT_TRUE(row.cx == p.dc || row.cx == -p.dc) << "step " << row.step;
    }
}

using test::Draw;

}  // namespace

// Drawn parameters and start points (escaping, frozen, NaN, cyclic), listed
// whole or with a gap: the listed states, the end point, the exit step and
// the cycle agree with a brute-force pass over the reference's states.
TEST(ProbeTest, AgreesWithTheReferenceOnDrawnOrbits) {
    constexpr double nan = std::numeric_limits<double>::quiet_NaN();
    Draw d{12};
    int cycles = 0, escapes = 0, frozen = 0, gaps = 0;
    for (int i = 0; i < 400; ++i) {
        ModelParams p;
        p.a = std::vector<double>{0.0, 0.8, 1.0, -0.6, 1e-3, 1e200, d.Between(-3.0, 3.0)}[d.Int(0, 6)];
        const std::vector<double> magnitudes{0.0, -0.0, 0.5, 1.0, 150.0, 1e300, d.Between(-1.5, 1.5)};
        p.dc = magnitudes[d.Int(0, 6)];
        p.kc = magnitudes[d.Int(0, 6)];
        p.dcOutward = d.Int(0, 1);
        p.kcOutward = d.Int(0, 1);
        p.iterations = d.Int(-2, 120);
        const State s0 = std::vector<State>{{nan, nan},
                                            {-150.0, 150.0},
                                            {-99.0, 150.0},
                                            {0.0, 0.0},
                                            {d.Between(-1e6, 1e6), d.Between(-1e6, 1e6)},
                                            {d.Between(-2.0, 2.0), d.Between(-2.0, 2.0)}}[d.Int(0, 5)];
        ProbeOptions o;
        o.keep = d.Int(1, 80);
        SCOPED_TRACE(testing::Message() << "draw " << i << " a " << p.a << " N " << p.iterations << " keep " << o.keep);
        const auto r = ProbeOrbit(p, s0.x, s0.y, o);
        ASSERT_TRUE(r.has_value());
        const std::vector<RefState> all = reference::OrbitStates(p, s0.x, s0.y);
        ExpectRowsMatch(p, all, *r);
        const ProbeSummary& sum = r->summary;
        ASSERT_EQ(static_cast<std::int64_t>(r->rows.size()) + r->omitted, sum.steps + 1);
        // The first keep rows, also when a cycle was found among them.
        const std::int64_t head = r->omitted == 0 ? sum.steps + 1 : o.keep;
        for (std::int64_t k = 0; k < head; ++k) ASSERT_EQ(r->rows[static_cast<std::size_t>(k)].step, k);
        ASSERT_EQ(all.size(), static_cast<std::size_t>(sum.steps + 1));
        ASSERT_TRUE(sum.reach != ProbeReach::Escape && Same({sum.end.x, sum.end.y}, all.back()));
        ASSERT_EQ(sum.kind, Classify(all.back().x, all.back().y));
        std::optional<std::int64_t> left, start;
        for (std::int64_t k = 0; k <= sum.steps && !left; ++k)
            if (!InsideSquare(all[k].x, all[k].y)) left = k;
        for (std::int64_t k = 1; k <= sum.steps && !start; ++k)
            for (std::int64_t j = 0; j < k && !start; ++j)
                if (Same(all[j], all[k])) {
                    start = j;
                    ASSERT_EQ(sum.period, k - j);
                }
        ASSERT_EQ(sum.leftSquare, left);
        // With a gap only a cycle the running detection saw is claimed.
        if (r->omitted == 0 || sum.cycleStart) {
            ASSERT_EQ(sum.cycleStart, start);
        }
        cycles += start.has_value();
        escapes += sum.kind == EndKind::Infinity;
        frozen += r->rows.back().frozen;
        gaps += r->omitted > 0;
    }
    EXPECT_GT(cycles, 40);  // the draws reach every kind of orbit
    EXPECT_GT(escapes, 40);
    EXPECT_GT(frozen, 20);
    EXPECT_GT(gaps, 40);
}

// Long orbits: the cycle shortcut skips whole periods and still lists the
// exact last rows; an orbit without a repeat is iterated to its end.
TEST(ProbeTest, LongOrbitsListTheirExactEnds) {
    const ModelParams quadratic{.dcOutward = 0, .kc = 0.0};  // with A = 1: x -> x*x - dc on the x axis (+dc at 0)
    const auto with = [](ModelParams p, double a, double dc, std::int32_t n) {
        p.a = a, p.dc = dc, p.iterations = n;
        return p;
    };
    struct Case {
        ModelParams p;
        State s0;
        std::int64_t keep;
        ProbeReach reach;
        std::optional<std::int64_t> cycleStart;
        std::int64_t period;
    };
    const Case cases[] = {
        {with(quadratic, 1.0, 1.0, 2'000'000), {-1.0, 0.0}, 3, ProbeReach::Cycle, 1, 2},  // -1, 0, 1, 0, 1...
        {with(quadratic, 1.0, 1.0, 2'000'001), {0.0, 0.0}, 4, ProbeReach::Cycle, 0, 2},
        {with(ModelParams{}, 0.0, 0.3, 1'000'000), {0.7, 0.1}, 2, ProbeReach::Cycle, 1, 1},  // lands on (dc, kc)
        // The default map from the origin escapes and freezes as NaN.
        {with(ModelParams{}, 0.8, 0.5, 1'000'000), {0.0, 0.0}, 3, ProbeReach::Cycle, {}, 1},
        // x -> x*x - 1.9 wanders over [-2, 2] without repeating a state.
        {with(quadratic, 1.0, 1.9, 50'000), {0.3, 0.0}, 3, ProbeReach::Iterated, {}, 0},
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
        ExpectRowsMatch(c.p, reference::OrbitStates(c.p, c.s0.x, c.s0.y), *r);
        EXPECT_EQ(r->summary.period, c.period);
        EXPECT_EQ(r->summary.reach, c.reach);
        if (c.cycleStart) {
            EXPECT_EQ(r->summary.cycleStart, c.cycleStart);
        }
        EXPECT_EQ(r->summary.leftSquare.has_value(), c.p.a == 0.8);
    }
}

// An orbit that would take minutes stops soon after its cancel flag is
// raised, before it starts or while it runs, and gives no result.
TEST(ProbeTest, ACancelStopsALongOrbit) {
    ModelParams endless;  // from (-0.57, -0.02) no state repeats for 2^31 steps
    endless.iterations = std::numeric_limits<std::int32_t>::max();
    for (const bool before : {true, false}) {
        std::atomic<bool> cancel{before};
        ProbeOptions options;
        options.cancel = &cancel;
        const auto began = std::chrono::steady_clock::now();
        std::jthread canceller([&cancel] {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            cancel = true;
        });
        EXPECT_FALSE(ProbeOrbit(endless, -0.57, -0.02, options).has_value()) << before;
        EXPECT_LT(std::chrono::steady_clock::now() - began, std::chrono::seconds(20)) << before;
    }
}
