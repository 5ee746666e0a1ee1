#pragma once

#include <cstddef>
#include <cstdint>

#include "model/model_params.h"

namespace orbitograph::engine {

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
};

// Builds the job for parameters that passed CheckParameters and have
// iterations >= 0. The escape threshold and its proof are in escape_bound.cpp.
OrbitJob MakeOrbitJob(const ModelParams& p);

// The contract every kernel meets: on entry x[i], y[i] hold start points; on
// return each holds either the exact end point after job.steps map steps
// under the guard, or NaN in both coordinates when the orbit is proven to end
// outside the square [-2, 2]^2 (its exact end point is then not needed:
// classification and attractor list only ask whether it is outside).
// Runs on the calling thread; n may be 0.
using EndPointKernel = void (*)(const OrbitJob& job, double* x, double* y, std::size_t n);

// Straightforward one-orbit-at-a-time kernel with the same shortcuts.
void EndPointsScalar(const OrbitJob& job, double* x, double* y, std::size_t n);

// Vector kernel across start points; the instruction set is chosen at run
// time among those the processor supports (AVX-512, AVX2, SSE4, SSSE3, or
// portable code).
void EndPointsVector(const OrbitJob& job, double* x, double* y, std::size_t n);

}  // namespace orbitograph::engine
