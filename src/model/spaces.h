#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>

#include "model/model_params.h"
#include "model/point_list.h"

namespace orbitograph {

// How a computation may be steered from outside. All members are optional.
struct ComputeControl {
    // Worker threads; 0 means every core of the machine.
    int threads = 0;
    // Polled between blocks of columns, from any worker thread; once true,
    // the computation stops and returns no result.
    const std::atomic<bool>* cancel = nullptr;
    // Called with the fraction of start points done, 0 to 1, from a worker
    // thread; it must be cheap and thread-safe.
    std::function<void(double)> progress;
};

// Both spaces of one computation: every start point is iterated once and its
// end point serves the attractor list and the basin classification alike.
// Requires parameters that CheckParameters accepts and an acceptable origin.
// Returns no value when cancelled; throws std::bad_alloc when memory runs out.
std::optional<SpaceLists> ComputeSpaces(const ModelParams& p, std::int32_t originX,
                                        std::int32_t originY, const ComputeControl& control = {});

}  // namespace orbitograph
