#include <gtest/gtest.h>

#include <limits>

#include "support/gui_test_support.h"
#include "view/point_layers.h"

using namespace orbitograph;
using namespace orbitograph::test;

// Each point paints one pixel, or none when off the canvas, also near the
// 32-bit ends; the half-turn copy is (w - 1 - px + s, h - 1 - py) with the
// client of this repaint, not the canvas.
TEST(PointLayers, EachPointPaintsAtMostOnePixel) {
    constexpr auto lo = std::numeric_limits<std::int32_t>::min();
    constexpr auto hi = std::numeric_limits<std::int32_t>::max();
    struct Row {
        bool copy;
        std::int32_t shift;
        PointList points;
        std::vector<QPoint> pixels;
        ClientRect client = {0, 0, 1000, 700};
    } rows[] = {
        {false, -220, {{500, 350}}, {{280, 350}}},
        {false, 220, {{0, 0}}, {{220, 0}}},
        {true, -220, {{500, 350}}, {{279, 349}}},
        {true, 0, {{0, 0}}, {{999, 699}}},
        {true, 220, {{999, 699}}, {{220, 0}}},
        {true, 0, {{10, 20}}, {{39, 39}}, {0, 0, 50, 60}},
        {false, 0, {{-1, 0}, {0, -1}, {1000, 0}, {0, 700}, {lo, lo}, {hi, hi}, {lo, 5}, {5, hi}}, {}},
        {false, hi, {{5, 5}, {hi, hi}}, {}},
        {true, lo, {{lo, lo}, {hi, hi}, {5, 5}}, {}},
        {true, 1000, {{0, 0}}, {}},
    };
    for (const Row& r : rows) {
        QImage canvas = Blank(1000, 700);
        DrawAttractors(canvas, r.points, r.shift, r.copy, r.client);
        EXPECT_EQ(Changed(canvas), r.pixels) << r.shift << " copy " << r.copy;
        for (QPoint p : r.pixels) EXPECT_EQ(canvas.pixel(p), r.copy ? 0xFF640A64u : 0xFF000000u);
    }
}

// Each list in its colour; other canvas formats are converted, not corrupted;
// a shift carries a point from far off onto the canvas without wrapping.
TEST(PointLayers, BasinListsInTheirColours) {
    FractalModel m;  // one point per list, in drawing order
    PointList* lists[] = {&m.basinInfinity, &m.basinZero, &m.basinO, &m.basinT, &m.basinM, &m.basinH};
    for (std::int32_t i = 0; i < 6; ++i) lists[i]->push_back({i, 0});
    QImage canvas = Blank(20, 2);
    DrawBasins(canvas, m, 10);
    DrawBasins(canvas, m, std::numeric_limits<std::int32_t>::max());
    const QRgb expected[] = {0xFFFECFF4, 0xFF9A959C, 0xFFE60000, 0xFF00AA00, 0xFF00DCFA, 0xFFFFA000};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(canvas.pixel(10 + i, 0), expected[i]) << i;
    EXPECT_EQ(Changed(canvas).size(), 6u);

    QImage rgb(8, 8, QImage::Format_RGB888);
    rgb.fill(Qt::white);
    PlotPoints(rgb, {{3, 4}, {-5, 2}, {std::numeric_limits<std::int32_t>::max(), 2}}, 7, kBasinOColour);
    EXPECT_EQ(rgb.depth(), 32);
    EXPECT_EQ(rgb.pixel(3, 4), 0xFFFFFFFFu);
    EXPECT_EQ(Changed(rgb, 0xFFFFFFFFu), std::vector{QPoint(2, 2)});
    EXPECT_EQ(rgb.pixel(2, 2), kBasinOColour);
}
