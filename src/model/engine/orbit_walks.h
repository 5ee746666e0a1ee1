#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/engine/orbit_job.h"
#include "model/list_storage.h"

namespace orbitograph::engine {

// The walks of the orbit analysis (orbit_analysis.h): each follows many orbits
// at once through their states with job's map until a stop condition holds,
// and finds for each the exact step of the stop and of its exit (the first
// state outside [-2, 2]^2 among the states it visited). The states are
// IterateOrbit's, bit for bit. Both run on the calling thread and return
// false when job.cancel was seen (the results are then meaningless).

inline constexpr std::size_t kWalkPadding = 64;

// The walks tell job.stepsMade of their steps (lanes times steps of each
// round) in sums of about this many.
inline constexpr std::int64_t kWalkReportSteps = std::int64_t{1} << 18;

// Adds a round's steps to a walk's tally and tells them once it is large.
inline void Tally(const OrbitJob& job, std::int64_t& tally, std::int64_t steps, std::size_t lanes) {
    tally += steps * static_cast<std::int64_t>(lanes);
    if (tally < kWalkReportSteps) return;
    ReportSteps(job, tally);
    tally = 0;
}

// Working arrays of one thread, grown as needed.
struct WalkArrays {
    std::vector<double> x, y, tx, id, exit, sx, sy;
};

// Orbit i < n is at state (x[i], y[i]) after k0 steps, with exit[i] its exit
// so far (+infinity while none; ignored when k0 is 0). Visits its states s_k0, ..., s_{k1-1} (with
// the guard) and stops at the first frozen one: stop[i] is its step, or -1;
// exit[i] the first step among the visited states (up to the stop) with one
// outside, if still none before. Where it did not stop, (x[i], y[i]) becomes
// s_k1 (which is not visited). x, y and exit hold at least n + kWalkPadding
// elements (the padding's values are read but not used).
bool FrozenWalk(const OrbitJob& job, std::int64_t k0, std::int64_t k1, double* x, double* y, double* exit,
                std::int64_t* stop, std::size_t n, WalkArrays& work);

// Orbit i < n starts at (x[i], y[i]); visits s_0, ..., s_{T-1} (T = job.steps)
// without the guard and stops at the first state equal bit for bit to
// (tx[i], ty[i]): stop[i] is its step, or -1; exit[i] the first step with a
// state outside among s_0 ... s_stop, or s_0 ... s_T without a stop, or -1.
// Requires orbits whose guard is open at every state up to s_T (which holds
// when it is open at s_T: a frozen state never changes again). x, y and tx
// hold at least n + kWalkPadding elements.
bool TargetWalk(const OrbitJob& job, const double* x, const double* y, const double* tx, const double* ty,
                std::size_t n, std::int64_t* stop, std::int64_t* exit, WalkArrays& work);

// The states a History walk visited: for each of its rounds, the x of every
// orbit live in it at each of its steps, rounded to float (equal doubles give
// equal floats), and the orbits' numbers.
struct WalkHistory {
    struct Round {
        std::int64_t k;       // the step of the round's first states
        std::int64_t steps;   // its rows
        std::size_t live;     // the orbits in a row
        std::size_t stride;   // the values of a row (live, padded)
        std::size_t values;   // where its rows start in x
        std::size_t numbers;  // where its orbits' numbers start in ids
    };
    std::vector<Round> rounds;
    std::vector<float, ListAllocator<float>> x;  // grown without being written first
    std::vector<double> ids;
};

// How a History walk left an orbit.
enum class HistoryEnd : std::uint8_t {
    End,    // at s_T
    Cycle,  // at a state it had at the end of an earlier round: it repeats from there
    Out,    // past the escape bound, or (job.guardMatters) its guard closed: it ends outside
};

// Orbit i < n is at (x[i], y[i]) after k0 steps, where it has not passed the
// escape bound, with its exit so far exit[i] (+infinity while none). Visits
// s_k0, ..., s_{T-1} without the guard in rounds of 32 steps and records every
// state's x (the history, cleared first); at the end of a round an orbit
// stops as `end` says, Cycle meaning equal bit for bit to its state at the
// end of round 1, 2, 4, ... (counted from k0). An orbit that did not stop is
// at s_T = (x[i], y[i]) and has its exit among s_k0, ..., s_{T-1} in exit[i];
// one that stopped at Cycle is at (x[i], y[i]) after step[i] steps. Otherwise
// x, y and exit mean nothing. Needs n elements in each array.
bool HistoryWalk(const OrbitJob& job, std::int64_t k0, double* x, double* y, double* exit, HistoryEnd* end,
                 std::int64_t* step, std::size_t n, WalkArrays& work, WalkHistory& history);

// For orbit i < n, the first step whose recorded x equals tx[i] rounded to
// float (never when tx[i] is NaN), or -1: where a state may equal (tx[i], y).
void SearchHistory(const WalkHistory& history, const double* tx, std::size_t n, std::int64_t* first,
                   std::vector<float>& work);

}  // namespace orbitograph::engine
