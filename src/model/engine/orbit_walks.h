#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/engine/orbit_job.h"

namespace orbitograph::engine {

// The walks of the orbit analysis (orbit_analysis.h): each follows many orbits
// at once from their start points through their states s_0, s_1, ... with
// job's map, at most to s_T (T = job.steps), until a stop condition holds,
// and reports for orbit i:
//  - stop[i]: the first k < T at which the condition holds for s_k, or -1;
//  - exit[i]: the first k with s_k outside [-2, 2]^2 among the states the walk
//    visited (s_0 ... s_stop, or s_0 ... s_T when it did not stop), or -1.
// Both are exact: the states are IterateOrbit's, bit for bit.
enum class WalkStop {
    // Stops at the first frozen state (the guard closed). Steps with the guard.
    Frozen,
    // Stops at the first state equal bit for bit to the orbit's target. Steps
    // without the guard, so it requires orbits whose guard is open at every
    // state up to s_T (which holds when it is open at s_T: a frozen state never
    // changes again).
    Target,
};

// Working arrays of one thread, grown as needed.
struct WalkArrays {
    std::vector<double> x, y, tx, id, known;
};

// Orbit i starts at (x[i], y[i]) and, for WalkStop::Target, has the target
// (tx[i], ty[i]); tx and ty are ignored (and may be null) for Frozen. All
// arrays hold at least n elements. Returns false when job.cancel was seen
// (the results are then meaningless). Runs on the calling thread.
bool WalkOrbits(WalkStop kind, const OrbitJob& job, const double* x, const double* y, const double* tx,
                const double* ty, std::size_t n, std::int64_t* stop, std::int64_t* exit, WalkArrays& work);

}  // namespace orbitograph::engine
