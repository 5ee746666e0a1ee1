#include <gtest/gtest.h>

#include <QImage>
#include <set>

#include "view/basin_colouring.h"
#include "view/point_layers.h"
#include "view/sweep_chart.h"

using namespace orbitograph;

namespace {

std::set<QRgb> ColoursIn(const QImage& image, QRect r) {
    std::set<QRgb> colours;
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) colours.insert(image.pixel(x, y));
    }
    return colours;
}

}  // namespace

// Each curve appears in its own colour inside the plot (the zero curve too);
// the axes are black lines along the plot's left and bottom edges with
// ticks below; a click maps back to the nearest value.
TEST(SweepChart, CurvesAxesAndClicks) {
    const std::vector<double> values = {0.9, 0.1, 0.5, 0.3, 0.7};  // any order
    std::vector<ListCounts> varying;  // the fractions of every kind change along the values
    for (std::int64_t k = 0; k < 5; ++k)
        varying.push_back({600, 10 + 20 * k, 100 + 10 * k, 50 + k, 60 + 2 * k, 70 + 3 * k, 80 + 4 * k, 90 + 5 * k});
    const QImage chart = DrawSweepChart(SweepParam::A, values, varying);
    ASSERT_FALSE(chart.isNull());
    const QRect plot = ChartPlotRect(chart.size());
    const std::set<QRgb> inside = ColoursIn(chart, plot.adjusted(1, 0, 0, -1));
    for (int curve = 0; curve < kChartCurves; ++curve) EXPECT_TRUE(inside.count(ChartCurveColour(curve))) << curve;
    EXPECT_EQ(ColoursIn(chart, QRect(plot.left(), plot.top() + 5, 1, plot.height() - 10)), std::set<QRgb>{0xFF000000});
    int ticks = 0;
    for (int x = plot.left(); x <= plot.right(); ++x) ticks += chart.pixel(x, plot.bottom() + 3) == 0xFF000000;
    EXPECT_GE(ticks, 4);
    for (std::size_t i = 0; i < values.size(); ++i) {
        const int x = plot.left() + static_cast<int>((values[i] - 0.1) / 0.8 * plot.width());
        EXPECT_EQ(ChartValueAt(chart.size(), values, QPoint(x + 1, plot.center().y())), i);
    }
    EXPECT_FALSE(ChartValueAt(chart.size(), values, QPoint(2, 2)));
}

// Every cell has the colour of its pair's dominant kind (rows upwards,
// ties to the earlier kind in the order infinity, zero, O, T, M, H), the cells are framed in black, and a click on
// a cell gives its pair.
TEST(SweepChart, PlaneCellsFrameAndClicks) {
    const std::vector<double> v1 = {0.0, 0.5, 1.0};
    const std::vector<double> v2 = {2.0, 3.0};
    const std::vector<ListCounts> counts = {{.infinity = 3, .zero = 3}, {.zero = 9},
                                            {.t = 5, .o = 5},           {.t = 9},
                                            {.t = 1, .m = 2, .h = 2},   {.infinity = 1, .h = 9}};
    const QRgb expected[] = {kBasinInfinityColour, kBasinZeroColour, kBasinOColour,
                             kBasinTColour,        kBasinMColour,    kBasinHColour};
    const int scale = 7;
    const QImage plane = DrawParamPlane(SweepParam::A, v1, SweepParam::Dc, v2, counts, scale);
    const PlaneLayout l = PlaneLayoutFor(v1.size(), v2.size(), scale);
    ASSERT_EQ(plane.size(), l.size);
    for (std::size_t j = 0; j < v2.size(); ++j) {
        for (std::size_t i = 0; i < v1.size(); ++i) {
            const QRect cell(l.cells.left() + static_cast<int>(i) * scale,
                             l.cells.top() + static_cast<int>(v2.size() - 1 - j) * scale, scale, scale);
            EXPECT_EQ(ColoursIn(plane, cell), std::set<QRgb>{expected[j * v1.size() + i]}) << i << "," << j;
            const auto hit = PlaneCellAt(v1.size(), v2.size(), scale, cell.bottomRight());
            ASSERT_TRUE(hit);
            EXPECT_EQ(*hit, std::pair(i, j));
        }
    }
    EXPECT_EQ(ColoursIn(plane, QRect(l.cells.left() - 1, l.cells.top() - 1, l.cells.width() + 1, 1)),
              std::set<QRgb>{0xFF000000});
    EXPECT_FALSE(PlaneCellAt(v1.size(), v2.size(), scale, l.cells.bottomRight() + QPoint(1, 0)));
}

// "Доли аттракторов": each track's line in its palette colour (numbers
// beyond the palette cycle through it), at its share's height; points of
// no value or no track are left out; many tracks keep the legend inside;
// no track at all is said in the plot.
TEST(SweepChart, ShareChartDrawsTracksInPaletteColours) {
    const std::vector<double> values = {0.0, 0.5, 1.0};
    std::vector<TrackPoint> points = {{0, 1, 1, 1, 0, 0, 1.0}, {1, 1, 1, 1, 0, 0, 1.0},  {1, 2, 2, 1, 0, 0, 0.0},
                                      {2, 2, 1, 1, 0, 0, 0.0}, {2, 20, 2, 1, 0, 0, 0.5}, {7, 3, 1, 1, 0, 0, 0.5},
                                      {0, -1, 1, 1, 0, 0, 0.5}};
    const QImage chart = DrawShareChart(SweepParam::A, values, points);
    ASSERT_FALSE(chart.isNull());
    const QRect plot = ChartPlotRect(chart.size());
    const int middle = plot.left() + plot.width() / 4;  // between the first two values
    // Share 1 at the plot's top, share 0 on its bottom edge (under the axis).
    EXPECT_TRUE(ColoursIn(chart, QRect(middle, plot.top() - 2, 1, 3)).count(TrackColour(1)));
    EXPECT_FALSE(ColoursIn(chart, QRect(middle, plot.top() + 2, 1, plot.height() - 4)).count(TrackColour(1)));
    EXPECT_TRUE(
        ColoursIn(chart, QRect(plot.left() + plot.width() * 3 / 4, plot.bottom() - 2, 1, 5)).count(TrackColour(2)));
    EXPECT_EQ(TrackColour(20), TrackColour(2));
    EXPECT_EQ(TrackColour(1), kAttractorPalette[0]);
    const std::set<QRgb> inside = ColoursIn(chart, plot.adjusted(1, 1, -1, -2));
    EXPECT_FALSE(inside.count(TrackColour(3)));
    const QImage none = DrawShareChart(SweepParam::A, values, {});
    EXPECT_TRUE(ColoursIn(none, plot.adjusted(2, 2, -2, -2)).count(0xFF000000));  // the note that none was found
    for (int track = 4; track <= 40; ++track) points.push_back({0, track, 1, 1, 0, 0, 0.25});
    const QImage many = DrawShareChart(SweepParam::A, values, points, QSize(860, 300));
    EXPECT_EQ(ColoursIn(many, QRect(plot.right() + 1, 290, 170, 10)), std::set<QRgb>{0xFFFFFFFF});
}
