#include "model/spaces.h"

#include "model/engine/grid_engine.h"

namespace orbitograph {

std::optional<SpaceLists> ComputeSpaces(const ModelParams& p, std::int32_t originX, std::int32_t originY,
                                        const ComputeControl& control) {
    return engine::ComputeGrid(p, originX, originY, control, engine::EngineOptions{});
}

}  // namespace orbitograph
