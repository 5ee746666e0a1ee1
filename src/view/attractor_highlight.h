#pragma once

// One attractor singled out over a composed frame: the other basins dimmed,
// its cycle marked on the attractor panel.

#include <QImage>
#include <cstdint>
#include <span>

#include "model/orbit.h"
#include "model/point_list.h"
#include "view/view_state.h"

namespace orbitograph {

// A dimmed pixel keeps a quarter of its difference from the background.
QRgb Dimmed(QRgb colour, QRgb background);

// Dims every pixel of the basin panel of the view's last repaint that holds
// no start point of attractor id: in the classic display each grid point's
// own pixel, in the fitted display each pixel none of whose grid points is in
// the basin. Requires the lists to hold the analysis of the view's grid
// (HoldsAnalysis); does nothing otherwise, or without a basin panel.
void DimOtherBasins(QImage& canvas, const ViewState& view, const SpaceLists& lists, std::int32_t id, QRgb background);

// Marks each state inside the square on the attractor panel (when shown) as
// a 7 x 7 square of the colour in a black frame, clipped to the panel.
void DrawAttractorCycle(QImage& canvas, const ViewState& view, std::span<const State> states, QRgb colour);

}  // namespace orbitograph
