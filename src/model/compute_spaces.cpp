#include "model/compute_spaces.h"

#include <iterator>

#include "model/engine/grid_engine.h"

namespace orbitograph {

std::optional<SpaceLists> ComputeSpaces(const ModelParams& p, std::int32_t originX, std::int32_t originY,
                                        const ComputeControl& control) {
    return engine::ComputeGrid(p, originX, originY, control, engine::EngineOptions{});
}

ListCounts CountsOf(const ModelParams& p, const SpaceLists& lists) {
    return {CountStartPoints(p),         std::ssize(lists.attractors), std::ssize(lists.basinInfinity),
            std::ssize(lists.basinZero), std::ssize(lists.basinT),     std::ssize(lists.basinO),
            std::ssize(lists.basinM),    std::ssize(lists.basinH)};
}

}  // namespace orbitograph
