#include <gtest/gtest.h>

#include <limits>

#include "support/gui_test_support.h"
#include "view/point_layers.h"

using namespace orbitograph;
using namespace orbitograph::test;

TEST(PointLayers, EachPointPaintsExactlyOnePixel) {
    struct Row {
        bool copy;
        std::int32_t shift;
        Point point;
        QPoint pixel;
        ClientRect client = {0, 0, 1000, 700};
    } rows[] = {
        {false, 0, {500, 350}, {500, 350}},
        {false, -220, {500, 350}, {280, 350}},
        {false, 220, {0, 0}, {220, 0}},
        // Half-turn copy: (w - 1 - px + s, h - 1 - py) with the client of this
        // repaint, not the canvas.
        {true, -220, {500, 350}, {279, 349}},
        {true, 0, {500, 350}, {499, 349}},
        {true, 0, {0, 0}, {999, 699}},
        {true, 220, {999, 699}, {220, 0}},
        {true, 0, {10, 20}, {39, 39}, {0, 0, 50, 60}},
    };
    for (const Row& r : rows) {
        QImage canvas = Blank(1000, 700);
        DrawAttractors(canvas, {r.point}, r.shift, r.copy, r.client);
        EXPECT_EQ(Changed(canvas), std::vector{r.pixel}) << r.shift << " copy " << r.copy;
        EXPECT_EQ(canvas.pixel(r.pixel), r.copy ? 0xFF640A64u : 0xFF000000u);
    }
}

// Each list in its colour; other canvas formats are converted, not corrupted.
TEST(PointLayers, BasinListsInTheirColours) {
    FractalModel m;
    m.basinInfinity = {{0, 0}};
    m.basinZero = {{1, 0}};
    m.basinO = {{2, 0}};
    m.basinT = {{3, 0}};
    m.basinM = {{4, 0}};
    m.basinH = {{5, 0}};
    QImage canvas = Blank(20, 2);
    DrawBasins(canvas, m, 10);
    const QRgb expected[] = {0xFFFECFF4, 0xFF9A959C, 0xFFE60000, 0xFF00AA00, 0xFF00DCFA, 0xFFFFA000};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(canvas.pixel(10 + i, 0), expected[i]) << i;
    EXPECT_EQ(Changed(canvas).size(), 6u);

    QImage rgb(8, 8, QImage::Format_RGB888);
    rgb.fill(Qt::white);
    PlotPoints(rgb, {{3, 4}}, 0, kBasinOColour);
    EXPECT_EQ(rgb.depth(), 32);
    EXPECT_EQ(rgb.pixel(3, 4), kBasinOColour);
    EXPECT_EQ(rgb.pixel(4, 4), 0xFFFFFFFFu);
}

// Points off the canvas, also near the 32-bit ends, and empty lists paint nothing.
TEST(PointLayers, PointsOffTheCanvasAreClipped) {
    constexpr auto lo = std::numeric_limits<std::int32_t>::min();
    constexpr auto hi = std::numeric_limits<std::int32_t>::max();
    const PointList outside{{-1, 0}, {0, -1}, {10, 0}, {0, 10}, {-5, -5}, {lo, lo}, {hi, hi}, {lo, 5}, {5, hi}};
    const ClientRect client{0, 0, 10, 10};
    for (std::int32_t shift : {0, hi, lo, -11, 11}) {
        QImage canvas = Blank(10, 10);
        DrawAttractors(canvas, outside, 0, false, client);
        DrawAttractors(canvas, {}, shift, true, client);
        DrawAttractors(canvas, {{lo, lo}, {hi, hi}}, shift, true, client);
        DrawBasins(canvas, FractalModel{}, shift);
        EXPECT_TRUE(Changed(canvas).empty()) << shift;
    }
    // A shift carries a point from far off onto the canvas without wrapping.
    QImage canvas = Blank(10, 10);
    PlotPoints(canvas, {{-5, 3}, {hi, 3}}, 7, kBasinTColour);
    EXPECT_EQ(Changed(canvas), std::vector{QPoint(2, 3)});
    EXPECT_EQ(canvas.pixel(2, 3), kBasinTColour);
}
