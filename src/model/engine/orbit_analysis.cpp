#include "model/engine/orbit_analysis.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <limits>

#include "model/classify.h"

namespace orbitograph::engine {

namespace {

using Bits = std::pair<std::uint64_t, std::uint64_t>;

Bits BitsOf(State s) { return {std::bit_cast<std::uint64_t>(s.x), std::bit_cast<std::uint64_t>(s.y)}; }

bool SameBits(State a, State b) { return BitsOf(a) == BitsOf(b); }

constexpr double kInf = std::numeric_limits<double>::infinity();

// Steps of the first phase.
constexpr std::int64_t kFirstSteps = 32;

// Orbits walked together in one History walk: their history (4 bytes per
// step each, about a quarter of a megabyte for 1000 steps) stays in the
// second-level cache while it is searched.
constexpr std::size_t kHistoryBatch = 64;

// Steps between two polls of the cancel flag in the scalar walks.
constexpr std::int64_t kPollMask = (std::int64_t{1} << 20) - 1;

// The cycle through s, walked from s until s recurs (the caller knows it
// does): its period, smallest state, whether every state is inside, and the
// offset from s of the first state outside (-1 when none).
struct CycleWalk {
    std::int64_t period = 0;
    State least{};
    std::int64_t firstOut = -1;
};

bool WalkCycle(const OrbitJob& job, const MapParams& m, State s, CycleWalk& c) {
    c = {0, s, InsideSquare(s.x, s.y) ? -1 : 0};
    State t = s;
    do {
        t = MapStep(m, t);
        ++c.period;
        if ((c.period & kPollMask) == 0 && Cancelled(job)) return false;
        if (StateBefore(t, c.least)) c.least = t;
        if (c.firstOut < 0 && !InsideSquare(t.x, t.y)) c.firstOut = c.period;
    } while (!SameBits(t, s));
    return true;
}

// The first k with s_k = s_{k+p} for the orbit from s0 whose state s_k0
// recurs with the smallest period p (so k0 - p < k <= k0); -1 when cancelled.
std::int64_t CycleStart(const OrbitJob& job, const MapParams& m, State s0, std::int64_t k0, std::int64_t p) {
    if (p == 1) return k0;
    const std::int64_t base = std::max<std::int64_t>(0, k0 - p + 1);
    State trail = s0;
    for (std::int64_t k = 0; k < base; ++k) {
        if ((k & kPollMask) == kPollMask && Cancelled(job)) return -1;
        trail = MapStep(m, trail);
    }
    State lead = trail;
    for (std::int64_t k = 0; k < p; ++k) {
        if ((k & kPollMask) == kPollMask && Cancelled(job)) return -1;
        lead = MapStep(m, lead);
    }
    std::int64_t k = base;
    for (; !SameBits(trail, lead); ++k) {
        if ((k & kPollMask) == kPollMask && Cancelled(job)) return -1;
        trail = MapStep(m, trail);
        lead = MapStep(m, lead);
    }
    return k;
}

// The block's index of the attractor cycle with this smallest state.
std::size_t CycleIndex(AnalysisArrays& a, BlockCycles& cycles, const CycleWalk& c) {
    const auto [it, added] = a.cycleOf.try_emplace(BitsOf(c.least), cycles.cycles.size());
    if (added) cycles.cycles.push_back({c.least, static_cast<std::int32_t>(c.period), 0});
    ++cycles.cycles[it->second].orbits;
    return it->second;
}

void Write(BlockColumns out, BlockCycles& cycles, std::size_t i, std::int64_t exit, std::int64_t start,
           std::int64_t period, std::int32_t cycle) {
    out.exitStep[i] = static_cast<std::int32_t>(exit);
    out.cycleStart[i] = static_cast<std::int32_t>(start);
    out.period[i] = static_cast<std::int32_t>(period);
    out.cycle[i] = cycle;
    if (cycle == 0) ++(exit >= 0 ? cycles.escaped : cycles.unsettled);
}

// Grows v to at least n elements: working arrays are never shrunk, so that
// growing them again writes nothing.
template <class T>
T* AtLeast(std::vector<T>& v, std::size_t n) {
    if (v.size() < n) v.resize(n);
    return v.data();
}

// The exit of an orbit that went on to s_T = (x, y), given its exit among
// s_0 ... s_{T-1} (+infinity for none).
std::int64_t ExitAtEnd(const OrbitJob& job, double exit, double x, double y) {
    if (exit < kInf) return static_cast<std::int64_t>(exit);
    return InsideSquare(x, y) ? -1 : job.steps;
}

// The values of an orbit whose first repeat is its first frozen state, stop.
void WriteFrozen(const OrbitJob& job, BlockColumns out, BlockCycles& cycles, std::size_t i, double exit,
                 std::int64_t stop, double x, double y) {
    const std::int64_t e = stop >= 0 ? static_cast<std::int64_t>(exit) : ExitAtEnd(job, exit, x, y);
    Write(out, cycles, i, e, stop, stop >= 0 ? 1 : 0, 0);
}

// Adds orbit i, to walk to its end point e, to the Target walk's list, and
// lists it as the kernel does.
void ToTarget(AnalysisArrays& a, std::size_t i, State e) {
    a.toTarget.push_back(i);
    a.tx.push_back(e.x);
    a.ty.push_back(e.y);
}

// The first phase: up to 32 steps of every orbit; then each is done, or put
// on the list of what follows for it.
bool FirstPhase(const OrbitJob& job, std::int64_t steps, const double* x0, const double* y0, std::size_t n,
                AnalysisArrays& a, BlockColumns out, BlockCycles& cycles) {
    std::copy(x0, x0 + n, AtLeast(a.hx, n + kWalkPadding));
    std::copy(y0, y0 + n, AtLeast(a.hy, n + kWalkPadding));
    if (!FrozenWalk(job, 0, steps, a.hx.data(), a.hy.data(), AtLeast(a.hexit, n + kWalkPadding), AtLeast(a.hstop, n), n,
                    a.walk))
        return false;
    a.toFrozen.clear();
    a.toKernel.clear();
    a.toTarget.clear();
    a.tx.clear();
    a.ty.clear();
    const bool atEnd = steps == job.steps;
    for (std::size_t i = 0; i < n; ++i) {
        const double x = a.hx[i];
        const double y = a.hy[i];
        const bool escaped = !(x * x + y * y <= job.escapeSquare);
        if (a.hstop[i] >= 0 || (atEnd && escaped)) {
            WriteFrozen(job, out, cycles, i, a.hexit[i], a.hstop[i], x, y);
        } else if (escaped) {
            a.toFrozen.push_back(i);
        } else if (atEnd) {
            ToTarget(a, i, {x, y});
        } else {
            a.toKernel.push_back(i);
        }
    }
    return true;
}

// The kernel for the orbits on its list, from their states after `done`
// steps; puts each on the Target or the Frozen list. Its result, in the
// block's numbers, goes to ex, ey, index (after the first phase alone: the
// orbits to walk to their states). Returns the number listed.
std::size_t KernelPhase(const OrbitJob& job, EndPointKernel kernel, std::int64_t done, double* ex, double* ey,
                        double* index, AnalysisArrays& a) {
    const std::size_t m = a.toKernel.size();
    double* kx = AtLeast(a.kx, m + kKernelPadding);
    double* ky = AtLeast(a.ky, m + kKernelPadding);
    for (std::size_t j = 0; j < m; ++j) kx[j] = a.hx[a.toKernel[j]], ky[j] = a.hy[a.toKernel[j]];
    OrbitJob rest = job;
    rest.steps = job.steps - done;
    const std::size_t got = m == 0 ? 0
                                   : kernel(rest, kx, ky, m, AtLeast(a.kex, m + kKernelPadding),
                                            AtLeast(a.key, m + kKernelPadding), AtLeast(a.kindex, m + kKernelPadding));
    // The kernel lists in increasing order; an orbit it leaves out is outside.
    std::size_t k = 0;
    for (std::size_t j = 0; j < m; ++j) {
        const std::size_t i = a.toKernel[j];
        if (k == got || static_cast<std::size_t>(a.kindex[k]) != j) {
            a.toFrozen.push_back(i);
            continue;
        }
        const State e{a.kex[k], a.key[k]};
        ++k;
        if (std::isnan(e.x) || std::isnan(e.y) || !GuardOpen(e)) {
            a.toFrozen.push_back(i);
        } else {
            ToTarget(a, i, e);
        }
        ex[k - 1] = e.x;
        ey[k - 1] = e.y;
        index[k - 1] = static_cast<double>(i);
    }
    if (m > 0) return got;
    for (std::size_t j = 0; j < a.toTarget.size(); ++j) {
        ex[j] = a.tx[j];
        ey[j] = a.ty[j];
        index[j] = static_cast<double>(a.toTarget[j]);
    }
    return a.toTarget.size();
}

// The period of the cycle through s, and the state `ahead` steps after s.
State AheadInCycle(const OrbitJob& job, const MapParams& m, State s, std::int64_t ahead) {
    CycleWalk c;
    if (!WalkCycle(job, m, s, c)) return s;  // cancelled: the caller sees it
    for (std::int64_t k = ahead % c.period; k > 0; --k) s = MapStep(m, s);
    return s;
}

// In place of KernelPhase where the history fits, for the
// orbits toKernel[b], ..., toKernel[b + m - 1]: the History walk from their
// states after `done` steps. An orbit it finds in a cycle, or whose end point
// s_T may recur (its x among the recorded states', or its state among the
// first `done`, checked by a short Target walk), goes on the Target list, and
// so is resolved exactly; one it finds at s_T without any is done: no repeat.
// One that escaped or froze goes on the Frozen list. Lists the others from
// ex[listed] on; returns the new number listed.
std::optional<std::size_t> HistoryBatch(const OrbitJob& job, std::int64_t done, const double* x0, const double* y0,
                                        std::size_t b, std::size_t m, double* ex, double* ey, double* index,
                                        std::size_t listed, AnalysisArrays& a) {
    const MapParams map{job.a, job.dc, job.kc, job.dcOutward, job.kcOutward, 0};
    const std::size_t* orbits = a.toKernel.data() + b;
    double* hx = AtLeast(a.kx, m);
    double* hy = AtLeast(a.ky, m);
    double* he = AtLeast(a.kex, m);
    for (std::size_t j = 0; j < m; ++j) hx[j] = a.hx[orbits[j]], hy[j] = a.hy[orbits[j]], he[j] = a.hexit[orbits[j]];
    HistoryEnd* end = AtLeast(a.ends, m);
    std::int64_t* step = AtLeast(a.stop, m);
    if (!HistoryWalk(job, done, hx, hy, he, end, step, m, a.walk, a.history)) return std::nullopt;
    double* tx = AtLeast(a.key, m + kWalkPadding);
    double* ty = AtLeast(a.kindex, m);
    double* sx = AtLeast(a.wx, m + kWalkPadding);
    double* sy = AtLeast(a.wy, m + kWalkPadding);
    std::size_t ended = 0;
    for (std::size_t j = 0; j < m; ++j) {
        if (end[j] != HistoryEnd::End) continue;
        tx[ended] = hx[j], ty[ended] = hy[j];
        sx[ended] = x0[orbits[j]], sy[ended] = y0[orbits[j]];
        ++ended;
    }
    OrbitJob head = job;
    head.steps = done;
    std::int64_t* inHead = AtLeast(a.exit, ended);
    if (!TargetWalk(head, sx, sy, tx, ty, ended, inHead, AtLeast(a.first, ended), a.walk)) return std::nullopt;
    for (std::size_t j = 0, e = 0; j < m; ++j) {
        const bool atEnd = end[j] == HistoryEnd::End;
        tx[j] = atEnd && inHead[e] < 0 ? hx[j] : std::numeric_limits<double>::quiet_NaN();
        e += atEnd;
    }
    std::int64_t* recorded = AtLeast(a.first, m);
    SearchHistory(a.history, tx, m, recorded, a.search);
    for (std::size_t j = 0; j < m; ++j) {
        if (end[j] == HistoryEnd::Out) {
            a.toFrozen.push_back(orbits[j]);
            continue;
        }
        State e{hx[j], hy[j]};
        if (end[j] == HistoryEnd::Cycle) e = AheadInCycle(job, map, e, job.steps - step[j]);
        if (end[j] == HistoryEnd::Cycle || std::isnan(tx[j]) || recorded[j] >= 0) {
            ToTarget(a, orbits[j], e);
        } else {
            a.noRepeat.push_back(orbits[j]);
            a.noRepeatExit.push_back(ExitAtEnd(job, he[j], e.x, e.y));
        }
        ex[listed] = e.x;
        ey[listed] = e.y;
        index[listed] = static_cast<double>(orbits[j]);
        ++listed;
    }
    return listed;
}

// The orbits on the Frozen list, from their states after `done` steps.
bool FrozenPhase(const OrbitJob& job, std::int64_t done, AnalysisArrays& a, BlockColumns out, BlockCycles& cycles) {
    const std::size_t m = a.toFrozen.size();
    double* wx = AtLeast(a.wx, m + kWalkPadding);
    double* wy = AtLeast(a.wy, m + kWalkPadding);
    double* we = AtLeast(a.wexit, m + kWalkPadding);
    for (std::size_t j = 0; j < m; ++j) {
        const std::size_t i = a.toFrozen[j];
        wx[j] = a.hx[i];
        wy[j] = a.hy[i];
        we[j] = a.hexit[i];
    }
    std::int64_t* stop = AtLeast(a.stop, m);
    if (!FrozenWalk(job, done, job.steps, wx, wy, we, stop, m, a.walk)) return false;
    for (std::size_t j = 0; j < m; ++j) WriteFrozen(job, out, cycles, a.toFrozen[j], we[j], stop[j], wx[j], wy[j]);
    return true;
}

// The orbits on the Target list, walked to their end points, and where one
// recurs, its cycle.
bool TargetPhase(const OrbitJob& job, const double* x0, const double* y0, AnalysisArrays& a, BlockColumns out,
                 BlockCycles& cycles) {
    const MapParams map{job.a, job.dc, job.kc, job.dcOutward, job.kcOutward, 0};
    const std::size_t m = a.toTarget.size();
    double* wx = AtLeast(a.wx, m + kWalkPadding);
    double* wy = AtLeast(a.wy, m + kWalkPadding);
    for (std::size_t j = 0; j < m; ++j) wx[j] = x0[a.toTarget[j]], wy[j] = y0[a.toTarget[j]];
    a.tx.resize(m + kWalkPadding);
    std::int64_t* stop = AtLeast(a.stop, m);
    std::int64_t* exits = AtLeast(a.exit, m);
    if (!TargetWalk(job, wx, wy, a.tx.data(), a.ty.data(), m, stop, exits, a.walk)) return false;
    for (std::size_t j = 0; j < m; ++j) {
        const std::int64_t k0 = stop[j];
        std::int64_t exit = exits[j];
        std::int64_t start = -1;
        std::int32_t cycle = 0;
        CycleWalk c;
        if (k0 >= 0) {
            if (!WalkCycle(job, map, {a.tx[j], a.ty[j]}, c)) return false;
            start = CycleStart(job, map, {wx[j], wy[j]}, k0, c.period);
            if (start < 0) return false;
            // The walk saw s_0 ... s_k0; the cycle's states follow from k0 on.
            if (exit < 0 && c.firstOut >= 0 && k0 + c.firstOut <= job.steps) exit = k0 + c.firstOut;
            if (c.firstOut < 0) cycle = static_cast<std::int32_t>(CycleIndex(a, cycles, c) + 1);
        }
        Write(out, cycles, a.toTarget[j], exit, start, c.period, cycle);
    }
    return true;
}

}  // namespace

bool StateBefore(State a, State b) {
    if (a.x != b.x) return a.x < b.x;
    if (a.y != b.y) return a.y < b.y;
    if (std::signbit(a.x) != std::signbit(b.x)) return std::signbit(a.x);
    return std::signbit(a.y) && !std::signbit(b.y);
}

std::optional<std::size_t> AnalyseBlock(const OrbitJob& job, EndPointKernel kernel, std::size_t historyBytes,
                                        const double* x0, const double* y0, std::size_t n, double* ex, double* ey,
                                        double* index, AnalysisArrays& a, BlockColumns out, BlockCycles& cycles) {
    cycles = {};
    a.cycleOf.clear();
    const std::int64_t first = std::min<std::int64_t>(job.steps, kFirstSteps);
    if (!FirstPhase(job, first, x0, y0, n, a, out, cycles)) return std::nullopt;
    a.noRepeat.clear();
    a.noRepeatExit.clear();
    // The history takes 8 bytes per remaining step of each orbit at most.
    // A batch's history takes 4 bytes per remaining step of each orbit.
    const bool record =
        !a.toKernel.empty() && static_cast<double>(kHistoryBatch * 4) * static_cast<double>(job.steps - first) <=
                                   static_cast<double>(historyBytes);
    std::optional<std::size_t> listed = 0;
    for (std::size_t b = 0; record && listed && b < a.toKernel.size(); b += kHistoryBatch) {
        const std::size_t m = std::min(kHistoryBatch, a.toKernel.size() - b);
        listed = HistoryBatch(job, first, x0, y0, b, m, ex, ey, index, *listed, a);
    }
    if (!record) listed = KernelPhase(job, kernel, first, ex, ey, index, a);
    if (!listed || Cancelled(job) || !FrozenPhase(job, first, a, out, cycles) ||
        !TargetPhase(job, x0, y0, a, out, cycles))
        return std::nullopt;
    for (std::size_t j = 0; j < a.noRepeat.size(); ++j) Write(out, cycles, a.noRepeat[j], a.noRepeatExit[j], -1, 0, 0);
    return listed;
}

void AnalyseUnmoved(const double* x0, const double* y0, std::size_t n, BlockColumns out, BlockCycles& cycles) {
    cycles = {};
    for (std::size_t i = 0; i < n; ++i) Write(out, cycles, i, InsideSquare(x0[i], y0[i]) ? -1 : 0, -1, 0, 0);
}

}  // namespace orbitograph::engine
