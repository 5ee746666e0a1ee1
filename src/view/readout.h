#pragma once

#include <QString>
#include <cstdint>

#include "model/fractal_model.h"
#include "view/end_counts.h"
#include "view/fitted_geometry.h"
#include "view/view_state.h"

namespace orbitograph {

enum class PanelKind { None, Attractors, Basins };

// What lies under one canvas pixel of the last repaint (the view's client
// rectangle, switches and parameters, the lists' origin).
struct PixelPlace {
    PanelKind panel = PanelKind::None;
    // Model coordinates of the pixel's centre (its grid point's in the classic
    // display's basin panel).
    double x = 0.0;
    double y = 0.0;
    // Basin panel: the grid columns and rows the pixel holds, indices from 0
    // at X1 and Y1.
    AxisFit::Run columns{0, 0};
    AxisFit::Run rows{0, 0};
};

// clampToBasins: a pixel outside the basin panel counts as its nearest pixel
// inside (for the end of a rubber band); with an empty grid it stays None.
PixelPlace LocatePixel(const ViewState& view, std::int32_t x, std::int32_t y, bool clampToBasins = false);

// The status bar's text for a pixel: the panel and the model coordinates;
// in the basin panel the pixel's first grid point with its exact accumulated
// coordinates, the kind of its orbit's end with the colour's name as the
// report names it, and the end point, the orbit computed here with
// IterateOrbit, then, when the lists hold the analysis, the grid point's
// attractor, exit step and cycle; in the attractor panel the number of
// orbits that end in the pixel (counted from the exact end points in the
// fitted display, from the attractor list in the other, once into counts and
// then looked up). Empty outside the panels and before the first
// computation.
QString ReadoutText(const ViewState& view, const FractalModel& model, EndCounts& counts, std::int32_t x,
                    std::int32_t y);

}  // namespace orbitograph
