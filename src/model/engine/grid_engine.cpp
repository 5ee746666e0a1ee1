// The grid engine's entry: the thread count, and a second attempt on one
// thread when the stacks of many threads may have taken the memory. The
// computation itself is GridRun (grid_run.h).

#include "model/engine/grid_engine.h"

#include <stdexcept>

#include <new>

#include "model/engine/grid_run.h"
#include "model/parallel_for.h"

namespace orbitograph::engine {

std::optional<SpaceLists> ComputeGrid(const ModelParams& p, std::int32_t originX, std::int32_t originY,
                                      const ComputeControl& control, const EngineOptions& options) {
    // Unchecked parameters could walk for ever (a step of 0) or overflow the
    // pixel arithmetic: refused here whatever the caller checked.
    if (CheckParameters(p) || !OriginAcceptable(originX, originY))
        throw std::invalid_argument("parameters or origin refused by CheckParameters");
    if (control.analysis && CheckAnalysis(p, control.attractorDelta))
        throw std::invalid_argument("analysis refused by CheckAnalysis");
    bool threadsFellShort = false;
    try {
        return GridRun(p, originX, originY, control, options, ThreadCount(control.threads), threadsFellShort).Run();
    } catch (const std::bad_alloc&) {
        if (!threadsFellShort) throw;
    }
    // Some threads could not be started and memory then ran out: the stacks
    // of those that did start may have taken what the lists need (under an
    // address-space limit, for instance). With them all joined and the first
    // attempt's storage released, one thread tries again; the lists are the
    // same for any thread count.
    return GridRun(p, originX, originY, control, options, 1, threadsFellShort).Run();
}

}  // namespace orbitograph::engine
