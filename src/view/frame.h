#pragma once

#include <QImage>
#include <atomic>

#include "model/fractal_model.h"
#include "view/end_counts.h"
#include "view/view_state.h"

namespace orbitograph {

// The colour the canvas is cleared to.
inline constexpr QRgb kCanvasBackground = 0xFFF0F0F0;

// One repaint: stores the client rectangle (0, 0, width, height) in the view
// and its centre as the model origin, then composes every layer on a new
// canvas (Format_ARGB32, cleared to kCanvasBackground) and returns it. In the
// two-panel layout m_offset ends at the basin shift. A zero width or height
// gives a null image. legendPicture may be null (no-picture layout). With
// the switch m_fitWindow on the panels fit the client area instead
// (fitted_frame.h), their density kept in counts when given. cancel, when
// given, is polled while the canvas is cleared (every 4 MB) and between
// layers, from the calling thread; once it is seen true the result is a
// null image.
QImage ComposeFrame(ViewState& view, FractalModel& model, int width, int height, const QImage* legendPicture,
                    EndCounts* counts = nullptr, const std::atomic<bool>* cancel = nullptr);

}  // namespace orbitograph
