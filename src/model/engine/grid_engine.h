#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "model/engine/orbit_job.h"
#include "model/model_params.h"
#include "model/point_list.h"
#include "model/spaces.h"

namespace orbitograph::engine {

// Knobs of the grid engine beyond ComputeControl; the defaults are what
// ComputeSpaces uses. Tests and benchmarks set them to reach every path.
struct EngineOptions {
    // Start points per block (the unit of scheduling, cancellation and
    // progress); 0 chooses from the grid size and the thread count.
    std::size_t blockPoints = 0;
    // The end-point kernel; null means EndPointsVector.
    EndPointKernel kernel = nullptr;
};

// ComputeSpaces with explicit engine options; same contract.
std::optional<SpaceLists> ComputeGrid(const ModelParams& p, std::int32_t originX, std::int32_t originY,
                                      const ComputeControl& control, const EngineOptions& options);

}  // namespace orbitograph::engine
