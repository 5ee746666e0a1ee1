// The analysis walks, compiled once per instruction set and chosen at run
// time, like the end-point kernel (end_points_simd.cpp), whose exactness
// argument they share: every lane makes MapStep's operations in MapStep's
// order, without contraction.
//
// Shape. All orbits of a call start together, so every live orbit is at the
// same step k; they advance in rounds of a few steps, G vectors of L lanes at
// a time, and after each round the orbits that stopped drop out and the others
// are packed together again. Within a round a lane steps without the guard
// and keeps two summaries of the states it stepped from:
//  - the largest x*x and y*y: a state lies inside the square exactly when
//    both its computed squares are <= 4 (squaring and rounding are monotone,
//    |x| <= 2 gives x*x <= 4 exactly, and the double after 2 squares to more
//    than 4 + ulp(4)), so a largest square <= 4 proves every state inside.
//    Max may take either operand when one is NaN; that is harmless, as no
//    state before the first one outside is NaN (an operation gives NaN only
//    from an infinity, or from squares that overflow, that is from a state
//    outside), and after a value above 4 the summary stays above 4 or NaN.
//  - whether the stop condition held at some state (guard closed, or x equal
//    to the target's x as doubles, which every state equal bit for bit is).
// A lane whose round may hold its exit (still unknown) or a stop is walked
// again from the round's start, exactly, with the scalar map (ResolveLane).
// Without a stop the unguarded steps are the guarded ones: for Frozen, no
// state of the round was frozen; for Target, the caller ensures it.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "model/engine/orbit_walks_simd.cpp"
#include "hwy/foreach_target.h"  // IWYU pragma: keep
#include "hwy/highway.h"

#include <algorithm>
#include <bit>
#include <cstdint>

#include "model/classify.h"
#include "model/engine/orbit_walks.h"
#include "model/orbit.h"

HWY_BEFORE_NAMESPACE();
namespace orbitograph::engine {
namespace HWY_NAMESPACE {
namespace {

namespace hn = hwy::HWY_NAMESPACE;

using D = hn::ScalableTag<double>;
using V = hn::Vec<D>;
using M = hn::Mask<D>;

constexpr std::size_t kG = 4;
constexpr std::size_t kL = hn::MaxLanes(D());
constexpr std::size_t kChunk = kG * kL;

// Short rounds while most orbits of a Frozen walk stop (a few steps after
// their escape), long ones for the orbits that go on.
std::int64_t RoundSteps(std::int64_t k) { return k < 16 ? 4 : (k < 64 ? 8 : 32); }

struct Constants {
    V a, dc, negDc, kc, negKc, zero, four, guardX, guardY;
    explicit Constants(const OrbitJob& job)
        : a(hn::Set(D(), job.a)),
          dc(hn::Set(D(), job.dc)),
          negDc(hn::Set(D(), -job.dc)),
          kc(hn::Set(D(), job.kc)),
          negKc(hn::Set(D(), -job.kc)),
          zero(hn::Zero(D())),
          four(hn::Set(D(), 4.0)),
          guardX(hn::Set(D(), -100.0)),
          guardY(hn::Set(D(), 100.0)) {}
};

// MapStep from the state (x, y) whose squares are xx, yy; the action's sign
// as in the end-point kernel.
template <bool kOutX, bool kOutY>
HWY_INLINE void Step(const Constants& c, V xx, V yy, V& x, V& y) {
    const V p = hn::Mul(hn::Sub(xx, yy), c.a);
    const V xy = hn::Mul(x, y);
    const V q = hn::Mul(hn::Add(xy, xy), c.a);
    const M flipX = kOutX ? hn::Lt(p, c.zero) : hn::Gt(p, c.zero);
    const M flipY = kOutY ? hn::Lt(q, c.zero) : hn::Gt(q, c.zero);
    x = hn::Add(p, hn::IfThenElse(flipX, c.negDc, c.dc));
    y = hn::Add(q, hn::IfThenElse(flipY, c.negKc, c.kc));
}

bool SameBits(State a, State b) {
    return std::bit_cast<std::uint64_t>(a.x) == std::bit_cast<std::uint64_t>(b.x) &&
           std::bit_cast<std::uint64_t>(a.y) == std::bit_cast<std::uint64_t>(b.y);
}

// The states s_k ... s_{k+r-1} of one lane again, from its exact state s_k:
// records the exit if still unknown, and returns the offset of the state at
// which the walk stops, or -1.
template <WalkStop kStop>
std::int64_t ResolveLane(const MapParams& m, State s, State target, std::int64_t k, std::int64_t r, double& known,
                         std::int64_t& exit) {
    for (std::int64_t j = 0; j < r; ++j) {
        if (known == 0.0 && !InsideSquare(s.x, s.y)) exit = k + j, known = 1.0;
        if (kStop == WalkStop::Frozen ? !GuardOpen(s) : SameBits(s, target)) return j;
        s = MapStep(m, s);
    }
    return -1;
}

// One round of r steps for the live orbits of w from step k; returns how many
// go on, packed to the front of w's arrays.
template <WalkStop kStop, bool kOutX, bool kOutY>
std::size_t Round(const Constants& c, const MapParams& m, std::int64_t k, std::int64_t r, std::size_t live,
                  const double* tx, const double* ty, std::int64_t* stop, std::int64_t* exit, WalkArrays& w) {
    const D d;
    std::size_t out = 0;
    for (std::size_t i = 0; i < live; i += kChunk) {
        V x[kG], y[kG], target[kG], big[kG];
        M flag[kG];
        HWY_ALIGN double sx[kChunk], sy[kChunk];
        for (std::size_t g = 0; g < kG; ++g) {
            x[g] = hn::LoadU(d, w.x.data() + i + g * kL);
            y[g] = hn::LoadU(d, w.y.data() + i + g * kL);
            hn::Store(x[g], d, sx + g * kL);
            hn::Store(y[g], d, sy + g * kL);
            target[g] = hn::LoadU(d, w.tx.data() + i + g * kL);
            big[g] = c.zero;
            flag[g] = hn::FirstN(d, 0);
        }
        for (std::int64_t s = 0; s < r; ++s) {
#pragma GCC unroll 4
            for (std::size_t g = 0; g < kG; ++g) {
                const V xx = hn::Mul(x[g], x[g]);
                const V yy = hn::Mul(y[g], y[g]);
                big[g] = hn::Max(big[g], hn::Max(xx, yy));
                if constexpr (kStop == WalkStop::Frozen) {
                    flag[g] = hn::Or(flag[g], hn::Not(hn::Or(hn::Lt(y[g], c.guardY), hn::Gt(x[g], c.guardX))));
                } else {
                    flag[g] = hn::Or(flag[g], hn::Eq(x[g], target[g]));
                }
                Step<kOutX, kOutY>(c, xx, yy, x[g], y[g]);
            }
        }
        bool settle = false;
        HWY_ALIGN double need[kChunk];
        for (std::size_t g = 0; g < kG; ++g) {
            const std::size_t first = i + g * kL;
            const M valid = hn::FirstN(d, first < live ? live - first : 0);
            const M unknownOut =
                hn::AndNot(hn::Le(big[g], c.four), hn::Eq(hn::LoadU(d, w.known.data() + first), c.zero));
            const M lanes = hn::And(valid, hn::Or(flag[g], unknownOut));
            settle = settle || !hn::AllFalse(d, lanes) || !hn::AllTrue(d, valid);
            hn::Store(hn::VecFromMask(d, lanes), d, need + g * kL);
        }
        if (!settle) {
            // Every lane goes on: the whole chunk moves to `out` (<= i).
            V t[kG], id[kG], known[kG];
            for (std::size_t g = 0; g < kG; ++g) {
                t[g] = hn::LoadU(d, w.tx.data() + i + g * kL);
                id[g] = hn::LoadU(d, w.id.data() + i + g * kL);
                known[g] = hn::LoadU(d, w.known.data() + i + g * kL);
            }
            for (std::size_t g = 0; g < kG; ++g) {
                hn::StoreU(x[g], d, w.x.data() + out + g * kL);
                hn::StoreU(y[g], d, w.y.data() + out + g * kL);
                hn::StoreU(t[g], d, w.tx.data() + out + g * kL);
                hn::StoreU(id[g], d, w.id.data() + out + g * kL);
                hn::StoreU(known[g], d, w.known.data() + out + g * kL);
            }
            out += kChunk;
            continue;
        }
        HWY_ALIGN double ex[kChunk], ey[kChunk];
        for (std::size_t g = 0; g < kG; ++g) {
            hn::Store(x[g], d, ex + g * kL);
            hn::Store(y[g], d, ey + g * kL);
        }
        for (std::size_t j = 0; j < kChunk && i + j < live; ++j) {
            const std::size_t from = i + j;
            const auto orbit = static_cast<std::size_t>(w.id[from]);
            if (need[j] != 0.0) {
                const State goal = tx ? State{tx[orbit], ty[orbit]} : State{};
                const std::int64_t at = ResolveLane<kStop>(m, {sx[j], sy[j]}, goal, k, r, w.known[from], exit[orbit]);
                if (at >= 0) {
                    stop[orbit] = k + at;
                    continue;
                }
            }
            w.x[out] = ex[j];
            w.y[out] = ey[j];
            w.tx[out] = w.tx[from];
            w.id[out] = w.id[from];
            w.known[out] = w.known[from];
            ++out;
        }
    }
    return out;
}

template <WalkStop kStop, bool kOutX, bool kOutY>
bool Walk(const OrbitJob& job, const double* x, const double* y, const double* tx, const double* ty, std::size_t n,
          std::int64_t* stop, std::int64_t* exit, WalkArrays& w) {
    const Constants c(job);
    const MapParams m{job.a, job.dc, job.kc, job.dcOutward, job.kcOutward, 0};
    // The chunk after the last live orbit is read and written but never used.
    for (std::vector<double>* v : {&w.x, &w.y, &w.tx, &w.id, &w.known}) v->assign(n + kChunk, 0.0);
    for (std::size_t i = 0; i < n; ++i) {
        w.x[i] = x[i];
        w.y[i] = y[i];
        w.tx[i] = tx ? tx[i] : 0.0;
        w.id[i] = static_cast<double>(i);
        stop[i] = -1;
        exit[i] = -1;
    }
    std::size_t live = n;
    for (std::int64_t k = 0; live > 0 && k < job.steps;) {
        if (Cancelled(job)) return false;
        const std::int64_t r = std::min(job.steps - k, RoundSteps(k));
        live = Round<kStop, kOutX, kOutY>(c, m, k, r, live, tx, ty, stop, exit, w);
        k += r;
    }
    // The orbits that went on to the end: s_T is the last state.
    for (std::size_t j = 0; j < live; ++j) {
        const auto orbit = static_cast<std::size_t>(w.id[j]);
        if (w.known[j] == 0.0 && !InsideSquare(w.x[j], w.y[j])) exit[orbit] = job.steps;
    }
    return true;
}

template <WalkStop kStop>
bool WalkDirections(const OrbitJob& job, const double* x, const double* y, const double* tx, const double* ty,
                    std::size_t n, std::int64_t* stop, std::int64_t* exit, WalkArrays& w) {
    if (job.dcOutward == 1) {
        if (job.kcOutward == 1) return Walk<kStop, true, true>(job, x, y, tx, ty, n, stop, exit, w);
        return Walk<kStop, true, false>(job, x, y, tx, ty, n, stop, exit, w);
    }
    if (job.kcOutward == 1) return Walk<kStop, false, true>(job, x, y, tx, ty, n, stop, exit, w);
    return Walk<kStop, false, false>(job, x, y, tx, ty, n, stop, exit, w);
}

}  // namespace

bool WalkOrbitsOnTarget(WalkStop kind, const OrbitJob& job, const double* x, const double* y, const double* tx,
                        const double* ty, std::size_t n, std::int64_t* stop, std::int64_t* exit, WalkArrays& w) {
    if (kind == WalkStop::Frozen)
        return WalkDirections<WalkStop::Frozen>(job, x, y, nullptr, nullptr, n, stop, exit, w);
    return WalkDirections<WalkStop::Target>(job, x, y, tx, ty, n, stop, exit, w);
}

}  // namespace HWY_NAMESPACE
}  // namespace orbitograph::engine
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace orbitograph::engine {

HWY_EXPORT(WalkOrbitsOnTarget);

bool WalkOrbits(WalkStop kind, const OrbitJob& job, const double* x, const double* y, const double* tx,
                const double* ty, std::size_t n, std::int64_t* stop, std::int64_t* exit, WalkArrays& work) {
    return HWY_DYNAMIC_DISPATCH(WalkOrbitsOnTarget)(kind, job, x, y, tx, ty, n, stop, exit, work);
}

}  // namespace orbitograph::engine
#endif
