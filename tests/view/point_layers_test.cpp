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
        QRgb colour;
    } rows[] = {
        {false, 0, {500, 350}, {500, 350}, kAttractorColour},
        {false, -220, {500, 350}, {280, 350}, kAttractorColour},
        {false, 220, {0, 0}, {220, 0}, kAttractorColour},
        // Half-turn copy in a 1000 x 700 client: (w - 1 - px + s, H - 1 - py).
        {true, -220, {500, 350}, {279, 349}, kAttractorCopyColour},
        {true, 0, {500, 350}, {499, 349}, kAttractorCopyColour},
        {true, 0, {0, 0}, {999, 699}, kAttractorCopyColour},
        {true, 220, {999, 699}, {220, 0}, kAttractorCopyColour},
    };
    const ClientRect client{0, 0, 1000, 700};
    for (const Row& r : rows) {
        QImage canvas = Blank(1000, 700);
        DrawAttractors(canvas, {r.point}, r.shift, r.copy, client);
        const std::vector<QPoint> changed = Changed(canvas);
        ASSERT_EQ(changed.size(), 1u) << r.shift << " copy " << r.copy;
        EXPECT_EQ(changed[0], r.pixel) << r.shift << " copy " << r.copy;
        EXPECT_EQ(canvas.pixel(r.pixel), r.colour);
    }
}

TEST(PointLayers, CopyUsesTheClientOfThisRepaintNotTheCanvas) {
    QImage canvas = Blank(100, 100);
    DrawAttractors(canvas, {{10, 20}}, 0, true, ClientRect{0, 0, 50, 60});
    const std::vector<QPoint> changed = Changed(canvas);
    ASSERT_EQ(changed.size(), 1u);
    EXPECT_EQ(changed[0], QPoint(39, 39));
}

TEST(PointLayers, PointsOffTheCanvasAreClipped) {
    constexpr auto lo = std::numeric_limits<std::int32_t>::min();
    constexpr auto hi = std::numeric_limits<std::int32_t>::max();
    const PointList outside{{-1, 0}, {0, -1}, {10, 0}, {0, 10}, {-5, -5}, {lo, lo}, {hi, hi}, {lo, 5}, {5, hi}};
    for (std::int32_t shift : {0, hi, lo, -11, 11}) {
        QImage canvas = Blank(10, 10);
        const ClientRect client{0, 0, 10, 10};
        DrawAttractors(canvas, outside, 0, false, client);
        DrawBasins(canvas, FractalModel{}, shift);
        EXPECT_TRUE(Changed(canvas).empty()) << shift;
    }
    // A shift carries a point from far off onto the canvas without wrapping.
    QImage canvas = Blank(10, 10);
    PlotPoints(canvas, {{-5, 3}, {hi, 3}}, 7, kBasinTColour);
    ASSERT_EQ(Changed(canvas).size(), 1u);
    EXPECT_EQ(canvas.pixel(2, 3), kBasinTColour);
    // The copy of points near the 32-bit ends stays off the canvas.
    QImage copyCanvas = Blank(10, 10);
    DrawAttractors(copyCanvas, {{lo, lo}, {hi, hi}}, hi, true, ClientRect{0, 0, 10, 10});
    EXPECT_TRUE(Changed(copyCanvas).empty());
}

TEST(PointLayers, EmptyListsLeaveTheBackground) {
    QImage canvas = Blank(40, 30);
    DrawAttractors(canvas, {}, 0, false, ClientRect{0, 0, 40, 30});
    DrawAttractors(canvas, {}, 0, true, ClientRect{0, 0, 40, 30});
    DrawBasins(canvas, FractalModel{}, 0);
    EXPECT_TRUE(Changed(canvas).empty());
}

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
}

TEST(PointLayers, OtherCanvasFormatsAreConvertedNotCorrupted) {
    QImage canvas(8, 8, QImage::Format_RGB888);
    canvas.fill(Qt::white);
    PlotPoints(canvas, {{3, 4}}, 0, kBasinOColour);
    EXPECT_EQ(canvas.depth(), 32);
    EXPECT_EQ(canvas.pixel(3, 4), kBasinOColour);
    EXPECT_EQ(canvas.pixel(4, 4), 0xFFFFFFFFu);
}
