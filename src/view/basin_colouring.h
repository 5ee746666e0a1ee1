#pragma once

// The basin panel coloured by a value of the analysis of every orbit
// (model/grid_analysis.h) in place of the kinds: the attractor, the exit
// step, the cycle start or the period. Each start point gets a code:
//  - Attractor: the attractor's number 1 ... K; 0 when the orbit left the
//    square and settled on no attractor; -1 when it did neither;
//  - any other column: its value (-1 or 0 where there is none).
// The attractor numbers take the colours of kAttractorPalette in turn,
// cycling through it beyond its length; the other values a sequential scale
// from their smallest to their largest value in the grid, taken by
// log(1 + v - smallest) / log(1 + largest - smallest).

#include <QImage>
#include <array>
#include <cstdint>

#include "model/grid_analysis.h"
#include "model/point_list.h"
#include "view/fitted_geometry.h"

namespace orbitograph {

// Eighteen colours chosen one after another each as far as it can be (in
// CIELAB) from those before it, from the six kinds' colours (point_layers.h),
// the background, white, black and the greys below: any two differ by at
// least 36 in CIELAB, the first ones most. Attractor n takes colour
// (n - 1) % 18.
inline constexpr std::array<QRgb, 18> kAttractorPalette = {
    0xFF0000FF, 0xFFFF00CC, 0xFF000066, 0xFFFFFF00, 0xFF3399FF, 0xFFCC3366, 0xFF666600, 0xFFCCFF99, 0xFF9966FF,
    0xFF009966, 0xFF00FF00, 0xFF660000, 0xFF00FF99, 0xFFFF99FF, 0xFFCC6633, 0xFFCC00FF, 0xFF663366, 0xFF003300};
// The colour of attractor n >= 1.
inline QRgb AttractorColour(std::int32_t n) {
    return kAttractorPalette[static_cast<std::size_t>(n - 1) % kAttractorPalette.size()];
}
// Start points that left the square without an attractor (code 0), and
// those without either (-1), by attractor.
inline constexpr QRgb kEscapedColour = 0xFFFFFFFF;
inline constexpr QRgb kUnsettledColour = 0xFF505050;
// A start point without the value on a scale (no exit, no cycle).
inline constexpr QRgb kNoValueColour = 0xFF303030;

// How one colouring colours codes.
struct BasinColours {
    AnalysisColumn column = AnalysisColumn::Attractor;
    std::int32_t smallest = 0;  // the scale's ends; for attractors 1 and K
    std::int32_t largest = 0;
    QRgb Of(std::int32_t code) const;
};

// The colours of a colouring for this analysis.
BasinColours BasinColoursOf(const GridAnalysis& a, AnalysisColumn column);

// The colour at t in [0, 1] of the sequential scale (dark blue to yellow).
QRgb ScaleColour(double t);

// The code of start point i (in grid order).
std::int32_t BasinCode(const GridAnalysis& a, AnalysisColumn column, std::size_t i);

// True when lists hold the analysis of the grid (one value per grid point).
bool HoldsAnalysis(const SpaceLists& lists, const ListGrid& grid);

// The classic display's basin panel coloured by the column: every point of
// the six basin lists, at (px + shift, py), in the colour of its start
// point's code (the grid read back from the pixels with grid). Requires
// HoldsAnalysis; pixels off the canvas are skipped.
void DrawColouredBasins(QImage& canvas, const SpaceLists& lists, const ListGrid& grid, std::int32_t shift,
                        AnalysisColumn column);

// The fitted display's basin panel coloured by the column: every pixel of
// area takes the colour of the code most of its grid points have (the
// smallest on a tie), counting only grid points in a basin list when the
// kind grid is held; a pixel with none keeps the background. Requires
// HoldsAnalysis.
void DrawFittedColouredBasins(QImage& canvas, const PixelRect& area, const SpaceLists& lists, const ListGrid& grid,
                              AnalysisColumn column);

}  // namespace orbitograph
