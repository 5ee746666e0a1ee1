#include "model/spaces.h"

#include "model/classify.h"
#include "model/grid.h"
#include "model/orbit.h"

namespace orbitograph {

std::optional<SpaceLists> ComputeSpaces(const ModelParams& p, std::int32_t originX, std::int32_t originY,
                                        const ComputeControl& control) {
    const MapParams m = MapParams::From(p);
    const std::vector<double> xs = GridCoordinates(p.x1, p.x2, p.step);
    const std::vector<double> ys = GridCoordinates(p.y1, p.y2, p.step);
    const BasinPlacement place = ComputeBasinPlacement(p);
    const double ox = originX;
    const double oy = originY;

    SpaceLists out;
    const std::size_t total = xs.size() * ys.size();
    out.attractors.reserve(total);
    std::int32_t column = place.firstColumn;
    std::size_t done = 0;
    for (double x : xs) {
        if (control.cancel && control.cancel->load(std::memory_order_relaxed)) return std::nullopt;
        std::int32_t row = place.firstRow;
        const std::int32_t px = Wrap32(std::int64_t{originX} - place.centreColumn + column);
        for (double y : ys) {
            const State e = IterateOrbit(m, {x, y});
            const Point basin{px, Wrap32(std::int64_t{originY} - row + place.centreRow)};
            switch (Classify(e.x, e.y)) {
                case EndKind::Infinity: out.basinInfinity.push_back(basin); break;
                case EndKind::Zero: out.basinZero.push_back(basin); break;
                case EndKind::O: out.basinO.push_back(basin); break;
                case EndKind::H: out.basinH.push_back(basin); break;
                case EndKind::T: out.basinT.push_back(basin); break;
                case EndKind::M: out.basinM.push_back(basin); break;
                case EndKind::None: break;
            }
            if (InsideSquare(e.x, e.y)) {
                out.attractors.push_back({Trunc32(e.x / p.step + ox), Trunc32(oy - e.y / p.step)});
            }
            ++row;
        }
        ++column;
        done += ys.size();
        if (control.progress && total) control.progress(static_cast<double>(done) / static_cast<double>(total));
    }
    out.attractors.shrink_to_fit();
    return out;
}

}  // namespace orbitograph
