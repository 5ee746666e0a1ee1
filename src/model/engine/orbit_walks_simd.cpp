// The analysis walks, compiled once per instruction set and chosen at run
// time, like the end-point kernel (end_points_simd.cpp), whose exactness
// argument they share: every lane makes MapStep's operations in MapStep's
// order, without contraction.
//
// Shape. All orbits of a call start together, so every live orbit is at the
// same step k; they advance in rounds of a few steps, G vectors of L lanes at
// a time, and after each round the orbits that stopped drop out and the others
// are packed together again. Within a round a lane steps without the guard;
// without a stop in the round these steps are the guarded ones (for Frozen no
// state of the round was frozen; for Target the caller ensures it).
//
// The exit. A state lies inside the square exactly when its computed squares
// x*x and y*y are both <= 4 (squaring and rounding are monotone, |x| <= 2
// gives x*x <= 4 exactly, and the double after 2 squares to more than
// 4 + ulp(4)), so when the larger of them is. Max may take either operand
// when one is NaN; that is harmless, as no state before the first one outside
// is NaN (an operation gives NaN only from an infinity, or from squares that
// overflow, that is from a state outside), so the first state outside is
// always seen as outside, and what follows it does not matter.
//
// Frozen walks (orbits that escape, stopping a few steps later) track the
// exit and the stop exactly in the lanes, as the least step at which the
// state was outside, or frozen. Target walks (orbits that mostly go on to the
// end) keep cheaper summaries of a round's states: the largest square, and
// whether x equalled the target's x as doubles (as every state equal bit for
// bit does); a lane whose round may hold its exit (still unknown) or the
// target is walked again from the round's start with the scalar map.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "model/engine/orbit_walks_simd.cpp"
#include "hwy/foreach_target.h"  // IWYU pragma: keep
#include "hwy/highway.h"
#include "model/engine/map_step-inl.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <limits>

#include "model/classify.h"
#include "model/engine/orbit_walks.h"
#include "model/orbit.h"

HWY_BEFORE_NAMESPACE();
namespace orbitograph::engine {
namespace HWY_NAMESPACE {
namespace {

constexpr std::size_t kG = 4;
constexpr std::size_t kL = hn::MaxLanes(D());
constexpr std::size_t kChunk = kG * kL;
static_assert(kChunk <= kWalkPadding, "the callers' padding covers one chunk");

// Short rounds while most orbits of a walk stop (a Frozen walk's a few steps
// after their escape), long ones for the orbits that go on; k counts the
// walk's steps so far.
std::int64_t RoundSteps(std::int64_t k) { return k < 16 ? 4 : (k < 64 ? 8 : 32); }

bool SameBits(State a, State b) {
    return std::bit_cast<std::uint64_t>(a.x) == std::bit_cast<std::uint64_t>(b.x) &&
           std::bit_cast<std::uint64_t>(a.y) == std::bit_cast<std::uint64_t>(b.y);
}

constexpr double kInf = std::numeric_limits<double>::infinity();

// The G vectors of a chunk to `to`, unaligned.
HWY_INLINE void StoreChunk(const V (&v)[kG], double* to) {
    for (std::size_t g = 0; g < kG; ++g) hn::StoreU(v[g], D(), to + g * kL);
}

// A chunk's orbits (states, the walk's own value: a target or a stop, numbers
// and exits) to five arrays from `at`.
HWY_INLINE void StoreOrbits(const V (&x)[kG], const V (&y)[kG], const V (&own)[kG], const V (&id)[kG],
                            const V (&exit)[kG], double* const (&to)[5], std::size_t at) {
    StoreChunk(x, to[0] + at);
    StoreChunk(y, to[1] + at);
    StoreChunk(own, to[2] + at);
    StoreChunk(id, to[3] + at);
    StoreChunk(exit, to[4] + at);
}

// Where a round reads its orbits: the caller's arrays in the first round
// (numbering the orbits), the packed ones of w after.
struct Source {
    const double* x;
    const double* y;
    const double* tx;    // a Target walk's targets, a Frozen walk's stops (+infinity while none)
    const double* id;    // null in the first round
    const double* exit;  // null in the first round of a walk from the start: none yet
};

Source Packed(const WalkArrays& w) { return {w.x.data(), w.y.data(), w.tx.data(), w.id.data(), w.exit.data()}; }

HWY_INLINE void LoadChunk(const Source& src, std::size_t i, V (&x)[kG], V (&y)[kG], V (&id)[kG], V (&exit)[kG]) {
    const D d;
    for (std::size_t g = 0; g < kG; ++g) {
        const std::size_t at = i + g * kL;
        x[g] = hn::LoadU(d, src.x + at);
        y[g] = hn::LoadU(d, src.y + at);
        id[g] = src.id ? hn::LoadU(d, src.id + at) : hn::Add(hn::Iota(d, 0.0), hn::Set(d, static_cast<double>(at)));
        exit[g] = src.exit ? hn::LoadU(d, src.exit + at) : hn::Set(d, kInf);
    }
}

// Writes a Frozen walk's results for the orbits of lanes [0, lanes) of a
// chunk (an orbit that goes on has them written again later), and packs those
// that go on (no stop) to w's arrays from `out`; returns the new `out`.
// Branch-free by lane.
std::size_t SettleFrozen(std::size_t lanes, const double* bx, const double* by, const double* bi, const double* be,
                         const double* bs, double* exit, std::int64_t* stop, WalkArrays& w, std::size_t out) {
    double* wx = w.x.data();
    double* wy = w.y.data();
    double* wi = w.id.data();
    double* we = w.exit.data();
    double* ws = w.tx.data();
    for (std::size_t j = 0; j < lanes; ++j) {
        const auto orbit = static_cast<std::size_t>(bi[j]);
        const bool stopped = bs[j] < kInf;
        stop[orbit] = stopped ? static_cast<std::int64_t>(bs[j]) : -1;
        exit[orbit] = be[j];
        wx[out] = bx[j];
        wy[out] = by[j];
        wi[out] = bi[j];
        we[out] = be[j];
        ws[out] = bs[j];
        out += !stopped;
    }
    return out;
}

// One round of r steps of a Frozen walk for the live orbits from step k: the
// exit (+infinity while unknown) and the stop are tracked exactly in the
// lanes, as the least step at which the state was outside, or frozen (a lane
// steps on past its stop: its results stay). A chunk is packed, and the
// results of its stopped orbits written, once half its lanes have stopped;
// until then it moves whole. Returns the number of orbits kept, packed to the
// front of w's arrays.
template <bool kOutX, bool kOutY>
std::size_t FrozenRound(const Constants& c, const Source& src, std::int64_t k, std::int64_t r, std::size_t live,
                        double* exit, std::int64_t* stop, WalkArrays& w) {
    const D d;
    const V inf = hn::Set(d, kInf);
    double* const packed[5] = {w.x.data(), w.y.data(), w.tx.data(), w.id.data(), w.exit.data()};
    std::size_t out = 0;
    for (std::size_t i = 0; i < live; i += kChunk) {
        V x[kG], y[kG], id[kG], ex[kG], st[kG];
        LoadChunk(src, i, x, y, id, ex);
        for (std::size_t g = 0; g < kG; ++g) st[g] = src.id ? hn::LoadU(d, src.tx + i + g * kL) : inf;
        V step = hn::Set(d, static_cast<double>(k));
        for (std::int64_t s = 0; s < r; ++s) {
#pragma GCC unroll 4
            for (std::size_t g = 0; g < kG; ++g) {
                const V xx = hn::Mul(x[g], x[g]);
                const V yy = hn::Mul(y[g], y[g]);
                ex[g] = hn::Min(ex[g], hn::IfThenElse(hn::Le(hn::Max(xx, yy), c.four), inf, step));
                st[g] = hn::Min(st[g], hn::IfThenElse(GuardOpen(c, x[g], y[g]), inf, step));
                StepFromSquares<kOutX, kOutY>(c, xx, yy, x[g], y[g]);
            }
            step = hn::Add(step, hn::Set(d, 1.0));
        }
        std::size_t stopped = 0;
        for (std::size_t g = 0; g < kG; ++g) stopped += hn::CountTrue(d, hn::Lt(st[g], inf));
        if (live - i >= kChunk && 2 * stopped < kChunk) {
            // The whole chunk moves to out <= i.
            StoreOrbits(x, y, st, id, ex, packed, out);
            out += kChunk;
            continue;
        }
        double bx[kChunk], by[kChunk], bi[kChunk], be[kChunk], bs[kChunk];
        StoreOrbits(x, y, st, id, ex, {bx, by, bs, bi, be}, 0);
        // The caller's arrays are written only where this chunk read them.
        out = SettleFrozen(std::min(kChunk, live - i), bx, by, bi, be, bs, exit, stop, w, out);
    }
    return out;
}

// The states s_k ... s_{k+r-1} of one lane of a Target walk again, from its
// exact state s_k: records the exit if still unknown, and returns the offset
// of the state equal to the target, or -1.
std::int64_t ResolveTarget(const MapParams& m, State s, State target, std::int64_t k, std::int64_t r, double& exit) {
    for (std::int64_t j = 0; j < r; ++j) {
        if (exit == kInf && !InsideSquare(s.x, s.y)) exit = static_cast<double>(k + j);
        if (SameBits(s, target)) return j;
        s = MapStep(m, s);
    }
    return -1;
}

HWY_INLINE std::int64_t StepOf(double k) { return k < kInf ? static_cast<std::int64_t>(k) : -1; }

// One round of r steps of a Target walk, as FrozenRound, with summaries in the
// lanes and the rare rounds that may hold an exit or the target walked again.
template <bool kOutX, bool kOutY>
std::size_t TargetRound(const Constants& c, const MapParams& m, const Source& src, std::int64_t k, std::int64_t r,
                        std::size_t live, const double* tx, const double* ty, std::int64_t* stop, std::int64_t* exit,
                        WalkArrays& w) {
    const D d;
    const V inf = hn::Set(d, kInf);
    double* const packed[5] = {w.x.data(), w.y.data(), w.tx.data(), w.id.data(), w.exit.data()};
    std::size_t out = 0;
    for (std::size_t i = 0; i < live; i += kChunk) {
        V x[kG], y[kG], id[kG], ex[kG], target[kG], big[kG];
        M flag[kG];
        double sx[kChunk], sy[kChunk];
        LoadChunk(src, i, x, y, id, ex);
        StoreChunk(x, sx);
        StoreChunk(y, sy);
        for (std::size_t g = 0; g < kG; ++g) {
            target[g] = hn::LoadU(d, src.tx + i + g * kL);
            big[g] = c.zero;
            flag[g] = hn::FirstN(d, 0);
        }
        for (std::int64_t s = 0; s < r; ++s) {
#pragma GCC unroll 4
            for (std::size_t g = 0; g < kG; ++g) {
                const V xx = hn::Mul(x[g], x[g]);
                const V yy = hn::Mul(y[g], y[g]);
                big[g] = hn::Max(big[g], hn::Max(xx, yy));
                flag[g] = hn::Or(flag[g], hn::Eq(x[g], target[g]));
                StepFromSquares<kOutX, kOutY>(c, xx, yy, x[g], y[g]);
            }
        }
        bool settle = live - i < kChunk;
        HWY_ALIGN double need[kChunk];
        for (std::size_t g = 0; g < kG; ++g) {
            const M unknownOut = hn::AndNot(hn::Le(big[g], c.four), hn::Eq(ex[g], inf));
            const M lanes = hn::Or(flag[g], unknownOut);
            settle = settle || !hn::AllFalse(d, lanes);
            hn::Store(hn::VecFromMask(d, lanes), d, need + g * kL);
        }
        if (!settle) {
            StoreOrbits(x, y, target, id, ex, packed, out);
            out += kChunk;
            continue;
        }
        double bx[kChunk], by[kChunk], bt[kChunk], bi[kChunk], be[kChunk];
        StoreOrbits(x, y, target, id, ex, {bx, by, bt, bi, be}, 0);
        for (std::size_t j = 0; j < kChunk && i + j < live; ++j) {
            const auto orbit = static_cast<std::size_t>(bi[j]);
            if (need[j] != 0.0) {
                const std::int64_t at = ResolveTarget(m, {sx[j], sy[j]}, {tx[orbit], ty[orbit]}, k, r, be[j]);
                if (at >= 0) {
                    stop[orbit] = k + at;
                    exit[orbit] = StepOf(be[j]);
                    continue;
                }
            }
            w.x[out] = bx[j];
            w.y[out] = by[j];
            w.tx[out] = bt[j];
            w.id[out] = bi[j];
            w.exit[out] = be[j];
            ++out;
        }
    }
    return out;
}

template <bool kOutX, bool kOutY>
bool Frozen(const OrbitJob& job, std::int64_t k0, std::int64_t k1, double* x, double* y, double* exit,
            std::int64_t* stop, std::size_t n, WalkArrays& w) {
    const Constants c(job);
    // Rounds read up to a chunk past the last live orbit (values unused).
    for (std::vector<double>* v : {&w.x, &w.y, &w.tx, &w.id, &w.exit}) {
        if (v->size() < n + kChunk) v->resize(n + kChunk);
    }
    Source src{x, y, nullptr, nullptr, k0 == 0 ? nullptr : exit};
    std::size_t live = n;
    std::int64_t tally = 0;
    for (std::int64_t k = k0; live > 0 && k < k1; src = Packed(w)) {
        if (Cancelled(job)) return false;
        const std::int64_t r = std::min(k1 - k, RoundSteps(k - k0));
        Tally(job, tally, r, live);
        live = FrozenRound<kOutX, kOutY>(c, src, k, r, live, exit, stop, w);
        k += r;
    }
    // The orbits kept: stopped ones with their results, and those that go on.
    for (std::size_t j = 0; j < live; ++j) {
        const std::size_t orbit = src.id ? static_cast<std::size_t>(src.id[j]) : j;
        const bool stopped = src.id && src.tx[j] < kInf;
        stop[orbit] = stopped ? static_cast<std::int64_t>(src.tx[j]) : -1;
        exit[orbit] = src.exit ? src.exit[j] : kInf;
        if (!stopped) x[orbit] = src.x[j], y[orbit] = src.y[j];
    }
    return true;
}

template <bool kOutX, bool kOutY>
bool Target(const OrbitJob& job, const double* x, const double* y, const double* tx, const double* ty, std::size_t n,
            std::int64_t* stop, std::int64_t* exit, WalkArrays& w) {
    const Constants c(job);
    const MapParams m{job.a, job.dc, job.kc, job.dcOutward, job.kcOutward, 0};
    for (std::vector<double>* v : {&w.x, &w.y, &w.tx, &w.id, &w.exit}) {
        if (v->size() < n + kChunk) v->resize(n + kChunk);
    }
    Source src{x, y, tx, nullptr, nullptr};
    std::size_t live = n;
    std::int64_t tally = 0;
    for (std::int64_t k = 0; live > 0 && k < job.steps; src = Packed(w)) {
        if (Cancelled(job)) return false;
        const std::int64_t r = std::min(job.steps - k, RoundSteps(k));
        Tally(job, tally, r, live);
        live = TargetRound<kOutX, kOutY>(c, m, src, k, r, live, tx, ty, stop, exit, w);
        k += r;
    }
    // The orbits that went on to the end: s_T is the last state.
    for (std::size_t j = 0; j < live; ++j) {
        const std::size_t orbit = src.id ? static_cast<std::size_t>(src.id[j]) : j;
        stop[orbit] = -1;
        exit[orbit] = src.exit && src.exit[j] < kInf ? static_cast<std::int64_t>(src.exit[j])
                                                     : (InsideSquare(src.x[j], src.y[j]) ? -1 : job.steps);
    }
    return true;
}

}  // namespace

bool FrozenWalkOnTarget(const OrbitJob& job, std::int64_t k0, std::int64_t k1, double* x, double* y, double* exit,
                        std::int64_t* stop, std::size_t n, WalkArrays& w) {
    if (job.dcOutward == 1) {
        if (job.kcOutward == 1) return Frozen<true, true>(job, k0, k1, x, y, exit, stop, n, w);
        return Frozen<true, false>(job, k0, k1, x, y, exit, stop, n, w);
    }
    if (job.kcOutward == 1) return Frozen<false, true>(job, k0, k1, x, y, exit, stop, n, w);
    return Frozen<false, false>(job, k0, k1, x, y, exit, stop, n, w);
}

bool TargetWalkOnTarget(const OrbitJob& job, const double* x, const double* y, const double* tx, const double* ty,
                        std::size_t n, std::int64_t* stop, std::int64_t* exit, WalkArrays& w) {
    if (job.dcOutward == 1) {
        if (job.kcOutward == 1) return Target<true, true>(job, x, y, tx, ty, n, stop, exit, w);
        return Target<true, false>(job, x, y, tx, ty, n, stop, exit, w);
    }
    if (job.kcOutward == 1) return Target<false, true>(job, x, y, tx, ty, n, stop, exit, w);
    return Target<false, false>(job, x, y, tx, ty, n, stop, exit, w);
}

}  // namespace HWY_NAMESPACE
}  // namespace orbitograph::engine
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace orbitograph::engine {

HWY_EXPORT(FrozenWalkOnTarget);
HWY_EXPORT(TargetWalkOnTarget);

bool FrozenWalk(const OrbitJob& job, std::int64_t k0, std::int64_t k1, double* x, double* y, double* exit,
                std::int64_t* stop, std::size_t n, WalkArrays& work) {
    return HWY_DYNAMIC_DISPATCH(FrozenWalkOnTarget)(job, k0, k1, x, y, exit, stop, n, work);
}

bool TargetWalk(const OrbitJob& job, const double* x, const double* y, const double* tx, const double* ty,
                std::size_t n, std::int64_t* stop, std::int64_t* exit, WalkArrays& work) {
    return HWY_DYNAMIC_DISPATCH(TargetWalkOnTarget)(job, x, y, tx, ty, n, stop, exit, work);
}

}  // namespace orbitograph::engine
#endif
