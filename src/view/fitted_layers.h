#pragma once

#include <QImage>
#include <array>
#include <cstdint>
#include <vector>

#include "model/fractal_model.h"
#include "view/fitted_geometry.h"

namespace orbitograph {

// The basin lists in the order that settles a tie in a pixel: infinity,
// zero, O, T, M, H; the colour of each is the basin layer's.
inline constexpr int kBasinKinds = 6;
std::array<const PointList*, kBasinKinds> BasinListsInTieOrder(const FractalModel& model);
std::array<QRgb, kBasinKinds> BasinColoursInTieOrder();

// The kind (index in tie order) that most of the grid points of one pixel of
// the basin area belong to, or -1 when none of them is in a list. counts
// holds the six counts of the pixel; on a tie the earlier kind wins.
int MajorityKind(const std::uint32_t* counts);

// The basin panel of the fitted display: every pixel of area takes the colour
// of the kind with the most grid points in it (AxisFit decides which grid
// points a pixel holds), and keeps the background when none of its grid
// points is in a list, so no pixel shows a colour none of its grid points
// has. The kinds come from the model's kind grid when it holds one for this
// grid, else from the lists, whose grid is read back from their pixels with
// grid (the two give the same picture). Uses
// `threads` threads (0: as many as the size merits, up to every core); the
// result is the same for any number.
void DrawFittedBasins(QImage& canvas, const PixelRect& area, const FractalModel& model, const ListGrid& grid,
                      int threads = 0);

// Orbits ending in each pixel of a square panel of the given side, row by
// row from the top: `ends` for the end points and, when withCopy asks for it
// (else it is empty), `copy` for the half-turn copy, the end points (-x, -y).
struct EndDensity {
    std::vector<std::uint32_t> ends;
    std::vector<std::uint32_t> copy;
};
EndDensity EndPointDensity(const AttractorEnds& ends, std::int32_t side, bool withCopy);

// Shades the square by the density: a pixel where no orbit ends keeps the
// background; others go from background towards `colour` (reached at the
// largest count) by log(1 + n) / log(1 + max).
void DrawDensity(QImage& canvas, const PixelRect& square, const std::vector<std::uint32_t>& density, QRgb background,
                 QRgb colour);

// The unit grid lines of a fitted panel, one pixel wide in black: in the
// attractor square the lines X, Y = -2 .. 2 (the edge lines on the square's
// last pixel); in the basin area those that fall inside the start
// rectangle's cells or on their far edge (drawn on the last pixel).
void DrawFittedAttractorGrid(QImage& canvas, const PixelRect& square);
void DrawFittedBasinGrid(QImage& canvas, const PixelRect& area, const ModelParams& p, const ListGrid& grid);

}  // namespace orbitograph
