#include "model/engine/orbit_analysis.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "model/classify.h"

namespace orbitograph::engine {

namespace {

using Bits = std::pair<std::uint64_t, std::uint64_t>;

Bits BitsOf(State s) { return {std::bit_cast<std::uint64_t>(s.x), std::bit_cast<std::uint64_t>(s.y)}; }

bool SameBits(State a, State b) { return BitsOf(a) == BitsOf(b); }

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

void Count(BlockCycles& cycles, std::int32_t exit, std::int32_t cycle) {
    if (cycle == 0) ++(exit >= 0 ? cycles.escaped : cycles.unsettled);
}

// The orbits that stop at their first frozen state, or go on to s_T.
bool FrozenWalk(const OrbitJob& job, AnalysisArrays& a, BlockColumns out, BlockCycles& cycles) {
    const std::size_t m = a.which.size();
    if (!WalkOrbits(WalkStop::Frozen, job, a.wx.data(), a.wy.data(), nullptr, nullptr, m, a.stop.data(), a.exit.data(),
                    a.walk))
        return false;
    for (std::size_t j = 0; j < m; ++j) {
        const std::size_t i = a.which[j];
        out.exitStep[i] = static_cast<std::int32_t>(a.exit[j]);
        out.cycleStart[i] = static_cast<std::int32_t>(a.stop[j]);
        out.period[i] = a.stop[j] >= 0 ? 1 : 0;
        out.cycle[i] = 0;
        Count(cycles, out.exitStep[i], 0);
    }
    return true;
}

// The orbits walked to their end points: where one recurs, its cycle.
bool TargetWalk(const OrbitJob& job, AnalysisArrays& a, BlockColumns out, BlockCycles& cycles) {
    const MapParams map{job.a, job.dc, job.kc, job.dcOutward, job.kcOutward, 0};
    const std::size_t m = a.which.size();
    if (!WalkOrbits(WalkStop::Target, job, a.wx.data(), a.wy.data(), a.tx.data(), a.ty.data(), m, a.stop.data(),
                    a.exit.data(), a.walk))
        return false;
    for (std::size_t j = 0; j < m; ++j) {
        const std::size_t i = a.which[j];
        const std::int64_t k0 = a.stop[j];
        std::int64_t exit = a.exit[j];
        std::int64_t start = -1;
        CycleWalk c;
        out.cycle[i] = 0;
        if (k0 >= 0) {
            if (!WalkCycle(job, map, {a.tx[j], a.ty[j]}, c)) return false;
            start = CycleStart(job, map, {a.wx[j], a.wy[j]}, k0, c.period);
            if (start < 0) return false;
            // The walk saw s_0 ... s_k0; the cycle's states follow from k0 on.
            if (exit < 0 && c.firstOut >= 0 && k0 + c.firstOut <= job.steps) exit = k0 + c.firstOut;
            if (c.firstOut < 0) out.cycle[i] = static_cast<std::int32_t>(CycleIndex(a, cycles, c) + 1);
        }
        out.exitStep[i] = static_cast<std::int32_t>(exit);
        out.cycleStart[i] = static_cast<std::int32_t>(start);
        out.period[i] = static_cast<std::int32_t>(c.period);
        Count(cycles, out.exitStep[i], out.cycle[i]);
    }
    return true;
}

// The orbits of one kind, gathered for a walk.
void Gather(AnalysisArrays& a, const double* x0, const double* y0, std::size_t n, bool toEnd) {
    a.which.clear();
    a.wx.clear();
    a.wy.clear();
    a.tx.clear();
    a.ty.clear();
    for (std::size_t i = 0; i < n; ++i) {
        if ((a.toEnd[i] != 0) != toEnd) continue;
        a.which.push_back(i);
        a.wx.push_back(x0[i]);
        a.wy.push_back(y0[i]);
        if (toEnd) a.tx.push_back(a.ex[i]), a.ty.push_back(a.ey[i]);
    }
    a.stop.resize(a.which.size());
    a.exit.resize(a.which.size());
}

}  // namespace

bool StateBefore(State a, State b) {
    if (a.x != b.x) return a.x < b.x;
    if (a.y != b.y) return a.y < b.y;
    if (std::signbit(a.x) != std::signbit(b.x)) return std::signbit(a.x);
    return std::signbit(a.y) && !std::signbit(b.y);
}

bool AnalyseBlock(const OrbitJob& job, const double* x0, const double* y0, std::size_t n, const double* ex,
                  const double* ey, const double* index, std::size_t listed, AnalysisArrays& a, BlockColumns out,
                  BlockCycles& cycles) {
    cycles = {};
    a.cycleOf.clear();
    if (job.steps == 0) {
        for (std::size_t i = 0; i < n; ++i) {
            out.exitStep[i] = InsideSquare(x0[i], y0[i]) ? -1 : 0;
            out.cycleStart[i] = -1;
            out.period[i] = 0;
            out.cycle[i] = 0;
            Count(cycles, out.exitStep[i], 0);
        }
        return true;
    }
    a.toEnd.assign(n, 0);
    a.ex.resize(n);
    a.ey.resize(n);
    for (std::size_t j = 0; j < listed; ++j) {
        const State e{ex[j], ey[j]};
        if (std::isnan(e.x) || std::isnan(e.y) || !GuardOpen(e)) continue;
        const auto i = static_cast<std::size_t>(index[j]);
        a.toEnd[i] = 1;
        a.ex[i] = e.x;
        a.ey[i] = e.y;
    }
    Gather(a, x0, y0, n, false);
    if (!FrozenWalk(job, a, out, cycles)) return false;
    Gather(a, x0, y0, n, true);
    return TargetWalk(job, a, out, cycles);
}

}  // namespace orbitograph::engine
