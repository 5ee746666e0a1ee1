#include "model/attractor_ends.h"

#include "model/classify.h"
#include "model/grid.h"
#include "model/orbit.h"

namespace orbitograph {

std::optional<AttractorEnds> ComputeAttractorEnds(const ModelParams& p, const ComputeControl& control) {
    AttractorEnds ends;
    if (!(p.x1 <= p.x2 && p.y1 <= p.y2)) return ends;
    const MapParams m = MapParams::From(p);
    const std::vector<double> xs = GridCoordinates(p.x1, p.x2, p.step);
    const std::vector<double> ys = GridCoordinates(p.y1, p.y2, p.step);
    for (const double x : xs) {
        if (control.cancel && control.cancel->load(std::memory_order_relaxed)) return std::nullopt;
        for (const double y : ys) {
            const State e = IterateOrbit(m, State{x, y});
            if (!InsideSquare(e.x, e.y)) continue;
            ends.x.push_back(e.x);
            ends.y.push_back(e.y);
        }
    }
    return ends;
}

}  // namespace orbitograph
