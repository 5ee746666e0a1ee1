#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "model/engine/orbit_job.h"
#include "model/engine/orbit_walks.h"
#include "model/orbit.h"

namespace orbitograph::engine {

// The state order of grid_analysis.h: x, then y, as doubles; then -0 before
// +0 in x, then in y. A strict total order on states without NaN.
bool StateBefore(State a, State b);

// One distinct attractor cycle that orbits reach.
struct CycleRecord {
    State least;  // its smallest state
    std::int32_t period = 0;
    std::int64_t orbits = 0;  // start points that reach it
};

// A block's attractor cycles and counts.
struct BlockCycles {
    std::vector<CycleRecord> cycles;  // each once, in the order first reached
    std::int64_t escaped = 0;         // as GridAnalysis counts them
    std::int64_t unsettled = 0;
};

// Where the analysis of a block's n start points goes: n values each, the
// cycle column holding 1 + the index in `cycles` of the attractor cycle an
// orbit reaches, or 0.
struct BlockColumns {
    std::int32_t* exitStep;
    std::int32_t* cycleStart;
    std::int32_t* period;
    std::int32_t* cycle;
};

// The most history a History walk records (for 64 orbits at a time, 4 bytes
// per step each): 32 MiB, enough for some 130,000 steps.
inline constexpr std::size_t kAnalysisHistoryBytes = std::size_t{32} << 20;

// One thread's working arrays, grown as needed.
struct AnalysisArrays {
    struct BitsHash {
        std::size_t operator()(const std::pair<std::uint64_t, std::uint64_t>& b) const {
            return std::hash<std::uint64_t>()(b.first * 0x9e3779b97f4a7c15ULL ^ b.second);
        }
    };
    WalkArrays walk;
    std::vector<double> hx, hy, hexit;  // per start point: its state after the first phase, its exit so far
    std::vector<std::int64_t> hstop;    // per start point: its first frozen step in the first phase
    std::vector<std::size_t> toFrozen, toKernel, toTarget;  // what follows the first phase, by start point
    std::vector<double> tx, ty;                             // the Target list's end points
    std::vector<double> kx, ky, kex, key, kindex;           // the end-point kernel's arrays
    std::vector<double> wx, wy, wexit;                      // one walk's orbits
    std::vector<std::int64_t> stop, exit;
    WalkHistory history;  // of the kernel's orbits, walked in its place where it fits
    std::vector<HistoryEnd> ends;
    std::vector<std::int64_t> first;
    std::vector<float> search;
    std::vector<std::size_t> noRepeat;  // orbits found without a repeat, and their exits
    std::vector<std::int64_t> noRepeatExit;
    std::unordered_map<std::pair<std::uint64_t, std::uint64_t>, std::size_t, BitsHash> cycleOf;
};

// In place of the end-point kernel (orbit_job.h) for the n start points
// (x0[i], y0[i]) of one block under job (job.steps >= 1, <= INT32_MAX): their
// analysis (grid_analysis.h) into `out` and `cycles`, and the kernel's result
// for them in ex, ey, index (n + kKernelPadding elements each, every end point
// exact), whose number it returns; no value when job.cancel was seen
// (everything is then meaningless).
//
// How. Every orbit first makes up to 32 steps in a Frozen walk (in place of
// the kernel's own first phase), which finds where it leaves the square and
// where it freezes. Then an orbit that froze is done; one past the escape bound
// (Lemma 2 of escape_bound.cpp) goes on in a Frozen walk until it freezes;
// any other goes on from its state after those steps (the split changes
// nothing): in a History walk, 64 at a time, where their states' x fit in
// historyBytes, else through `kernel`. Of these, one whose end point s_T is
// exact, no NaN and not frozen, and may recur, walks again from its start to
// s_T (a Target walk, see below): after the kernel every such orbit, after the
// History walk one found in a cycle, or one whose s_T has its x, rounded to
// float, among the recorded states' or equals one of the first 32 states (an
// equal state has all these); the others have no repeat. One that escaped or
// froze on the way goes on in a Frozen walk from its state after the first
// phase. The exact values follow:
//  - An orbit whose s_T is exact, no NaN and not frozen (the guard open) never
//    froze and never was NaN before (both are for good), so it steps without
//    the guard. Its repeat within the steps, if any, holds s_T (a repeat
//    s_k = s_{k+p}, k + p <= T, makes every state from s_k on periodic): the
//    Target walk looks for the first k0 < T with s_k0 = s_T; none means no
//    repeat. Otherwise the walk round the cycle from s_T gives the period p
//    (the first return), the cycle's states, and with k0 the cycle start: it
//    is k0 when p = 1, and else the first k >= k0 - p + 1 with s_k = s_{k+p}
//    (the first state s_T takes in its cycle is within p of the cycle's
//    start).
//  - Every other orbit ends frozen or with a NaN, or was proven to end
//    outside: its escape test held (escape_bound.cpp) or its guard closed.
//    Its first repeat, if any, is its first frozen state f (period 1, when
//    f + 1 <= T), as a cycle holds every later state and none of those is in
//    one unless frozen: a finite state past the escape bound is followed by
//    states past it of strictly growing norm (Lemma 2) or by non-finite ones,
//    and a state with an infinity or a NaN only by states with ever more of
//    them (Lemma 1, and a step's operations): one infinity goes to two or to
//    a NaN, two to a NaN, a NaN to (NaN, NaN), which is frozen. The Frozen
//    walk finds f, a few steps after the escape; such a cycle lies outside.
//  - The exit step comes with the walks: every state up to the stop or s_T,
//    and the cycle's states after it, are visited.
std::optional<std::size_t> AnalyseBlock(const OrbitJob& job, EndPointKernel kernel, std::size_t historyBytes,
                                        const double* x0, const double* y0, std::size_t n, double* ex, double* ey,
                                        double* index, AnalysisArrays& a, BlockColumns out, BlockCycles& cycles);

// The analysis of n start points whose orbits make no step (a negative
// iteration count): each is its own end point, with no cycle.
void AnalyseUnmoved(const double* x0, const double* y0, std::size_t n, BlockColumns out, BlockCycles& cycles);

}  // namespace orbitograph::engine
