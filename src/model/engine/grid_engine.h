#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

#include "model/compute_spaces.h"
#include "model/engine/orbit_analysis.h"
#include "model/engine/orbit_job.h"
#include "model/model_params.h"
#include "model/point_list.h"

namespace orbitograph::engine {

// Knobs of the grid engine beyond ComputeControl; the defaults are what
// ComputeSpaces uses. Tests and benchmarks set them to reach every path.
struct EngineOptions {
    // Start points per block (the unit of scheduling, cancellation and
    // progress); 0 chooses from the grid size and the thread count.
    std::size_t blockPoints = 0;
    // The end-point kernel; null means EndPointsVector.
    EndPointKernel kernel = nullptr;
    // With the analysis: the most history (bytes per thread) its walks may
    // record in the kernel's place (orbit_analysis.h); 0 always runs the kernel.
    std::size_t analysisHistory = kAnalysisHistoryBytes;
    // Called on the calling thread before each worker thread (numbered from
    // 1) is started; an exception from it acts as the system refusing that
    // thread and the ones after it.
    std::function<void(int worker)> beforeThreadStart;
};

// ComputeSpaces with explicit engine options; same contract. When some
// worker threads cannot be started, the others run every block; when memory
// then runs out, the computation is made once more on the calling thread
// alone before std::bad_alloc is let through.
std::optional<SpaceLists> ComputeGrid(const ModelParams& p, std::int32_t originX, std::int32_t originY,
                                      const ComputeControl& control, const EngineOptions& options);

}  // namespace orbitograph::engine
