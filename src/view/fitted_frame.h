#pragma once

#include <QImage>
#include <atomic>
#include <optional>

#include "model/fractal_model.h"
#include "view/end_counts.h"
#include "view/fitted_geometry.h"
#include "view/fitted_overlays.h"
#include "view/view_state.h"

namespace orbitograph {

// The panels of the fitted display for the view's client rectangle, panel
// switches, grid (the parameters of the lists in place) and the room its
// overlays took.
FittedLayout FittedLayoutOf(const ViewState& view);

// The grid of the lists in place, as their pixels hold it.
ListGrid ListGridOfView(const ViewState& view);

// The colouring the view asks for when the lists in place hold its analysis;
// none otherwise, and the basins are then drawn (and described) by kind.
std::optional<AnalysisColumn> ShownColouring(const ViewState& view, const SpaceLists& lists);

// Draws every layer of the fitted display onto a cleared canvas of the
// client size: the attractor density (and its half-turn copy in purple) from
// the model's exact end points, when it holds them (as many as attractors;
// else the panel stays empty), the basin majority picture, the grid of each
// panel, then the overlays (drawn for the view, view.m_fittedOverlays their
// room) where the layout puts them, beside the panels. The density is taken from counts when given (and
// counted there once), else counted for this frame. cancel, when given, is
// polled between layers; false when it was seen true (the canvas is then
// partly drawn).
bool DrawFittedFrame(QImage& canvas, const ViewState& view, const FractalModel& model,
                     const FittedOverlayPictures& overlays, QRgb background, EndCounts* counts = nullptr,
                     const std::atomic<bool>* cancel = nullptr);

}  // namespace orbitograph
