#include "model/attractor_ends.h"

#include "model/classify.h"
#include "model/grid.h"
#include "model/orbit.h"

namespace orbitograph {

std::optional<AttractorEnds> ComputeAttractorEnds(const ModelParams& p, const ComputeControl& control) {
    AttractorEnds ends;
    if (!(p.x1 <= p.x2 && p.y1 <= p.y2)) return ends;
    const MapParams m = MapParams::From(p);
    const GridSide xs(p.x1, p.x2, p.step);
    const GridSide ys(p.y1, p.y2, p.step);
    for (std::size_t c = 0; c < xs.Count(); ++c) {
        if (control.cancel && control.cancel->load(std::memory_order_relaxed)) return std::nullopt;
        const double x = xs.At(c);
        for (std::size_t r = 0; r < ys.Count(); ++r) {
            const double y = ys.At(r);
            const State e = IterateOrbit(m, State{x, y});
            if (!InsideSquare(e.x, e.y)) continue;
            ends.x.push_back(e.x);
            ends.y.push_back(e.y);
        }
    }
    return ends;
}

}  // namespace orbitograph
