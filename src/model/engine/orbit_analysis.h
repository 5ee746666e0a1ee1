#pragma once

#include <cstddef>
#include <cstdint>
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

// One thread's working arrays, grown as needed.
struct AnalysisArrays {
    struct BitsHash {
        std::size_t operator()(const std::pair<std::uint64_t, std::uint64_t>& b) const {
            return std::hash<std::uint64_t>()(b.first * 0x9e3779b97f4a7c15ULL ^ b.second);
        }
    };
    WalkArrays walk;
    std::vector<std::uint8_t> toEnd;  // per start point: walked to its end point
    std::vector<double> ex, ey;       // per start point: that end point
    std::vector<double> wx, wy, tx, ty;
    std::vector<std::size_t> which;
    std::vector<std::int64_t> stop, exit;
    std::unordered_map<std::pair<std::uint64_t, std::uint64_t>, std::size_t, BitsHash> cycleOf;
};

// The analysis (grid_analysis.h) of the n orbits of one block from (x0[i],
// y0[i]), given what the end-point kernel returned for them under job: the
// `listed` orbits index[j] with end points ex[j], ey[j] (orbit_job.h). With
// job.steps == 0 (a negative iteration count: no kernel ran, `listed` is
// ignored) every orbit is its start point. Needs job.steps <= INT32_MAX.
// Returns false when job.cancel was seen (the values are then meaningless).
//
// How each value is found, exactly and from the kernel's shortcuts:
//  - An orbit with an exact end point s_T that is no NaN and not frozen (the
//    guard open) never froze and never was NaN before (both are for good), so
//    it steps without the guard. Its repeat within the steps, if any, holds
//    s_T (a repeat s_k = s_{k+p}, k + p <= T, makes every state from s_k on
//    periodic): the Target walk looks for the first k0 < T with s_k0 = s_T;
//    none means no repeat. Otherwise the walk round the cycle from s_T gives
//    the period p (the first return), the cycle's states, and with k0 the
//    cycle start: it is k0 when p = 1, and else the first k >= k0 - p + 1 with
//    s_k = s_{k+p} (the first state s_T takes in its cycle is within p of the
//    cycle's start).
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
bool AnalyseBlock(const OrbitJob& job, const double* x0, const double* y0, std::size_t n, const double* ex,
                  const double* ey, const double* index, std::size_t listed, AnalysisArrays& a, BlockColumns out,
                  BlockCycles& cycles);

}  // namespace orbitograph::engine
