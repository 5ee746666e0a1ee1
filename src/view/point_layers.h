#pragma once

#include <QImage>
#include <cstdint>

#include "model/fractal_model.h"
#include "model/point_list.h"
#include "view/client_rect.h"

namespace orbitograph {

// Opaque colours of the point layers, 0xAARRGGBB.
inline constexpr QRgb kAttractorColour = 0xFF000000;
inline constexpr QRgb kAttractorCopyColour = 0xFF640A64;
inline constexpr QRgb kBasinInfinityColour = 0xFFFECFF4;
inline constexpr QRgb kBasinZeroColour = 0xFF9A959C;
inline constexpr QRgb kBasinOColour = 0xFFE60000;
inline constexpr QRgb kBasinTColour = 0xFF00AA00;
inline constexpr QRgb kBasinMColour = 0xFF00DCFA;
inline constexpr QRgb kBasinHColour = 0xFFFFA000;

// Paints the pixel (px + shift, py) of every point in full colour, written
// straight into the canvas's 32-bit scan lines; pixels outside the canvas
// (negative coordinates included) are skipped. A canvas that is not 32 bits
// deep is converted to Format_ARGB32 first.
void PlotPoints(QImage& canvas, const PointList& points, std::int32_t shift, QRgb colour);

// The attractor layer: copy off paints (px + shift, py) black; copy on paints
// the half-turn copy, (w - 1 - px + shift, H - 1 - py) in purple, w and H
// being the client area's width and height of this repaint.
void DrawAttractors(QImage& canvas, const PointList& attractors, std::int32_t shift, bool copy,
                    const ClientRect& clientRect);

// The basin layer: the six basin lists at (px + shift, py), in the order
// infinity, zero, O, T, M, H, each in its colour.
void DrawBasins(QImage& canvas, const FractalModel& model, std::int32_t shift);

}  // namespace orbitograph
