// The vector end-point kernel, compiled once per instruction set and chosen
// at run time (HWY_DYNAMIC_DISPATCH picks the best the processor supports).
//
// Exactness. Every lane makes the scalar step's operations in its order
// (map_step-inl.h). The shortcuts are those of escape_bound.cpp and
// end_points_scalar.cpp; how this kernel applies them is stated beside each.
//
// Shape. Two phases (see Head and Lanes): first all orbits of the call in
// dense rounds, G vectors stepped together, escaping ones dropping out; then
// the survivors in G vectors of L lanes (W = G * L orbits) that advance
// together, so that the latency of one step (about 14 cycles) is hidden by
// the other vectors' work, each lane taking a new orbit when its own is
// settled. Between checks a lane makes unconditional steps of the map
// without the guard: by escape_bound.cpp that changes no result unless
// guardMatters, in which case every lane records at every state it steps
// from whether the guard is closed there; a lane so marked ends outside (its
// frozen state has x <= -100), whatever its unguarded continuation holds.
//
// G is chosen per instruction set from the ceiling kernel's curve
// (bench/model/ceiling_kernel.h; README): one step's dependency chain is
// about 15 cycles (multiply, subtract, multiply, compare, select, add) while
// a vector can start a step every 2 to 4 cycles, so 4 vectors leave most of
// the machine idle. On Zen 5 the ceiling stops rising at 8 vectors of 8
// lanes with AVX-512 (32 registers) and at 10 to 12 with AVX2; 8 and 12 put
// the kernel within 15 % of it. SSE4 and SSSE3 take 8, the portable code 4.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "model/engine/end_points_simd.cpp"
#include "hwy/foreach_target.h"  // IWYU pragma: keep
#include "hwy/highway.h"
#include "model/engine/map_step-inl.h"

#include <algorithm>
#include <cassert>
#include <cmath>
#include <cstdint>
#include <iterator>
#include <limits>

#include "model/engine/orbit_job.h"

HWY_BEFORE_NAMESPACE();
namespace orbitograph::engine {
namespace HWY_NAMESPACE {
namespace {

using DU = hn::RebindToUnsigned<D>;

constexpr std::size_t kG = HWY_TARGET == HWY_AVX2 ? 12 : (HWY_TARGET <= HWY_SSSE3 ? 8 : 4);
constexpr std::size_t kL = hn::MaxLanes(D());
constexpr std::size_t kW = kG * kL;
static_assert(kL <= kKernelPadding, "the callers' padding covers one vector");

// Every orbit makes its first kHeadSteps steps in rounds over all live
// orbits of the call, densely packed: after each round the orbits that
// escaped drop out and the others are packed together again. Most escaping
// orbits leave within a few steps, so each pays for about the steps it makes.
// Orbits still live after the head go on in lanes that are refilled as their
// orbits finish, with cycle detection.
constexpr std::int64_t kHeadSteps = 32;
// The steps after which the head's rounds end. A round costs about four
// vector steps beyond its steps (loads, escape test, packing), so rounds
// are short while many orbits leave and long once few do: on the fine grid
// (h 0.001, N 1000: 16.0 million orbits, 7.3 million live after 2 steps, 4.6
// after 4, 2.5 after 8, 0.94 after 16) these ends minimise that cost: they
// execute 111 million head steps where rounds of 2, 2, 2, 2, 4, 4, 8, 8
// executed 92 million, in 13 % less time. Long rounds need G vectors stepped
// together (HeadRound): one vector at a time, its step's latency made them
// 25 % slower than the short ones.
constexpr std::int64_t kHeadRoundEnds[] = {3, 8, 16, kHeadSteps};
// Least and most steps between two checks of the refilled lanes: the spacing
// doubles after a check that settled no lane and falls back to the least
// after one that did, so settled lanes wait little and long orbits pay
// little for the checks.
constexpr std::int64_t kFewestCheckSteps = 8;
constexpr std::int64_t kMostCheckSteps = 64;
// Steps before a refilled lane first moves its saved state.
constexpr double kFirstPower = 16.0;

template <bool kOutX, bool kOutY, bool kGuard>
HWY_INLINE void Advance(const Constants& c, std::int64_t k, V (&x)[kG], V (&y)[kG], M (&closed)[kG]) {
    for (std::int64_t i = 0; i < k; ++i) {
#pragma GCC unroll 16
        for (std::size_t g = 0; g < kG; ++g) {
            if constexpr (kGuard) closed[g] = hn::Or(closed[g], GuardClosed(c, x[g], y[g]));
            Step<kOutX, kOutY>(c, x[g], y[g]);
        }
    }
}

// One round of the head for the kN vectors of orbits from i on: r steps of
// each, then each vector's survivors packed to wx, wy, wi from `out` on, in
// order. Every vector is loaded before any is stored, and stores land at
// out <= i, so packing in place (sx == wx) overwrites only loaded lanes.
// Stepping kN independent vectors together hides one step's latency as the
// refilled lanes do (Advance).
template <std::size_t kN, bool kOutX, bool kOutY, bool kGuard>
HWY_INLINE void HeadRound(const Constants& c, std::int64_t r, const double* sx, const double* sy, const double* si,
                          std::size_t i, std::size_t m, double* wx, double* wy, double* wi, std::size_t& out) {
    const D d;
    V x[kN], y[kN];
    M closed[kN];
    for (std::size_t g = 0; g < kN; ++g) {
        x[g] = hn::LoadU(d, sx + i + g * kL);
        y[g] = hn::LoadU(d, sy + i + g * kL);
        closed[g] = hn::FirstN(d, 0);
    }
    for (std::int64_t k = 0; k < r; ++k) {
#pragma GCC unroll 16
        for (std::size_t g = 0; g < kN; ++g) {
            if constexpr (kGuard) closed[g] = hn::Or(closed[g], GuardClosed(c, x[g], y[g]));
            Step<kOutX, kOutY>(c, x[g], y[g]);
        }
    }
    for (std::size_t g = 0; g < kN; ++g) {
        const std::size_t at = i + g * kL;
        const V id = si ? hn::LoadU(d, si + at) : hn::Add(hn::Iota(d, 0.0), hn::Set(d, static_cast<double>(at)));
        const M keep = hn::AndNot(hn::Or(closed[g], Escaped(c, x[g], y[g])), hn::FirstN(d, m - at));
        if (hn::AllFalse(d, keep)) continue;
        if (hn::AllTrue(d, keep)) {
            hn::StoreU(x[g], d, wx + out);
            hn::StoreU(y[g], d, wy + out);
            hn::StoreU(id, d, wi + out);
            out += kL;
            continue;
        }
        // Mixed: branch-free by lane (Highway's CompressStore reloads its
        // permutation table on every call with this compiler).
        HWY_ALIGN double bx[kL], by[kL], bi[kL];
        std::uint8_t bits[8] = {};
        hn::Store(x[g], d, bx);
        hn::Store(y[g], d, by);
        hn::Store(id, d, bi);
        hn::StoreMaskBits(d, keep, bits);
        for (std::size_t j = 0; j < kL; ++j) {
            wx[out] = bx[j];
            wy[out] = by[j];
            wi[out] = bi[j];
            out += (bits[j / 8] >> (j % 8)) & 1u;
        }
    }
}

// The head: `steps` steps for the m orbits starting at x, y, in rounds of a
// few steps (steps >= 1); the live ones are kept packed in wx, wy with their
// numbers in wi. After a round an orbit is dropped when its
// escape test holds or (guardMatters) its guard closed on the way: it ends
// outside (escape_bound.cpp). The others are packed to the front in their
// order; their states are exact. Returns the number still live. All arrays
// hold at least m + L elements (the last vector may read the L - 1 beyond m).
template <bool kOutX, bool kOutY, bool kGuard>
std::size_t Head(const Constants& c, std::int64_t steps, const double* x, const double* y, std::size_t m, double* wx,
                 double* wy, double* wi, std::int64_t& executed) {
    // The first round reads the start points and numbers them; later rounds
    // work in place on the packed arrays.
    const double* sx = x;
    const double* sy = y;
    const double* si = nullptr;
    for (std::int64_t done = 0; done < steps && m > 0;) {
        // done < steps <= kHeadSteps, the last end, so a later end exists.
        const std::int64_t end = *std::upper_bound(std::begin(kHeadRoundEnds), std::end(kHeadRoundEnds), done);
        const std::int64_t r = std::min(steps, end) - done;
        std::size_t out = 0;
        executed += r * static_cast<std::int64_t>(m);
        std::size_t i = 0;
        for (; i + kW <= m; i += kW) HeadRound<kG, kOutX, kOutY, kGuard>(c, r, sx, sy, si, i, m, wx, wy, wi, out);
        for (; i < m; i += kL) HeadRound<1, kOutX, kOutY, kGuard>(c, r, sx, sy, si, i, m, wx, wy, wi, out);
        m = out;
        done += r;
        sx = wx;
        sy = wy;
        si = wi;
    }
    // steps >= 1 makes a first round whenever there is an orbit, so every
    // live orbit is in wx, wy, wi.
    assert(si != nullptr || m == 0);
    return m;
}

// Long orbits: each lane holds one orbit and takes the next start point as
// soon as its orbit is settled, so one slow orbit does not hold up W - 1
// others. Every check (after at most kCheckSteps steps, and always at the
// step where some lane's count runs out) settles a lane when
//  - its escape test holds, or its guard closed (guardMatters): outside,
//    written as NaN (escape_bound.cpp);
//  - its remaining count is zero: the state is the exact end point;
//  - its state equals, bit for bit, the state it saved lam steps earlier:
//    the map step is a function of the state's bits, so the orbit is periodic
//    from the saved state on with a period dividing lam, and the end point is
//    the state (remaining mod lam) steps ahead; the lane keeps going for
//    those steps only. Its saved state moves to the current one when lam
//    reaches a doubling limit (Brent's scheme, compared at checks only). A
//    match always proves periodicity, so irregular check spacing can only
//    delay a detection: once the orbit is in its cycle of period p and the
//    checks run every 64 steps, a saved state is matched within lcm(p, 64)
//    steps, which a limit doubled past that value allows.
// Idle lanes (no start point left) carry an infinite count and are ignored.
template <bool kOutX, bool kOutY, bool kGuard>
void Lanes(const OrbitJob& job, double* px, double* py, std::size_t n) {
    const D d;
    const DU du;
    const Constants c(job);
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    HWY_ALIGN double lx[kW], ly[kW], sx[kW], sy[kW], rem[kW], lam[kW], limit[kW];
    HWY_ALIGN double event[kW], escaped[kW], same[kW];
    std::size_t index[kW];
    std::size_t next = 0;
    std::size_t active = 0;

    const auto fill = [&](std::size_t lane) {
        if (next < n) {
            index[lane] = next;
            lx[lane] = sx[lane] = px[next];
            ly[lane] = sy[lane] = py[next];
            rem[lane] = static_cast<double>(job.steps);
            lam[lane] = 0.0;
            limit[lane] = kFirstPower;
            ++next;
            ++active;
        } else {
            lx[lane] = ly[lane] = sx[lane] = sy[lane] = 0.0;
            rem[lane] = inf;
            lam[lane] = 0.0;
            limit[lane] = inf;
        }
    };
    const auto finish = [&](std::size_t lane, double ex, double ey) {
        px[index[lane]] = ex;
        py[index[lane]] = ey;
        --active;
        fill(lane);
    };
    for (std::size_t lane = 0; lane < kW; ++lane) fill(lane);

    const V vinf = hn::Set(d, inf);
    const V vzero = hn::Zero(d);
    const V vtwo = hn::Set(d, 2.0);
    std::int64_t spacing = kFewestCheckSteps;
    // Steps since cancellation was last polled; one poll per about 2^18
    // steps of every lane costs nothing and answers a cancel within
    // milliseconds however long the orbits are.
    std::int64_t sincePoll = 0;
    std::int64_t executed = 0;
    std::int64_t reported = 0;  // of executed
    while (active > 0) {
        if (sincePoll >= (std::int64_t{1} << 18)) {
            if (Cancelled(job)) return;
            if (job.stepsMade != nullptr) {
                // A lane's count is exact until a cycle shortens it: the
                // steps made are then an estimate.
                double budget = 0.0;
                for (std::size_t lane = 0; lane < kW; ++lane) {
                    if (rem[lane] < inf) budget += rem[lane];
                }
                const auto left = static_cast<std::int64_t>(budget);
                ReportLanes(job, static_cast<std::int64_t>(active),
                            static_cast<std::int64_t>(active) * job.steps - left, left,
                            static_cast<std::int64_t>(n - next));
                ReportSteps(job, executed - reported);
                reported = executed;
            }
            sincePoll = 0;
        }
        V m = hn::Load(d, rem);
        for (std::size_t g = 1; g < kG; ++g) m = hn::Min(m, hn::Load(d, rem + g * kL));
        const double fewest = hn::GetLane(hn::MinOfLanes(d, m));
        const std::int64_t k = std::min<std::int64_t>(spacing, static_cast<std::int64_t>(fewest));
        const V vk = hn::Set(d, static_cast<double>(k));

        V x[kG], y[kG];
        M closed[kG];
        for (std::size_t g = 0; g < kG; ++g) {
            x[g] = hn::Load(d, lx + g * kL);
            y[g] = hn::Load(d, ly + g * kL);
            closed[g] = hn::FirstN(d, 0);
        }
        Advance<kOutX, kOutY, kGuard>(c, k, x, y, closed);
        sincePoll += k;
        executed += k * static_cast<std::int64_t>(active);

        bool any = false;
        for (std::size_t g = 0; g < kG; ++g) {
            const std::size_t o = g * kL;
            const V r = hn::Sub(hn::Load(d, rem + o), vk);
            const V l = hn::Add(hn::Load(d, lam + o), vk);
            const V lim = hn::Load(d, limit + o);
            const V svx = hn::Load(d, sx + o);
            const V svy = hn::Load(d, sy + o);
            const M live = hn::Lt(r, vinf);
            const M out = hn::And(live, hn::Or(closed[g], Escaped(c, x[g], y[g])));
            const M eq = hn::And(live, hn::RebindMask(d, hn::And(hn::Eq(hn::BitCast(du, x[g]), hn::BitCast(du, svx)),
                                                                 hn::Eq(hn::BitCast(du, y[g]), hn::BitCast(du, svy)))));
            const M end = hn::Le(r, vzero);
            const M move = hn::AndNot(eq, hn::Ge(l, lim));
            hn::Store(x[g], d, lx + o);
            hn::Store(y[g], d, ly + o);
            hn::Store(r, d, rem + o);
            hn::Store(hn::IfThenElse(move, vzero, l), d, lam + o);
            hn::Store(hn::IfThenElse(move, hn::Mul(lim, vtwo), lim), d, limit + o);
            hn::Store(hn::IfThenElse(move, x[g], svx), d, sx + o);
            hn::Store(hn::IfThenElse(move, y[g], svy), d, sy + o);
            const M ev = hn::Or(out, hn::Or(eq, end));
            if (!hn::AllFalse(d, ev)) {
                any = true;
                hn::Store(hn::VecFromMask(d, ev), d, event + o);
                hn::Store(hn::VecFromMask(d, out), d, escaped + o);
                hn::Store(hn::VecFromMask(d, eq), d, same + o);
            } else {
                hn::Store(vzero, d, event + o);
            }
        }
        if (!any) {
            spacing = std::min(spacing * 2, kMostCheckSteps);
            continue;
        }
        spacing = kFewestCheckSteps;
        for (std::size_t lane = 0; lane < kW; ++lane) {
            if (event[lane] == 0.0) continue;
            if (escaped[lane] != 0.0) {
                finish(lane, nan, nan);
                continue;
            }
            if (same[lane] != 0.0) {
                rem[lane] = std::fmod(rem[lane], lam[lane]);
                limit[lane] = inf;  // the end is now at most one period away
            }
            if (rem[lane] == 0.0) finish(lane, lx[lane], ly[lane]);
        }
    }
    CountExecuted(job, executed);
}

// Splitting an orbit's steps as head + tail changes nothing: the tail starts
// from the exact state after the head. The tail's lanes write NaN for the
// orbits they prove outside; those stay listed (a NaN end point is outside).
template <bool kOutX, bool kOutY, bool kGuard>
std::size_t Run(const OrbitJob& job, const double* x, const double* y, std::size_t n, double* ex, double* ey,
                double* index) {
    const Constants c(job);
    const std::int64_t head = std::min(job.steps, kHeadSteps);
    std::int64_t executed = 0;
    const std::size_t m = Head<kOutX, kOutY, kGuard>(c, head, x, y, n, ex, ey, index, executed);
    CountExecuted(job, executed);
    if (job.steps > head && m > 0) {
        OrbitJob tail = job;
        tail.steps = job.steps - head;
        Lanes<kOutX, kOutY, kGuard>(tail, ex, ey, m);
    }
    return m;
}

template <bool kOutX, bool kOutY>
std::size_t RunGuard(const OrbitJob& job, const double* x, const double* y, std::size_t n, double* ex, double* ey,
                     double* index) {
    if (job.guardMatters) return Run<kOutX, kOutY, true>(job, x, y, n, ex, ey, index);
    return Run<kOutX, kOutY, false>(job, x, y, n, ex, ey, index);
}

}  // namespace

std::size_t EndPointsTarget(const OrbitJob& job, const double* x, const double* y, std::size_t n, double* ex,
                            double* ey, double* index) {
    if (job.dcOutward == 1) {
        if (job.kcOutward == 1) return RunGuard<true, true>(job, x, y, n, ex, ey, index);
        return RunGuard<true, false>(job, x, y, n, ex, ey, index);
    }
    if (job.kcOutward == 1) return RunGuard<false, true>(job, x, y, n, ex, ey, index);
    return RunGuard<false, false>(job, x, y, n, ex, ey, index);
}

}  // namespace HWY_NAMESPACE
}  // namespace orbitograph::engine
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace orbitograph::engine {

HWY_EXPORT(EndPointsTarget);

std::size_t EndPointsVector(const OrbitJob& job, const double* x, const double* y, std::size_t n, double* ex,
                            double* ey, double* index) {
    return HWY_DYNAMIC_DISPATCH(EndPointsTarget)(job, x, y, n, ex, ey, index);
}

}  // namespace orbitograph::engine
#endif
