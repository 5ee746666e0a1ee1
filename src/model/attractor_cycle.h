#pragma once

#include <cstdint>
#include <vector>

#include "model/grid_analysis.h"
#include "model/model_params.h"
#include "model/orbit.h"

namespace orbitograph {

// The states of an attractor's cycle from its smallest state: (x, y) and the
// states the model's step makes of it, period states in all. The states of
// an attractor cycle lie inside the square, where the guard never freezes a
// point, so these are the states its orbits repeat (for an attractor merged
// from several cycles, those of the cycle through its smallest state).
inline std::vector<State> AttractorCycle(const ModelParams& p, const AttractorEntry& a) {
    std::vector<State> states;
    if (a.period < 1) return states;
    const MapParams m = MapParams::From(p);
    states.reserve(static_cast<std::size_t>(a.period));
    State s{a.x, a.y};
    for (std::int32_t k = 0; k < a.period; ++k) {
        states.push_back(s);
        s = MapStep(m, s);
    }
    return states;
}

}  // namespace orbitograph
