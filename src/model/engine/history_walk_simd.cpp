// The History walk and its search (orbit_walks.h), compiled once per
// instruction set; the lanes make MapStep's operations (map_step-inl.h).
//
// Shape, as the other walks (orbit_walks_simd.cpp): every live orbit at one
// step k, rounds of 32 steps over G vectors of L lanes, the orbits that stop
// dropping out after each round and the others packed together again. Each
// state's x goes to the round's row of its step, at the orbit's place in the
// round. The exit: the largest square of a round's states (see
// orbit_walks_simd.cpp), and a round that may hold an orbit's first state
// outside walked again from its start with the scalar map. The cycle test
// compares a lane's state at the end of a round with the one it saved at the
// end of round 1, 2, 4, ...: the step being a function of the state's bits, a
// match proves the orbit periodic from there. Unguarded steps are exact
// until the guard first closes; that closes the escape test too (a frozen
// state is past the bound and so is every unguarded step from it, Lemma 2 of
// escape_bound.cpp), or else (guardMatters) it is watched at every step.

#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "model/engine/history_walk_simd.cpp"
#include "hwy/foreach_target.h"  // IWYU pragma: keep
#include "hwy/highway.h"
#include "model/engine/map_step-inl.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "model/classify.h"
#include "model/engine/orbit_walks.h"
#include "model/orbit.h"

HWY_BEFORE_NAMESPACE();
namespace orbitograph::engine {
namespace HWY_NAMESPACE {
namespace {

using DU = hn::RebindToUnsigned<D>;
using DF = hn::Rebind<float, D>;  // as many lanes, of float
using DS = hn::ScalableTag<float>;

constexpr std::size_t kG = 4;
constexpr std::size_t kL = hn::MaxLanes(D());
constexpr std::size_t kChunk = kG * kL;
constexpr std::int64_t kRoundSteps = 32;
constexpr double kInf = std::numeric_limits<double>::infinity();

// The first step of s_k ... s_{k+r-1}, from s_k, with a state outside, or
// +infinity.
double FirstOut(const MapParams& m, State s, std::int64_t k, std::int64_t r) {
    for (std::int64_t j = 0; j < r; ++j) {
        if (!InsideSquare(s.x, s.y)) return static_cast<double>(k + j);
        s = MapStep(m, s);
    }
    return kInf;
}

struct Io {
    double* x;
    double* y;
    double* exit;
    HistoryEnd* end;
    std::int64_t* step;
};

// A lane's events at the end of a round.
struct Events {
    double out[kChunk], same[kChunk], check[kChunk];
};

// The round's end for the lanes of one chunk: true when some lane stops or
// has to have its round walked again.
HWY_INLINE bool RoundEnd(const Constants& c, const WalkArrays& w, std::size_t i, const V (&x)[kG], const V (&y)[kG],
                         const V (&big)[kG], const M (&closed)[kG], Events& e) {
    const D d;
    const DU du;
    bool any = false;
    for (std::size_t g = 0; g < kG; ++g) {
        const std::size_t at = i + g * kL;
        const M out = hn::Or(closed[g], Escaped(c, x[g], y[g]));
        const M same =
            hn::RebindMask(d, hn::And(hn::Eq(hn::BitCast(du, x[g]), hn::BitCast(du, hn::LoadU(d, w.sx.data() + at))),
                                      hn::Eq(hn::BitCast(du, y[g]), hn::BitCast(du, hn::LoadU(d, w.sy.data() + at)))));
        const M check = hn::AndNot(hn::Le(big[g], c.four), hn::Eq(hn::LoadU(d, w.exit.data() + at), hn::Set(d, kInf)));
        any = any || !hn::AllFalse(d, hn::Or(out, hn::Or(same, check)));
        hn::StoreU(hn::VecFromMask(d, out), d, e.out + g * kL);
        hn::StoreU(hn::VecFromMask(d, same), d, e.same + g * kL);
        hn::StoreU(hn::VecFromMask(d, check), d, e.check + g * kL);
    }
    return any;
}

// One round of r steps from step k for the live orbits of w, their x into the
// rows from `row` (stride values apart). Returns how many go on, packed to the
// front of w's arrays (saving their states when `save`).
template <bool kOutX, bool kOutY, bool kGuard>
std::size_t HistoryRound(const Constants& c, const MapParams& m, std::int64_t k, std::int64_t r, bool save,
                         std::size_t live, float* row, std::size_t stride, const Io& io, WalkArrays& w) {
    const D d;
    const DF df;
    std::size_t out = 0;
    for (std::size_t i = 0; i < live; i += kChunk) {
        V x[kG], y[kG], big[kG];
        M closed[kG];
        double rx[kChunk], ry[kChunk];
        for (std::size_t g = 0; g < kG; ++g) {
            x[g] = hn::LoadU(d, w.x.data() + i + g * kL);
            y[g] = hn::LoadU(d, w.y.data() + i + g * kL);
            hn::StoreU(x[g], d, rx + g * kL);
            hn::StoreU(y[g], d, ry + g * kL);
            big[g] = c.zero;
            closed[g] = hn::FirstN(d, 0);
        }
        for (std::int64_t s = 0; s < r; ++s) {
            float* at = row + static_cast<std::size_t>(s) * stride + i;
#pragma GCC unroll 4
            for (std::size_t g = 0; g < kG; ++g) {
                const V xx = hn::Mul(x[g], x[g]);
                const V yy = hn::Mul(y[g], y[g]);
                big[g] = hn::Max(big[g], hn::Max(xx, yy));
                if constexpr (kGuard) closed[g] = hn::Or(closed[g], GuardClosed(c, x[g], y[g]));
                hn::StoreU(hn::DemoteTo(df, x[g]), df, at + g * kL);
                StepFromSquares<kOutX, kOutY>(c, xx, yy, x[g], y[g]);
            }
        }
        Events e;
        const bool settle = RoundEnd(c, w, i, x, y, big, closed, e) || live - i < kChunk;
        double bx[kChunk], by[kChunk];
        for (std::size_t g = 0; g < kG; ++g) {
            hn::StoreU(x[g], d, bx + g * kL);
            hn::StoreU(y[g], d, by + g * kL);
        }
        // Packed to out <= i, lane by lane (an array is read at `from` before
        // it is written at out <= from).
        for (std::size_t j = 0; j < std::min(kChunk, live - i); ++j) {
            const std::size_t from = i + j;
            const auto orbit = static_cast<std::size_t>(w.id[from]);
            if (settle && e.out[j] != 0.0) {
                io.end[orbit] = HistoryEnd::Out;
                continue;
            }
            if (settle && e.check[j] != 0.0) w.exit[from] = FirstOut(m, {rx[j], ry[j]}, k, r);
            if (settle && e.same[j] != 0.0) {
                io.end[orbit] = HistoryEnd::Cycle;
                io.x[orbit] = bx[j];
                io.y[orbit] = by[j];
                io.step[orbit] = k + r;
                continue;
            }
            w.id[out] = w.id[from];
            w.exit[out] = w.exit[from];
            w.sx[out] = save ? bx[j] : w.sx[from];
            w.sy[out] = save ? by[j] : w.sy[from];
            w.x[out] = bx[j];
            w.y[out] = by[j];
            ++out;
        }
    }
    return out;
}

template <bool kOutX, bool kOutY, bool kGuard>
bool History(const OrbitJob& job, std::int64_t k0, const Io& io, std::size_t n, WalkArrays& w, WalkHistory& h) {
    const Constants c(job);
    const MapParams m{job.a, job.dc, job.kc, job.dcOutward, job.kcOutward, 0};
    for (std::vector<double>* v : {&w.x, &w.y, &w.id, &w.exit, &w.sx, &w.sy}) {
        if (v->size() < n + kChunk) v->resize(n + kChunk);
    }
    for (std::size_t i = 0; i < n; ++i) {
        w.x[i] = io.x[i];
        w.y[i] = io.y[i];
        w.id[i] = static_cast<double>(i);
        w.exit[i] = io.exit[i];
        w.sx[i] = w.sy[i] = std::numeric_limits<double>::quiet_NaN();  // a state that escaped stops first
    }
    h.rounds.clear();
    h.x.clear();
    h.ids.clear();
    h.x.reserve((n + kChunk - 1) / kChunk * kChunk * static_cast<std::size_t>(job.steps - k0));
    std::size_t live = n;
    std::int64_t round = 0;
    std::int64_t tally = 0;
    for (std::int64_t k = k0; live > 0 && k < job.steps;) {
        if (Cancelled(job)) return false;
        Tally(job, tally, std::min(job.steps - k, kRoundSteps), live);
        const std::int64_t r = std::min(job.steps - k, kRoundSteps);
        ++round;
        const std::size_t stride = (live + kChunk - 1) / kChunk * kChunk;
        h.rounds.push_back({k, r, live, stride, h.x.size(), h.ids.size()});
        h.x.resize(h.x.size() + static_cast<std::size_t>(r) * stride);
        h.ids.insert(h.ids.end(), w.id.begin(), w.id.begin() + static_cast<std::ptrdiff_t>(live));
        const bool save = (round & (round - 1)) == 0;
        live = HistoryRound<kOutX, kOutY, kGuard>(c, m, k, r, save, live, h.x.data() + h.rounds.back().values, stride,
                                                  io, w);
        k += r;
    }
    for (std::size_t j = 0; j < live; ++j) {
        const auto orbit = static_cast<std::size_t>(w.id[j]);
        io.end[orbit] = HistoryEnd::End;
        io.x[orbit] = w.x[j];
        io.y[orbit] = w.y[j];
        io.exit[orbit] = w.exit[j];
    }
    return true;
}

template <bool kGuard>
bool HistoryDirected(const OrbitJob& job, std::int64_t k0, const Io& io, std::size_t n, WalkArrays& w, WalkHistory& h) {
    if (job.dcOutward == 1) {
        if (job.kcOutward == 1) return History<true, true, kGuard>(job, k0, io, n, w, h);
        return History<true, false, kGuard>(job, k0, io, n, w, h);
    }
    if (job.kcOutward == 1) return History<false, true, kGuard>(job, k0, io, n, w, h);
    return History<false, false, kGuard>(job, k0, io, n, w, h);
}

}  // namespace

bool HistoryWalkOnTarget(const OrbitJob& job, std::int64_t k0, double* x, double* y, double* exit, HistoryEnd* end,
                         std::int64_t* step, std::size_t n, WalkArrays& w, WalkHistory& h) {
    const Io io{x, y, exit, end, step};
    if (job.guardMatters) return HistoryDirected<true>(job, k0, io, n, w, h);
    return HistoryDirected<false>(job, k0, io, n, w, h);
}

// Round by round: each orbit's target at its place, whether some state of
// its column equals it, and where that is.
void SearchHistoryOnTarget(const WalkHistory& h, const double* tx, std::size_t n, std::int64_t* first,
                           std::vector<float>& work) {
    const DS ds;
    constexpr std::size_t kS = hn::MaxLanes(DS());
    std::fill(first, first + n, -1);
    for (const WalkHistory::Round& round : h.rounds) {
        work.resize(round.stride + kS);
        float* target = work.data();
        const double* ids = h.ids.data() + round.numbers;
        const float* rows = h.x.data() + round.values;
        for (std::size_t p = 0; p < round.live; ++p)
            target[p] = static_cast<float>(tx[static_cast<std::size_t>(ids[p])]);
        std::fill(target + round.live, target + round.stride + kS, std::numeric_limits<float>::quiet_NaN());
        for (std::size_t p = 0; p < round.live; p += kS) {
            const auto t = hn::LoadU(ds, target + p);
            auto hit = hn::FirstN(ds, 0);
            for (std::int64_t s = 0; s < round.steps; ++s)
                hit = hn::Or(hit, hn::Eq(hn::LoadU(ds, rows + static_cast<std::size_t>(s) * round.stride + p), t));
            if (hn::AllFalse(ds, hit)) continue;
            for (std::size_t q = p; q < std::min(p + kS, round.live); ++q) {
                const auto orbit = static_cast<std::size_t>(ids[q]);
                for (std::int64_t s = 0; s < round.steps && first[orbit] < 0; ++s) {
                    if (rows[static_cast<std::size_t>(s) * round.stride + q] == target[q]) first[orbit] = round.k + s;
                }
            }
        }
    }
}

}  // namespace HWY_NAMESPACE
}  // namespace orbitograph::engine
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace orbitograph::engine {

HWY_EXPORT(HistoryWalkOnTarget);
HWY_EXPORT(SearchHistoryOnTarget);

bool HistoryWalk(const OrbitJob& job, std::int64_t k0, double* x, double* y, double* exit, HistoryEnd* end,
                 std::int64_t* step, std::size_t n, WalkArrays& work, WalkHistory& history) {
    return HWY_DYNAMIC_DISPATCH(HistoryWalkOnTarget)(job, k0, x, y, exit, end, step, n, work, history);
}

void SearchHistory(const WalkHistory& history, const double* tx, std::size_t n, std::int64_t* first,
                   std::vector<float>& work) {
    HWY_DYNAMIC_DISPATCH(SearchHistoryOnTarget)(history, tx, n, first, work);
}

}  // namespace orbitograph::engine
#endif
