#pragma once

#include <QImage>
#include <QPointF>
#include <cstdint>
#include <optional>

#include "model/probe.h"
#include "view/fitted_geometry.h"
#include "view/view_state.h"

namespace orbitograph {

// The probed orbit's colour, which no other layer uses.
inline constexpr QRgb kOrbitColour = 0xFF1432DC;

// Where the attractor panel of the display in the view puts model points.
// The classic display: the pixel of (x, y) is (trunc(x / h + ox) + s,
// trunc(oy - y / h)), as the attractor list places an end point, with the
// lists' origin (ox, oy) and the panel's shift s; the panel is the square
// [-2, 2]^2 so mapped. The fitted display: the attractor square's pixel of
// (x, y), as its density layer bins an end point.
struct AttractorPanelMap {
    bool fitted = false;
    double step = 1.0;       // classic: h
    double originX = 0.0;    // classic: ox
    double originY = 0.0;    // classic: oy
    std::int32_t shift = 0;  // classic: s
    PixelRect panel;         // the square [-2, 2]^2 on the canvas

    // The point as a canvas position, continuous, for lines (finite input).
    QPointF Place(double x, double y) const;
    // The pixel a mark at a point inside the square takes.
    QPoint Pixel(double x, double y) const;
};

// The attractor panel of the view's last repaint (client rectangle, switches,
// the lists' origin and parameters), or none when it is not shown.
std::optional<AttractorPanelMap> AttractorPanelOf(const ViewState& view);

// How a listed orbit of this many states is inked on a panel of this many
// pixels: up to 200 states in full colour, more ever fainter (alpha
// 255 * 200 / states, at least kFaintestLine), so that where a long orbit
// passes often shows darker; the 3 x 3 marks only while they would cover at
// most a thirty-second of the panel (no band of merged marks).
inline constexpr int kFaintestLine = 40;
struct OrbitInk {
    int lineAlpha = 255;
    bool marks = true;
};
OrbitInk OrbitInkFor(std::size_t states, std::int64_t panelPixels);

// Draws the listed states of the orbit over the attractor panel: consecutive
// steps joined by one-pixel lines (inked as OrbitInkFor says), each state
// inside the square a 3 x 3 mark (when marks are on),
// the start point a hollow 7 x 7 square, the end point (when it was computed)
// a 7 x 7 cross; everything clipped to the panel, nothing for states that are
// not finite, and no line across the gap of a long orbit.
void DrawOrbitOverlay(QImage& canvas, const ViewState& view, const ProbeResult& orbit);

}  // namespace orbitograph
