#pragma once

#include <QImage>
#include <QString>
#include <cstdint>
#include <vector>

#include "model/grid_analysis.h"

namespace orbitograph {

// The legend of a colouring of the basins (view/basin_colouring.h), drawn
// where the legend panel stands: its top-left corner at (15, clientHeight -
// 400), in black Arial 13 px, one line every 16 pixels. By attractor: the
// title, a colour square and a line for each attractor (its number and
// period) up to kLegendAttractors of them and a line for the rest, then the
// escaped and the unsettled start points. On a scale: the title, a bar of
// 256 pixels from the largest value (top) to the smallest (bottom) with the
// two values beside it, then the colour of start points without a value.

inline constexpr int kLegendAttractors = 16;

// The legend's lines in order, each with its colour square (0: none).
struct LegendLine {
    QString text;
    QRgb swatch = 0;
};
std::vector<LegendLine> ColouringLegendLines(const GridAnalysis& a, AnalysisColumn column);

void DrawColouringLegend(QImage& canvas, const GridAnalysis& a, AnalysisColumn column, std::int32_t clientHeight);

}  // namespace orbitograph
