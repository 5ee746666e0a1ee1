#pragma once

#include <QImage>
#include <array>
#include <cstdint>

#include "view/client_rect.h"

namespace orbitograph {

inline constexpr QRgb kGridColour = 0xFF000000;

// The ten lines of one panel's unit grid, canvas pixels, for the model
// coordinates -2, -1, 0, 1, 2 in that order: vertical lines at columns
// verticalX from row top to row bottom, horizontal lines at rows horizontalY
// from column left to column right. 64-bit, so no shift can overflow.
struct GridLines {
    std::array<std::int64_t, 5> verticalX{};
    std::int64_t top = 0;
    std::int64_t bottom = 0;
    std::array<std::int64_t, 5> horizontalY{};
    std::int64_t left = 0;
    std::int64_t right = 0;
    friend bool operator==(const GridLines&, const GridLines&) = default;
};

// The grid of the attractor panel (centred on the client centre) or of the
// basin panel (moved by the centre of the start rectangle X1..X2 x Y1..Y2),
// shifted sideways by shift. h > 0.
GridLines LayOutGrid(const ClientRect& clientRect, std::int32_t shift, bool basinPanel, double h, double x1, double x2,
                     double y1, double y2);

// Draws the lines one pixel wide, aliased, in black, written straight into
// the scan lines and clipped to the canvas. Both end points belong to a line:
// the line from (x, top) to (x, bottom) paints rows top to bottom inclusive,
// as a one-pixel pen between two integer points covers both end pixels.
void DrawGrid(QImage& canvas, const GridLines& lines);

}  // namespace orbitograph
