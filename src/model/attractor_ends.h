#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "model/model_params.h"
#include "model/spaces.h"

namespace orbitograph {

// The exact end points (the model's own doubles, not pixels) of the orbits
// that end inside the square [-2, 2]^2, in the order of the attractor list:
// element i is the end point whose truncated pixel is attractors[i].
struct AttractorEnds {
    std::vector<double> x;
    std::vector<double> y;
    std::size_t size() const { return x.size(); }
    friend bool operator==(const AttractorEnds&, const AttractorEnds&) = default;
};

// The straightforward walk: every start point of the grid in grid order,
// IterateOrbit, and the end point kept when it lies inside the square. One
// thread; the cancel flag of control is polled once per column. Returns no
// value when cancelled; throws std::bad_alloc when memory runs out.
std::optional<AttractorEnds> ComputeAttractorEnds(const ModelParams& p, const ComputeControl& control = {});

}  // namespace orbitograph
