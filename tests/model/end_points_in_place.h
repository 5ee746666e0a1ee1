#pragma once

#include <cstddef>

#include "model/engine/orbit_job.h"

namespace orbitograph::engine {

// Runs `kernel` on the n start points x, y and writes its result back over
// them: the end point where it lists one, NaN in both coordinates for an
// orbit proven to end outside. Pads the kernel's arrays as it requires.
void EndPointsInPlace(EndPointKernel kernel, const OrbitJob& job, double* x, double* y, std::size_t n);

}  // namespace orbitograph::engine
