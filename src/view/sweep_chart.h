#pragma once

// Pictures of sweeps: the fractions of the start points of each kind
// against one parameter, and the plane of two parameters coloured by the
// kind with the most start points. Both are drawn without anti-aliasing, so
// every curve, cell and swatch has exactly its kind's basin colour.

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <optional>
#include <vector>

#include "model/continuation.h"
#include "model/sweep.h"

namespace orbitograph {

// The curves and legend entries in drawing order: the six kinds, then the
// attractors (black).
inline constexpr int kChartCurves = 7;
QRgb ChartCurveColour(int curve);
QString ChartCurveName(int curve);
// The fraction of the start points that curve counts (0 for an empty grid).
double ChartFraction(const ListCounts& c, int curve);

// The parameter's axis title, Russian.
QString SweepAxisTitle(SweepParam p);

inline constexpr QSize kChartSize{860, 520};

// Where the chart draws the curves: x from the smallest to the largest
// value, y from 0 (bottom) to 1 (top).
QRect ChartPlotRect(QSize size);

// The chart on a white picture of the given size: axes with ticks and
// numbers, the titles, one polyline per curve through every value (with a
// mark at each when there are at most 60 values) and a legend on the right.
// values and counts have the same length, at least 1; values may come in
// any order. A null image when memory runs out.
QImage DrawSweepChart(SweepParam param, const std::vector<double>& values, const std::vector<ListCounts>& counts,
                      QSize size = kChartSize);

// "Доли аттракторов": the chart of the basin shares of the attractors'
// tracks (model/continuation.h), one polyline per track through the values
// it holds, in the colour of the palette for its number (TrackColour), the
// legend naming each track; otherwise as DrawSweepChart. Points whose value
// index or track is out of range are left out; without any track the plot
// says "Аттракторы не найдены".
QRgb TrackColour(std::int32_t track);
QImage DrawShareChart(SweepParam param, const std::vector<double>& values, const std::vector<TrackPoint>& points,
                      QSize size = kChartSize);

// The index of the value whose position is nearest to the x of the point,
// when the point lies within the plot rectangle (widened by a few pixels).
std::optional<std::size_t> ChartValueAt(QSize size, const std::vector<double>& values, QPoint point);

// The plane picture: a cell of scale x scale pixels per pair, values1
// along x (left to right), values2 along y (bottom to top), each in the
// colour of Dominant(counts); axes with ticks and numbers beside the cells,
// the titles and a legend of the six colours.
struct PlaneLayout {
    QRect cells;  // the n1 * scale by n2 * scale pixels of the cells
    QSize size;   // the whole picture
};
PlaneLayout PlaneLayoutFor(std::size_t n1, std::size_t n2, int scale);

QImage DrawParamPlane(SweepParam param1, const std::vector<double>& values1, SweepParam param2,
                      const std::vector<double>& values2, const std::vector<ListCounts>& counts, int scale);

// The pair (i, j) under the point, if it is on a cell.
std::optional<std::pair<std::size_t, std::size_t>> PlaneCellAt(std::size_t n1, std::size_t n2, int scale, QPoint point);

// The colour of a kind as the basin picture draws it.
QRgb DominantColour(DominantKind k);

}  // namespace orbitograph
