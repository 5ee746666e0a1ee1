#pragma once

#include <QImage>

#include "model/fractal_model.h"
#include "view/fitted_geometry.h"
#include "view/view_state.h"

namespace orbitograph {

// The parameter text and the legend of the fitted display, each drawn on a
// transparent image cut to the pixels it covers (null: not shown), and the
// room each takes beside the panels. The text's room is that of the widest
// and tallest report these parameters can give (every count as large as the
// grid), so the panels keep their place while counts change; the legend's
// room is its picture's size.
struct FittedOverlayPictures {
    QImage report;
    QImage legend;
    FittedOverlays room;
};

// Draws what the view's switches show: the model's report in the view's
// font size; the colouring legend when the basins are coloured (the model
// holds the analysis of the view's grid), else the legend panel with its
// picture (may be null). Draws each no larger than the client area.
FittedOverlayPictures DrawFittedOverlays(const ViewState& view, const FractalModel& model, const QImage* legendPicture);

}  // namespace orbitograph
