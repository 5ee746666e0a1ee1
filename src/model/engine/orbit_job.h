#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>

#include "model/model_params.h"

namespace orbitograph::engine {

// What an end-point kernel has left of its call, as it last told (at the
// points where it reports its steps), for the progress: the orbits in its
// lanes (`live`), the steps they made so far (`made`) and their remaining
// counts (`budget`, the most steps they can still make), and the start
// points not yet in a lane (`waiting`). Written by the kernel's thread, read
// by any; each member is a snapshot of its own.
struct LanesLeft {
    std::atomic<std::int64_t> live{0};
    std::atomic<std::int64_t> made{0};
    std::atomic<std::int64_t> budget{0};
    std::atomic<std::int64_t> waiting{0};
    void Set(std::int64_t liveOrbits, std::int64_t madeSteps, std::int64_t budgetSteps, std::int64_t waitingPoints) {
        live.store(liveOrbits, std::memory_order_relaxed);
        made.store(madeSteps, std::memory_order_relaxed);
        budget.store(budgetSteps, std::memory_order_relaxed);
        waiting.store(waitingPoints, std::memory_order_relaxed);
    }
};

// Everything an end-point kernel needs for one computation; plain values,
// shared read-only by every worker thread.
struct OrbitJob {
    double a;
    double dc;
    double kc;
    std::int32_t dcOutward;  // 0 or 1
    std::int32_t kcOutward;  // 0 or 1
    // Map steps per orbit: iterations + 1, at least 1 (a negative iteration
    // count makes no step and never reaches a kernel).
    std::int64_t steps;
    // Escape threshold on the computed x*x + y*y: a state whose sum is not
    // <= escapeSquare (NaN included) ends outside the square whatever follows.
    // +infinity disables the escape shortcut; NaN states are still caught.
    double escapeSquare;
    // True when a frozen guard state can occur without tripping the escape
    // test; the kernels then test the guard at every state they step from.
    bool guardMatters;
    // Polled by the kernels every few hundred thousand steps of a long orbit;
    // once true, a kernel returns at once and its results are meaningless
    // (the caller discards the computation). May be null.
    const std::atomic<bool>* cancel = nullptr;
    // Told, on the kernel's thread, of the map steps made since it was last
    // told, at the same points where cancel is polled. The end-point
    // kernels count the steps of their orbits (idle vector lanes not); the
    // walks count every lane. May be null.
    const std::function<void(std::int64_t)>* stepsMade = nullptr;
    // When not null, the end-point kernels set it just before they tell
    // stepsMade. May be null.
    LanesLeft* lanesLeft = nullptr;
    // When not null, a kernel or walk adds to it the map steps it executed
    // for orbits not yet settled (those made between an orbit's escape and
    // the check that notices it included; idle vector lanes not). Written by
    // the job's thread only: each worker gives its own.
    std::int64_t* executedSteps = nullptr;
};

inline void CountExecuted(const OrbitJob& job, std::int64_t steps) {
    if (job.executedSteps != nullptr) *job.executedSteps += steps;
}

inline void ReportSteps(const OrbitJob& job, std::int64_t steps) {
    if (job.stepsMade != nullptr) (*job.stepsMade)(steps);
}

inline void ReportLanes(const OrbitJob& job, std::int64_t live, std::int64_t made, std::int64_t budget,
                        std::int64_t waiting) {
    if (job.lanesLeft != nullptr) job.lanesLeft->Set(live, made, budget, waiting);
}

inline bool Cancelled(const OrbitJob& job) {
    return job.cancel != nullptr && job.cancel->load(std::memory_order_relaxed);
}

// Builds the job for parameters that passed CheckParameters and have
// iterations >= 0.
OrbitJob MakeOrbitJob(const ModelParams& p);

// The escape threshold for the coefficient a and the action's magnitudes
// dc, kc: +infinity when the shortcut is off. Its proof is in
// escape_bound.cpp.
double EscapeSquare(double a, double dc, double kc);

// The contract every kernel meets. On entry x[i], y[i] (i < n) hold start
// points. On return the first m entries of ex, ey, index (m is returned)
// list, in increasing i, every orbit not proven to end outside the square
// [-2, 2]^2: index[j] is its i (as a double, exact), ex[j], ey[j] its exact end
// point after job.steps map steps under the guard (possibly outside too).
// Every orbit left out ends outside; its exact end point is not needed, as
// the classification and the attractor list only ask whether it is outside.
// All five arrays hold at least n + kKernelPadding elements; the padding of
// x and y must be initialised (its values do not matter). Runs on the calling
// thread; n may be 0.
inline constexpr std::size_t kKernelPadding = 16;
using EndPointKernel = std::size_t (*)(const OrbitJob& job, const double* x, const double* y, std::size_t n, double* ex,
                                       double* ey, double* index);

// Straightforward one-orbit-at-a-time kernel with the same shortcuts.
std::size_t EndPointsScalar(const OrbitJob& job, const double* x, const double* y, std::size_t n, double* ex,
                            double* ey, double* index);

// Vector kernel across start points; the instruction set is chosen at run
// time among those the processor supports (AVX-512, AVX2, SSE4, SSSE3, or
// portable code).
std::size_t EndPointsVector(const OrbitJob& job, const double* x, const double* y, std::size_t n, double* ex,
                            double* ey, double* index);

}  // namespace orbitograph::engine
