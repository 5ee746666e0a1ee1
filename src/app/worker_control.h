#pragma once

#include <atomic>

#include "model/compute_spaces.h"

namespace orbitograph {

// The control of a computation run on a worker thread: it stops when cancel
// is set and raises progress to the largest fraction any of its workers has
// reported, so that a bar fed from progress only moves forward although the
// workers report in any order. Both atomics must outlive the computation.
ComputeControl WorkerControl(const std::atomic<bool>& cancel, std::atomic<double>& progress);

}  // namespace orbitograph
